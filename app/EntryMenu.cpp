#include "EntryMenu.h"

#include "CodePage.h"
#include "MainTree.h"
#include "ParameterPath.h"
#include "TBcfgRecAll.h"
#include "TForm1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QUndoStack>

namespace {
// The text after a tab is shown as the command's key, in the user's language.
QString withKey(const QString& text, const QKeySequence& key)
{
    return text + QLatin1Char('\t') + key.toString(QKeySequence::NativeText);
}

QString quotedStep(const QString& command, bool possible, const QString& what)
{
    return possible
               ? EntryMenu::tr("%1 \"%2\"", "undo or redo and the step's name").arg(command, what)
               : command;
}
} // namespace

EntryMenu::EntryMenu(TForm1& form, QTreeWidgetItem* item) : QMenu(&form)
{
    setObjectName(QStringLiteral("EntryMenu"));
    const TBcfgRecAll* record = MainTree::RecordOf(item);
    const QUndoStack* stack = form.UndoStack();

    EditAction = addAction(withKey(tr("Edit"), QKeySequence(Qt::Key_Enter)));
    EditAction->setEnabled(record && !record->IsLevel());
    connect(EditAction, &QAction::triggered, &form, &TForm1::StartEdit);
    // The stack's own actions, enabled and triggered by it; the text quotes the step and
    // names the key.
    UndoAction = stack->createUndoAction(this);
    UndoAction->setText(withKey(quotedStep(tr("Undo"), stack->canUndo(), stack->undoText()),
                                QKeySequence(Qt::CTRL | Qt::Key_Z)));
    RedoAction = stack->createRedoAction(this);
    RedoAction->setText(withKey(quotedStep(tr("Redo"), stack->canRedo(), stack->redoText()),
                                QKeySequence(Qt::CTRL | Qt::Key_Y)));
    addActions({UndoAction, RedoAction});
    addSeparator();

    // A level has no value; a password's value is copied as the tree shows it.
    const QByteArray value = record ? ParameterPath::Value(*record) : QByteArray();
    CopyValueAction = addAction(tr("Copy value"));
    CopyValueAction->setEnabled(!value.isNull());
    connect(CopyValueAction, &QAction::triggered, this,
            [value] { QGuiApplication::clipboard()->setText(CodePage::ToUnicode(value)); });
    CopyPathAction = addAction(tr("Copy path"));
    CopyPathAction->setEnabled(record != nullptr);
    const QString path = record ? ParameterPath::Of(*record) : QString();
    connect(CopyPathAction, &QAction::triggered, this,
            [path] { QGuiApplication::clipboard()->setText(path); });
    addSeparator();

    FindAction = addAction(withKey(tr("Find..."), QKeySequence(Qt::CTRL | Qt::Key_F)));
    connect(FindAction, &QAction::triggered, &form, &TForm1::ShowFindBar);
    NextChangedAction = addAction(withKey(tr("Next changed"), QKeySequence(Qt::Key_F4)));
    connect(NextChangedAction, &QAction::triggered, &form,
            [&form] { form.SelectNextChanged(true); });
    addSeparator();
    addAction(form.CompareWithFileAction);
    addAction(form.ImportWithPreviewAction);
    addSeparator();
    addAction(form.ExportSettingsAction);
    addAction(form.ApplySettingsAction);
}
