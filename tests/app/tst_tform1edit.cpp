#include "tst_tform1_kit.h"

#include "PopupEditorHost.h"
#include "PopupPosition.h"
#include "PopupTestKit.h"
#include "TBcfgRec0D.h"
#include "TForm0103.h"
#include "TForm0204.h"
#include "TForm05.h"
#include "TForm07.h"
#include "TForm080E.h"
#include "TForm0C.h"
#include "TForm0D.h"

#include <QCursor>
#include <QScrollBar>
#include <QWheelEvent>

using kit::drawn;

namespace {

QByteArray document()
{
    BcfgBuilder b;
    // Entries above and below keep the tree scrollable both ways around the tested ones.
    for (int i = 0; i < 30; ++i)
        b.integer(1, "Above" + QByteArray::number(i), 0, 9, 0);
    b.integer(1, "Int", 0, 10, 10)
        .choice("Choice", 2, {"a", "b", "c"})
        .choice("Wrap", 0, {"a", "b", "c"})
        .choice("Empty", 0, {})
        .checkBox("Check", 1)
        .time("Time", 23, 59)
        .time("Midnight", 0, 0)
        .date("Date", 2007, 12, 31)
        .date("Broken", 2007, 2, 30)
        .date("Last", 9999, 12, 31)
        .date("First", 1, 1, 1)
        .text(4, "Text", 7, "abc")
        .coordinates("Point", 1, 2)
        .levelBegin("Level")
        .integer(3, "Nested", quint32(-9), 9, 0)
        .levelEnd();
    for (int i = 0; i < 30; ++i)
        b.integer(1, "Below" + QByteArray::number(i), 0, 9, 0);
    return b.bytes();
}

// The entry of a record by its name.
kit::Entry named(TForm1& form, const QString& name)
{
    for (const kit::Entry& each : kit::all(form)) {
        const QString text = each->text(0);
        if (text == name || text.startsWith(name + " - [ "))
            return each;
    }
    return nullptr;
}

} // namespace

