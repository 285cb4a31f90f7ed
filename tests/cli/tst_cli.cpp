#include "BcfgBuilder.h"
#include "BcfgError.h"
#include "CliApp.h"
#include "CodePage.h"
#include "Commands.h"
#include "PathCommands.h"
#include "StandardOutput.h"
#include "TBCFGFile.h"
#include "TestFifo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

// A memory limit means nothing under AddressSanitizer, which reserves far more.
#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ASAN 1
#endif
#endif

namespace {
struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};
Run cli(const QStringList& args)
{
    Run r{0, {}, {}};
    r.status = RunCli(args, r.out, r.err);
    return r;
}
} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(bytes);
        return path;
    }
    QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void treeIndentsAndConverts()
    {
        const QString file = write("t.bcfg", BcfgBuilder()
                                                 .integer(1, "Top", 0, 9, 1)
                                                 .levelBegin("\xD1\xE5\xEA\xF6\xE8\xFF") // cp1251
                                                 .levelBegin("Inner")
                                                 .checkBox("On", 1)
                                                 .levelEnd()
                                                 .text(10, "U", 7, "\xD0\x96")
                                                 .levelEnd()
                                                 .bytes());
        const Run r = cli({"tree", file});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("Top - [ 1 ]\nСекция\n  Inner\n    On - [ ON ]\n  U - [ Ж ]\n"));
        QVERIFY(r.err.isEmpty());
    }

    void unknownBlockExitsTwoAndCopyKeepsTheTail()
    {
        const QByteArray bytes = BcfgBuilder()
                                     .levelBegin("L")
                                     .integer(1, "v", 0, 9, 1)
                                     .raw(BcfgBuilder::le32(15) + "tail")
                                     .bytes();
        const QString in = write("u.bcfg", bytes);
        const Run tree = cli({"tree", in});
        QCOMPARE(tree.status, 2);
        QCOMPARE(tree.out, QByteArray("L\n  v - [ 1 ]\n  Unknown Block: 0x0F\n"));
        QCOMPARE(tree.err, QByteArray("Unknown Block: 0x0F\nFile is not fully loaded\n"));
        const QString out = m_dir.filePath("u-copy.bcfg");
        QCOMPARE(cli({"copy", in, out}).status, 2);
        QCOMPARE(read(out), bytes);
    }

    void recordsAsJsonLines()
    {
        const QString file =
            write("r.bcfg", BcfgBuilder()
                                .integer(1, "U", 0, 0xFFFFFFFF, 3)
                                .levelBegin("L")
                                .integer(3, "S\"q", 0xFFFFFFFF, 0x7FFFFFFF, 0)
                                .text(4, "Long\\name\tx", 31, "12345678\"\x01y\xC0z")
                                .bytes());
        const Run r = cli({"records", file});
        QCOMPARE(r.status, 0);
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 5);
        // Escapes and code page letters after runs of plain bytes.
        QVERIFY2(lines[3].contains("\"name\":\"Long\\\\name\\tx\",\"label\":\"Long\\\\name\\tx - [ "
                                   "12345678\\\"\\u0001y\xD0\x90z ]\""),
                 lines[3]);
        QCOMPARE(lines[0], QByteArray("{\"index\":0,\"type\":1,\"parent\":-1,\"occurrence\":0,"
                                      "\"name\":\"U\",\"label\":\"U - [ 3 "
                                      "]\",\"key\":\"10U\",\"min\":0,\"max\":4294967295,"
                                      "\"modified\":false,\"imported\":false}"));
        QCOMPARE(lines[2], QByteArray("{\"index\":2,\"type\":3,\"parent\":1,\"occurrence\":0,"
                                      "\"name\":\"S\\\"q\",\"label\":\"S\\\"q - [ 0 "
                                      "]\",\"key\":\"90L30S\\\"q\",\"min\":-1,\"max\":2147483647,"
                                      "\"modified\":false,\"imported\":false}"));
    }

    void importSummaryRecordsAndOutput()
    {
        const QString current = write("EXTRAINFO16.bcfg", BcfgBuilder()
                                                              .levelBegin("First")
                                                              .integer(1, "Size", 0, 99, 1)
                                                              .integer(1, "Same", 0, 99, 5)
                                                              .levelEnd()
                                                              .integer(1, "Alone", 0, 99, 1)
                                                              .bytes());
        const QString source = write("extrainfo15.bcfg", BcfgBuilder()
                                                             .levelBegin("Normal")
                                                             .integer(1, "Size", 0, 99, 42)
                                                             .integer(1, "Same", 0, 99, 5)
                                                             .levelEnd()
                                                             .bytes());
        const QByteArray before = read(current);
        const QString out = m_dir.filePath("merged.bcfg");
        const Run r = cli({"import", current, source, "-o", out, "--records"});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.startsWith("imported 3, modified 2\n"), r.out.constData());
        QVERIFY(r.out.contains("\"label\":\"Size - [ 42 "
                               "]\",\"key\":\"90First10Size\",\"min\":0,\"max\":99,\"modified\":"
                               "true,\"imported\":true}"));
        QCOMPARE(read(current), before); // CURRENT itself is never written
        QCOMPARE(read(out).mid(44 + 44, 4), BcfgBuilder::le32(42));
    }

    void failuresExitOne()
    {
        const Run missing = cli({"tree", m_dir.filePath("none.bcfg")});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.startsWith("Cannot open file \""));
        QVERIFY(missing.err.endsWith(".\n"));
        const QString cut =
            write("cut.bcfg", BcfgBuilder().integer(1, "v", 0, 9, 1).bytes().left(30));
        const Run readError = cli({"records", cut});
        QCOMPARE(readError.status, 1);
        QCOMPARE(readError.err, QByteArray("Stream read error.\n"));
        // An unknown block in the input and an unwritable output: 1 wins.
        const QString partial = write("p.bcfg", BcfgBuilder::le32(77));
        QCOMPARE(cli({"copy", partial, m_dir.filePath("p.bcfg/x")}).status, 1);
        QCOMPARE(cli({}).status, 1);
        QCOMPARE(cli({"tree"}).status, 1);
        QCOMPARE(cli({"frobnicate", "x"}).status, 1);
        QCOMPARE(cli({"import", partial}).status, 1);
        const Run badPage = cli({"--codepage", "nope", "tree", partial});
        QCOMPARE(badPage.status, 1);
    }

    void helpAndVersionOnStdout_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("first");
        const QByteArray all = "Usage: parvane-cli [--codepage NAME] COMMAND ...\n";
        QTest::newRow("--help") << QStringList{"--help"} << all;
        QTest::newRow("-h") << QStringList{"-h"} << all;
        QTest::newRow("help") << QStringList{"help"} << all;
        QTest::newRow("after the code page")
            << QStringList{"--codepage", "cp1250", "--help"} << all;
        QTest::newRow("tree --help")
            << QStringList{"tree", "--help"}
            << QByteArray("Usage: parvane-cli [--codepage NAME] tree FILE\n");
        QTest::newRow("set -h") << QStringList{"set", "-h", "x"}
                                << QByteArray("Usage: parvane-cli [--codepage NAME] set FILE PATH "
                                              "VALUE [PATH VALUE ...] [-o OUT]\n");
        QTest::newRow("--version")
            << QStringList{"--version"} << QByteArray("parvane-cli " PARVANE_VERSION "\n");
    }
    void helpAndVersionOnStdout()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, first);
        const Run r = cli(args);
        QVERIFY(CodePage::SetName("windows-1251"));
        QCOMPARE(r.status, 0);
        QVERIFY(r.err.isEmpty());
        QCOMPARE(r.out.left(r.out.indexOf('\n') + 1), first);
        // The usage lists every command of the table with its arguments, each once.
        if (args.size() == 1 && args[0] != "--version")
            for (const Cli::Command& command : Cli::Commands())
                QCOMPARE(r.out.count(QByteArray("\n  ") + command.name + ' ' + command.usage), 1);
    }

    void diffListsWhatImportWouldDo()
    {
        const QString current = write("dc.bcfg", BcfgBuilder()
                                                     .levelBegin("L")
                                                     .integer(1, "Size", 0, 100, 5)
                                                     .text(6, "Pass", 7, "abc")
                                                     .integer(1, "Lim", 0, 10, 1)
                                                     .levelEnd()
                                                     .levelBegin("Gone")
                                                     .integer(1, "g", 0, 9, 1)
                                                     .levelEnd()
                                                     .integer(1, "x/y", 0, 9, 1)
                                                     .bytes());
        const QString other = write("do.bcfg", BcfgBuilder()
                                                   .levelBegin("L")
                                                   .integer(1, "Size", 0, 100, 50)
                                                   .text(6, "Pass", 7, "xyz")
                                                   .integer(1, "Lim", 0, 99, 11)
                                                   .integer(1, "New", 0, 9, 2)
                                                   .levelEnd()
                                                   .levelBegin("Fresh")
                                                   .integer(1, "f", 0, 9, 1)
                                                   .levelEnd()
                                                   .integer(1, "x/y", 0, 9, 1)
                                                   .bytes());
        const QByteArray before = read(current);
        const Run text = cli({"diff", current, other});
        QCOMPARE(text.status, 3);
        QCOMPARE(text.out,
                 QByteArray("~ L/Size: 5 -> 50\n"
                            "~ L/Pass: *** -> ***\n"
                            "! L/Lim: 1 -> 11\n"
                            "+ L/New: 2\n"
                            "+ Fresh/\n"
                            "- Gone/\n"
                            "changed 2, refused 1, only in CURRENT 1, only in OTHER 2\n"));
        QVERIFY(text.err.isEmpty());
        const Run json = cli({"diff", "--json", current, other});
        QCOMPARE(json.status, 3);
        const QList<QByteArray> lines = json.out.split('\n');
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[2], QByteArray("{\"change\": \"refused\", \"path\": \"L/Lim\", \"type\": 1, "
                                      "\"current\": \"1\", \"other\": \"11\"}"));
        QCOMPARE(lines[4],
                 QByteArray("{\"change\": \"only-other\", \"path\": \"Fresh/\", \"type\": "
                            "9, \"current\": null, \"other\": null}"));
        QCOMPARE(read(current), before);

        const Run same = cli({"diff", current, current});
        QCOMPARE(same.status, 0);
        QCOMPARE(same.out,
                 QByteArray("changed 0, refused 0, only in CURRENT 0, only in OTHER 0\n"));
        // An unknown block: 2 wins over 3; a missing file: 1.
        const QString partial = write("dp.bcfg", read(other) + BcfgBuilder::le32(99));
        QCOMPARE(cli({"diff", current, partial}).status, 2);
        QCOMPARE(cli({"diff", current, m_dir.filePath("none.bcfg")}).status, 1);
        QCOMPARE(cli({"diff", current}).status, 1);
    }

    // The old version's own file (BASE), the user's file made from it (SRC) and the new
    // version's own file (CUR): Size changed by the user, Icon by the new version, Both by
    // both, Lim refused by the new version's range, Dropped and Changed/dropped gone from it.
    void upgradeWithABase_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        const auto file = [](const char* icon, quint32 size, quint32 both, quint32 limMax,
                             quint32 lim, bool dropped) {
            BcfgBuilder b;
            b.levelBegin("L")
                .integer(1, "Size", 0, 99, size)
                .text(4, "Icon", 15, icon)
                .integer(1, "Both", 0, 9, both)
                .integer(1, "Lim", 0, limMax, lim);
            if (!dropped)
                b.integer(1, "New", 0, 9, 1);
            b.levelEnd();
            if (dropped)
                b.integer(1, "Dropped", 0, 9, 7).integer(1, "Changed/dropped", 0, 9, size / 5);
            return b.integer(1, "Same", 0, 9, 9).bytes();
        };
        const QByteArray baseBytes = file("4:icon.png", 5, 1, 10, 1, true);
        const QString base = write("base.bcfg", baseBytes);
        const QString src = write("src.bcfg", file("4:icon.png", 42, 2, 10, 1, true));
        const QString cur = write("cur.bcfg", file("0:icon.png", 5, 3, 0, 0, false));
        const QString partial = write("base-partial.bcfg", baseBytes + BcfgBuilder::le32(99));
        const QString missing = m_dir.filePath("no-base.bcfg");
        QTest::newRow("import") << QStringList{"import", cur, src, "--base", base} << 0
                                << QByteArray("imported 3, modified 3, kept 1\n");
        QTest::newRow("import, the new default stays")
            << QStringList{"import", "--records", "--base", base, cur, src} << 0
            << QByteArray("\"label\":\"Icon - [ 0:icon.png ]\",\"key\":\"90L40Icon\",\"min\":0,"
                          "\"max\":15,\"modified\":false,\"imported\":false}");
        const QByteArray lines = "~ L/Size: 5 -> 42\n"
                                 "= L/Icon: 0:icon.png -> 4:icon.png\n"
                                 "~ L/Both: 3 -> 2\n"
                                 "= L/Lim: 0 -> 1\n"
                                 "+ Changed\\/dropped: 8\n"
                                 "- L/New: 1\n";
        QTest::newRow("diff") << QStringList{"diff", cur, src, "--base", base} << 3
                              << lines +
                                     "changed 2, refused 0, only in CURRENT 1, only in OTHER 1, "
                                     "kept 2\n";
        QTest::newRow("diff as JSON")
            << QStringList{"diff", "--json", cur, src, "--base", base} << 3
            << QByteArray("{\"change\": \"kept\", \"path\": \"L/Icon\", \"type\": 4, "
                          "\"current\": \"0:icon.png\", \"other\": \"4:icon.png\"}\n");
        QTest::newRow("diff, the user's file as base")
            << QStringList{"diff", cur, src, "--base", src} << 3
            << QByteArray("changed 0, refused 0, only in CURRENT 1, only in OTHER 0, kept 4\n");
        QTest::newRow("a base with an unknown block")
            << QStringList{"import", cur, src, "--base", partial} << 2
            << QByteArray("imported 3, modified 3, kept 1\n");
        QTest::newRow("a missing base")
            << QStringList{"diff", cur, src, "--base", missing} << 1 << QByteArray();
        QTest::newRow("--base without a file")
            << QStringList{"import", cur, src, "--base"} << 1 << QByteArray();
    }
    void upgradeWithABase()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        const Run r = cli(args);
        QCOMPARE(r.status, status);
        QVERIFY2(out.isEmpty() ? r.out.isEmpty() : r.out.contains(out), r.out.constData());
        if (status == 1)
            QVERIFY(!r.err.isEmpty());
        if (QTest::currentDataTag() == QByteArray("diff"))
            QVERIFY(r.out.startsWith(out));
    }

    void getAndSetValues()
    {
        const QByteArray bytes = BcfgBuilder()
                                     .levelBegin("L")
                                     .integer(3, "N", quint32(-9), 9, 1)
                                     .text(6, "Pass", 7, "abc")
                                     .levelEnd()
                                     .time("T", 7, 5)
                                     .bytes();
        const QString file = write("gs.bcfg", bytes);
        QCOMPARE(cli({"get", file, "L/Pass"}).out, QByteArray("abc\n")); // plain text
        const Run level = cli({"get", file, "L"});
        QCOMPARE(level.status, 1);
        QCOMPARE(level.err, QByteArray("Cannot get \"L\": the path names a level.\n"));
        QCOMPARE(cli({"get", file, "L/M"}).err,
                 QByteArray("Cannot get \"L/M\": no record has this path.\n"));

        // A later pair wins; a negative value is a value, not an option.
        const QString out = m_dir.filePath("gs-out.bcfg");
        const Run set = cli({"set", file, "L/N", "5", "T", "23:59", "L/N", "-9", "-o", out});
        QCOMPARE(set.status, 0);
        QVERIFY(set.out.isEmpty() && set.err.isEmpty());
        QCOMPARE(read(file), bytes);
        QCOMPARE(cli({"get", out, "L/N"}).out, QByteArray("-9\n"));
        QCOMPARE(cli({"get", out, "T"}).out, QByteArray("23:59\n"));

        // One refused pair: nothing is written, whichever pair it is.
        const Run refused = cli({"set", file, "T", "8:00", "L/Pass", "abcdefgh"});
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.err, QByteArray("Cannot set \"L/Pass\" to \"abcdefgh\": the record holds "
                                         "8 bytes, the text takes 9 with its zero byte.\n"));
        QCOMPARE(cli({"set", file, "L", "1"}).err,
                 QByteArray("Cannot set \"L\" to \"1\": the path names a level.\n"));
        QCOMPARE(cli({"set", file, "L/N", "10", "-o", out}).status, 1);
        QCOMPARE(read(file), bytes);
        QCOMPARE(cli({"get", out, "L/N"}).out, QByteArray("-9\n")); // OUT not written either
        QCOMPARE(cli({"set", file, "L/N"}).status, 1);

        // FILE itself, after every pair; a kept tail and status 2.
        QCOMPARE(cli({"set", file, "L/Pass", "xy"}).status, 0);
        QCOMPARE(cli({"get", file, "L/Pass"}).out, QByteArray("xy\n"));
        const QByteArray tail = BcfgBuilder::le32(15) + "tail";
        const QString partial = write("gs-partial.bcfg", bytes + tail);
        QCOMPARE(cli({"set", partial, "T", "0:00"}).status, 2);
        QVERIFY(read(partial).endsWith(tail));
        QCOMPARE(cli({"get", partial, "T"}).out, QByteArray("0:00\n"));
    }

    // The settings file of the dump and load tests: every kind of line a dump writes.
    static QByteArray settingsFile()
    {
        QByteArray hidden = BcfgBuilder::nameField("T");
        hidden[20] = 'x'; // the same path as the time before it
        return BcfgBuilder()
            .levelBegin("L")
            .integer(3, "N", quint32(-9), 9, 1)
            .text(6, "Pass", 7, "abc")
            .text(4, "Q\"/", 7, "a\\b")
            .levelEnd()
            .time("T", 7, 5)
            .integer(1, hidden, 0, 9, 1)
            .choice("C", 1, {"a", "b"})
            .bytes();
    }

    void dumpAndLoad()
    {
        const QByteArray bytes = settingsFile();
        const QString file = write("dl.bcfg", bytes);
        const Run dump = cli({"dump", file});
        QCOMPARE(dump.status, 0);
        QCOMPARE(dump.out, QByteArray("\"L/N\" = \"1\"\n"
                                      "# \"L/Pass\" is a password, left out\n"
                                      "\"L/Q\\\"\\\\/\" = \"a\\\\b\"\n"
                                      "\"T\" = \"7:05\"\n"
                                      "\"C\" = \"b\"\n"));
        QVERIFY(dump.err.isEmpty());

        // With the passwords, what dump writes load takes back to the same bytes.
        const Run full = cli({"dump", "--passwords", file});
        QVERIFY(full.out.contains("\"L/Pass\" = \"abc\"\n"));
        const QString text = write("dl.toml", full.out);
        const QString out = m_dir.filePath("dl-out.bcfg");
        const Run same = cli({"load", file, text, "-o", out});
        QCOMPARE(same.status, 0);
        QVERIFY(same.out.isEmpty() && same.err.isEmpty());
        QCOMPARE(read(out), bytes);

        // In the order of the text; integers as their decimal text; FILE itself when no -o.
        const QString changes = write("dl-changes.toml", "\"T\" = \"23:59\"\n\"L/N\" = -3\n"
                                                         "\"C\" = \"a\" # a comment\n");
        QCOMPARE(cli({"load", file, changes, "-o", out}).status, 0);
        QCOMPARE(read(file), bytes);
        QCOMPARE(cli({"get", out, "L/N"}).out, QByteArray("-3\n"));
        QCOMPARE(cli({"get", out, "T"}).out, QByteArray("23:59\n"));
        // Only what differs from the base is listed, without the level-name translation.
        QCOMPARE(cli({"dump", out, "--base", file}).out,
                 QByteArray("\"L/N\" = \"-3\"\n\"T\" = \"23:59\"\n\"C\" = \"a\"\n"));
        QCOMPARE(cli({"dump", out, "--base", m_dir.filePath("none.bcfg")}).status, 1);

        // Paths that name nothing are passed over when asked, each said on stderr.
        const QString missing = write("dl-missing.toml", "nope = \"1\"\n\"L/N\" = \"2\"\n");
        QCOMPARE(cli({"load", file, missing}).err,
                 QByteArray("Line 1: Cannot set \"nope\" to \"1\": no record has this path.\n"));
        const Run skipped = cli({"load", file, missing, "--skip-missing"});
        QCOMPARE(skipped.status, 0);
        QCOMPARE(skipped.err, QByteArray("skipped nope\n"));
        QCOMPARE(cli({"get", file, "L/N"}).out, QByteArray("2\n"));

        // No settings: said, and FILE is saved as it was.
        const QString empty = write("dl-empty.toml", "# nothing\n");
        const Run nothing = cli({"load", file, empty, "-o", out});
        QCOMPARE(nothing.status, 0);
        QCOMPARE(nothing.err, "Nothing to apply: " + empty.toUtf8() + " holds no settings.\n");
        QCOMPARE(read(out), read(file));

        // A file that stops at an unknown block: the records before it, status 2.
        const QString partial =
            write("dl-partial.bcfg",
                  BcfgBuilder().integer(1, "v", 0, 9, 1).bytes() + BcfgBuilder::le32(15) + "tail");
        const Run cut = cli({"dump", partial});
        QCOMPARE(cut.status, 2);
        QCOMPARE(cut.out, QByteArray("\"v\" = \"1\"\n"));
        QCOMPARE(cli({"load", partial, write("dl-v.toml", "v = 5")}).status, 2);
        QVERIFY(read(partial).endsWith("tail"));
        QCOMPARE(cli({"dump"}).status, 1);
        QCOMPARE(cli({"load", file}).status, 1);
    }

    // A settings text that load refuses: exit 1 and nothing written. DIR: a folder.
    void loadRefuses_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, const QByteArray& text, const QString& message) {
            QTest::newRow(tag) << text << message;
        };
        row("not TOML", "\"T\" = \"8:00\"\n\"L/N\" 1\n",
            "Line 2, column 7: this is not TOML: Error while parsing key-value pair: expected '=', "
            "saw '1'");
        row("binary", QByteArray("\x09\0\0\0L\0", 6),
            "Line 1: a zero byte: this is not a text file");
        row("a table", "[L]\nN = \"1\"\n",
            "Line 1: Cannot set \"L\": a value is a string or an integer, not a table");
        row("an array", "T = [\"8:00\"]",
            "Line 1: Cannot set \"T\": a value is a string or an integer, not an array");
        row("a float", "\"L/N\" = 1.0",
            "Line 1: Cannot set \"L/N\" to 1: a value is a string or an integer, not a "
            "floating-point number");
        row("a boolean", "C = false",
            "Line 1: Cannot set \"C\" to false: a value is a string or an integer, not a boolean");
        row("a level", "T = \"8:00\"\nL = \"1\"",
            "Line 2: Cannot set \"L\" to \"1\": the path names a level");
        row("too long", "\"L/Pass\" = \"abcdefgh\"",
            "Line 1: Cannot set \"L/Pass\" to \"abcdefgh\": the record holds 8 bytes, the text "
            "takes 9 with its zero byte");
        row("no such character", "\"L/Q\\\"\\\\/\" = \"\u4E2D\"",
            "Line 1: Cannot set \"L/Q\"\\/\" to \"\u4E2D\": it holds a character the code page "
            "windows-1251 cannot represent");
        row("refused after good lines", "T = \"8:00\"\n\n\"L/N\" = 10\n",
            "Line 3: Cannot set \"L/N\" to \"10\": out of range -9 .. 9");
        row("a folder", "DIR", "Cannot open file \"%1\". Is a directory");
        row("a device", "DEV", "Cannot open file \"%1\". Not a regular file");
    }
    void loadRefuses()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const QByteArray bytes = settingsFile();
        const QString file = write("lr.bcfg", bytes);
