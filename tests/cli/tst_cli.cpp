#include "BcfgBuilder.h"
#include "CliApp.h"
#include "CodePage.h"
#include "Commands.h"
#include "StandardOutput.h"
#include "TestFifo.h"

#include <QDir>
#include <QFile>
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
        QTest::newRow("get from a pipe")
            << QStringList{"get", "PIPE", "v"} << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("set in a pipe") << QStringList{"set", "PIPE", "v", "2"}
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
