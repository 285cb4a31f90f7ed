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

void FindBar::UsePopupColours(QFrame& bar)
{
    bar.setFrameShape(QFrame::NoFrame);
    // The popups' background and text colours; fields keep their own, as theirs do.
    QPalette colours = bar.palette();
    const QPalette system = QApplication::palette();
    colours.setColor(QPalette::Window, system.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, system.color(QPalette::ToolTipText));
    bar.setPalette(colours);
    bar.setAutoFillBackground(true);
}

FindBar::FindBar(MainTree* tree)
    : QFrame(tree), m_tree(tree), m_field(new QLineEdit(this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("FindBar"));
    UsePopupColours(*this);

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
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_selecting) {
                    m_start = QPersistentModelIndex(current);
                    keepOpened();
                }
            });
    hide();
}

void FindBar::select(const QModelIndex& entry, bool reveal)
{
    m_selecting = true;
    closeOpened(entry);
    if (reveal) {
        QList<QPersistentModelIndex> opening;
        for (QModelIndex parent = entry.parent(); parent.isValid(); parent = parent.parent())
            if (!m_tree->isExpanded(parent))
                opening.prepend(QPersistentModelIndex(parent));
        m_opened += opening;
        TreeOrder::Reveal(m_tree, entry);
    } else {
        m_tree->setCurrentIndex(entry);
        m_tree->scrollTo(entry);
    }
    m_selecting = false;
}

void FindBar::closeOpened(const QModelIndex& keep)
{
    const auto holds = [](const QModelIndex& section, QModelIndex entry) {
        for (; entry.isValid(); entry = entry.parent())
            if (entry.parent() == section)
                return true;
        return false;
    };
    // Innermost first, so that each closes while it is still shown.
    for (qsizetype i = m_opened.size() - 1; i >= 0; --i) {
        const QModelIndex section(m_opened[i]);
        if (section.isValid() && keep.isValid() && holds(section, keep))
            continue;
        if (section.isValid())
            m_tree->setExpanded(section, false);
        m_opened.removeAt(i);
    }
}

QModelIndex FindBar::start() const
{
    return m_start.isValid() ? QModelIndex(m_start) : m_tree->SelectedEntry();
}

TreeOrder::Hit FindBar::matching(const QString& text) const
{
    const EntryModel* entries = m_tree->Entries();
    return [entries, text](int entry) { return LabelSearch::Matches(entries->Label(entry), text); };
}

void FindBar::Open()
{
    if (const QModelIndex selected = m_tree->SelectedEntry(); selected.isValid())
        m_start = selected;
    if (!isVisible()) {
        m_tree->ReserveBottom(BarHeight);
        place();
        show();
        raise();
        // The kept text tells where the selection stands among its hits.
        const TreeOrder::Count count = TreeOrder::CountHits(
            *m_tree->Entries(), m_tree->SelectedEntry(), matching(m_field->text()));
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
    const QModelIndex hit = TreeOrder::Next(*m_tree->Entries(), m_tree->SelectedEntry(), forward,
                                            false, matching(text));
    showHit(hit);
    if (hit.isValid()) {
        m_start = hit; // the user moved here
        keepOpened();
    }
    return hit.isValid();
}

void FindBar::findTyped()
{
    showHit(TreeOrder::Next(*m_tree->Entries(), start(), true, true, matching(m_field->text())));
}

void FindBar::showHit(const QModelIndex& hit)
{
    // Without a hit the selection goes back to where the search started: Enter or Esc must
    // not act on an entry that matched only part of the text.
    // Back at the start, the sections opened on the way close again.
    if (const QModelIndex shown = hit.isValid() ? hit : start();
        shown.isValid() && shown != m_tree->SelectedEntry())
        select(shown, hit.isValid());
    else if (!hit.isValid())
        closeOpened(QModelIndex());
    updateStatus(hit.isValid());
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
        TreeOrder::CountHits(*m_tree->Entries(), m_tree->SelectedEntry(), matching(text));
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
