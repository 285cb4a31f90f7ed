#pragma once

#include "DocumentSession.h"
#include "EntryModel.h"

#include <QColor>
#include <QSet>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <functional>

class TBcfgRecAll;

// Text colours of tree entries by their record's marks.
struct EntryColours {
    QColor modified{192, 0, 0};
    QColor modifiedSelected{255, 160, 160};
    QColor imported{0, 0, 255};
    QColor importedSelected{160, 160, 255};
    // An entry without a record (a block the loader could not read), selected or not.
    static QColor unknownBlock() { return QColor(224, 0, 0); }

    // The contrast ratio of two colours as the accessibility guidelines define it: 1 to 21.
    static double Contrast(const QColor& a, const QColor& b);
    // The selected colours are light, made for a dark highlight. highlight, darkened in
    // steps (its hue kept) until each of texts reaches a contrast of MinimumContrast on it.
    static QColor ReadableHighlight(const QColor& highlight, const QList<QColor>& texts);
    static constexpr double MinimumContrast = 4.5;
};

// Draws each entry in the colour of its record's marks (Modified wins over Imported), and
// every entry on the tool-tip background, the popups' colour, while an editor is open.
class EntryColourDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // editorOpen is read at every paint; it must outlive the delegate.
    EntryColourDelegate(const bool* editorOpen, QObject* parent);

    EntryColours colours;

    // Public so that the label geometry and tests see exactly what painting sees.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const bool* m_editorOpen;
};

// The parameter tree of the main window, a view on the document's entries (EntryModel). Each
// entry stands for its record (none for the entry of an unreadable block); the document owns the
// records, so the tree must be cleared before the document goes. A selection hidden by
// collapsing a section moves to the section.
class MainTree : public QTreeView, public DocumentEntries
{
    Q_OBJECT
public:
    // editorOpen: the main window's flag the colours read at every paint.
    MainTree(const bool* editorOpen, QWidget* parent);

    EntryColourDelegate* Colours() const { return m_colours; }
    EntryModel* Entries() const { return m_entries; }

    // The record of an entry of a main tree; nullptr for none.
    static TBcfgRecAll* RecordOf(const QModelIndex& entry);
    // Whether the entry came from the loader without a record.
    static bool IsUnknownBlock(const QModelIndex& entry);
    // After values changed: only's entry and the levels around it, or every entry (only
    // nullptr: any record may have changed).
    void ValuesChanged(const TBcfgRecAll* only);
    // The entry of record, or an invalid index.
    QModelIndex EntryOf(const TBcfgRecAll* record) const { return m_entries->IndexOf(record); }
    // The label an entry shows.
    static QString Label(const QModelIndex& entry) { return entry.data().toString(); }

    // Selects the record's entry, expanding the sections around it.
    void RevealRecord(const TBcfgRecAll* record);

    // The selected entry, or an invalid index.
    QModelIndex SelectedEntry() const;
    // The selected entry when the user can see it (every enclosing section expanded).
    QModelIndex ShownSelectedEntry() const;
    // A selection hidden in a collapsed section would be edited unseen: the section takes it.
    void SelectShownSection();
    // The shown selected entry's label in screen coordinates; empty without one.
    QRect SelectedLabelScreenRect() const;
    bool CursorOnSelectedEntry(const QPoint& globalPos) const;
    // Copies the selected entry's label to the clipboard.
    void CopySelectedLabel() const;
    // Selects the next (or previous) value entry whose record is Modified or Imported, in tree
    // order from the selection, wrapping at the ends, and expands to it. Section entries are passed
    // over: their marks only echo their contents. Returns whether there was one.
    bool SelectNextChanged(bool forward);

    // The rectangle of the entry's text (not the whole row) in viewport coordinates, with
    // the padding the style draws around it; empty when the entry is not laid out.
    QRect LabelRect(const QModelIndex& entry) const;

    // The tool tip of an entry, asked for each time the mouse rests on one, so it always tells
    // the current state; an empty text shows none.
    void SetDetails(std::function<QString(const QModelIndex&)> details)
    {
        m_details = std::move(details);
    }
    // Keeps a strip of this height under the entries free (for the find bar), so that no
    // entry scrolled into view lies under it; 0 gives the strip back.
    void ReserveBottom(int height);
    // The same above the entries (for the bar that tells of a change on disk).
    void ReserveTop(int height);
    // Asked at each vertical wheel roll over the entries with its delta (120 per notch) and the
    // cursor's screen position; true consumes the roll, otherwise the tree scrolls.
    void SetWheel(std::function<bool(int delta, const QPoint& globalPos)> wheel)
    {
        m_wheel = std::move(wheel);
    }

    // DocumentEntries (expandAll(Entry) beside the view's own expandAll()). An Entry is the
    // entry's number in the model plus one, so that the top level stays nullptr.
    void ClearEntries() override { m_entries->Clear(); }
    void RememberView() override;
    void RestoreView() override;
    using QTreeView::expandAll;
    Entry append(Entry parent, const QByteArray& label, TBcfgRecAll* record) override;
    void reserve(int entries) override { m_entries->Reserve(entries); }
    void finishAppending() override { m_entries->FinishAppending(); }
    Entry parentOf(Entry entry) override;
    void expandAll(Entry entry) override;

signals:
    // A double-click in the tree, after the tree has handled it; globalPos is the cursor's.
    void doubleClickedAt(const QPoint& globalPos);
    // Enter, Return or F2 typed while the tree has the focus, or Space on a check box.
    void enterPressed();
    // A right-click on an entry, which is now the current one; elsewhere the
    // click goes on to the window.
    void entryMenuRequested(const QModelIndex& entry, const QPoint& globalPos);
    // The left button released over the entries, before the tree handles it.
    void leftReleased();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;

private:
    // The platform's highlight, darkened where the selected colours would be hard to read.
    void useReadableHighlight();

    // What RememberView kept, by record index: the document stays while a load that may fail
    // replaces the entries, and a reload brings other records of the same file.
    struct View {
        QSet<int> expanded;
        int current = -1;
        bool currentIsUnknownBlock = false;
        int scroll = 0;
    };
    View m_view;
    int m_reservedBottom = 0;
    int m_reservedTop = 0;
    EntryModel* m_entries;
    EntryColourDelegate* m_colours;
    std::function<QString(const QModelIndex&)> m_details;
    std::function<bool(int, const QPoint&)> m_wheel;
};
