#pragma once

#include <QFrame>
#include <QList>
#include <QPalette>
#include <QPersistentModelIndex>

#include "TreeOrder.h"

class MainTree;
class QLabel;
class QLineEdit;

// The find bar: a strip in the popups' colours over the bottom edge of the tree, shown on
// demand. Typing finds the first entry from the search's start on, in tree order, whose label
// contains the text; the start is the entry selected when the bar opened, or the last one
// the user moved to (Enter, F3, or in the tree). While the text matches nothing, that entry
// is selected again and the field is tinted. Enter and F3 go to the next hit, Shift+Enter
// and Shift+F3 to the previous one, wrapping at the ends; Esc closes the bar and gives the
// focus back to the tree, the hit staying selected. "/" typed in the tree opens it. It is a
// child of the tree and follows its size.
class FindBar : public QFrame
{
    Q_OBJECT
public:
    explicit FindBar(MainTree* tree);

    // Shows the bar with the focus in its field, the text kept and selected.
    void Open();
    // Hides the bar; the focus goes back to the tree.
    void Close();
    // Selects the next (or previous) hit after the selection; false when there is none.
    bool FindNext(bool forward);

    QLineEdit* Field() const { return m_field; }
    // "3 of 17", "not found", or empty while there is nothing to tell.
    QString Status() const;
    // The field's background while its text matches nothing.
    static QColor NotFoundColour() { return QColor(255, 204, 204); }
    // A bar over the tree in the popups' colours, without a frame (this one, the changed-on-disk
    // bar).
    static void UsePopupColours(QFrame& bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Finds from the selection on (inclusive), as the text was just typed.
    void findTyped();
    void showHit(const QModelIndex& hit);
    void updateStatus(bool found);
    void place();
    // Selects entry without making it the start, opening the sections it lies in; sections the
    // search opened for earlier hits that do not hold it close again. reveal false: the
    // sections stay as they are (the way back to the start).
    void select(const QModelIndex& entry, bool reveal = true);
    // Closes the sections the search opened that do not hold keep (invalid: all of them).
    void closeOpened(const QModelIndex& keep);
    // The hit is kept: the sections opened for it stay open.
    void keepOpened() { m_opened.clear(); }
    QModelIndex start() const;
    // Entries whose label contains text.
    TreeOrder::Hit matching(const QString& text) const;

    MainTree* m_tree;
    QLineEdit* m_field;
    QLabel* m_status;
    QPalette m_fieldColours;
    QPersistentModelIndex m_start;
    // Sections this search opened on its way, outermost first.
    QList<QPersistentModelIndex> m_opened;
    bool m_selecting = false;
};
