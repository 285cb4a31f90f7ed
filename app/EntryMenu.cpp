#include "EntryMenu.h"

#include "TForm1.h"

EntryMenu::EntryMenu(TForm1& form) : QMenu(&form)
{
    setObjectName(QStringLiteral("EntryMenu"));
    // The window's own actions, enabled for the entry; the menu shows their keys.
    form.UpdateCommands();
    int group = 0;
    for (const TForm1::MenuCommand& each : form.EntryMenuCommands()) {
        if (group && each.group != group)
            addSeparator();
        group = each.group;
        addAction(each.action);
    }
    EditAction = form.EditAction;
    UndoAction = form.UndoAction;
    RedoAction = form.RedoAction;
    CopyValueAction = form.CopyValueAction;
    CopyPathAction = form.CopyPathAction;
    FindAction = form.FindAction;
    NextChangedAction = form.NextChangedAction;
}
