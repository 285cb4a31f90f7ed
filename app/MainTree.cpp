#include "MainTree.h"

#include "CodePage.h"
#include "TBcfgRecAll.h"
#include "TreeOrder.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace {
QModelIndex outermostCollapsedAncestor(const QTreeView& tree, const QModelIndex& entry)
{
    QModelIndex found;
    for (QModelIndex parent = entry.parent(); parent.isValid(); parent = parent.parent())
        if (!tree.isExpanded(parent))
            found = parent;
    return found;
}

// A sink's entry handle is the entry's number plus one: nullptr stays the top level.
TreeSink::Entry handleOf(int entry)
{
    return reinterpret_cast<TreeSink::Entry>(quintptr(entry + 1));
}
int entryOf(TreeSink::Entry handle)
{
    return int(reinterpret_cast<quintptr>(handle)) - 1;
}
} // namespace

double EntryColours::Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor EntryColours::ReadableHighlight(const QColor& highlight, const QList<QColor>& texts)
{
    const auto readable = [&texts](const QColor& back) {
        for (const QColor& text : texts)
            if (Contrast(text, back) < MinimumContrast)
                return false;
        return true;
    };
    QColor back = highlight.toRgb();
    for (double scale = 0.95; !readable(back) && scale > 0; scale -= 0.05)
        back = QColor::fromRgbF(float(highlight.redF() * scale), float(highlight.greenF() * scale),
                                float(highlight.blueF() * scale));
    return back;
}

EntryColourDelegate::EntryColourDelegate(const bool* editorOpen, QObject* parent)
    : QStyledItemDelegate(parent), m_editorOpen(editorOpen)
{
}

void EntryColourDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    switch (index.data(EntryModel::MarkRole).toInt()) {
    case EntryModel::Modified:
        option->palette.setColor(QPalette::Text, colours.modified);
        option->palette.setColor(QPalette::HighlightedText, colours.modifiedSelected);
        break;
    case EntryModel::Imported:
        option->palette.setColor(QPalette::Text, colours.imported);
        option->palette.setColor(QPalette::HighlightedText, colours.importedSelected);
        break;
    case EntryModel::UnknownBlock:
        option->palette.setColor(QPalette::Text, EntryColours::unknownBlock());
        option->palette.setColor(QPalette::HighlightedText, EntryColours::unknownBlock());
        break;
    default:
        break;
    }
    if (*m_editorOpen) {
        // The entry under edit (the selected one) lies under its popup, which shows the name and
        // the value itself: drawn too, its label shows at the popup's edges, the first letter
        // in the 8 px left of it, the old value past a shorter popup's right edge.
        if (option->state & QStyle::State_Selected)
            option->text.clear();
        // The entry under edit takes the popup's colour, so nothing is drawn highlighted.
        option->state &= ~QStyle::State_Selected;
        option->backgroundBrush = option->palette.brush(QPalette::ToolTipBase);
    }
}

MainTree::MainTree(const bool* editorOpen, QWidget* parent)
    : QTreeView(parent), m_entries(new EntryModel(this)),
      m_colours(new EntryColourDelegate(editorOpen, this))
{
    setModel(m_entries);
    setItemDelegate(m_colours);
    setHeaderHidden(true);
    // Every entry is one line of the same font.
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIndentation(19);
    // Long labels scroll sideways instead of being cut.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QTreeView::collapsed, this, &MainTree::SelectShownSection);
    useReadableHighlight();
}

void MainTree::useReadableHighlight()
{
    const EntryColours& colours = m_colours->colours;
    QPalette readable = QApplication::palette(this);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QColor highlight =
            EntryColours::ReadableHighlight(readable.color(group, QPalette::Highlight),
                                            {colours.modifiedSelected, colours.importedSelected});
        readable.setColor(group, QPalette::Highlight, highlight);
        // A theme with dark text on a light highlight: the plain entries' text turns light too.
        if (EntryColours::Contrast(readable.color(group, QPalette::HighlightedText), highlight) <
            EntryColours::MinimumContrast)
            readable.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    setPalette(readable);
}

void MainTree::changeEvent(QEvent* event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        useReadableHighlight();
}

TBcfgRecAll* MainTree::RecordOf(const QModelIndex& entry)
{
    const auto* entries = qobject_cast<const EntryModel*>(entry.model());
    return entries ? entries->RecordOf(entry) : nullptr;
}

bool MainTree::IsUnknownBlock(const QModelIndex& entry)
{
    const auto* entries = qobject_cast<const EntryModel*>(entry.model());
    return entries && entries->IsUnknownBlock(entry);
}

void MainTree::ValuesChanged(const TBcfgRecAll* only)
{
    if (only)
        m_entries->RecordsChanged({only->Index});
    else
        m_entries->EveryRecordChanged();
}

void MainTree::RevealRecord(const TBcfgRecAll* record)
{
    if (const QModelIndex entry = EntryOf(record); entry.isValid())
        TreeOrder::Reveal(this, entry);
}

void MainTree::RememberView()
{
    m_view = {};
    const auto indexOf = [](const TBcfgRecAll* record) { return record ? record->Index : -1; };
    for (int entry = 0; entry < m_entries->Count(); ++entry)
        if (const QModelIndex index = m_entries->At(entry); isExpanded(index))
            m_view.expanded.insert(indexOf(m_entries->RecordOf(entry)));
    if (const QModelIndex current = currentIndex(); current.isValid()) {
        m_view.current = indexOf(RecordOf(current));
        m_view.currentIsUnknownBlock = IsUnknownBlock(current);
    }
    m_view.scroll = verticalScrollBar()->value();
}

