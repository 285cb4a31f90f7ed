#include "BcfgError.h"
#include "ErrorOf.h"
#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    QString file(const QByteArray& contents)
    {
        const QString path = m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_count));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write");
        f.write(contents);
        return path;
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void location()
    {
        const QString root = QDir::rootPath(); // "/", or "C:/" on Windows
        QCOMPARE(IniFile::PathForExecutable(root + "opt/p/Parvane.exe"),
                 root + "opt/p/Parvane.ini");
        QCOMPARE(IniFile::PathForExecutable(root + "opt/p/parvane"), root + "opt/p/parvane.ini");
        QCOMPARE(IniFile::PathForExecutable(root + "opt/p.d/run.me.exe"),
                 root + "opt/p.d/run.me.ini");
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected"); // default is -7
        QTest::newRow("decimal") << QByteArray("[Position]\nTop=100\n") << "Top" << 100;
        QTest::newRow("missing key") << QByteArray("[Position]\nTop=100\n") << "Left" << -7;
        QTest::newRow("0x hex") << QByteArray("[Position]\r\nLeft=0x20\r\n") << "Left" << 32;
        QTest::newRow("dollar hex") << QByteArray("[Position]\nLeft=$20\n") << "Left" << 32;
        QTest::newRow("0x alone") << QByteArray("[Position]\nLeft=0x\n") << "Left" << -7;
        QTest::newRow("not a number") << QByteArray("[Position]\nTop=abc\n") << "Top" << -7;
        QTest::newRow("negative") << QByteArray("[Position]\nTop=-5\n") << "Top" << -5;
        QTest::newRow("blanks") << QByteArray("[ Position ]\n  Top = 12  \n") << "Top" << 12;
        QTest::newRow("any case") << QByteArray("[position]\nTOP=9\n") << "Top" << 9;
        QTest::newRow("other section")
            << QByteArray("[Other]\nTop=9\n[Position]\nLeft=1\n") << "Top" << -7;
        QTest::newRow("first wins") << QByteArray("[Position]\nTop=1\nTop=2\n") << "Top" << 1;
        QTest::newRow("comment") << QByteArray("[Position]\n;Top=1\n") << "Top" << -7;
        QTest::newRow("overflow") << QByteArray("[Position]\nTop=99999999999\n") << "Top" << -7;
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF[Position]\nTop=3\n") << "Top" << 3;
        QTest::newRow("byte order mark, key first")
            << QByteArray("\xEF\xBB\xBFTop=1\n[Position]\nTop=4\n") << "Top" << 4;
    }
    void reading()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, key);
        QFETCH(int, expected);
        QCOMPARE(IniFile(file(contents)).ReadInteger("Position", key, -7), expected);
    }

    void noFileGivesDefaults()
    {
        QCOMPARE(IniFile(m_dir.filePath("none.ini")).ReadInteger("Position", "Top", 42), 42);
    }

    void writingKeepsEveryOtherLine()
    {
        const QByteArray before = "; my settings\r\n[Other]\r\nTop = 5\r\n\r\n[POSITION]\r\n  top "
                                  "= 1 \r\nWidth=3\r\n\r\n[Last]\r\nx=y";
        const QString path = file(before);
        IniFile ini(path);
        ini.WriteInteger("Position", "Top", 250);
        ini.WriteInteger("Position", "Height", -4);
        ini.WriteInteger("New", "Left", 7);
        QCOMPARE(
            read(path),
            QByteArray("; my settings\r\n[Other]\r\nTop = 5\r\n\r\n[POSITION]\r\n  top "
                       "=250\r\nWidth=3\r\nHeight=-4\r\n\r\n[Last]\r\nx=y\r\n[New]\r\nLeft=7\r\n"));
        QCOMPARE(ini.ReadInteger("position", "TOP", 0), 250);
        QCOMPARE(ini.ReadInteger("Other", "Top", 0), 5);
    }

    void writingAfterAByteOrderMarkKeepsIt()
    {
        const QString path = file("\xEF\xBB\xBF[Position]\nTop=1\n");
        IniFile(path).WriteInteger("Position", "Top", 2);
        QCOMPARE(read(path), QByteArray("\xEF\xBB\xBF[Position]\nTop=2\n"));
    }

    void writingCreatesTheFile()
    {
        const QString path = m_dir.filePath("fresh.ini");
        IniFile ini(path);
        ini.WriteInteger("Position", "Top", 1);
        ini.WriteInteger("Position", "Left", 2);
        QCOMPARE(ini.ReadInteger("Position", "Left", 0), 2);
        QVERIFY(read(path).startsWith("[Position]"));
    }

    void unwritableFileReportsItsPath()
    {
        // A path below a regular file cannot be written, even by root.
        const QString blocker = file("x");
        IniFile ini(blocker + "/p.ini");
        QCOMPARE(errorOf([&] { ini.WriteInteger("Position", "Top", 1); }),
                 "Unable to write to " + QDir::toNativeSeparators(blocker + "/p.ini"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
