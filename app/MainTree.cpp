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
#include <QTreeWidgetItemIterator>
#include <QWheelEvent>
#include <cmath>

namespace {
constexpr int RecordRole = Qt::UserRole;
constexpr int UnknownBlockRole = Qt::UserRole + 1;

QTreeWidgetItem* outermostCollapsedAncestor(QTreeWidgetItem* item)
{
    QTreeWidgetItem* found = nullptr;
    for (QTreeWidgetItem* parent = item ? item->parent() : nullptr; parent;
         parent = parent->parent())
        if (!parent->isExpanded())
            found = parent;
    return found;
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
    const auto* record =
        reinterpret_cast<const TBcfgRecAll*>(index.data(RecordRole).value<quintptr>());
    if (record) {
        if (record->Modified) {
            option->palette.setColor(QPalette::Text, colours.modified);
            option->palette.setColor(QPalette::HighlightedText, colours.modifiedSelected);
        } else if (record->Imported) {
            option->palette.setColor(QPalette::Text, colours.imported);
            option->palette.setColor(QPalette::HighlightedText, colours.importedSelected);
        }
    } else if (index.data(UnknownBlockRole).toBool()) {
        option->palette.setColor(QPalette::Text, EntryColours::unknownBlock());
        option->palette.setColor(QPalette::HighlightedText, EntryColours::unknownBlock());
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
    : QTreeWidget(parent), m_colours(new EntryColourDelegate(editorOpen, this))
{
    setItemDelegate(m_colours);
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIndentation(19);
    // Long labels scroll sideways instead of being cut.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QTreeWidget::itemCollapsed, this, &MainTree::SelectShownSection);
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
    QTreeWidget::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        useReadableHighlight();
}

TBcfgRecAll* MainTree::RecordOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<TBcfgRecAll*>(item->data(0, RecordRole).value<quintptr>())
                : nullptr;
}

bool MainTree::IsUnknownBlock(const QTreeWidgetItem* item)
{
    return item && item->data(0, UnknownBlockRole).toBool();
}

void MainTree::Relabel(QTreeWidgetItem* item)
{
    if (const TBcfgRecAll* record = RecordOf(item))
        item->setText(0, CodePage::ToUnicode(record->DisplayText()));
}

void MainTree::RelabelAll()
{
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        Relabel(*it);
}

void MainTree::RelabelChanged(const TBcfgRecAll* only)
{
    QTreeWidgetItem* item = SelectedEntry();
    if (only && RecordOf(item) == only)
        Relabel(item);
    else
        RelabelAll();
    viewport()->update();
}

void MainTree::RevealRecord(const TBcfgRecAll* record)
{
    if (QTreeWidgetItem* item = EntryOf(record))
        TreeOrder::Reveal(this, item);
}

QTreeWidgetItem* MainTree::EntryOf(const TBcfgRecAll* record) const
{
    for (QTreeWidgetItemIterator it(const_cast<MainTree*>(this)); *it; ++it)
        if (RecordOf(*it) == record)
            return *it;
    return nullptr;
}

void MainTree::RememberView()
{
    m_view = {};
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        if ((*it)->isExpanded())
            m_view.expanded.insert(RecordOf(*it));
    if (QTreeWidgetItem* current = currentItem()) {
        m_view.current = RecordOf(current);
        m_view.currentIsUnknownBlock = IsUnknownBlock(current);
    }
    m_view.scroll = verticalScrollBar()->value();
}

void MainTree::RestoreView()
{
    QTreeWidgetItem* current = nullptr;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const TBcfgRecAll* record = RecordOf(*it);
        (*it)->setExpanded(m_view.expanded.contains(record));
        if (record ? record == m_view.current : m_view.currentIsUnknownBlock)
            current = *it;
    }
    if (current)
        setCurrentItem(current);
    // The scroll range follows the expanded sections only once they are laid out.
    doItemsLayout();
    verticalScrollBar()->setValue(m_view.scroll);
    m_view = {};
}

QTreeWidgetItem* MainTree::SelectedEntry() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QTreeWidgetItem* MainTree::ShownSelectedEntry() const
{
    QTreeWidgetItem* item = SelectedEntry();
    return item && !outermostCollapsedAncestor(item) ? item : nullptr;
}

void MainTree::SelectShownSection()
{
    if (QTreeWidgetItem* section = outermostCollapsedAncestor(SelectedEntry()))
        setCurrentItem(section);
}

QRect MainTree::SelectedLabelScreenRect() const
{
    QTreeWidgetItem* item = ShownSelectedEntry();
    const QRect label = item ? LabelRect(item) : QRect();
    return label.isEmpty() ? QRect() : label.translated(viewport()->mapToGlobal(QPoint(0, 0)));
}

bool MainTree::CursorOnSelectedEntry(const QPoint& globalPos) const
{
    const QRect label = SelectedLabelScreenRect();
    return !label.isEmpty() && label.contains(globalPos);
}

void MainTree::CopySelectedLabel() const
{
    if (const QTreeWidgetItem* item = SelectedEntry())
        QGuiApplication::clipboard()->setText(item->text(0));
}

bool MainTree::SelectNextChanged(bool forward)
{
    QTreeWidgetItem* hit =
        TreeOrder::Next(this, SelectedEntry(), forward, false, [](const QTreeWidgetItem* item) {
            const TBcfgRecAll* record = RecordOf(item);
            return record && !record->IsLevel() && (record->Modified || record->Imported);
        });
    if (hit)
        TreeOrder::Reveal(this, hit);
    return hit != nullptr;
}

QRect MainTree::LabelRect(QTreeWidgetItem* item) const
{
    const QRect cell = visualItemRect(item);
    if (!item || cell.isEmpty())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = cell;
    m_colours->initStyleOption(&option, indexFromItem(item));
    const QRect textRect = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // The style draws the text this far inside its rectangle; the label keeps the padding
    // on both sides.
    const int padding = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this) + 1;
    const int width = option.fontMetrics.horizontalAdvance(option.text) + 2 * padding;
    return QRect(textRect.left(), cell.top(), qMin(width, textRect.width()), cell.height());
}