void MainTree::RestoreView()
{
    QModelIndex current;
    for (int entry = 0; entry < m_entries->Count(); ++entry) {
        const QModelIndex index = m_entries->At(entry);
        const TBcfgRecAll* record = m_entries->RecordOf(entry);
        setExpanded(index, m_view.expanded.contains(record ? record->Index : -1));
        if (record ? record->Index == m_view.current : m_view.currentIsUnknownBlock)
            current = index;
    }
    if (current.isValid())
        setCurrentIndex(current);
    // The scroll range follows the expanded sections only once they are laid out.
    doItemsLayout();
    verticalScrollBar()->setValue(m_view.scroll);
    m_view = {};
}

QModelIndex MainTree::SelectedEntry() const
{
    return selectionModel()->selectedIndexes().value(0);
}

QModelIndex MainTree::ShownSelectedEntry() const
{
    const QModelIndex entry = SelectedEntry();
    return entry.isValid() && !outermostCollapsedAncestor(*this, entry).isValid() ? entry
                                                                                  : QModelIndex();
}

void MainTree::SelectShownSection()
{
    if (const QModelIndex section = outermostCollapsedAncestor(*this, SelectedEntry());
        section.isValid())
        setCurrentIndex(section);
}

QRect MainTree::SelectedLabelScreenRect() const
{
    const QModelIndex entry = ShownSelectedEntry();
    const QRect label = entry.isValid() ? LabelRect(entry) : QRect();
    return label.isEmpty() ? QRect() : label.translated(viewport()->mapToGlobal(QPoint(0, 0)));
}

bool MainTree::CursorOnSelectedEntry(const QPoint& globalPos) const
{
    const QRect label = SelectedLabelScreenRect();
    return !label.isEmpty() && label.contains(globalPos);
}

void MainTree::CopySelectedLabel() const
{
    if (const QModelIndex entry = SelectedEntry(); entry.isValid())
        QGuiApplication::clipboard()->setText(Label(entry));
}

bool MainTree::SelectNextChanged(bool forward)
{
    const EntryModel& entries = *m_entries;
    const QModelIndex hit =
        TreeOrder::Next(entries, SelectedEntry(), forward, false, [&entries](int entry) {
            const TBcfgRecAll* record = entries.RecordOf(entry);
            return record && !record->IsLevel() && (record->Modified || record->Imported);
        });
    if (hit.isValid())
        TreeOrder::Reveal(this, hit);
    return hit.isValid();
}

QRect MainTree::LabelRect(const QModelIndex& entry) const
{
    const QRect cell = visualRect(entry);
    if (!entry.isValid() || cell.isEmpty())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = cell;
    m_colours->initStyleOption(&option, entry);
    const QRect textRect = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // The style draws the text this far inside its rectangle; the label keeps the padding
    // on both sides.
    const int padding = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this) + 1;
    const int width = option.fontMetrics.horizontalAdvance(option.text) + 2 * padding;
    return QRect(textRect.left(), cell.top(), qMin(width, textRect.width()), cell.height());
}

TreeSink::Entry MainTree::append(Entry parent, const QByteArray& label, TBcfgRecAll* record)
{
    return handleOf(m_entries->Append(entryOf(parent), label, record));
}

TreeSink::Entry MainTree::parentOf(Entry entry)
{
    return entry ? handleOf(m_entries->ParentOf(entryOf(entry))) : nullptr;
}

void MainTree::expandAll(Entry entry)
{
    if (entry)
        expandRecursively(m_entries->At(entryOf(entry)));
}

void MainTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClickedAt(event->globalPosition().toPoint());
}

void MainTree::keyPressEvent(QKeyEvent* event)
{
    // F2 edits as Enter does; Space toggles a check box, which is its edit.
    const TBcfgRecAll* record = RecordOf(currentIndex());
    const bool toggles = event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
                         record && record->EditToggles();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) || toggles) {
        event->accept();
        emit enterPressed();
        return;
    }
    QTreeView::keyPressEvent(event);
}

bool MainTree::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ContextMenu: {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        if (const QModelIndex entry = indexAt(menu->pos()); entry.isValid()) {
            setCurrentIndex(entry);
            emit entryMenuRequested(entry, menu->globalPos());
            return true;
        }
        break;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        // Only the vertical wheel edits; a sideways roll scrolls as usual.
        if (wheel->angleDelta().y() != 0 && m_wheel &&
            m_wheel(wheel->angleDelta().y(), wheel->globalPosition().toPoint())) {
            wheel->accept();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit leftReleased();
        break;
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex entry = indexAt(help->pos());
        const QString text = entry.isValid() && m_details ? m_details(entry) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport(), visualRect(entry));
        }
        return true;
    }
    default:
        break;
    }
    return QTreeView::viewportEvent(event);
}

void MainTree::ReserveBottom(int height)
{
    m_reservedBottom = height;
    updateGeometries();
    // The entries' area shrank under the selected entry: it stays in view.
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void MainTree::ReserveTop(int height)
{
    m_reservedTop = height;
    updateGeometries();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void MainTree::updateGeometries()
{
    // The tree view sets its margins for the header each time; the strip goes back under them.
    QTreeView::updateGeometries();
    QMargins margins = viewportMargins();
    if (margins.bottom() != m_reservedBottom || margins.top() != m_reservedTop) {
        margins.setBottom(m_reservedBottom);
        margins.setTop(m_reservedTop);
        setViewportMargins(margins);
    }
}
