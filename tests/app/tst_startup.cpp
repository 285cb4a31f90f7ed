#include "tst_tform1_kit.h"

#include "AppWindows.h"
#include "CommandLine.h"
#include "CompareWindow.h"
#include "DesignFont.h"
#include "DifferenceView.h"
#include "EntryMenu.h"
#include "FindBar.h"
#include "IniFile.h"
#include "TForm0103.h"
#include "TForm0204.h"
#include "TForm2.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QToolTip>
#include <QUrl>

// How the program meets the desktop: the names a file manager or a shell pass, where the
// settings file goes, and the font the windows are laid out for.
class TestStartUp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_startDir;

private slots:
    void initTestCase()
    {
        kit::startUp();
        QVERIFY(m_dir.isValid());
        m_startDir = QDir::currentPath();
        // As main() names the program, and with a configuration folder of the test's own.
        QCoreApplication::setApplicationName(QStringLiteral("parvane"));
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toUtf8());
    }
    void init() { Dialogs::TakeShown(); }
    void cleanup() { QDir::setCurrent(m_startDir); }

    void theFirstArgumentOpens_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("opened"); // relative to the working folder
        const QString absolute = m_dir.filePath(QStringLiteral("two words/настройки.bcfg"));
        QTest::newRow("relative, without extension")
            << QStringList{"two words/abc"} << "two words/abc.bcfg";
        QTest::newRow("Cyrillic") << QStringList{"two words/настройки.bcfg"}
                                  << "two words/настройки.bcfg";
        QTest::newRow("file URL, encoded")
            << QStringList{QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded)} << absolute;
        // file:///C:/... on Windows, where a path starts with its drive.
        const QString slash = absolute.startsWith('/') ? QString() : QStringLiteral("/");
        QTest::newRow("file URL, plain") << QStringList{"file://" + slash + absolute} << absolute;
        QTest::newRow("after --, a name like an option") << QStringList{"--", "-x"} << "-x.bcfg";
        QTest::newRow("only the first")
            << QStringList{"two words/abc", "other"} << "two words/abc.bcfg";
    }
    void theFirstArgumentOpens()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, opened);
        QDir::setCurrent(m_dir.path());
        kit::write(m_dir,
                   QDir::isAbsolutePath(opened) ? QFileInfo(opened).fileName().prepend("two words/")
                                                : opened,
                   BcfgBuilder().integer(1, "Size", 0, 100, 5).bytes());

        AppWindows windows(CommandLine::FileArguments(QStringList{"parvane"} + arguments),
                           m_dir.filePath("bin/parvane"));
        QCOMPARE(windows.main()->LMDFileOpenEdit1->text(), opened);
        QVERIFY(Dialogs::TakeShown().isEmpty());
        QVERIFY(windows.main()->CurrentDoc());
        QCOMPARE(kit::labels(*windows.main()), QStringList{"Size - [ 5 ]"});
    }

    void settingsStayBesideAProgramWhoseFolderTakesFiles_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<bool>("beside");
        QTest::newRow("writable folder") << m_dir.filePath("portable") << true;
        // An installed copy's folder takes no file. /proc takes none even from an
        // administrator (the tests run as root on CI), whom permission bits would not stop.
        // The user's file lies in the test's own folder only where XDG_CONFIG_HOME names it.
#ifdef Q_OS_LINUX
        if (QFileInfo(QStringLiteral("/proc")).isDir())
            QTest::newRow("read-only folder") << "/proc" << false;
