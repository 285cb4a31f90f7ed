#include "BcfgBuilder.h"
#include "CliApp.h"
#include "CodePage.h"
#include "TestFifo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
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
        const QString file = write("r.bcfg", BcfgBuilder()
                                                 .integer(1, "U", 0, 0xFFFFFFFF, 3)
                                                 .levelBegin("L")
                                                 .integer(3, "S\"q", 0xFFFFFFFF, 0x7FFFFFFF, 0)
                                                 .bytes());
        const Run r = cli({"records", file});
        QCOMPARE(r.status, 0);
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 4);
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

    // PIPE stands for a named pipe, IN for a good file; the message names the pipe.
    void notRegularFilesExitOne_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("tree of a pipe")
            << QStringList{"tree", "PIPE"} << "Cannot open file \"%1\". Not a regular file.\n";
        QTest::newRow("copy onto a pipe") << QStringList{"copy", "IN", "PIPE"}
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
        // 24 MB of small text records take several times that once loaded;
        // 128 MB of address space are enough to start but not to load them.
        const QByteArray record = BcfgBuilder().text(4, "T", 3, "abc").bytes();
        const QString file = write("huge.bcfg", record.repeated(500000));
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
