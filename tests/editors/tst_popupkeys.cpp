#include "PopupPosition.h"
#include "PopupTestKit.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <memory>

namespace {

enum class Act { Esc, Enter, Letter, DoubleClick, Close };
enum class Outcome { Accepted, Cancelled, StaysOpen };

} // namespace

Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(Outcome)

// How every popup ends: which keys and double-clicks end it on which control, the close
// command, and where it appears.
class TestPopupKeys : public QObject
{
    Q_OBJECT
    std::unique_ptr<Popups> m;

    // Shows popup modally, lets the user do act on target (empty: the window), and tells how
    // the popup ended.
    static void play(QDialog* popup, const QString& target, Act act, Outcome& outcome)
    {
        QWidget* const on = target.isEmpty() ? popup : popup->findChild<QWidget*>(target);
        // Keys go where the focus is: a calendar passes it to its day grid.
        QWidget* const keys = on && on->focusProxy() ? on->focusProxy() : on;
        PopupUser user(popup, {[&] {
                           QVERIFY(on);
                           switch (act) {
                           case Act::Esc:
                               QTest::keyClick(keys, Qt::Key_Escape);
                               break;
                           case Act::Enter:
                               QTest::keyClick(keys, Qt::Key_Return);
                               break;
                           case Act::Letter:
                               QTest::keyClick(keys, Qt::Key_A);
                               break;
                           case Act::DoubleClick:
                               doubleClick(on);
                               break;
                           case Act::Close:
                               popup->close();
                               break;
                           }
                       }});
        const int result = popup->exec();
        QTRY_COMPARE(user.stepsRun(), 1);
        outcome = user.leftOpen()               ? Outcome::StaysOpen
                  : result == QDialog::Accepted ? Outcome::Accepted
                                                : Outcome::Cancelled;
    }

private slots:
    void initTestCase()
    {
        m = std::make_unique<Popups>();
        m->form0103.Label2->setText(QStringLiteral("Count -"));
        m->form0103.Label1->setText(QStringLiteral("(0 .. 10)"));
        m->form0204.Label1->setText(QStringLiteral("Title -"));
        m->form0204.TextLimit = 20;
        m->form05.SetItems({QStringLiteral("one"), QStringLiteral("two")}, 0);
        m->form07.Label1->setText(QStringLiteral("Pos - X:"));
        m->form0C.Label1->setText(QStringLiteral("Alarm -"));
        m->form0D.MonthCalendar1->setSelectedDate(QDate(2007, 12, 31));
    }
    void cleanupTestCase() { m.reset(); }

    void keysAndDoubleClicks_data()
    {
        QTest::addColumn<QString>("popup");
        QTest::addColumn<QString>("target");
        QTest::addColumn<Act>("act");
        QTest::addColumn<Outcome>("outcome");
        const auto row = [](const char* popup, const char* target, Act act, Outcome outcome) {
            static const char* const acts[] = {"Esc", "Enter", "A", "double-click", "close"};
            QTest::addRow("%s %s %s", popup, *target ? target : "window", acts[int(act)])
                << QString::fromLatin1(popup) << QString::fromLatin1(target) << act << outcome;
        };
        using enum Act;
        using enum Outcome;
        row("TForm0103", "Edit1", Enter, Accepted);
        row("TForm0103", "Edit1", Esc, Cancelled);
        row("TForm0103", "Edit1", Letter, StaysOpen);
        row("TForm0103", "", Esc, StaysOpen);
        row("TForm0103", "Label2", DoubleClick, Accepted);
        row("TForm0103", "", DoubleClick, Accepted);
        row("TForm0204", "Edit1", Enter, Accepted);
        row("TForm0204", "Label1", DoubleClick, Accepted);
        row("TForm05", "ListBox1", Enter, Accepted);
        row("TForm05", "ListBox1", Esc, Cancelled);
        row("TForm05", "ListBox1", DoubleClick, Accepted);
        row("TForm05", "", Enter, StaysOpen);
        row("TForm07", "", Esc, Cancelled);
        row("TForm07", "", Enter, Accepted);
        row("TForm07", "Edit2", Esc, Cancelled);
        row("TForm07", "Label1", DoubleClick, Accepted);
        row("TForm07", "Label2", DoubleClick, StaysOpen);
        row("TForm07", "", DoubleClick, Accepted);
        row("TForm080E", "Edit4", Enter, Accepted);
        row("TForm080E", "Edit3", Esc, Cancelled);
        row("TForm080E", "", Esc, StaysOpen);
        row("TForm080E", "Label3", DoubleClick, Accepted);
        row("TForm0C", "MaskEdit1", Enter, Accepted);
        row("TForm0C", "", Esc, Cancelled);
        row("TForm0C", "Label1", DoubleClick, Accepted);
        row("TForm0C", "MaskEdit1", DoubleClick, Accepted);
        row("TForm0D", "MonthCalendar1", Enter, Accepted);
        row("TForm0D", "", Esc, Cancelled);
        row("TForm0D", "MonthCalendar1", DoubleClick, StaysOpen);
    }
    void keysAndDoubleClicks()
    {
        QFETCH(QString, popup);
        QFETCH(QString, target);
        QFETCH(Act, act);
        QFETCH(Outcome, outcome);
        Outcome ended{};
        play(m->byClass(popup), target, act, ended);
        QCOMPARE(ended, outcome);
    }

    void closeCommandAccepts_data()
    {
        QTest::addColumn<QString>("popup");
        for (const char* name :
             {"TForm0103", "TForm05", "TForm0204", "TForm07", "TForm080E", "TForm0D", "TForm0C"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void closeCommandAccepts()
    {
        QFETCH(QString, popup);
        Outcome ended{};
        play(m->byClass(popup), {}, Act::Close, ended);
        QCOMPARE(ended, Outcome::Accepted);
    }

    void shownAtPopupPositionEachTime_data() { closeCommandAccepts_data(); }
    void shownAtPopupPositionEachTime()
    {
        QFETCH(QString, popup);
        QDialog* const dialog = m->byClass(popup);
        QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
        for (const QPoint at : {QPoint(300, 200), QPoint(40, 610)}) {
            PopupLeft = at.x();
            PopupTop = at.y();
            QPoint shownAt;
            PopupUser user(dialog, {[&] {
                               shownAt = dialog->geometry().topLeft();
                               dialog->reject();
                           }});
            dialog->exec();
            QTRY_COMPARE(user.stepsRun(), 1);
            QCOMPARE(shownAt, at);
        }
    }
};

QTEST_MAIN(TestPopupKeys)
#include "tst_popupkeys.moc"
