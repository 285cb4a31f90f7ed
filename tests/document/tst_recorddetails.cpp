#include "BcfgBuilder.h"
#include "CodePage.h"
#include "Import.h"
#include "LabelSearch.h"
#include "RecordDetails.h"
#include "TBCFGFile.h"

#include <QBuffer>
#include <QTest>

namespace {
QByteArray cp(const char* utf8)
{
    return CodePage::FromUnicode(QString::fromUtf8(utf8));
}

std::unique_ptr<TBCFGFile> load(const BcfgBuilder& b)
{
    return TBCFGFile::FromBytes(b.bytes(), nullptr, nullptr);
}

QString lines(std::initializer_list<const char*> parts)
{
    QStringList all;
    for (const char* part : parts)
        all << QString::fromUtf8(part);
    return all.join(QLatin1Char('\n'));
}
} // namespace

class TestRecordDetails : public QObject
{
    Q_OBJECT

private slots:
    void typeWords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("words");
        const auto row = [](const char* name, const BcfgBuilder& b, const char* words) {
            QTest::newRow(name) << b.bytes() << QString::fromUtf8(words);
        };
        row("1", BcfgBuilder().integer(1, "N", 0, 9, 0), "unsigned integer");
        row("2", BcfgBuilder().text(2, "N", 31, ""),
            "text, UTF-8 with escape marks, up to 31 bytes");
        row("3", BcfgBuilder().integer(3, "N", 0, 9, 0), "signed integer");
        row("4, Max 30 stores 31", BcfgBuilder().text(4, "N", 30, ""), "text, up to 31 bytes");
        row("4, Max 0", BcfgBuilder().text(4, "N", 0, ""), "text, up to 3 bytes");
        row("5", BcfgBuilder().choice("N", 0, {"a", "b", "c", "d", "e", "f", "g"}), "choice of 7");
        row("6", BcfgBuilder().text(6, "N", 7, ""), "password, up to 7 bytes");
        row("7", BcfgBuilder().coordinates("N", 0, 0), "coordinates X, Y");
        row("8", BcfgBuilder().colour("N", 0, 0, 0, 0), "colour R, G, B, alpha");
        row("9 begin", BcfgBuilder().levelBegin("N"), "section");
        row("9 end", BcfgBuilder().levelEnd("N"), "section end");
        row("10", BcfgBuilder().text(10, "N", 63, ""), "text, UTF-8, up to 63 bytes");
        row("11", BcfgBuilder().checkBox("N", 1), "check box");
        row("12", BcfgBuilder().time("N", 1, 2), "time");
        row("13", BcfgBuilder().date("N", 2000, 1, 2), "date");
        row("14", BcfgBuilder().rect("N", 1, 2, 3, 4), "rectangle X1, Y1, X2, Y2");
    }
    void typeWords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, words);
        const auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        QCOMPARE(RecordDetails::TypeWords(*doc->Record(0)), words);
        QVERIFY(RecordDetails::Of(*doc->Record(0)).startsWith(words + '\n'));
    }

    void details_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("unsigned range, path, occurrence, offset")
            << BcfgBuilder()
                   .levelBegin(cp("Часы"))
                   .integer(1, cp("Время"), 0, 0xFFFFFFFF, 7)
                   .integer(1, cp("Время"), 0, 0xFFFFFFFF, 0x0A0B0C0D)
                   .bytes()
            << 2
            << lines({"unsigned integer", "range: 0 .. 4294967295", "path: Часы/Время#1",
                      "occurrence: 1", "offset: 92 (0x5C)", "payload: 0D 0C 0B 0A", "unchanged"});
        QTest::newRow("signed range")
            << BcfgBuilder().integer(3, "S", quint32(-5), 5, quint32(-1)).bytes() << 0
            << lines({"signed integer", "range: -5 .. 5", "path: S", "offset: 0 (0x0)",
                      "payload: FF FF FF FF", "unchanged"});
        QTest::newRow("32 payload bytes shown whole")
            << BcfgBuilder().text(4, "T", 31, "abc").bytes() << 0
            << lines({"text, up to 31 bytes", "path: T", "offset: 0 (0x0)"}) +
                   "\npayload: 61 62 63" + QString(" 00").repeated(29) + "\nunchanged";
        QTest::newRow("longer payload cut after 32")
            << BcfgBuilder().text(4, "T", 32, "abc").bytes() << 0
            << lines({"text, up to 35 bytes", "path: T", "offset: 0 (0x0)"}) +
                   "\npayload: 61 62 63" + QString(" 00").repeated(29) +
                   " ... (36 bytes)\nunchanged";
        QTest::newRow("section inside a section")
            << BcfgBuilder()
                   .levelBegin(cp("Часы"))
                   .levelBegin(cp("Будильник"))
                   .levelEnd()
                   .levelEnd()
                   .bytes()
            << 1
            << lines({"section", "path: Часы/Будильник/", "offset: 44 (0x2C)", "payload: none",
                      "unchanged"});
    }
    void details()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, index);
        QFETCH(QString, text);
        const auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        QCOMPARE(RecordDetails::Of(*doc->Record(index)), text);
    }

    // The marks and the value before an import follow the record through import, save and edit.
    void marksAndValueBeforeImport()
    {
        const auto current =
            load(BcfgBuilder().integer(1, "V", 0, 99, 5).choice("C", 0, {cp("Один"), cp("Два")}));
        const auto source =
            load(BcfgBuilder().integer(1, "V", 0, 99, 9).choice("C", 1, {cp("Один"), cp("Два")}));
        const auto lastLines = [&](int index, int count) {
            const QStringList all = RecordDetails::Of(*current->Record(index)).split('\n');
            return all.mid(all.size() - count);
        };
        QCOMPARE(lastLines(0, 1), QStringList{"unchanged"});
        Import::MergeDocuments(*current, *source, false);
        QCOMPARE(lastLines(0, 2), (QStringList{"changed, imported", "before the import: 5"}));
        QCOMPARE(lastLines(1, 2),
                 (QStringList{"changed, imported", QStringLiteral("before the import: Один")}));
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        current->SaveTo(sink);
        QCOMPARE(lastLines(0, 2), (QStringList{"imported", "before the import: 5"}));
        current->Record(0)->MarkModified();
        QCOMPARE(lastLines(0, 2), (QStringList{"changed, imported", "before the import: 5"}));
    }

    void stopBlock()
    {
        const auto cut = load(
            BcfgBuilder().integer(1, "V", 0, 9, 1).raw(BcfgBuilder::le32(15) + QByteArray(8, 'x')));
        QCOMPARE(RecordDetails::OfStop(*cut),
                 lines({"block not read: loading stopped here", "offset: 48 (0x30)",
                        "kept: 12 bytes from here to the end, written back as they are"}));
        QCOMPARE(RecordDetails::OfStop(*load(BcfgBuilder().integer(1, "V", 0, 9, 1))), QString());
    }

    void labelSearch_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hit");
        QTest::newRow("Cyrillic, other case")
            << QStringLiteral("Будильник - [ 7 ]") << QStringLiteral("бУДИЛ") << true;
        QTest::newRow("Latin, inside the value")
            << QStringLiteral("Size - [ Large ]") << QStringLiteral("larg") << true;
        QTest::newRow("not contained")
            << QStringLiteral("Size - [ 7 ]") << QStringLiteral("sizes") << false;
        QTest::newRow("empty text finds nothing") << QStringLiteral("Size") << QString() << false;
    }
    void labelSearch()
    {
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(bool, hit);
        QCOMPARE(LabelSearch::Matches(label, text), hit);
    }
};

QTEST_APPLESS_MAIN(TestRecordDetails)
#include "tst_recorddetails.moc"
