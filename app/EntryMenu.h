#pragma once

#include <QMenu>

class TForm1;

// The context menu of a tree entry: the window's commands on that entry and on the document
// (TForm1::EntryMenuCommands), with their keys. The window's own menu (Save position) stays
// for every other place.
class EntryMenu : public QMenu
{
    Q_OBJECT
public:
    // On form's selected entry.
    explicit EntryMenu(TForm1& form);

    // The window's actions, as the menu holds them.
    QAction* EditAction;
    QAction* UndoAction;
    QAction* RedoAction;
    QAction* CopyValueAction;
    QAction* CopyPathAction;
    QAction* FindAction;
    QAction* NextChangedAction;
};
