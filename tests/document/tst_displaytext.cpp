#include "BcfgBuilder.h"
#include "CodePage.h"
#include "TBCFGFile.h"
#include "TBcfgRecString.h"
#include "TextRules.h"

#include <QTest>

namespace {
QByteArray cp(const char* utf8)
{
    return CodePage::FromUnicode(QString::fromUtf8(utf8));
}

std::unique_ptr<TBCFGFile> load(const BcfgBuilder& builder)
{
    return TBCFGFile::FromBytes(builder.bytes(), nullptr, nullptr);
}

TBcfgRecString* text(const TBCFGFile& doc, int i)
{
    return static_cast<TBcfgRecString*>(doc.Record(i));
}
} // namespace

class TestDisplayText : public QObject
{
    Q_OBJECT

private slots:
    void labels_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("label");
        const auto row = [](const char* name, const BcfgBuilder& b, const QByteArray& label) {
            QTest::newRow(name) << b.bytes() << label;
        };
        row("unsigned all ones", BcfgBuilder().integer(1, "U", 0, 0xFFFFFFFF, 0xFFFFFFFF),
            "U - [ 4294967295 ]");
        row("signed all ones", BcfgBuilder().integer(3, "S", 0, 0, 0xFFFFFFFF), "S - [ -1 ]");
        row("empty name", BcfgBuilder().integer(1, "", 0, 9, 3), " - [ 3 ]");
        row("32-byte name", BcfgBuilder().integer(1, QByteArray(32, 'n'), 0, 9, 3),
            QByteArray(32, 'n') + " - [ 3 ]");
        row("8-byte name", BcfgBuilder().integer(1, "Position", 0, 9, 3), "Position - [ 3 ]");
        row("31-byte name", BcfgBuilder().integer(1, QByteArray(31, 'n'), 0, 9, 3),
            QByteArray(31, 'n') + " - [ 3 ]");
        row("colour", BcfgBuilder().colour("C", 10, 255, 0, 128), "C - [ 0A,FF,00,80 ]");
        row("time 9:05", BcfgBuilder().time("T", 9, 5), "T - [ 9:05 ]");
        row("time 0:00", BcfgBuilder().time("T", 0, 0), "T - [ 0:00 ]");
        row("time 23:59", BcfgBuilder().time("T", 23, 59), "T - [ 23:59 ]");
        row("date", BcfgBuilder().date("D", 2008, 3, 7), "D - [ 7.03.2008 ]");
        row("date 31.12.1999", BcfgBuilder().date("D", 1999, 12, 31), "D - [ 31.12.1999 ]");
        row("rect", BcfgBuilder().rect("R", 65535, 0, 1, 2), "R - [ 65535,0,1,2 ]");
        row("coordinates", BcfgBuilder().coordinates("P", -1, 7), "P - [ -1,7 ]");
        row("check on", BcfgBuilder().checkBox("K", 1), "K - [ ON ]");
        row("check off", BcfgBuilder().checkBox("K", 0), "K - [ OFF ]");
        row("check damaged", BcfgBuilder().checkBox("K", 7), "K - [ 7 ]");
        row("choice", BcfgBuilder().choice("C", 1, {"One", "Two"}), "C - [ Two ]");
        row("choice out of list", BcfgBuilder().choice("C", 2, {"One", "Two"}), "C - [ 2 ]");
        row("choice negative", BcfgBuilder().choice("C", -1, {"One"}), "C - [ -1 ]");
        row("empty text", BcfgBuilder().text(4, "S", 7, ""), "S - [  ]");
        row("empty utf8", BcfgBuilder().text(10, "S", 7, ""), "S - [  ]");
        row("password", BcfgBuilder().text(6, "P", 7, "a\xff?"), "P - [ *** ]");
        row("empty password", BcfgBuilder().text(6, "P", 7, ""), "P - [  ]");
        row("level begin", BcfgBuilder().levelBegin("Sect"), "Sect");
        row("level end", BcfgBuilder().levelEnd("Sect end"), "Sect end");
        row("type 10 cyrillic", BcfgBuilder().text(10, "S", 15, "Привет"),
            "S - [ " + cp("Привет") + " ]");
        row("type 2 strips marks", BcfgBuilder().text(2, "S", 15, "\\\x1F\x1Fz"), "S - [ \\z ]");
        row("type 2 ascii path", BcfgBuilder().text(2, "S", 15, "4:\\Zbin\\a"),
            "S - [ 4:\\Zbin\\a ]");
        row("type 10 keeps 0x1F", BcfgBuilder().text(10, "S", 15, "\\\x1Fz"), "S - [ \\\x1Fz ]");
        row("malformed utf8", BcfgBuilder().text(10, "S", 15, "ok\xD0"), "S - [  ]");
        row("bad continuation", BcfgBuilder().text(2, "S", 15, "\xD0\x41"), "S - [  ]");
        row("three-byte euro", BcfgBuilder().text(10, "S", 15, "\xE2\x82\xAC"), "S - [ \x88 ]");
        row("unrepresentable", BcfgBuilder().text(10, "S", 15, "\xE4\xB8\xAD"), "S - [ ? ]");
    }
    void labels()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, label);
        const auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        QCOMPARE(doc->Record(0)->DisplayText(), label);
        QByteArray line = "  "; // a tree's labels go one after another into one buffer
        doc->Record(0)->AppendDisplayText(line);
        QCOMPARE(line, "  " + label);
    }

    void insertEscapes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray ya = cp("я");
        QTest::newRow("ascii") << QByteArray("a\\b\\c\\") << QByteArray("a\\b\\c\\");
        QTest::newRow("second only") << "a\\b\\" + ya << "a\\b\\\x1F" + ya;
        QTest::newRow("each") << "\\" + ya + "\\" + ya << "\\\x1F" + ya + "\\\x1F" + ya;
        QTest::newRow("double backslash") << "\\\\" + ya << "\\\\\x1F" + ya;
        QTest::newRow("final backslash") << ya + "\\" << ya + "\\";
        QTest::newRow("already marked") << "\\\x1F" + ya << "\\\x1F" + ya;
    }
    void insertEscapes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(TextRules::InsertEscapes(text), expected);
    }

    void setTextRoundTrips()
    {
        const auto doc = load(BcfgBuilder()
                                  .text(2, "two", 31, "", 'x')
                                  .text(10, "ten", 31, "")
                                  .text(4, "four", 31, ""));
        const QByteArray mixed = "C:\\" + cp("Папка") + "\\file";
        for (int i = 0; i < 3; ++i) {
            text(*doc, i)->SetText(mixed);
            QCOMPARE(text(*doc, i)->GetText(), mixed);
        }
        // Type 2 stores UTF-8 with the mark; bytes after the zero are kept.
        const QByteArray stored = QString::fromUtf8("C:\\\x1FПапка\\file").toUtf8();
        QCOMPARE(text(*doc, 0)->Buffer.left(stored.size() + 1), stored + '\0');
        QCOMPARE(text(*doc, 0)->Buffer.back(), 'x');
        QVERIFY(!text(*doc, 1)->Buffer.contains('\x1F'));
        QCOMPARE(text(*doc, 2)->Buffer.left(mixed.size()), mixed);
    }

    void setTextNeverWritesPastThePayload()
    {
        // Max 7: 8 payload bytes, room for 7 and the zero byte.
        const auto doc =
            load(BcfgBuilder().text(4, "a", 7, "").text(10, "b", 7, "").text(2, "c", 7, ""));
        text(*doc, 0)->SetText("abcdefghij");
        QCOMPARE(text(*doc, 0)->Buffer, QByteArray("abcdefg\0", 8));
        // Cyrillic letters take two bytes each in UTF-8: three fit, never half of one.
        text(*doc, 1)->SetText(cp("абвгд"));
        QCOMPARE(text(*doc, 1)->GetText(), cp("абв"));
        QCOMPARE(text(*doc, 1)->Buffer.size(), 8);
        // A backslash never loses the mark that follows it.
        text(*doc, 2)->SetText("abcdef\\" + cp("я"));
        QCOMPARE(text(*doc, 2)->GetText(), QByteArray("abcdef"));
        QCOMPARE(text(*doc, 2)->FittingTextLength(QString::fromUtf8("abcdef\\я")),
                 7);                                 // the backslash alone still fits
        text(*doc, 2)->SetText("abcde\\" + cp("я")); // backslash and mark both fit
        QCOMPARE(text(*doc, 2)->GetText(), QByteArray("abcde\\"));
        QCOMPARE(text(*doc, 2)->FittingTextLength(QString::fromUtf8("abcde\\я")), 6);
        QCOMPARE(text(*doc, 0)->FittingTextLength(QStringLiteral("0123456789")), 7);
    }

    void codePageConversions()
    {
        QCOMPARE(CodePage::ToUnicode("\xC0\x98"), QString::fromUtf8("А\uFFFD"));
        QCOMPARE(CodePage::FromUnicode(QString::fromUtf8("Ж中😀")), QByteArray("\xC6??"));
        QVERIFY(!CodePage::SetName(QStringLiteral("UTF-8")));
        QVERIFY(!CodePage::SetName(QStringLiteral("no-such-codepage")));
        QVERIFY(CodePage::SetName(QStringLiteral("windows-1250")));
        QCOMPARE(CodePage::ToUnicode("\x8A"), QString::fromUtf8("Š"));
        QVERIFY(!CodePage::SetName(QStringLiteral("IBM866"))); // moves ASCII controls
        QVERIFY(CodePage::SetName(QStringLiteral("KOI8_r")));  // case, '-' and '_' aside
        QCOMPARE(CodePage::ToUnicode("\xC1\xE1"), QString::fromUtf8("аА"));
        QCOMPARE(CodePage::Name(), QStringLiteral("KOI8_r"));
        QVERIFY(CodePage::SetName(QStringLiteral("CP1251")));
    }
};

QTEST_GUILESS_MAIN(TestDisplayText)
#include "tst_displaytext.moc"