#ifndef Q_OS_UNIX
        if (text == "DEV")
            QSKIP("needs /dev/null");
#endif
        const QString settings = text == "DIR"   ? m_dir.path()
                                 : text == "DEV" ? QStringLiteral("/dev/null")
                                                 : write("lr.toml", text);
        const QString out = m_dir.filePath("lr-out.bcfg");
        QFile::remove(out);
        for (const QStringList& args : {QStringList{"load", file, settings},
                                        QStringList{"load", file, settings, "-o", out}}) {
            const Run r = cli(args);
            QCOMPARE(r.status, 1);
            QCOMPARE(QString::fromUtf8(r.err),
                     (message.contains("%1") ? message.arg(QDir::toNativeSeparators(settings))
                                             : message) +
                         ".\n");
            QVERIFY(r.out.isEmpty());
        }
        QCOMPARE(read(file), bytes);
        QVERIFY(!QFile::exists(out));
    }

    // set writes FILE in place only over the bytes it read: what another program wrote in
    // between stays. A FILE without write permission is never replaced, also for an
    // administrator; a FILE that is replaced keeps its permission bits.
    void setInPlaceKeepsWhatOthersWrote()
    {
        const QByteArray bytes = BcfgBuilder().integer(1, "N", 0, 9, 1).bytes();
        const QByteArray theirs = BcfgBuilder().integer(1, "N", 0, 9, 7).bytes();
        const QString file = write("race.bcfg", bytes);
        std::unique_ptr<TBCFGFile> doc;
        const auto readThenOtherWrites = [&](const QString& name) -> TBCFGFile& {
            doc = TBCFGFile::Load(name, nullptr, nullptr);
            write("race.bcfg", theirs);
            return *doc;
        };
        QString error;
        try {
            PathCommands::Set(file, {{"N", "5"}}, {}, readThenOtherWrites);
        } catch (const BcfgError& e) {
            error = e.text();
        }
        QCOMPARE(error, "\"" + QDir::toNativeSeparators(file) +
                            "\" was changed by another program after it was read; nothing was "
                            "written");
        QCOMPARE(read(file), theirs);
        QCOMPARE(cli({"set", file, "N", "5"}).status, 0); // read anew, nothing in between
        QCOMPARE(cli({"get", file, "N"}).out, QByteArray("5\n"));

        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(file, readOnly));
        const Run refused = cli({"set", file, "N", "6"});
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.err,
                 ("Cannot create file \"" + QDir::toNativeSeparators(file) + "\". Existing file " +
                  QDir::toNativeSeparators(file) + " is not writable.\n")
                     .toUtf8());
        QCOMPARE(cli({"get", file, "N"}).out, QByteArray("5\n"));
        const QFile::Permissions kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(file, kept));
        QCOMPARE(cli({"set", file, "N", "6"}).status, 0);
        QCOMPARE(cli({"get", file, "N"}).out, QByteArray("6\n"));
