#pragma once

#include <QMenu>

class QTreeWidgetItem;
class TForm1;

// The context menu of a tree entry: the commands on that entry and on the document. The
// window's own menu (Save position) stays for every other place.
class EntryMenu : public QMenu
{
    Q_OBJECT
public:
    // item must be the selected entry of form's tree.
    EntryMenu(TForm1& form, QTreeWidgetItem* item);

    QAction* EditAction;
    QAction* UndoAction;
    QAction* RedoAction;
    QAction* CopyValueAction;
    QAction* CopyPathAction;
    QAction* FindAction;
    QAction* NextChangedAction;
};
