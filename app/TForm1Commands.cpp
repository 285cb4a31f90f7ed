// The main window's commands beyond its buttons: one table makes every action with its keys,
// and one function decides which of them can run. A new command is a member in TForm1.h,
// a row here and its handler.

#include "TForm1.h"

#include "CodePage.h"
#include "EntryMenu.h"
#include "ParameterPath.h"
#include "TBcfgRecAll.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QUndoStack>

namespace {

// What a command needs besides an idle window (no open, import or popup running).
enum Needs : int {
    Always,
    Document,      // a document is open
    SelectedEntry, // the selected entry has a record
    SelectedValue, // the selected entry has a record with a value (not a level)
    CanUndo,       // the undo stack has a step to take back
    CanRedo,       // ... to make again
};

// The keys act wherever the focus is in the window, or only while the tree has it.
enum Scope { Window, Tree };

QString quotedStep(const QString& command, bool possible, const QString& what)
{
    return possible
               ? EntryMenu::tr("%1 \"%2\"", "undo or redo and the step's name").arg(command, what)
               : command;
}

} // namespace

void TForm1::createCommands()
{
    struct Row {
        QAction* TForm1::*member;
        const char* name;
        QString text;
        QList<QKeySequence> keys; // the first is the one the entry menu shows
        Scope scope;
        Needs needs;
        int menuGroup; // the entry menu's section, 0: not on it
        std::function<void()> run;
    };
    const auto copy = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
    const auto selected = [this] { return MainTree::RecordOf(TreeView1->SelectedEntry()); };
    const std::vector<Row> rows{
        {&TForm1::EditAction,
         "Edit",
         EntryMenu::tr("Edit"),
         // Space on a check box is its edit too; the tree tells that key from a plain Space.
         {Qt::Key_Enter, Qt::Key_Return, Qt::Key_F2},
         Tree,
         SelectedValue,
         1,
         [this] { StartEdit(); }},
        {&TForm1::UndoAction,
         "Undo",
         EntryMenu::tr("Undo"),
         {Qt::CTRL | Qt::Key_Z},
         Window,
         CanUndo,
         1,
         [this] { Undo(); }},
        {&TForm1::RedoAction,
         "Redo",
         EntryMenu::tr("Redo"),
         {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
         Window,
         CanRedo,
         1,
         [this] { Redo(); }},
        // A password's value is copied as the tree shows it.
        {&TForm1::CopyValueAction,
         "CopyValue",
         EntryMenu::tr("Copy value"),
         {},
         Tree,
         SelectedValue,
         2,
         [=] {
             if (const TBcfgRecAll* record = selected())
                 copy(CodePage::ToUnicode(ParameterPath::Value(*record)));
         }},
        {&TForm1::CopyPathAction,
         "CopyPath",
         EntryMenu::tr("Copy path"),
         {},
         Tree,
         SelectedEntry,
         2,
         [=] {
             if (const TBcfgRecAll* record = selected())
                 copy(ParameterPath::Of(*record));
         }},
        {&TForm1::FindAction,
         "Find",
         EntryMenu::tr("Find..."),
         {Qt::CTRL | Qt::Key_F},
         Window,
         Always,
         3,
         [this] { ShowFindBar(); }},
        {&TForm1::NextChangedAction,
         "NextChanged",
         EntryMenu::tr("Next changed"),
         {Qt::Key_F4},
         Window,
         Always,
         3,
         [this] { SelectNextChanged(true); }},
        {&TForm1::PreviousChangedAction,
         "PreviousChanged",
         tr("Previous changed"),
         {Qt::SHIFT | Qt::Key_F4},
         Window,
         Always,
         0,
         [this] { SelectNextChanged(false); }},
        {&TForm1::CompareWithFileAction,
         "CompareWithFile",
         tr("Compare with file..."),
         {Qt::CTRL | Qt::Key_D},
         Window,
         Document,
         4,
         [this] { CompareWithFile(); }},
        {&TForm1::ImportWithPreviewAction,
         "ImportWithPreview",
         tr("Import with preview..."),
         {Qt::CTRL | Qt::SHIFT | Qt::Key_I},
         Window,
         Document,
         4,
         [this] { ImportWithPreview(); }},
        {&TForm1::UpgradeAction,
         "UpgradeFromOlderVersion",
         tr("Upgrade from an older version..."),
         {Qt::CTRL | Qt::Key_U},
         Window,
         Document,
         4,
         [this] { UpgradeFromOlderVersion(); }},
        {&TForm1::ExportSettingsAction,
         "ExportSettings",
         tr("Export settings..."),
         {Qt::CTRL | Qt::Key_E},
         Window,
         Document,
         5,
         [this] { ExportSettings(); }},
        {&TForm1::ApplySettingsAction,
         "ApplySettings",
         tr("Apply settings..."),
         {Qt::CTRL | Qt::SHIFT | Qt::Key_E},
         Window,
         Document,
         5,
         [this] { ApplySettings(); }},
        {&TForm1::CopyLabelAction,
         "CopyLabel",
         tr("Copy label"),
         {Qt::CTRL | Qt::Key_C},
         Tree,
         Always,
         0,
         [this] { TreeView1->CopySelectedLabel(); }},
        {&TForm1::SaveAction,
         "Save",
         tr("Save"),
         {Qt::CTRL | Qt::Key_S},
         Window,
         Document,
         0,
         [this] {
             if (Button1->isEnabled())
                 Button1Click();
         }},
    };
    for (const Row& row : rows) {
        auto* action = new QAction(row.text, this);
        action->setObjectName(QLatin1String(row.name));
        action->setShortcuts(row.keys);
        action->setShortcutContext(row.scope == Tree ? Qt::WidgetShortcut : Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, row.run);
        // On the tree, not on this window: the window's own context menu lists its actions.
        // The tree is always shown, so window-wide keys work wherever the focus is.
        TreeView1->addAction(action);
        this->*row.member = action;
        m_commands.emplace_back(action, row.needs);
        if (row.menuGroup)
            m_entryMenu.push_back({action, row.menuGroup});
    }

    // What the enabled states follow.
    const auto update = [this] { UpdateCommands(); };
    connect(m_session, &DocumentSession::busyChanged, this, update);
    connect(m_session, &DocumentSession::documentReplaced, this, update);
    const QUndoStack* stack = UndoStack();
    connect(stack, &QUndoStack::indexChanged, this, update);
    connect(stack, &QUndoStack::undoTextChanged, this, update);
    connect(stack, &QUndoStack::redoTextChanged, this, update);
    connect(TreeView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, update);
    UpdateCommands();
}

void TForm1::UpdateCommands()
{
    const bool idle = !Busy() && !m_editorOpen;
    const TBcfgRecAll* record = MainTree::RecordOf(TreeView1->SelectedEntry());
    const QUndoStack* stack = UndoStack();
    for (const auto& [action, needs] : m_commands) {
        bool met = false;
        switch (Needs(needs)) {
        case Always:
            met = true;
            break;
        case Document:
            met = CurrentDoc() != nullptr;
            break;
        case SelectedEntry:
            met = record != nullptr;
            break;
        case SelectedValue:
            met = record && !record->IsLevel();
            break;
        case CanUndo:
            met = stack->canUndo();
            break;
        case CanRedo:
            met = stack->canRedo();
            break;
        }
        action->setEnabled(idle && met);
    }
    // The texts quote the step they take back or make again.
    UndoAction->setText(quotedStep(EntryMenu::tr("Undo"), stack->canUndo(), stack->undoText()));
    RedoAction->setText(quotedStep(EntryMenu::tr("Redo"), stack->canRedo(), stack->redoText()));
}