#ifdef Q_OS_UNIX
        QCOMPARE(QFileInfo(file).permissions() &
                     ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                 kept);
#endif
    }

    // PIPE stands for a named pipe, IN for a good file; the message names the pipe.
    void notRegularFilesExitOne_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("tree of a pipe")
            << QStringList{"tree", "PIPE"} << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("copy onto a pipe") << QStringList{"copy", "IN", "PIPE"}
                                          << "Cannot create file \"%1\". Not a regular file.\n";
        QTest::newRow("diff with a pipe") << QStringList{"diff", "IN", "PIPE"}
                                          << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("a pipe as base") << QStringList{"import", "IN", "IN", "--base", "PIPE"}
                                        << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("get from a pipe")
            << QStringList{"get", "PIPE", "v"} << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("set in a pipe") << QStringList{"set", "PIPE", "v", "2"}
                                       << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("dump of a pipe")
            << QStringList{"dump", "PIPE"} << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("load from a pipe") << QStringList{"load", "IN", "PIPE"}
                                          << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("set onto a pipe") << QStringList{"set", "IN", "v", "2", "-o", "PIPE"}
                                         << "Cannot create file \"%1\". Not a regular file.\n";
    }
    void notRegularFilesExitOne()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs pipes");
#else
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QString pipe = m_dir.filePath(QStringLiteral("pipe %1").arg(QTest::currentDataTag()));
        TestFifo fifo(pipe);
        QVERIFY(fifo.created());
        const QString in = write("in.bcfg", BcfgBuilder().integer(1, "v", 0, 9, 1).bytes());
        for (QString& arg : args)
            arg = arg == "PIPE" ? pipe : arg == "IN" ? in : arg;
        const Run r = cli(args);
        QCOMPARE(r.status, 1);
        QCOMPARE(QString::fromUtf8(r.err), message.arg(QDir::toNativeSeparators(pipe)));
        QVERIFY(fifo.stillThere());
