#include "tst_tform1_kit.h"

#include "PopupTestKit.h"
#include "TForm0103.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>
#include <QUrl>

namespace {

QByteArray document(quint32 value, quint32 checked)
{
    return BcfgBuilder()
        .levelBegin("Level")
        .integer(1, "Int", 0, 10, value)
        .checkBox("Check", checked)
        .levelEnd()
        .integer(1, "Other", 0, 10, 1)
        .bytes();
}

kit::Entry named(TForm1& form, const QString& name)
{
    for (const kit::Entry& each : kit::all(form))
        if (each->text(0) == name || each->text(0).startsWith(name + " - [ "))
            return each;
    return nullptr;
}

} // namespace

class TestTForm1History : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<Popups> m_popups;

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_form->TreeView1, Qt::Key(key), modifiers);
    }
    // The window shows no change at all: labels as loaded, no marks, no marker, Save off.
    bool unchanged()
    {
        TForm1& form = *m_form;
        bool clean = !form.CurrentDoc()->Modified && form.Label2->isHidden() &&
                     !form.Button1->isEnabled() &&
                     form.CurrentDoc()->Serialize() == kit::read(m_path);
        for (const auto& rec : form.CurrentDoc()->Records())
            clean = clean && !rec->Modified && !rec->Imported;
        return clean;
    }
    // Types value into the integer popup that Enter opens.
    void typeInteger(const QString& value)
    {
        TForm0103* popup = &m_popups->form0103;
        PopupUser user(popup, {[&] {
                           popup->Edit1->selectAll();
                           QTest::keyClicks(popup->Edit1, value);
                           QTest::keyClick(popup->Edit1, Qt::Key_Return);
                       }});
        m_form->TreeView1->setCurrentIndex(named(*m_form, "Int"));
        key(Qt::Key_Return);
        // The window manager gives the main window back its activation.
        QVERIFY(kit::showWithTreeFocus(*m_form));
    }