#endif
    }
    void settingsStayBesideAProgramWhoseFolderTakesFiles()
    {
        QFETCH(QString, programDir);
        QFETCH(bool, beside);
        QDir().mkpath(programDir);
        const QString besideProgram = programDir + QStringLiteral("/parvane.ini");
        const QString userFile = m_dir.filePath("config/parvane/parvane.ini");
        QFile::remove(besideProgram);
        QDir(m_dir.filePath("config")).removeRecursively();
        const QString used = beside ? besideProgram : userFile;
        if (beside)
            kit::write(m_dir, "portable/parvane.ini", "[Position]\nTop=100\nLeft=0x20\n");

        AppWindows windows({}, programDir + QStringLiteral("/parvane"));
        TForm1& form = *windows.main();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(!form.PositionRestorePending());
        if (beside)
            QCOMPARE(form.frameGeometry().topLeft(), QPoint(32, 100));
        form.move(40, 50);
        form.SavePosition->trigger();
        QVERIFY(Dialogs::TakeShown().isEmpty()); // no "Unable to write to"
        QCOMPARE(IniFile(used).ReadInteger("Position", "Top", -1), form.frameGeometry().top());
        QCOMPARE(IniFile(used).ReadInteger("Position", "Width", -1), form.frameGeometry().width());
        QCOMPARE(QFile::exists(beside ? userFile : besideProgram), false);

        // The next start reads the same file.
        AppWindows again({}, programDir + QStringLiteral("/parvane"));
        again.main()->show();
        QVERIFY(QTest::qWaitForWindowExposed(again.main()));
        QTRY_VERIFY(!again.main()->PositionRestorePending());
        QCOMPARE(again.main()->frameGeometry().topLeft(), form.frameGeometry().topLeft());
    }

    // One font in every window, menu, box and tip: the design's, set once at start-up.
    void everyWindowUsesTheDesignFont()
    {
        const QString path =
            kit::write(m_dir, "font.bcfg", BcfgBuilder().integer(1, "Size", 0, 100, 5).bytes());
        AppWindows windows({path}, m_dir.filePath("bin/parvane"));
        TForm1& form = *windows.main();
        kit::Entry item = kit::entry(form, "Size");
        form.TreeView1->setCurrentIndex(item);
        form.ShowFindBar();
        EntryMenu menu(form);
        QMessageBox box;
        QFileDialog dialog;
        CompareWindow compare(path, {}, &form);
        const QList<const QWidget*> widgets{&form,
                                            form.Button7,
                                            form.TreeView1,
                                            form.findChild<FindBar*>()->Field(),
                                            &menu,
                                            &box,
                                            &dialog,
                                            compare.View()->Table(),
                                            form.findChild<TForm0103*>(),
                                            form.findChild<TForm0204*>()->Edit1,
                                            form.findChild<TForm2*>()};
        for (const QWidget* widget : widgets) {
            QVERIFY(widget);
            const QString name = QString::fromLatin1(widget->metaObject()->className());
            QCOMPARE(widget->font().family() + ' ' + name, DesignFont().family() + ' ' + name);
            QCOMPARE(widget->font().pixelSize(), 13);
            QVERIFY2(!widget->font().bold(), qPrintable(name));
        }
        QCOMPARE(QToolTip::font().family(), DesignFont().family());
        QCOMPARE(QToolTip::font().pixelSize(), 13);
        QCOMPARE(form.Label1->font().family(), DesignFont().family());
        QVERIFY(form.Label1->font().bold());
    }

    // The help texts are broken into lines by hand for the design font: with it, no line
    // wraps again.
    void helpLinesBreakWhereTheTextBreaksThem()
    {
        RegisterDesignFont();
        if (!QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive))
            QSKIP("neither Tahoma nor Wine's Tahoma (fonts-wine) is installed");
        TForm2 help;
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        for (int page : {0, 1}) {
            help.PageControl1->setCurrentIndex(page);
            auto* memo = qobject_cast<QPlainTextEdit*>(help.PageControl1->currentWidget());
            QTRY_VERIFY(memo->isVisible());
            for (QTextBlock block = memo->document()->begin(); block.isValid();
                 block = block.next()) {
                memo->document()->documentLayout()->blockBoundingRect(block); // lays it out
                QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
            }
        }
    }
};

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