class TestTForm1Edit : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TForm1> m_form;
    Popups* m_popups = nullptr;

    // Rolls the wheel over the entry's label (plus offset) as the user would; returns
    // whether the main window consumed it, seen from the tree: a wheel the window leaves
    // alone scrolls the tree.
    bool roll(kit::Entry item, int delta, QPoint offset = {})
    {
        TForm1& form = *m_form;
        form.TreeView1->setCurrentIndex(item);
        form.TreeView1->scrollTo(item, QAbstractItemView::PositionAtCenter);
        QScrollBar* bar = form.TreeView1->verticalScrollBar();
        const int before = bar->value();
        if (before <= bar->minimum() || before >= bar->maximum())
            qFatal("the tree must be able to scroll both ways");
        QWidget* viewport = form.TreeView1->viewport();
        const QRect label = form.TreeView1->LabelRect(item);
        const QPoint local = QPoint(label.left() + 2, label.center().y()) + offset;
        QWheelEvent event(local, viewport->mapToGlobal(local), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
        return bar->value() == before;
    }

private slots:
    void initTestCase()
    {
        kit::startUp();
        m_path = kit::write(m_dir, "edit.bcfg", document());
    }
    void init()
    {
        Dialogs::TakeShown();
        m_form = std::make_unique<TForm1>();
        m_form->FormCreate({m_path});
        m_form->TreeView1->expandAll();
        QVERIFY(kit::showWithTreeFocus(*m_form));
    }
    void cleanup() { m_form.reset(); }

    void wheelSteps_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("label"); // empty: unchanged
        QTest::addColumn<bool>("consumed");

        QTest::newRow("integer at Max, towards the user")
            << "Int" << -120 << "Int - [ 10 ]" << true;
        QTest::newRow("integer, three notches away") << "Int" << 360 << "Int - [ 7 ]" << true;
        QTest::newRow("integer, half a notch") << "Int" << -60 << "Int - [ 10 ]" << false;
        QTest::newRow("signed integer") << "Nested" << 240 << "Nested - [ -2 ]" << true;
        QTest::newRow("choice wraps forward") << "Choice" << -120 << "Choice - [ a ]" << true;
        QTest::newRow("choice wraps backward") << "Wrap" << 120 << "Wrap - [ c ]" << true;
        QTest::newRow("choice, a whole round") << "Wrap" << -360 << "Wrap - [ a ]" << true;
        QTest::newRow("empty choice") << "Empty" << -120 << "" << false;
        QTest::newRow("check box, one notch") << "Check" << -120 << "Check - [ OFF ]" << true;
        QTest::newRow("check box, two notches at once")
            << "Check" << -240 << "Check - [ ON ]" << true;
        QTest::newRow("check box, half a notch") << "Check" << -60 << "Check - [ ON ]" << true;
        QTest::newRow("time forward") << "Time" << -120 << "Time - [ 0:00 ]" << true;
        QTest::newRow("time backward") << "Midnight" << 120 << "Midnight - [ 23:59 ]" << true;
        QTest::newRow("date forward") << "Date" << -120 << "Date - [ 1.01.2008 ]" << true;
        QTest::newRow("date, half a notch") << "Date" << -60 << "Date - [ 31.12.2007 ]" << true;
        QTest::newRow("date stays at 31.12.9999")
            << "Last" << -120 << "Last - [ 31.12.9999 ]" << true;
        QTest::newRow("date stays at 1.01.0001") << "First" << 120 << "First - [ 1.01.1 ]" << true;
        QTest::newRow("text") << "Text" << -120 << "" << false;
        QTest::newRow("coordinates") << "Point" << -120 << "" << false;
        QTest::newRow("level") << "Level" << -120 << "Level" << false;
    }
    void wheelSteps()
    {
        QFETCH(QString, name);
        QFETCH(int, delta);
        QFETCH(QString, label);
        QFETCH(bool, consumed);
        TForm1& form = *m_form;
        kit::Entry item = named(form, name);
        QVERIFY(item);
        const QString before = item->text(0);

        QCOMPARE(roll(item, delta), consumed);

        QCOMPARE(item->text(0), label.isEmpty() ? before : label);
        const TBcfgRecAll* record = MainTree::RecordOf(item);
        QCOMPARE(record->Modified, consumed);
        QCOMPARE(form.CurrentDoc()->Modified, consumed);
        QCOMPARE(!form.Label2->isHidden(), consumed);
        QCOMPARE(form.Button1->isEnabled(), consumed);
        QCOMPARE(drawn(form, item, false).text,
                 consumed ? QColor(192, 0, 0) : form.TreeView1->palette().color(QPalette::Text));
        if (item->parent())
            QCOMPARE(MainTree::RecordOf(item->parent())->Modified, consumed);
        QVERIFY(Dialogs::TakeShown().isEmpty());
    }

    void wheelOnAnInvalidDateReportsAndChangesNothing()
    {
        kit::Entry item = named(*m_form, "Broken");
        QVERIFY(roll(item, -120));
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Invalid argument to date encode."));
        QCOMPARE(item->text(0), QStringLiteral("Broken - [ 30.02.2007 ]"));
        QVERIFY(!m_form->CurrentDoc()->Modified);
    }

    void wheelNeedsTheFocusAndTheCursorOnTheLabel()
    {
        TForm1& form = *m_form;
        kit::Entry item = named(form, "Int");
        const QRect label = form.TreeView1->LabelRect(item);
        const int toRight = label.right() - label.left() - 2; // from roll()'s point

        QVERIFY(roll(item, 360, {toRight, 0}));      // the right border belongs to the label
        QVERIFY(!roll(item, 120, {toRight + 1, 0})); // one pixel further does not
        QCOMPARE(item->text(0), QStringLiteral("Int - [ 7 ]"));

        form.Button3->setFocus();
        QVERIFY(!roll(item, 120));
        QCOMPARE(item->text(0), QStringLiteral("Int - [ 7 ]"));
    }

    void editActivation_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("popup");
        QTest::addColumn<bool>("atValue");
        QTest::newRow("integer") << "Int"
                                 << "TForm0103" << false;
        QTest::newRow("choice") << "Choice"
                                << "TForm05" << true;
        QTest::newRow("date") << "Date"
                              << "TForm0D" << true;
        QTest::newRow("text") << "Text"
                              << "TForm0204" << false;
        QTest::newRow("time") << "Time"
                              << "TForm0C" << false;
        QTest::newRow("coordinates") << "Point"
                                     << "TForm07" << false;
    }
    void editActivation()
    {
        QFETCH(QString, name);
        QFETCH(QString, popup);
        QFETCH(bool, atValue);
        TForm1& form = *m_form;
        Popups popups;
        form.SetEditorHost(&popups.host);
        kit::Entry item = named(form, name);
        form.TreeView1->setCurrentIndex(item);
        const QRect label = form.SelectedLabelScreenRect();
        const int valueOffset = form.TreeView1->fontMetrics().horizontalAdvance(
            CodePage::ToUnicode(MainTree::RecordOf(item)->LabelPrefix()));
        const QPoint expected(label.left() + (atValue ? valueOffset : 8), label.top() - 1);

        // The hit test sees the same rectangle, borders included.
        const auto onLabel = [&form](QPoint p) {
            QCursor::setPos(p);
            return form.CursorOnSelectedEntry();
        };
        QVERIFY(onLabel(label.topLeft()) && onLabel(label.bottomRight()));
        QVERIFY(!onLabel(label.topLeft() - QPoint(1, 0)));
        QVERIFY(!onLabel(label.topLeft() - QPoint(0, 1)));
        QVERIFY(!onLabel(label.bottomRight() + QPoint(1, 0)));
        QVERIFY(!onLabel(label.bottomRight() + QPoint(0, 1)));

        QString shownClass;
        QPoint shownAt;
        bool editorOpen = false;
        QColor entryBackground;
        QString entryLabel = QStringLiteral("unseen");
        ModalPlayer player({[&](QWidget* modal) {
            shownClass = QString::fromLatin1(modal->metaObject()->className());
            shownAt = modal->pos();
            // No window command runs under a popup.
            editorOpen = form.EditorOpen() && !form.FindAction->isEnabled() &&
                         !form.NextChangedAction->isEnabled();
            entryBackground = drawn(form, item, true).background;
            entryLabel = drawn(form, item, true).label;
            qobject_cast<QDialog*>(modal)->reject();
        }});
        QTest::keyClick(form.TreeView1, Qt::Key_Return);

        QCOMPARE(player.seen(), 1);
        QCOMPARE(shownClass, popup);
        QCOMPARE(shownAt, expected);
        QCOMPARE(QPoint(PopupLeft, PopupTop), expected);
        QVERIFY(editorOpen);
        QCOMPARE(entryBackground, form.TreeView1->palette().color(QPalette::ToolTipBase));
        // The popup shows the name and the value: the label under it would show past its edges.
        QCOMPARE(entryLabel, QString());
        QVERIFY(!form.EditorOpen() && form.FindAction->isEnabled());
        QVERIFY(!drawn(form, item, true).background.isValid());
        QCOMPARE(drawn(form, item, true).label, item->text(0));
        QVERIFY(!form.CurrentDoc()->Modified);
        form.SetEditorHost(nullptr);
    }

    void doubleClickEditsOnlyOnTheLabel()
    {
        TForm1& form = *m_form;
        Popups popups;
        form.SetEditorHost(&popups.host);
        kit::Entry item = named(form, "Int");
        form.TreeView1->setCurrentIndex(item);
        form.TreeView1->scrollTo(item);
        const QRect label = form.TreeView1->LabelRect(item);
        ModalPlayer player({[&](QWidget* modal) {
            auto* integer = qobject_cast<TForm0103*>(modal);
            QVERIFY(integer);
            integer->Edit1->selectAll();
            QTest::keyClicks(integer->Edit1, "3");
            QTest::keyClick(integer->Edit1, Qt::Key_Return);
        }});

        QTest::mouseDClick(form.TreeView1->viewport(), Qt::LeftButton, {},
                           QPoint(label.right() + 4, label.center().y()));
        QCOMPARE(player.seen(), 0);

        QTest::mouseDClick(form.TreeView1->viewport(), Qt::LeftButton, {}, label.center());
        QCOMPARE(player.seen(), 1);
        QCOMPARE(item->text(0), QStringLiteral("Int - [ 3 ]"));
        QCOMPARE(drawn(form, item, false).text, QColor(192, 0, 0));
        QVERIFY(!form.Label2->isHidden());
        QVERIFY(form.Button1->isEnabled());
        form.SetEditorHost(nullptr);
    }

    void hiddenEntriesAreNotEdited_data()
    {
        QTest::addColumn<bool>("collapseAll");
        QTest::newRow("section collapsed") << false;
        QTest::newRow("every section collapsed") << true;
    }
    void hiddenEntriesAreNotEdited()
    {
        QFETCH(bool, collapseAll);
        TForm1& form = *m_form;
        Popups popups;
        form.SetEditorHost(&popups.host);
        ModalPlayer player({});
        kit::Entry level = named(form, "Level");
        kit::Entry nested = named(form, "Nested");

        // Collapsing the section around the selection selects the section.
        form.TreeView1->setCurrentIndex(nested);
        if (collapseAll)
            QTest::mouseClick(form.Button6, Qt::LeftButton);
        else
            form.TreeView1->collapse(level);
        QCOMPARE(kit::current(form), level);
        QCOMPARE(kit::selected(form), QList<kit::Entry>{level});

        // An entry selected while hidden is not edited by Enter, a double-click or the wheel
        // (selecting it as current would scroll to it and expand its section).
        form.TreeView1->clearSelection();
        nested->setSelected(true);
        QVERIFY(!level->isExpanded());
        QTest::keyClick(form.TreeView1, Qt::Key_Return);
        QTest::mouseDClick(form.TreeView1->viewport(), Qt::LeftButton, {},
                           form.TreeView1->visualRect(level).center());
        QVERIFY(!form.FormMouseWheel(-120, form.SelectedLabelScreenRect().center()));
        QCOMPARE(player.seen(), 0);
        QVERIFY(!form.CurrentDoc()->Modified);
        QCOMPARE(nested->text(0), QStringLiteral("Nested - [ 0 ]"));
        form.SetEditorHost(nullptr);
    }

    void enterDoesNothingOnLevelsAndReportsInvalidDates()
    {
        TForm1& form = *m_form;
        Popups popups;
        form.SetEditorHost(&popups.host);
        ModalPlayer player({});

        form.TreeView1->setCurrentIndex(named(form, "Level"));
        QTest::keyClick(form.TreeView1, Qt::Key_Return);
        form.TreeView1->setCurrentIndex(named(form, "Broken"));
        QTest::keyClick(form.TreeView1, Qt::Key_Enter);

        QCOMPARE(player.seen(), 0);
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Invalid argument to date encode."));
        QVERIFY(!form.EditorOpen());
        QVERIFY(!form.CurrentDoc()->Modified);
        form.SetEditorHost(nullptr);
    }
};

QTEST_MAIN(TestTForm1Edit)
#include "tst_tform1edit.moc"
