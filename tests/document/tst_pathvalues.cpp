#include "BcfgBuilder.h"
#include "Difference.h"
#include "ParameterPath.h"
#include "PathIndex.h"
#include "SettingsText.h"
#include "TBCFGFile.h"
#include "ValueInput.h"

#include "BcfgError.h"

#include <QTest>

namespace {
std::unique_ptr<TBCFGFile> load(const QByteArray& bytes)
{
    return TBCFGFile::FromBytes(bytes, nullptr, nullptr);
}
QByteArray withHiddenByte(const QByteArray& name)
{
    QByteArray field = BcfgBuilder::nameField(name);
    field[30] = 'x'; // the same text, another 32-byte name: occurrence 0 again
    return field;
}
} // namespace

class TestPathValues : public QObject
{
    Q_OBJECT

    // Index: 0 L, 1 a/b, 2 x, 3 x, 4 In#1, 5 c\d, 6 end, 7 end, 8 L, 9 Цвет, 10 dup,
    // 11 dup (hidden byte), 12 "" (no name).
    static QByteArray pathFile()
    {
        return BcfgBuilder()
            .levelBegin("L")
            .integer(1, "a/b", 0, 9, 1)
            .integer(1, "x", 0, 9, 1)
            .integer(1, "x", 0, 9, 2)
            .levelBegin("In#1")
            .integer(1, "c\\d", 0, 9, 1)
            .levelEnd()
            .levelEnd()
            .integer(1, "L", 0, 9, 1)
            .integer(1, "\xD6\xE2\xE5\xF2", 0, 9, 1) // cp1251
            .integer(1, "dup", 0, 9, 1)
            .text(4, withHiddenByte("dup"), 3, "t")
            .integer(1, "", 0, 9, 1)
            .bytes();
    }

private slots:
    void paths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("index");    // -1: names nothing
        QTest::addColumn<bool>("written"); // Of(record) gives path
        QTest::newRow("level") << "L" << 0 << true;
        QTest::newRow("slash escaped") << "L/a\\/b" << 1 << true;
        QTest::newRow("first of a name") << "L/x" << 2 << true;
        QTest::newRow("second of a name") << "L/x#1" << 3 << true;
        QTest::newRow("hash escaped") << "L/In\\#1" << 4 << true;
        QTest::newRow("backslash escaped") << "L/In\\#1/c\\\\d" << 5 << true;
        QTest::newRow("second at the top") << "L#1" << 8 << true;
        QTest::newRow("converted name") << "Цвет" << 9 << true;
        QTest::newRow("shared path, first wins") << "dup" << 10 << true;
        QTest::newRow("empty name") << "" << 12 << true;
        QTest::newRow("#0 is not written") << "L/x#0" << -1 << false;
        QTest::newRow("leading zero") << "L/x#01" << -1 << false;
        QTest::newRow("unescaped slash") << "L/a/b" << -1 << false;
        QTest::newRow("unescaped hash") << "L/In#1" << -1 << false;
        QTest::newRow("letter case") << "l" << -1 << false;
        QTest::newRow("not at the top") << "x" << -1 << false;
        QTest::newRow("too deep") << "L/x/y" << -1 << false;
    }
    void paths()
    {
        QFETCH(QString, path);
        QFETCH(int, index);
        QFETCH(bool, written);
        const auto doc = load(pathFile());
        QCOMPARE(ParameterPath::Find(*doc, path), doc->Record(index));
        // The index finds the same record, whatever record it is told to try first.
        const PathIndex paths(*doc);
        for (const int guess : {-1, 0, index, index + 1, 11})
            QCOMPARE(paths.Find(path, guess), doc->Record(index));
        QCOMPARE(paths.NamedByPath(11), false); // "dup" names record 10
        if (written)
            QCOMPARE(ParameterPath::Of(*doc->Record(index)), path);
        QCOMPARE(ParameterPath::Of(*doc->Record(11)), QStringLiteral("dup"));
    }

    // Where names convert apart the index trusts a guess that spells the path: it must be
    // the record Find finds, for every record and every guess.
    void indexOfDistinctNames()
    {
        const auto doc = load(BcfgBuilder()
                                  .levelBegin("L")
                                  .integer(1, "x", 0, 9, 1)
                                  .integer(1, "x", 0, 9, 2)
                                  .levelBegin("x")
                                  .integer(1, "x", 0, 9, 3)
                                  .levelEnd()
                                  .levelEnd()
                                  .integer(1, "x", 0, 9, 4)
                                  .levelBegin("M")
                                  .integer(1, "x", 0, 9, 5)
                                  .integer(1, "x", 0, 9, 6)
                                  .levelEnd()
                                  .bytes());
        const PathIndex paths(*doc);
        for (const auto& rec : doc->Records()) {
            const QString path = ParameterPath::Of(*rec);
            for (int guess = -1; guess <= doc->Count(); ++guess)
                QCOMPARE(paths.Find(path, guess), ParameterPath::Find(*doc, path));
            QVERIFY(paths.NamedByPath(rec->Index) ==
                    (ParameterPath::Find(*doc, path) == rec.get()));
        }
        QCOMPARE(paths.Find(u"L/x#2"), doc->Record(3));
        QCOMPARE(paths.Find(u"x", 1), doc->Record(7));
        // After a record of L, a guess in L with the right last step but another level.
        QCOMPARE(paths.Find(u"L/x", 1), doc->Record(1));
        QCOMPARE(paths.Find(u"M/x#1", 2), doc->Record(10));
    }

    // The settings a text holds, each "LINE PATH=VALUE", or the error it gives.
    void settingsText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* tag, const QByteArray& text, const QStringList& settings,
                            const QString& error = {}) {
            QTest::newRow(tag) << text << settings << error;
        };
        row("file order, not key order", "# c\n\"b\" = \"1\"\n\n\"a/x\" = 'lit'\n",
            {"2 b=1", "4 a/x=lit"});
        row("integers as decimal text", "a = -5\nb = 0x1F\nc = +7\n",
            {"1 a=-5", "2 b=31", "3 c=7"});
        row("escapes", "\"\\\\/\\\"\" = \"\\u0001\\t\u0416\"", {"1 \\/\"=\u0001\t\u0416"});
        row("empty", "", {});
        row("comments only", "# a = \"1\"\n", {});
        row("not TOML", "a = \"1\"\nb = \n", {},
            "Line 2, column 5: this is not TOML: Error while parsing key-value pair: expected "
            "value, "
            "saw '\\n'");
        // Where toml++ 3.3 asked whether a Cyrillic letter is whitespace and reached undefined
        // behaviour (the sanitizer build stops there).
        row("a letter where a value begins", "a =\xD0\xB2\xD0\xB5\"\n", {},
            "Line 1, column 4: this is not TOML: Error while parsing value: could not determine "
            "value type");
        row("zero byte", QByteArray("a = \"1\"\n\0\1", 10), {},
            "Line 2: a zero byte: this is not a text file");
        row("a table", "a = \"1\"\n[t]\nx = 1\n", {},
            "Line 2: Cannot set \"t\": a value is a string or an integer, not a table");
        row("an array", "a = [1]", {},
            "Line 1: Cannot set \"a\": a value is a string or an integer, not an array");
        row("a float", "a = 2.5", {},
            "Line 1: Cannot set \"a\" to 2.5: a value is a string or an integer, not a "
            "floating-point number");
        row("a boolean", "a = true", {},
            "Line 1: Cannot set \"a\" to true: a value is a string or an integer, not a boolean");
        // A long text is read a few lines at a time: what spans lines, or a key that comes
        // back, is read as the whole text reads it.
        row("a string over lines", "a = \"\"\"one\nb = \"2\"\n\"\"\"\nc = \"3\"\n",
            {"1 a=one\nb = \"2\"\n", "4 c=3"});
        row("an array over lines", "a = \"1\"\nb = [\n1,\n2]\n", {},
            "Line 2: Cannot set \"b\": a value is a string or an integer, not an array");
        row("a key twice", "a = \"1\"\nb = \"2\"\nc = \"3\"\na = \"4\"\n", {},
            "Line 4, column 5: this is not TOML: Error while parsing key-value pair: cannot "
            "redefine existing string 'a'");
        row("a byte order mark",
            "\xEF\xBB\xBF"
            "a = \"1\"\nb = \"2\"\n",
            {"1 a=1", "2 b=2"});
        row("a byte order mark inside",
            "a = \"1\"\n\xEF\xBB\xBF"
            "b = \"2\"\n",
            {},
            "Line 2, column 1: this is not TOML: Error while parsing root table: expected space "
            "or tab, saw '\\uFEFF'");
        QByteArray many;
        QStringList manySettings;
        for (int i = 1; i <= 300; ++i) {
            many += "\"k" + QByteArray::number(i) + "\" = \"" + QByteArray::number(i * 7) + "\"\n";
            manySettings << QStringLiteral("%1 k%1=%2").arg(i).arg(i * 7);
        }
        row("many lines", many + "last = 1", manySettings + QStringList{"301 last=1"});
        // Far apart: the first and the last line fall in different parts of the text.
        row("many lines, the first key again", many + "k1 = 1", {},
            "Line 301, column 6: this is not TOML: Error while parsing key-value pair: cannot "
            "redefine existing string 'k1'");
    }
    void settingsText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, settings);
        QFETCH(QString, error);
        // Whole, in pieces of a few lines, and in the pieces a long text is read in.
        for (const qsizetype pieceBytes : {qsizetype(0), qsizetype(8), qsizetype(64 * 1024)}) {
            QStringList got;
            QString thrown;
            try {
                for (const Settings::Setting& s : SettingsText::Read(text, pieceBytes))
                    got << QStringLiteral("%1 %2=%3").arg(s.line).arg(s.path, s.value);
            } catch (const BcfgError& e) {
                thrown = e.text();
            }
            QCOMPARE(thrown, error);
            QCOMPARE(got, settings);
        }
    }

    // What Write writes, Read reads back: every path and value, escapes and all.
    void settingsTextReadsItsOwnWriting()
    {
        const auto doc = load(BcfgBuilder()
                                  .levelBegin("a\"\\/#\t")
                                  .text(4, "q\x7F", 15, "\"\\\x01\n\xC6")
                                  .text(6, "p", 7, "pw")
                                  .levelEnd()
                                  .integer(1, "", 0, 9, 3)
                                  .bytes());
        const QByteArray text = SettingsText::Write(*doc, {true, nullptr});
        QStringList got;
        for (const Settings::Setting& s : SettingsText::Read(text))
            got << s.path + QLatin1Char('=') + s.value;
        QCOMPARE(got, (QStringList{ParameterPath::Of(*doc->Record(1)) + "=\"\\\x01\nЖ",
                                   ParameterPath::Of(*doc->Record(2)) + "=pw", "=3"}));
        QVERIFY(!SettingsText::Write(*doc, {}).contains("pw"));
    }

    void labelValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("value"); // null: no value part
        QTest::newRow("integer") << BcfgBuilder().integer(1, "N", 0, 9, 5).bytes()
                                 << QByteArray("5");
        QTest::newRow("separators in the text")
            << BcfgBuilder().text(4, "T", 15, "a - [ b ]").bytes() << QByteArray("a - [ b ]");
        QTest::newRow("separator in the name")
            << BcfgBuilder().integer(1, "N - [ x", 0, 9, 5).bytes() << QByteArray("5");
        QTest::newRow("empty text") << BcfgBuilder().text(4, "T", 3, "").bytes() << QByteArray("");
        QTest::newRow("password as stars")
            << BcfgBuilder().text(6, "P", 7, "abc").bytes() << QByteArray("***");
        QTest::newRow("level") << BcfgBuilder().levelBegin("L").bytes() << QByteArray();
    }
    void labelValues()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, value);
        const auto doc = load(bytes);
        const QByteArray got = ParameterPath::Value(*doc->Record(0));
        QCOMPARE(got, value);
        QCOMPARE(got.isNull(), value.isNull());
    }

    void differences_data()
    {
        QTest::addColumn<bool>("translate");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("levels translated") << true
                                           << QStringList{
                                                  "changed First/Size 5 50 c1 o1",
                                                  "changed First/Pass *** *** c3 o3",
                                                  "refused First/Lim 1 11 c4 o4",
                                                  "changed First/Lim 1 7 c4 o5",
                                                  "only-other Normal/New/ null null c-1 o6",
                                                  "refused C a b c10 o10",
                                                  "only-other Extra null 2 c-1 o11",
                                                  "only-current First/Gone/ null null c5 o-1",
                                                  "only-current Mine 1 null c9 o-1",
                                              };
        QTest::newRow("levels as named")
            << false
            << QStringList{
                   "only-other Normal/ null null c-1 o0", "refused C a b c10 o10",
                   "only-other Extra null 2 c-1 o11",     "only-current First/ null null c0 o-1",
                   "only-current Mine 1 null c9 o-1",
               };
    }
    void differences()
    {
        QFETCH(bool, translate);
        QFETCH(QStringList, expected);
        const QByteArray currentBytes = BcfgBuilder()
                                            .levelBegin("First")
                                            .integer(1, "Size", 0, 100, 5)
                                            .integer(1, "Same", 0, 9, 3)
                                            .text(6, "Pass", 7, "abc")
                                            .integer(1, "Lim", 0, 10, 1)
                                            .levelBegin("Gone")
                                            .integer(1, "g", 0, 9, 1)
                                            .levelEnd()
                                            .levelEnd()
                                            .integer(1, "Mine", 0, 9, 1)
                                            .choice("C", 0, {"a", "b"})
                                            .bytes();
        const auto current = load(currentBytes);
        const auto other = load(BcfgBuilder()
                                    .levelBegin("Normal")
                                    .integer(1, "Size", 0, 100, 50)
                                    .integer(1, "Same", 0, 9, 3)
                                    .text(6, "Pass", 7, "xyz")
                                    .integer(1, "Lim", 0, 99, 11)
                                    .integer(1, withHiddenByte("Lim"), 0, 99, 7)
                                    .levelBegin("New")
                                    .integer(1, "n", 0, 9, 1)
                                    .levelEnd()
                                    .levelEnd()
                                    .choice("C", 1, {"a", "b", "c"})
                                    .integer(1, "Extra", 0, 9, 2)
                                    .bytes());
        static const char* const kinds[] = {"changed", "refused", "only-current", "only-other"};
        QStringList got;
        for (const Difference& d : ListDifferences(*current, *other, translate))
            got << QStringLiteral("%1 %2 %3 %4 c%5 o%6")
                       .arg(QLatin1String(kinds[d.kind]), d.path,
                            d.currentValue.value_or(QStringLiteral("null")),
                            d.otherValue.value_or(QStringLiteral("null")))
                       .arg(d.current ? d.current->Index : -1)
                       .arg(d.other ? d.other->Index : -1);
        QCOMPARE(got, expected);
        // Judged on copies: the current document is as it was loaded.
        QCOMPARE(current->Serialize(), currentBytes);
        for (const auto& rec : current->Records())
            QVERIFY(!rec->Modified && !rec->Imported);
        QVERIFY(!current->Modified);
    }

    // For every type: what get prints stores no other byte; another value is stored as
    // the label then shows it.
    void valuesReadBack_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("shown"); // other as get prints it once stored
        const auto row = [](const char* tag, const BcfgBuilder& b, const QString& text,
                            const QString& other, const QString& shown) {
            QTest::newRow(tag) << b.bytes() << text << other << shown;
        };
        row("1 unsigned", BcfgBuilder().integer(1, "v", 0, 0xFFFFFFFF, 0xFFFFFFFF), "4294967295",
            "$10", "16");
        row("3 signed", BcfgBuilder().integer(3, "v", quint32(-5), 5, quint32(-5)), "-5", " +5",
            "5");
        row("2 marked backslash",
            BcfgBuilder().text(2, "v", 11, QByteArray("a\\\x1F\xD0\x96\0", 6), 'z'), "a\\Ж", "b\\Ж",
            "b\\Ж");
        row("2 unmarked backslash", BcfgBuilder().text(2, "v", 11, "a\\\xD0\x96"), "a\\Ж", "", "");
        row("4 code page", BcfgBuilder().text(4, "v", 7, QByteArray("\xD1\0rest", 6)), "С",
            "abcdefg", "abcdefg");
        row("6 password", BcfgBuilder().text(6, "v", 7, "secret"), "secret", "other", "other");
        row("10 utf-8", BcfgBuilder().text(10, "v", 7, "\xD0\x96"), "Ж", "ЖЖЖ", "ЖЖЖ");
        row("5 choice", BcfgBuilder().choice("v", 1, {"a", "b", "a"}), "b", "a", "a");
        row("7 coordinates", BcfgBuilder().coordinates("v", -3, 4), "-3,4", "-2147483648,0",
            "-2147483648,0");
        row("8 colour", BcfgBuilder().colour("v", 0xAB, 0, 0x0F, 0x64), "AB,00,0F,64", "f,ff,0,0",
            "0F,FF,00,00");
        row("11 on", BcfgBuilder().checkBox("v", 1), "ON", "OFF", "OFF");
        row("11 off", BcfgBuilder().checkBox("v", 0), "OFF", "ON", "ON");
        row("12 time", BcfgBuilder().time("v", 7, 5, "123456"), "7:05", "23:59", "23:59");
        row("13 date", BcfgBuilder().date("v", 2024, 2, 29, "zz"), "29.02.2024", "1.1.1", "1.01.1");
        row("14 rectangle", BcfgBuilder().rect("v", 0, 1, 65534, 3), "0,1,65534,3", "65534,0,0,9",
            "65534,0,0,9");
    }
    void valuesReadBack()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, other);
        QFETCH(QString, shown);
        const auto doc = load(bytes);
        TBcfgRecAll& rec = *doc->Record(0);
        QCOMPARE(ValueInput::Text(rec), text);
        QString why;
        QVERIFY2(ValueInput::Store(rec, text, why), qPrintable(why));
        QCOMPARE(doc->Serialize(), bytes);
        QVERIFY(!rec.Modified && !doc->Modified);

        QVERIFY2(ValueInput::Store(rec, other, why), qPrintable(why));
        QVERIFY(rec.Modified && doc->Modified);
        QCOMPARE(ValueInput::Text(rec), shown);
        QCOMPARE(doc->Serialize().size(), bytes.size());
    }

    void valuesRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("why");
        const auto row = [](const char* tag, const BcfgBuilder& b, const QString& text,
                            const QString& why) { QTest::newRow(tag) << b.bytes() << text << why; };
        const BcfgBuilder small = BcfgBuilder().integer(1, "v", 2, 10, 5);
        row("above max", small, "11", "out of range 2 .. 10");
        row("below min", small, "1", "out of range 2 .. 10");
        row("minus on unsigned", BcfgBuilder().integer(1, "v", 0, 0xFFFFFFFF, 0), "-1",
            "out of range 0 .. 4294967295");
        row("signed range", BcfgBuilder().integer(3, "v", quint32(-5), 5, 0), "$FFFFFFFF",
            "out of range -5 .. 5");
        row("not a number", small, "5a", "not an integer");
        row("trailing blank", small, "5 ", "not an integer");
        row("empty", small, "", "not an integer");
        row("text too long", BcfgBuilder().text(4, "v", 7, "abc"), "abcdefgh",
            "the record holds 8 bytes, the text takes 9");
        row("utf-8 too long", BcfgBuilder().text(10, "v", 7, "a"), "ЖЖЖЖ",
            "the record holds 8 bytes, the text takes 9");
        row("no such character", BcfgBuilder().text(4, "v", 7, "a"), "中", "cannot represent");
        row("not an item", BcfgBuilder().choice("v", 0, {"a", "b"}), "A", "not one of its items");
        row("three coordinates", BcfgBuilder().coordinates("v", 0, 0), "1,2,3", "not X,Y");
        row("coordinate too big", BcfgBuilder().coordinates("v", 0, 0), "2147483648,0", "not X,Y");
        row("alpha above 64", BcfgBuilder().colour("v", 0, 0, 0, 0), "0,0,0,65",
            "alpha at most 64");
        row("three digits", BcfgBuilder().colour("v", 0, 0, 0, 0), "100,0,0,0", "not RR,GG,BB,AA");
        row("not hexadecimal", BcfgBuilder().colour("v", 0, 0, 0, 0), "G0,0,0,0",
            "not RR,GG,BB,AA");
        row("prefixed field", BcfgBuilder().colour("v", 0, 0, 0, 0), "$F,0,0,0", "not RR,GG,BB,AA");
        row("empty field", BcfgBuilder().colour("v", 0, 0, 0, 0), "F,0,,0", "not RR,GG,BB,AA");
        row("lower case word", BcfgBuilder().checkBox("v", 0), "on", "not ON or OFF");
        row("hour 24", BcfgBuilder().time("v", 1, 0), "24:00", "not H:MM");
        row("one minute digit", BcfgBuilder().time("v", 1, 0), "9:5", "not H:MM");
        row("minute 60", BcfgBuilder().time("v", 1, 0), "09:60", "not H:MM");
        row("time, a line break after", BcfgBuilder().time("v", 1, 0), "9:05\n", "not H:MM");
        row("date, a line break after", BcfgBuilder().date("v", 2023, 1, 1), "1.01.2023\n",
            "not D.MM.YYYY");
        row("no such day", BcfgBuilder().date("v", 2023, 1, 1), "29.02.2023",
            "a date from 1.01.1 to 31.12.9999");
        row("year 0", BcfgBuilder().date("v", 2023, 1, 1), "1.01.0", "not D.MM.YYYY");
        row("five year digits", BcfgBuilder().date("v", 2023, 1, 1), "1.01.10000", "not D.MM.YYYY");
        row("65535", BcfgBuilder().rect("v", 0, 0, 0, 0), "0,0,0,65535", "each 0 to 65534");
        row("level", BcfgBuilder().levelBegin("v"), "x", "a level holds no value");
    }
    void valuesRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, why);
        const auto doc = load(bytes);
        QString reason;
        QVERIFY(!ValueInput::Store(*doc->Record(0), text, reason));
        QVERIFY2(reason.contains(why), qPrintable(reason));
        QCOMPARE(doc->Serialize(), bytes);
        QVERIFY(!doc->Modified);
    }
};

QTEST_GUILESS_MAIN(TestPathValues)
#include "tst_pathvalues.moc"
