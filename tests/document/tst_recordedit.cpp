#include "BcfgBuilder.h"
#include "BcfgError.h"
#include "CodePage.h"
#include "ErrorOf.h"
#include "FakeEditorHost.h"
#include "TBCFGFile.h"
#include "TBcfgRec0103.h"
#include "TBcfgRec05.h"
#include "TBcfgRec0B.h"
#include "TBcfgRec0C.h"
#include "TBcfgRec0D.h"
#include "TBcfgRecString.h"
#include "TextRules.h"

#include <QTest>

class TestRecordEdit : public QObject
{
    Q_OBJECT

private slots:
    void unsignedIntegerLoop()
    {
        auto doc = TBCFGFile::FromBytes(
            BcfgBuilder().levelBegin("Sect").integer(1, "Big", 0, 0xFFFFFFFF, 7).bytes(), nullptr,
            nullptr);
        auto* rec = static_cast<TBcfgRec0103*>(doc->Record(1));
        FakeEditorHost host;
        host.answers = {typed({"abc"}), typed({"4294967296"}), typed({"4294967295"})};
        rec->Edit(host);
        // Invalid input brings the popup back with the stored value.
        QCOMPARE(host.shown, QStringList({"Big -|7|(0 .. 4294967295)", "Big -|7|(0 .. 4294967295)",
                                          "Big -|7|(0 .. 4294967295)"}));
        QCOMPARE(rec->Value, 0xFFFFFFFFu);
        QVERIFY(rec->Modified && doc->Record(0)->Modified && doc->Modified);
    }

    void signedRangeThatAcceptsNothing()
    {
        auto doc = TBCFGFile::FromBytes(BcfgBuilder().integer(3, "S", 0, 0xFFFFFFFF, 0).bytes(),
                                        nullptr, nullptr);
        FakeEditorHost host;
        host.answers = {typed({"0"}), typed({"-1"}), Cancel};
        doc->Record(0)->Edit(host);
        QCOMPARE(host.shown.size(), 3);
        QVERIFY(host.shown.first().endsWith("(0 .. -1)"));
        QVERIFY(!doc->Modified);
    }

    void unchangedAcceptsDoNotMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("answer");
        QTest::newRow("integer") << BcfgBuilder().integer(1, "I", 0, 100, 5).bytes()
                                 << QStringList{"$5"};
        QTest::newRow("coordinates")
            << BcfgBuilder().coordinates("P", -3, 4).bytes() << QStringList{"-3", "4"};
        QTest::newRow("colour") << BcfgBuilder().colour("C", 1, 2, 3, 4).bytes()
                                << QStringList{"1", "2", "3", "4"};
        QTest::newRow("rect") << BcfgBuilder().rect("R", 1, 2, 3, 4).bytes()
                              << QStringList{"1", "2", "3", "4"};
        QTest::newRow("time") << BcfgBuilder().time("T", 9, 5).bytes() << QStringList{"09:05"};
        QTest::newRow("choice") << BcfgBuilder().choice("C", 1, {"a", "b"}).bytes()
                                << QStringList{"1"};
        QTest::newRow("string") << BcfgBuilder().text(4, "S", 15, "same").bytes()
                                << QStringList{"same"};
        QTest::newRow("date") << BcfgBuilder().date("D", 2008, 3, 7).bytes()
                              << QStringList{"2008-03-07"};
        // Texts that storing again would change.
        QTest::newRow("UTF-8 outside the code page")
            << BcfgBuilder().text(10, "U", 15, QStringLiteral("a\u4E2Db").toUtf8()).bytes()
            << QStringList{};
        QTest::newRow("same 8-bit text typed again")
            << BcfgBuilder().text(10, "U", 15, QStringLiteral("\u4E2D").toUtf8()).bytes()
            << QStringList{QStringLiteral("\u4E2D")};
        QTest::newRow("backslash without its mark")
            << BcfgBuilder().text(2, "E", 15, QStringLiteral("a\\\u0416").toUtf8()).bytes()
            << QStringList{};
        QTest::newRow("malformed UTF-8")
            << BcfgBuilder().text(10, "U", 15, "ok\xC3\x28").bytes() << QStringList{};
    }
    void unchangedAcceptsDoNotMark()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, answer);
        auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        FakeEditorHost host;
        host.answers = {answer};
        doc->Record(0)->Edit(host);
        QCOMPARE(host.shown.size(), 1);
        QVERIFY(!doc->Modified);
        QCOMPARE(doc->Serialize(), bytes);
    }

    void changedTextsStoreAndMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("answer");
        QTest::newRow("UTF-8 outside the code page")
            << BcfgBuilder().text(10, "U", 15, QStringLiteral("\u4E2D").toUtf8()).bytes()
            << QStringLiteral("\u0414\u043E\u043C");
        QTest::newRow("backslash without its mark")
            << BcfgBuilder().text(2, "E", 15, QStringLiteral("a\\\u0416").toUtf8()).bytes()
            << QStringLiteral("b\\\u0416");
        QTest::newRow("malformed UTF-8")
            << BcfgBuilder().text(10, "U", 15, "ok\xC3\x28").bytes() << QStringLiteral("ok");
    }
    void changedTextsStoreAndMark()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, answer);
        auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        auto* rec = static_cast<TBcfgRecString*>(doc->Record(0));
        FakeEditorHost host;
        host.answers = {typed({answer})};
        rec->Edit(host);
        QVERIFY(rec->Modified && doc->Modified);
        const QByteArray text = CodePage::FromUnicode(answer);
        QCOMPARE(rec->GetText(), text);
        QVERIFY(rec->Buffer.startsWith(TextRules::StoredForm(rec->TypeCode, text) + '\0'));
    }

    void rangesOfTheFourFieldPopups()
    {
        auto doc = TBCFGFile::FromBytes(BcfgBuilder()
                                            .colour("C", 0, 0, 0, 0)
                                            .rect("R", 0, 0, 0, 0)
                                            .coordinates("P", 0, 0)
                                            .bytes(),
                                        nullptr, nullptr);
        FakeEditorHost host;
        host.answers = {typed({"255", "0", "0", "101"}), typed({"255", "0", "0", "100"})};
        doc->Record(0)->Edit(host);
        QCOMPARE(host.shown.size(), 2);
        QCOMPARE(host.shown[0], QStringLiteral("C - R: G: B: A:|0,0,0,0|colour 255"));
        QCOMPARE(doc->Record(0)->DisplayText(), QByteArray("C - [ FF,00,00,64 ]"));

        host.shown.clear();
        host.answers = {typed({"65535", "0", "0", "0"}), typed({"65534", "1", "2", "3"})};
        doc->Record(1)->Edit(host);
        QCOMPARE(host.shown.size(), 2);
        QVERIFY(host.shown[0].endsWith("|rectangle 512"));
        QCOMPARE(doc->Record(1)->DisplayText(), QByteArray("R - [ 65534,1,2,3 ]"));

        host.answers = {typed({"-2147483648", "$7FFFFFFF"})};
        doc->Record(2)->Edit(host);
        QCOMPARE(doc->Record(2)->DisplayText(), QByteArray("P - [ -2147483648,2147483647 ]"));
    }

    void timeLoop()
    {
        auto doc =
            TBCFGFile::FromBytes(BcfgBuilder().time("T", 7, 0, "rest!!").bytes(), nullptr, nullptr);
        FakeEditorHost host;
        host.answers = {typed({"24:00"}), typed({"12:60"}), typed({" 9:05"})};
        doc->Record(0)->Edit(host);
        QCOMPARE(host.shown, QStringList({"T -|07:00", "T -|07:00", "T -|07:00"}));
        QCOMPARE(doc->Record(0)->DisplayText(), QByteArray("T - [ 9:05 ]"));
        QVERIFY(doc->Serialize().endsWith("rest!!"));
    }

    void checkBoxAlwaysMarks()
    {
        auto doc = TBCFGFile::FromBytes(BcfgBuilder().checkBox("K", 7).bytes(), nullptr, nullptr);
        FakeEditorHost host;
        doc->Record(0)->Edit(host);
        QCOMPARE(static_cast<TBcfgRec0B*>(doc->Record(0))->Checked, 1u);
        QVERIFY(doc->Modified);
        QVERIFY(host.shown.isEmpty());
    }

    void choices()
    {
        auto doc = TBCFGFile::FromBytes(BcfgBuilder()
                                            .choice("C", 0, {"One", "Two"})
                                            .choice("Bad", 5, {"One"})
                                            .choice("Empty", 0, {})
                                            .bytes(),
                                        nullptr, nullptr);
        FakeEditorHost host;
        host.answers = {typed({"1"}), typed({"-1"}), typed({"-1"})};
        doc->Record(0)->Edit(host);
        QCOMPARE(static_cast<TBcfgRec05*>(doc->Record(0))->ItemIndex, 1);
        QVERIFY(doc->Record(0)->Modified);
        doc->Record(1)->Edit(host); // no selection: accept changes nothing
        doc->Record(2)->Edit(host);
        QCOMPARE(host.shown, QStringList({"One,Two|0", "One|-1", "|-1"}));
        QVERIFY(!doc->Record(1)->Modified && !doc->Record(2)->Modified);
        QCOMPARE(static_cast<TBcfgRec05*>(doc->Record(1))->ItemIndex, 5);
    }

    void strings()
    {
        const QByteArray name = CodePage::FromUnicode(u"Имя");
        auto doc = TBCFGFile::FromBytes(BcfgBuilder()
                                            .text(6, name, 7, "secret")
                                            .text(10, "U", 7, "")
                                            .text(4, "Odd", 7, "a\x98")
                                            .bytes(),
                                        nullptr, nullptr);
        FakeEditorHost host;
        host.answers = {typed({"secret"}), typed({QString::fromUtf8("Дом")}), Cancel};
        doc->Record(0)->Edit(host);
        QCOMPARE(host.shown.last(), QString::fromUtf8("Имя -|secret|8")); // a password shows plain
        QVERIFY(!doc->Modified);
        doc->Record(1)->Edit(host);
        QCOMPARE(static_cast<TBcfgRecString*>(doc->Record(1))->GetText(),
                 CodePage::FromUnicode(u"Дом"));
        QVERIFY(doc->Record(1)->Modified);
        // The popup's own cut rule comes from the record: UTF-8 bytes count.
        QCOMPARE(host.lastString.fittingLength(QString::fromUtf8("ДомДом")), 3);

        // An untouched field keeps bytes that the code page cannot show.
        host.answers = {typed({QString::fromUtf8("a\uFFFD")})};
        doc->Record(2)->Edit(host);
        QVERIFY(!doc->Record(2)->Modified);
        QCOMPARE(static_cast<TBcfgRecString*>(doc->Record(2))->Buffer.left(2), QByteArray("a\x98"));
    }

    void dates()
    {
        auto doc = TBCFGFile::FromBytes(
            BcfgBuilder().date("D", 2007, 12, 31, "zz").date("Bad", 2007, 2, 30).bytes(), nullptr,
            nullptr);
        FakeEditorHost host;
        host.answers = {typed({"2008-01-01"})};
        doc->Record(0)->Edit(host);
        QCOMPARE(host.shown, QStringList("2007-12-31"));
        QCOMPARE(doc->Record(0)->DisplayText(), QByteArray("D - [ 1.01.2008 ]"));
        QVERIFY(doc->Record(0)->Modified);
        QVERIFY(doc->Serialize().mid(44, 8).endsWith("zz"));
        QCOMPARE(errorOf([&] { doc->Record(1)->Edit(host); }),
                 QStringLiteral("Invalid argument to date encode"));
        QCOMPARE(host.shown.size(), 1);
        QVERIFY(!doc->Record(1)->Modified);
    }
};

QTEST_GUILESS_MAIN(TestRecordEdit)
#include "tst_recordedit.moc"
