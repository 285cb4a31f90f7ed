// Runs under a real window manager (tests/app/with-window-manager), where the main window has a
// frame around its client area; headless it has nothing to check and skips.

#include "tst_tform1_kit.h"

#include "IniFile.h"

#include <QGuiApplication>
#include <QWindow>

class TestTForm1Frame : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // One run of the program: start, restore, "Save position", end. Returns the outer frame the
    // window had when it saved.
    QRect run(const QString& ini, bool boxFirst)
    {
        IniFile settings(ini);
        TForm1 form;
        form.SetSettings({[&](const QString& section, const QString& key, int fallback) {
                              return settings.ReadInteger(section, key, fallback);
                          },
                          [&](const QString& section, const QString& key, int value) {
                              settings.WriteInteger(section, key, value);
                          }});
        if (boxFirst) {
            // A box during start-up runs the timer before the window has a frame.
            Dialogs::SetTestMode(false);
            ModalPlayer player({[](QWidget* modal) {
                QTest::qWait(50);
                qobject_cast<QDialog*>(modal)->accept();
            }});
            form.FormCreate({QStringLiteral("missing")});
            Dialogs::SetTestMode(true);
        } else {
            form.FormCreate({});
        }
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return {};
        if (!QTest::qWaitFor([&form] { return !form.PositionRestorePending(); }, 5000))
            return {};
        // Let the window manager answer the move and resize.
        QTest::qWait(300);
        const QRect outer = form.frameGeometry();
        form.SavePosition->trigger();
        return outer;
    }

private slots:
    void initTestCase()
    {
        kit::startUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a window manager that frames windows");
    }

    void savedPositionComesBackUnchanged_data()
    {
        QTest::addColumn<bool>("boxFirst");
        QTest::newRow("plain start") << false;
        QTest::newRow("box during start-up") << true;
    }
    void savedPositionComesBackUnchanged()
    {
        QFETCH(bool, boxFirst);
        const QString ini = m_dir.filePath(QStringLiteral("frame%1.ini").arg(boxFirst));
        {
            TForm1 probe;
            probe.FormCreate({});
            probe.show();
            QVERIFY(QTest::qWaitForWindowExposed(&probe));
            QTest::qWait(300);
            if (probe.frameGeometry().size() == probe.size())
                QSKIP("the window manager gave the window no frame");
        }
        IniFile(ini).WriteInteger("Position", "Top", 60);
        const QRect first = run(ini, boxFirst);
        QCOMPARE(first.top(), 60);
        // Every further start shows the window exactly as it was saved.
        for (int cycle = 0; cycle < 3; ++cycle)
            QCOMPARE(run(ini, boxFirst), first);
        Dialogs::TakeShown();
    }
};

QTEST_MAIN(TestTForm1Frame)
#include "tst_tform1frame.moc"
