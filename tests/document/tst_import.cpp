#include "BcfgBuilder.h"
#include "Import.h"
#include "TBCFGFile.h"
#include "TBcfgRec0103.h"
#include "TBcfgRec05.h"
#include "TBcfgRecString.h"

#include <QElapsedTimer>
#include <QTest>

namespace {
std::unique_ptr<TBCFGFile> load(const BcfgBuilder& b)
{
    return TBCFGFile::FromBytes(b.bytes(), nullptr, nullptr);
}
quint32 value(const TBCFGFile& doc, int i)
{
    return static_cast<TBcfgRec0103*>(doc.Record(i))->Value;
}
} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void pathKeys()
    {
        const auto doc =
            load(BcfgBuilder().levelBegin("Normal").integer(1, "Size", 0, 9, 1).levelEnd());
        QCOMPARE(Import::PathKey(*doc->Record(1), false), QByteArray("90Normal10Size"));
        QCOMPARE(Import::PathKey(*doc->Record(1), true), QByteArray("90First10Size"));
        QCOMPARE(Import::PathKey(*doc->Record(2), false), QByteArray("90Normal90"));
    }

    void translationFromFileNames_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("on");
        QTest::newRow("16 from 15") << "/x/EXTRAINFO16.bcfg"
                                    << "/y/extrainfo15.bcfg" << true;
        QTest::newRow("15 from 16") << "EXTRAINFO15.bcfg"
                                    << "EXTRAINFO16.bcfg" << false;
        QTest::newRow("digit and dot") << "EXTRAINFO16.bcfg"
                                       << "EXTRAINFO9.bcfg" << false;
        QTest::newRow("not extrainfo") << "OTHER16.bcfg"
                                       << "EXTRAINFO15.bcfg" << false;
        QTest::newRow("windows paths") << "C:\\a.b\\EXTRAINFO17.bcfg"
                                       << "D:\\EXTRAINFO12.bcfg" << true;
        QTest::newRow("20 from 01") << "ExtraInfo20.bcfg"
                                    << "EXTRAINFO01.BCFG" << true;
    }
    void translationFromFileNames()
    {
        QFETCH(QString, current);
        QFETCH(QString, chosen);
        QFETCH(bool, on);
        QCOMPARE(Import::TranslateLevelNames(current, chosen), on);
    }

    void identicalCopyImportsWithoutModifying()
    {
        const BcfgBuilder b = BcfgBuilder()
                                  .levelBegin("L")
                                  .integer(1, "I", 0, 10, 5)
                                  .text(4, "S", 7, "abc")
                                  .choice("C", 1, {"a", "b"})
                                  .levelEnd()
                                  .levelBegin("Empty")
                                  .levelEnd()
                                  .time("T", 1, 2);
        auto current = load(b);
        const auto source = load(b);
        const Import::Result r = Import::MergeDocuments(*current, *source, false);
        QCOMPARE(r.accepted, 4);
        for (int i : {0, 1, 2, 3, 7})
            QVERIFY2(current->Record(i)->Imported, qPrintable(QString::number(i)));
        QVERIFY(!current->Record(5)->Imported); // a level takes nothing over itself
        QVERIFY(!current->Modified);
    }

    void integerRanges()
    {
        auto current = load(BcfgBuilder()
                                .integer(1, "A", 0, 10, 5)
                                .integer(1, "B", 0, 10, 5)
                                .integer(1, "C", 0, 0xFFFFFFFF, 5)
                                .integer(3, "D", 0xFFFFFFFB, 5, 0));
        const auto source = load(BcfgBuilder()
                                     .integer(1, "A", 0, 99, 11)
                                     .integer(1, "B", 0, 99, 10)
                                     .integer(1, "C", 0, 99, 0xFFFFFFFF)
                                     .integer(3, "D", 0, 0, 0xFFFFFFFF));
        Import::MergeDocuments(*current, *source, false);
        QCOMPARE(value(*current, 0), 5u); // above Max: refused, no marks
        QVERIFY(!current->Record(0)->Imported && !current->Record(0)->Modified);
        QVERIFY(current->Record(0)->LabelBeforeImport().isEmpty());
        QCOMPARE(value(*current, 1), 10u);
        QCOMPARE(current->Record(1)->LabelBeforeImport(), QByteArray("B - [ 5 ]"));
        QCOMPARE(value(*current, 2), 0xFFFFFFFFu);
        QCOMPARE(value(*current, 3), 0xFFFFFFFFu); // -1 within -5..5
        QVERIFY(current->Record(3)->Modified && current->Record(3)->Imported);
    }

    void choiceRules()
    {
        auto current = load(BcfgBuilder()
                                .choice("Fewer", 0, {"a", "b", "c"})
                                .choice("More", 0, {"a"})
                                .choice("MinDiffers", 0, {"a", "b"}, 0)
                                .choice("ItemDiffers", 0, {"a", "b"}));
        QByteArray hiddenByte = BcfgBuilder::nameField("b");
        hiddenByte[20] = 'x';
        const auto source = load(BcfgBuilder()
                                     .choice("Fewer", 1, {"a", "b"})
                                     .choice("More", 1, {"a", "b"})
                                     .choice("MinDiffers", 1, {"a", "b"}, 7)
                                     .choice("ItemDiffers", 1, {"a", hiddenByte}));
        Import::MergeDocuments(*current, *source, false);
        QCOMPARE(static_cast<TBcfgRec05*>(current->Record(0))->ItemIndex, 1);
        for (int i : {1, 2, 3})
            QVERIFY(!current->Record(i)->Imported);
    }

    void stringsKeepTheirOwnLength()
    {
        auto current = load(BcfgBuilder()
                                .text(4, "Same", 7, "abc")
                                .text(4, "Short", 3, "xy")
                                .text(10, "Utf", 3, "")
                                .text(4, "Longer", 15, "old text", 'f'));
        const auto source = load(BcfgBuilder()
                                     .text(4, "Same", 7, "abc")
                                     .text(4, "Short", 15, "a longer text")
                                     .text(10, "Utf", 15, "Жук")
                                     .text(4, "Longer", 3, "ab"));
        Import::MergeDocuments(*current, *source, false);
        const auto str = [&](int i) { return static_cast<TBcfgRecString*>(current->Record(i)); };
        QVERIFY(str(0)->Imported && !str(0)->Modified);
        QCOMPARE(str(1)->Buffer, QByteArray("a l\0", 4));
        QVERIFY(str(1)->Modified);
        QCOMPARE(str(2)->Buffer, QByteArray("\xD0\x96\0\0", 4)); // never half a character
        QCOMPARE(str(3)->Buffer, QByteArray("ab") + QByteArray(14, '\0'));
        QCOMPARE(current->Serialize().size(), load(BcfgBuilder()
                                                       .text(4, "Same", 7, "")
                                                       .text(4, "Short", 3, "")
                                                       .text(10, "Utf", 3, "")
                                                       .text(4, "Longer", 15, ""))
                                                  ->Serialize()
                                                  .size());
    }

    void levelTranslation()
    {
        auto current = load(BcfgBuilder()
                                .levelBegin("First")
                                .integer(1, "Size", 0, 99, 1)
                                .levelEnd()
                                .levelBegin("Second")
                                .integer(1, "Size", 0, 99, 1)
                                .levelEnd()
                                .levelBegin("normal")
                                .integer(1, "Size", 0, 99, 1)
                                .levelEnd());
        const auto source = load(BcfgBuilder()
                                     .levelBegin("Normal")
                                     .integer(1, "Size", 0, 99, 50)
                                     .levelEnd()
                                     .levelBegin("Locked")
                                     .integer(1, "Size", 0, 99, 60)
                                     .levelEnd()
                                     .levelBegin("Normal")
                                     .integer(1, "Size", 0, 99, 70)
                                     .levelEnd());
        Import::MergeDocuments(*current, *source, true);
        QCOMPARE(value(*current, 1), 50u);
        QCOMPARE(value(*current, 4), 60u);
        QCOMPARE(value(*current, 7), 1u); // letter case differs: not translated
        QVERIFY(current->Record(0)->Imported && current->Record(0)->Modified);
    }

    void keysThatReadAlikeDoNotMatch()
    {
        // Type 1 occurrence 10 and type 11 occurrence 0 both read "110X";
        // so do the second "0X" and the eleventh "X" of a level.
        BcfgBuilder cur;
        BcfgBuilder src;
        for (int i = 0; i < 11; ++i)
            cur.integer(1, "X", 0, 99, 1);
        src.checkBox("X", 1);
        src.integer(1, "0X", 0, 99, 2).integer(1, "0X", 0, 99, 3);
        auto current = load(cur);
        const auto source = load(src);
        QCOMPARE(Import::PathKey(*current->Record(10), false),
                 Import::PathKey(*source->Record(0), false));
        QCOMPARE(Import::PathKey(*current->Record(10), false),
                 Import::PathKey(*source->Record(2), false));
        const Import::Result r = Import::MergeDocuments(*current, *source, false);
        QCOMPARE(r.matched, 0);
        QVERIFY(!current->Modified);
    }

    void firstMatchWinsAndStepsCount()
    {
        auto current = load(BcfgBuilder().integer(1, "A", 0, 9, 1).integer(1, "B", 0, 9, 1));
        QByteArray sameText = BcfgBuilder::nameField("A");
        sameText[9] = 'x'; // the same path as "A", a second occurrence of none
        const auto source = load(BcfgBuilder()
                                     .integer(1, "B", 0, 9, 2)
                                     .integer(1, "Z", 0, 9, 2)
                                     .integer(1, "A", 0, 9, 3)
                                     .integer(1, sameText, 0, 9, 4));
        int steps = 0;
        Import::MergeDocuments(*current, *source, false, [&] { ++steps; });
        QCOMPARE(steps, 4);
        QCOMPARE(value(*current, 0), 4u);
        QCOMPARE(value(*current, 1), 2u);
        // The label from before the import, not from between its two merges.
        QCOMPARE(current->Record(0)->LabelBeforeImport(), QByteArray("A - [ 1 ]"));

        // Two current records of one path: the first takes both values, also where the
        // record in the same place is the second.
        auto twice = load(BcfgBuilder().integer(1, "A", 0, 9, 1).integer(1, sameText, 0, 9, 1));
        Import::MergeDocuments(
            *twice, *load(BcfgBuilder().integer(1, "A", 0, 9, 3).integer(1, sameText, 0, 9, 4)),
            false);
        QCOMPARE(value(*twice, 0), 4u);
        QCOMPARE(value(*twice, 1), 1u);
    }

    void keptAsShipped_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<bool>("translate");
        QTest::addColumn<QString>("kept"); // one digit per source record
        using B = BcfgBuilder;
        const auto row = [](const char* name, const B& base, const B& source, const char* kept,
                            bool translate = false) {
            QTest::newRow(name) << base.bytes() << source.bytes() << translate
                                << QString::fromLatin1(kept);
        };
        row("unsigned", B().integer(1, "A", 0, 9, 5).integer(1, "B", 0, 9, 5),
            B().integer(1, "A", 0, 9, 5).integer(1, "B", 0, 9, 6), "10");
        row("range is not compared", B().integer(3, "A", 0, 9, 5), B().integer(3, "A", 2, 7, 5),
            "1");
        row("value outside its range", B().integer(1, "A", 0, 3, 5), B().integer(1, "A", 0, 3, 5),
            "1");
        row("text", B().text(4, "S", 7, "abc").text(2, "T", 7, "abc"),
            B().text(4, "S", 7, "abc").text(2, "T", 7, "abd"), "10");
        row("bytes after the zero", B().text(10, "S", 7, "abc", 'x'), B().text(10, "S", 7, "abc"),
            "0");
        row("another length", B().text(6, "P", 7, "abc"), B().text(6, "P", 11, "abc"), "0");
        row("choice lists are not compared",
            B().choice("C", 1, {"a", "b"}).choice("D", 1, {"a", "b"}),
            B().choice("C", 1, {"x", "y", "z"}, 3).choice("D", 0, {"a", "b"}), "10");
        row("coordinates", B().coordinates("P", 1, 2).coordinates("Q", 1, 2),
            B().coordinates("P", 1, 2).coordinates("Q", 2, 1), "10");
        row("colour alpha", B().colour("K", 1, 2, 3, 4).colour("L", 1, 2, 3, 4),
            B().colour("K", 1, 2, 3, 4).colour("L", 1, 2, 3, 5), "10");
        row("check box word", B().checkBox("X", 1).checkBox("Y", 1),
            B().checkBox("X", 1).checkBox("Y", 257), "10");
        row("time rest not compared", B().time("T", 1, 2).time("U", 1, 2),
            B().time("T", 1, 2, QByteArray(6, 'r')).time("U", 1, 3), "10");
        row("date rest not compared", B().date("D", 2000, 1, 2).date("E", 2000, 1, 2),
            B().date("D", 2000, 1, 2, "rr").date("E", 2001, 1, 2), "10");
        row("rectangle", B().rect("R", 1, 2, 3, 4).rect("Q", 1, 2, 3, 4),
            B().rect("R", 1, 2, 3, 4).rect("Q", 1, 2, 3, 5), "10");
        row("another type", B().integer(1, "A", 0, 9, 1), B().checkBox("A", 1), "0");
        row("not in base", B(), B().integer(1, "A", 0, 9, 1), "0");
        row("levels are never kept", B().levelBegin("L").integer(1, "A", 0, 9, 1).levelEnd(),
            B().levelBegin("L").integer(1, "A", 0, 9, 1).levelEnd(), "010");
        row("another level", B().levelBegin("L").integer(1, "A", 0, 9, 1).levelEnd(),
            B().levelBegin("M").integer(1, "A", 0, 9, 1).levelEnd(), "000");
        row("translated alike", B().levelBegin("First").integer(1, "A", 0, 9, 1).levelEnd(),
            B().levelBegin("Normal").integer(1, "A", 0, 9, 1).levelEnd(), "010", true);
        row("untranslated", B().levelBegin("First").integer(1, "A", 0, 9, 1).levelEnd(),
            B().levelBegin("Normal").integer(1, "A", 0, 9, 1).levelEnd(), "000");
        QByteArray hidden = B::nameField("A");
        hidden[20] = 'x';
        row("the first base record wins", B().integer(1, hidden, 0, 9, 1).integer(1, "A", 0, 9, 2),
            B().integer(1, "A", 0, 9, 2), "0");
    }

    void keptAsShipped()
    {
        QFETCH(QByteArray, base);
        QFETCH(QByteArray, source);
        QFETCH(bool, translate);
        QFETCH(QString, kept);
        const auto baseDoc = TBCFGFile::FromBytes(base, nullptr, nullptr);
        const auto sourceDoc = TBCFGFile::FromBytes(source, nullptr, nullptr);
        const std::vector<bool> flags = Import::KeptAsShipped(*baseDoc, *sourceDoc, translate);
        QString got;
        for (const bool flag : flags)
            got += flag ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(got, kept);
        // The same comparison as the merge's Modified mark: wherever base would take the
        // value over, it marks nothing exactly when the record is kept.
        const auto pairs = Import::Counterparts(*baseDoc, *sourceDoc, translate);
        for (size_t i = 0; i < pairs.size(); ++i) {
            const TBcfgRecAll& rec = *sourceDoc->Record(int(i));
            if (!pairs[i] || rec.IsLevel())
                continue;
            const Import::Verdict verdict = Import::Judge(*pairs[i], rec);
            if (verdict != Import::Verdict::Refused)
                QCOMPARE(flags[i], verdict == Import::Verdict::Unchanged);
        }
    }

    void largeImportIsFast()
    {
        BcfgBuilder b;
        for (int i = 0; i < 20000; ++i) {
            if (i % 50 == 0)
                b.levelBegin("Sect");
            b.integer(1, "V", 0, 100, quint32(i % 100));
            if (i % 50 == 49)
                b.levelEnd();
        }
        auto current = load(b);
        const auto source = load(b);
        QElapsedTimer timer;
        timer.start();
        Import::MergeDocuments(*current, *source, false);
        const std::vector<bool> kept = Import::KeptAsShipped(*current, *source, false);
        QVERIFY2(timer.elapsed() < 2000, "matching is not linear");
        QVERIFY(kept[1] && !kept[0]);
        QVERIFY(current->Record(current->Count() - 2)->Imported);
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