private slots:
    void initTestCase() { kit::startUp(); }
    void init()
    {
        Dialogs::TakeShown();
        m_path = kit::write(m_dir, "history.bcfg", document(10, 1));
        m_form = std::make_unique<TForm1>();
        m_popups = std::make_unique<Popups>();
        m_form->SetEditorHost(&m_popups->host);
        m_form->FormCreate({m_path});
        m_form->TreeView1->expandAll();
        QVERIFY(kit::showWithTreeFocus(*m_form));
    }
    void cleanup()
    {
        m_form.reset();
        m_popups.reset();
    }

    // Each kind of change is one step; Ctrl+Z takes it back to the file's state exactly,
    // Ctrl+Shift+Z and Ctrl+Y bring it again.
    void eachChangeIsOneStep_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::newRow("popup edit") << "popup"
                                    << "Int"
                                    << "Int - [ 4 ]";
        QTest::newRow("space on a check box") << "space"
                                              << "Check"
                                              << "Check - [ OFF ]";
        QTest::newRow("wheel burst") << "wheel"
                                     << "Int"
                                     << "Int - [ 7 ]";
        QTest::newRow("import") << "import"
                                << "Int"
                                << "Int - [ 3 ]";
    }
    void eachChangeIsOneStep()
    {
        QFETCH(QString, change);
        QFETCH(QString, name);
        QFETCH(QString, label);
        TForm1& form = *m_form;
        kit::Entry item = named(form, name);
        const QString before = item->text(0);
        if (change == "popup") {
            typeInteger("4");
        } else if (change == "space") {
            form.TreeView1->setCurrentIndex(item);
            key(Qt::Key_Space);
        } else if (change == "wheel") {
            const QPoint at = form.TreeView1->viewport()->mapToGlobal(kit::selectEntry(form, item));
            for (int notch = 0; notch < 3; ++notch)
                QVERIFY(form.FormMouseWheel(120, at));
        } else {
            Dialogs::SetNextFileName(kit::write(m_dir, "source.bcfg", document(3, 1)));
            form.Button4Click();
        }
        QCOMPARE(item->text(0), label);
        QVERIFY(form.CurrentDoc()->Modified && form.Button1->isEnabled());
        QCOMPARE(form.UndoStack()->count(), 1);

        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(item->text(0), before);
        QVERIFY(unchanged());
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(item->text(0), label);
        QVERIFY(form.CurrentDoc()->Modified && !form.Label2->isHidden());
        QVERIFY(MainTree::RecordOf(item)->Modified);
        key(Qt::Key_Z, Qt::ControlModifier);
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(item->text(0), label);
        for (const Dialogs::Shown& shown : Dialogs::TakeShown())
            QCOMPARE(shown.kind, QStringLiteral("open"));
    }

    // Undoing past a save marks the value again, since the file now differs; coming back to
    // the saved value is clean again.
    void undoPastASave()
    {
        TForm1& form = *m_form;
        typeInteger("4");
        key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!form.CurrentDoc()->Modified && !form.Button1->isEnabled());
        const QByteArray saved = kit::read(m_path);
        QCOMPARE(saved, document(4, 1));

        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(named(form, "Int")->text(0), QStringLiteral("Int - [ 10 ]"));
        QVERIFY(form.CurrentDoc()->Modified && form.Button1->isEnabled());
        QVERIFY(MainTree::RecordOf(named(form, "Level"))->Modified);
        key(Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(unchanged());
        QCOMPARE(kit::read(m_path), saved);
    }

    // A cancelled popup, or one accepted unchanged, is no step; opening another file clears
    // the history, a failed open keeps it.
    void stepsFollowTheDocument()
    {
        TForm1& form = *m_form;
        typeInteger("10");
        QCOMPARE(form.UndoStack()->count(), 0);
        typeInteger("5");
        QCOMPARE(form.UndoStack()->count(), 1);

        form.LMDFileOpenEdit1->setText(m_dir.filePath("missing.bcfg"));
        QCOMPARE(Dialogs::TakeShown().size(), 1);
        QCOMPARE(form.UndoStack()->count(), 1);

        Dialogs::SetNextAnswer(Dialogs::Answer::No);
        form.LMDFileOpenEdit1->setText(kit::write(m_dir, "other.bcfg", document(2, 0)));
        QCOMPARE(named(form, "Int")->text(0), QStringLiteral("Int - [ 2 ]"));
        QCOMPARE(form.UndoStack()->count(), 0);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(named(form, "Int")->text(0), QStringLiteral("Int - [ 2 ]"));
    }

    // A right-click on an entry shows its commands; elsewhere in the tree the window's menu.
    void entryMenu()
    {
        TForm1& form = *m_form;
        typeInteger("4");
        QStringList items;
        QString choose;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &form, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            items.clear();
            // Each item as the menu shows it: the text and the key beside it.
            for (QAction* action : menu->actions())
                if (!action->isSeparator())
                    items << action->text() +
                                 (action->shortcut().isEmpty()
                                      ? ""
                                      : '\t' +
                                            action->shortcut().toString(QKeySequence::NativeText)) +
                                 (action->isEnabled() ? "" : " (off)");
            for (QAction* action : menu->actions())
                if (action->text().startsWith(choose) && !choose.isEmpty())
                    action->trigger();
            menu->close();
        });
        poll.start(5);
        const auto rightClick = [&](const QPoint& at, const QString& item) {
            choose = item;
            QContextMenuEvent click(QContextMenuEvent::Mouse, at,
                                    form.TreeView1->viewport()->mapToGlobal(at));
            QApplication::sendEvent(form.TreeView1->viewport(), &click);
        };
        kit::Entry other = named(form, "Other");
        rightClick(kit::selectEntry(form, other), "Copy path");
        QCOMPARE(kit::current(form), other);
        QCOMPARE(items, (QStringList{
                            "Edit\tEnter", "Undo \"Int\"\tCtrl+Z", "Redo\tCtrl+Y (off)",
                            "Copy value", "Copy path", "Find...\tCtrl+F", "Next changed\tF4",
                            "Compare with file...\tCtrl+D", "Import with preview...\tCtrl+Shift+I",
                            "Upgrade from an older version...\tCtrl+U",
                            "Export settings...\tCtrl+E", "Apply settings...\tCtrl+Shift+E"}));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Other"));
        rightClick(kit::selectEntry(form, named(form, "Level")), "Undo");
        QCOMPARE(named(form, "Int")->text(0), QStringLiteral("Int - [ 10 ]"));
        QVERIFY(items.contains("Copy value (off)") && items.contains("Edit\tEnter (off)"));
        rightClick(kit::selectEntry(form, named(form, "Int")), "Copy value");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("10"));

        rightClick(QPoint(5, form.TreeView1->viewport()->height() - 5), "");
        QCOMPARE(items, QStringList{"Save position"});
    }

    // A name in the file field that did not open goes back to the open file's name when the
    // field loses the focus or Esc is pressed, without opening anything; a declined drop
    // at once. While the user types it stays.
    void theFieldNamesTheOpenFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("focus leaves") << "focus";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("declined drop") << "drop";
    }
    void theFieldNamesTheOpenFile()
    {
        QFETCH(QString, how);
        TForm1& form = *m_form;
        QLineEdit* field = form.LMDFileOpenEdit1->lineEdit();
        form.CurrentDoc()->Record(1)->MarkModified(); // unsaved: another file is asked about
        const QString other = kit::write(m_dir, "other.bcfg", document(6, 0));
        if (how == "drop") {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(other)});
            QWidget* target = form.TreeView1->viewport();
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            Dialogs::SetNextAnswer(Dialogs::Answer::Cancel);
            QApplication::sendEvent(target, &event);
            QCOMPARE(Dialogs::TakeShown().value(0).kind, QStringLiteral("confirm"));
        } else {
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, QStringLiteral("nothing"));
            QCOMPARE(field->text(), QStringLiteral("nothing")); // typing is left alone
            if (how == "esc")
                QTest::keyClick(field, Qt::Key_Escape);
            else
                form.TreeView1->setFocus();
        }
        QCOMPARE(field->text(), m_path);
        QCOMPARE(form.DocumentFileName(), QFileInfo(m_path).absoluteFilePath());
        QVERIFY(form.CurrentDoc()->Modified);
        QCOMPARE(named(form, "Int")->text(0), QStringLiteral("Int - [ 10 ]"));
    }

    // F2 edits as Enter does, Ctrl+C copies the label, a dropped file is opened.
    void keysAndDrops()
    {
        TForm1& form = *m_form;
        form.TreeView1->setCurrentIndex(named(form, "Other"));
        int shown = 0;
        PopupUser user(&m_popups->form0103, {[&] {
            ++shown;
            m_popups->form0103.reject();
        }});
        key(Qt::Key_F2);
        QCOMPARE(shown, 1);

        key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Other - [ 1 ]"));

        const QString dropped = kit::write(m_dir, "dropped.bcfg", document(6, 0));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dropped)});
        // Shift+drag proposes a move; the file is always taken as a copy, so that the source
        // never deletes it.
        const auto drop = [&](QWidget* target) {
            const QPoint at = target->rect().center();
            const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
            QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
            QApplication::sendEvent(target, &enter);
            QDropEvent event(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
            if (event.proposedAction() != Qt::MoveAction)
                return false;
            QApplication::sendEvent(target, &event);
            return enter.isAccepted() && enter.dropAction() == Qt::CopyAction &&
                   event.isAccepted() && event.dropAction() == Qt::CopyAction;
        };
        QVERIFY(drop(form.TreeView1->viewport()));
        QCOMPARE(form.DocumentFileName(), QFileInfo(dropped).absoluteFilePath());
        QCOMPARE(named(form, "Int")->text(0), QStringLiteral("Int - [ 6 ]"));
        // On the file field too: the path replaces the field's text.
        QVERIFY(drop(form.LMDFileOpenEdit1->lineEdit()));
        QCOMPARE(form.LMDFileOpenEdit1->text(), dropped);
    }
};

QTEST_MAIN(TestTForm1History)
#include "tst_tform1history.moc"