#endif
    }

    // Running out of memory is reported like any failure, never by aborting.
    void outOfMemoryExitsOne()
    {
#if !defined(Q_OS_UNIX)
        QSKIP("needs setrlimit");
#elif defined(UNDER_ASAN)
        QSKIP("AddressSanitizer does not run under a memory limit");
#else
        const QString program = qEnvironmentVariable("PARVANE_CLI");
        if (program.isEmpty())
            QSKIP("PARVANE_CLI is not set (run through CTest)");
        // Two million records take well over 128 MB once loaded (at least 64 bytes
        // each); 128 MB of address space are enough to start but not to load them.
        const QByteArray record = BcfgBuilder().text(4, "T", 3, "abc").bytes();
        const QString file = write("huge.bcfg", record.repeated(2000000));
        QProcess process;
        process.setChildProcessModifier([] {
            const rlimit limit{128 << 20, 128 << 20};
            ::setrlimit(RLIMIT_AS, &limit);
        });
        process.start(program, {"tree", file});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.readAllStandardError(), QByteArray("Out of memory.\n"));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY(QFile::remove(file));
#endif
    }

    void codePageOption()
    {
        const QString file =
            write("cp.bcfg", BcfgBuilder().integer(1, "\x8A\x98", 0, 9, 1).bytes());
        QCOMPARE(cli({"tree", file}).out,
                 QByteArray("Љ\xEF\xBF\xBD - [ 1 ]\n")); // 0x98: no character
        QCOMPARE(cli({"--codepage", "windows-1250", "tree", file}).out.left(2), QByteArray("Š"));
        QVERIFY(CodePage::SetName("windows-1251"));
    }

    // A console is given the text, each character whole however the bytes were cut.
    void consoleGetsTheText()
    {
        struct FakeConsole : StandardOutput::ConsoleSink {
            QString* shown;
            bool refuses = false;
            bool Write(QStringView text) override
            {
                *shown += text;
                return !refuses;
            }
        };
        const QString text = QStringLiteral("Часы - [ 12:00 ] \U0001F570\n");
        const QByteArray bytes = text.toUtf8();
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            QString shown;
            auto sink = std::make_unique<FakeConsole>();
            sink->shown = &shown;
            StandardOutput::ConsoleDevice console(std::move(sink));
            QCOMPARE(console.write(bytes.left(cut)), cut);
            QCOMPARE(console.write(bytes.mid(cut)), bytes.size() - cut);
            QCOMPARE(shown, text);
        }
        // The CLI's output as the console shows it; a console that refuses is a write error.
        const QString file =
            write("console.bcfg", BcfgBuilder().integer(1, "\xD7\xE0\xF1\xFB", 0, 9, 1).bytes());
        QString shown;
        auto sink = std::make_unique<FakeConsole>();
        sink->shown = &shown;
        FakeConsole& fake = *sink;
        StandardOutput::ConsoleDevice console(std::move(sink));
        QByteArray err;
        QCOMPARE(RunCli({"tree", file}, console, err), 0);
        QCOMPARE(shown, QStringLiteral("Часы - [ 1 ]\n"));
        fake.refuses = true;
        QCOMPARE(RunCli({"tree", file}, console, err), 1);
        QCOMPARE(err, QByteArray("Stream write error.\n"));
    }

    // Windows' own console: what is written reads back from its screen, Cyrillic included.
    void consoleWriteRoundTrips()
    {
#ifndef Q_OS_WIN
        QSKIP("Windows' console API");
#else
        // A console window of its own, which would take the focus from the window tests running
        // beside it: tests/windows/check runs this alone.
        if (qEnvironmentVariableIsEmpty("PARVANE_CONSOLE_TEST"))
            QSKIP("PARVANE_CONSOLE_TEST is not set");
        const HANDLE before = ::GetStdHandle(STD_OUTPUT_HANDLE);
        ::FreeConsole();
        QVERIFY(::AllocConsole());
        const HANDLE screen =
            ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        QVERIFY(screen != INVALID_HANDLE_VALUE);
        ::SetStdHandle(STD_OUTPUT_HANDLE, screen);
        CONSOLE_SCREEN_BUFFER_INFO info;
        QVERIFY(::GetConsoleScreenBufferInfo(screen, &info));
        const QString text = QStringLiteral("Настройки часов: Ёё ЯЖЩ");
        {
            const auto out = StandardOutput::Open(StandardOutput::Stream::Out);
            QVERIFY(dynamic_cast<StandardOutput::ConsoleDevice*>(out.get()));
            QCOMPARE(out->write(text.toUtf8()), text.toUtf8().size());
        }
        std::vector<wchar_t> read(size_t(text.size()));
        DWORD count = 0;
        QVERIFY(::ReadConsoleOutputCharacterW(screen, read.data(), DWORD(read.size()),
                                              info.dwCursorPosition, &count));
        ::SetStdHandle(STD_OUTPUT_HANDLE, before);
        ::CloseHandle(screen);
        ::FreeConsole();
        QCOMPARE(QString::fromWCharArray(read.data(), count), text);
#endif
    }

    void theProgramItself()
    {
        const QString program = qEnvironmentVariable("PARVANE_CLI");
        if (program.isEmpty())
            QSKIP("PARVANE_CLI is not set (run through CTest)");
        const QString file =
            write("p2.bcfg", BcfgBuilder().integer(1, "v", 0, 9, 1).raw("\x01").bytes());
        QProcess process;
        process.start(program, {"tree", file});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(process.readAllStandardOutput(), QByteArray("v - [ 1 ]\nUnknown Block: 0x00\n"));
        QCOMPARE(process.readAllStandardError(),
                 QByteArray("Unknown Block: 0x00\nFile is not fully loaded\n"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
