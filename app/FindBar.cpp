#include "FindBar.h"

#include "LabelSearch.h"
#include "MainTree.h"
#include "PopupDialog.h"
#include "TreeOrder.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int BarHeight = 24; // the popups' field height
}

FindBar::FindBar(MainTree* tree)
    : QFrame(tree), m_tree(tree), m_field(new QLineEdit(this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("FindBar"));
    setFrameShape(QFrame::NoFrame);
    // The popups' background and text colours; the field keeps its own, as theirs do.
    QPalette colours = palette();
    const QPalette system = QApplication::palette();
    colours.setColor(QPalette::Window, system.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, system.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);

    auto* label = new QLabel(tr("Find:"), this);
    m_field->setObjectName(QStringLiteral("FindField"));
    m_status->setObjectName(QStringLiteral("FindStatus"));
    // Room for the longest status, so the field keeps its width while the status changes.
    m_status->setMinimumWidth(
        qMax(m_status->fontMetrics().horizontalAdvance(tr("%1 of %2").arg(2049).arg(2049)),
             m_status->fontMetrics().horizontalAdvance(tr("not found"))));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(8);
    layout->addWidget(label);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_status);

    m_field->installEventFilter(this);
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this); // its size changes with the tree's and the strip's
    connect(m_field, &QLineEdit::textEdited, this, &FindBar::findTyped);
    m_fieldColours = m_field->palette();
    // Wherever the user moves the selection, the next search starts there.
    connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!m_selecting) {
            m_start =
                QPersistentModelIndex(current ? m_tree->indexFromItem(current) : QModelIndex());
            keepOpened();
        }
    });
    hide();
}

void FindBar::select(QTreeWidgetItem* item, bool reveal)
{
    m_selecting = true;
    closeOpened(item);
    if (reveal) {
        QList<QPersistentModelIndex> opening;
        for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
            if (!parent->isExpanded())
                opening.prepend(QPersistentModelIndex(m_tree->indexFromItem(parent)));
        m_opened += opening;
        TreeOrder::Reveal(m_tree, item);
    } else {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
    }
    m_selecting = false;
}

void FindBar::closeOpened(QTreeWidgetItem* keep)
{
    const auto holds = [](const QTreeWidgetItem* section, const QTreeWidgetItem* item) {
        for (; item; item = item->parent())
            if (item->parent() == section)
                return true;
        return false;
    };
    // Innermost first, so that each closes while it is still shown.
    for (qsizetype i = m_opened.size() - 1; i >= 0; --i) {
        QTreeWidgetItem* section = m_tree->itemFromIndex(m_opened[i]);
        if (section && keep && holds(section, keep))
            continue;
        if (section)
            section->setExpanded(false);
        m_opened.removeAt(i);
    }
}

QTreeWidgetItem* FindBar::start() const
{
    QTreeWidgetItem* item = m_start.isValid() ? m_tree->itemFromIndex(m_start) : nullptr;
    return item ? item : m_tree->SelectedEntry();
}

void FindBar::Open()
{
    if (QTreeWidgetItem* selected = m_tree->SelectedEntry())
        m_start = m_tree->indexFromItem(selected);
    if (!isVisible()) {
        m_tree->ReserveBottom(BarHeight);
        place();
        show();
        raise();
        // The kept text tells where the selection stands among its hits.
        const TreeOrder::Count count =
            TreeOrder::CountHits(m_tree, m_tree->SelectedEntry(), [this](auto* item) {
                return LabelSearch::Matches(item->text(0), m_field->text());
            });
        updateStatus(count.position > 0);
    }
    m_field->setFocus();
    m_field->selectAll();
}

void FindBar::Close()
{
    // The hit shown is kept; without one the sections the search opened are closed already.
    keepOpened();
    hide();
    m_tree->ReserveBottom(0);
    m_tree->setFocus();
}

QString FindBar::Status() const
{
    return m_status->text();
}

bool FindBar::FindNext(bool forward)
{
    const QString text = m_field->text();
    if (text.isEmpty())
        return false;
    QTreeWidgetItem* hit =
        TreeOrder::Next(m_tree, m_tree->SelectedEntry(), forward, false,
                        [&text](auto* item) { return LabelSearch::Matches(item->text(0), text); });
    showHit(hit);
    if (hit) {
        m_start = m_tree->indexFromItem(hit); // the user moved here
        keepOpened();
    }
    return hit != nullptr;
}

void FindBar::findTyped()
{
    const QString text = m_field->text();
    QTreeWidgetItem* hit = TreeOrder::Next(m_tree, start(), true, true, [&text](auto* item) {
        return LabelSearch::Matches(item->text(0), text);
    });
    showHit(hit);
}

void FindBar::showHit(QTreeWidgetItem* hit)
{
    // Without a hit the selection goes back to where the search started: Enter or Esc must
    // not act on an entry that matched only part of the text.
    // Back at the start, the sections opened on the way close again.
    if (QTreeWidgetItem* shown = hit ? hit : start(); shown && shown != m_tree->SelectedEntry())
        select(shown, hit != nullptr);
    else if (!hit)
        closeOpened(nullptr);
    updateStatus(hit != nullptr);
}

void FindBar::updateStatus(bool found)
{
    const QString text = m_field->text();
    QPalette colours = m_fieldColours;
    if (!text.isEmpty() && !found)
        colours.setColor(QPalette::Base, NotFoundColour());
    m_field->setPalette(colours);
    if (text.isEmpty()) {
        m_status->clear();
        return;
    }
    if (!found) {
        m_status->setText(tr("not found"));
        return;
    }
    const TreeOrder::Count count =
        TreeOrder::CountHits(m_tree, m_tree->SelectedEntry(), [&text](auto* item) {
            return LabelSearch::Matches(item->text(0), text);
        });
    m_status->setText(tr("%1 of %2").arg(count.position).arg(count.total));
}

void FindBar::place()
{
    // Under the entries, in the strip the tree keeps free, as wide as the entries.
    const QRect entries = m_tree->viewport()->geometry();
    setGeometry(entries.left(), entries.bottom() + 1, entries.width(), BarHeight);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_tree->viewport() && isVisible()) {
        place();
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        if (watched == m_field) {
            switch (key->key()) {
            case Qt::Key_Escape:
                Close();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F3:
                FindNext(!shift);
                return true;
            default:
                break;
            }
        } else if (watched == m_tree) {
            if (key->text() == QLatin1String("/")) {
                Open();
                return true;
            }
            if (isVisible() && key->key() == Qt::Key_F3) {
                FindNext(!shift);
                return true;
            }
            if (isVisible() && key->key() == Qt::Key_Escape) {
                Close();
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    // Keys the field leaves alone stop here: arrows must not move the tree's selection
    // behind the user's back.
    event->accept();
}