TreeSink::Entry MainTree::append(Entry parent, const QByteArray& label, TBcfgRecAll* record)
{
    auto* parentItem = parent ? static_cast<QTreeWidgetItem*>(parent) : invisibleRootItem();
    auto* item = new QTreeWidgetItem(parentItem, QStringList(CodePage::ToUnicode(label)));
    item->setData(0, RecordRole, QVariant::fromValue(quintptr(record)));
    item->setData(0, UnknownBlockRole, record == nullptr);
    return item;
}

TreeSink::Entry MainTree::parentOf(Entry entry)
{
    return entry ? static_cast<QTreeWidgetItem*>(entry)->parent() : nullptr;
}

void MainTree::expandAll(Entry entry)
{
    if (entry)
        expandRecursively(indexFromItem(static_cast<QTreeWidgetItem*>(entry)));
}

void MainTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClickedAt(event->globalPosition().toPoint());
}

void MainTree::keyPressEvent(QKeyEvent* event)
{
    // F2 edits as Enter does; Space toggles a check box, which is its edit.
    const TBcfgRecAll* record = RecordOf(currentItem());
    const bool toggles = event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
                         record && record->EditToggles();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) || toggles) {
        event->accept();
        emit enterPressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool MainTree::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ContextMenu: {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        if (QTreeWidgetItem* item = itemAt(menu->pos())) {
            setCurrentItem(item);
            emit entryMenuRequested(item, menu->globalPos());
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
        QTreeWidgetItem* item = itemAt(help->pos());
        const QString text = item && m_details ? m_details(item) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport(), visualItemRect(item));
        }
        return true;
    }
    default:
        break;
    }
    return QTreeWidget::viewportEvent(event);
}

void MainTree::ReserveBottom(int height)
{
    m_reservedBottom = height;
    updateGeometries();
    // The entries' area shrank under the selected entry: it stays in view.
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void MainTree::updateGeometries()
{
    // The tree view sets its margins for the header each time; the strip goes back under them.
    QTreeWidget::updateGeometries();
    QMargins margins = viewportMargins();
    if (margins.bottom() != m_reservedBottom) {
        margins.setBottom(m_reservedBottom);
        setViewportMargins(margins);
    }
}
