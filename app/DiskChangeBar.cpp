#include "DiskChangeBar.h"

#include "CompareWindow.h"
#include "DiskWatch.h"
#include "DocumentSession.h"
#include "FindBar.h"
#include "MainTree.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

DiskChangeBar::DiskChangeBar(DocumentSession& session, MainTree* tree)
    : QFrame(tree), m_session(session), m_tree(tree), m_watch(new DiskWatch(session, this)),
      m_text(new QLabel(this)), m_reload(new QPushButton(tr("Reload"), this)),
      m_compare(new QPushButton(tr("Compare"), this)), m_ignore(new QPushButton(tr("Ignore"), this))
{
    setObjectName(QStringLiteral("DiskChangeBar"));
    FindBar::UsePopupColours(*this);

    m_text->setObjectName(QStringLiteral("DiskChangeText"));
    m_reload->setObjectName(QStringLiteral("DiskReload"));
    m_compare->setObjectName(QStringLiteral("DiskCompare"));
    m_ignore->setObjectName(QStringLiteral("DiskIgnore"));
    m_reload->setToolTip(tr("Read the file again as it is on disk"));
    m_compare->setToolTip(tr("Show how the values here differ from the file on disk"));
    m_ignore->setToolTip(tr("Hide this until the file changes again"));
    // A long message wraps rather than pushing the buttons out; the tip tells it whole too.
    m_text->setMinimumWidth(1);
    m_text->setWordWrap(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(4);
    layout->addWidget(m_text, 1);
    for (QPushButton* button : {m_reload, m_compare, m_ignore}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        // As narrow as their words, so that the message keeps the room (a push button is
        // otherwise at least 80 pixels wide).
        const QFontMetrics metrics = button->fontMetrics();
        button->setMaximumWidth(metrics.horizontalAdvance(button->text()) +
                                2 * metrics.averageCharWidth() + 8);
        layout->addWidget(button);
    }

    connect(m_reload, &QPushButton::clicked, this, &DiskChangeBar::Reload);
    connect(m_compare, &QPushButton::clicked, this, &DiskChangeBar::Compare);
    connect(m_ignore, &QPushButton::clicked, this, &DiskChangeBar::Ignore);
    connect(m_watch, &DiskWatch::changed, this, &DiskChangeBar::announce);
    connect(m_watch, &DiskWatch::settled, this, &DiskChangeBar::dismiss);
    tree->viewport()->installEventFilter(this);
    hide();
}

void DiskChangeBar::announce(bool missing)
{
    const QString name = QFileInfo(m_session.FileName()).fileName();
    m_text->setText(missing ? tr("%1 was deleted or moved by another program.").arg(name)
                            : tr("%1 was changed by another program.").arg(name));
    // Nothing on disk to read or compare with; Save writes it again.
    m_text->setToolTip(m_text->text());
    m_reload->setEnabled(!missing);
    m_compare->setEnabled(!missing);
    if (!isHidden())
        return;
    ++m_timesShown;
    show();
    raise();
    place();
}

void DiskChangeBar::dismiss()
{
    if (isHidden())
        return;
    hide();
    m_tree->ReserveTop(0);
}

void DiskChangeBar::Reload()
{
    // Settled once the file is read: the watch hides the strip.
    if (m_session.Reload())
        dismiss();
}

void DiskChangeBar::Compare()
{
    OtherFile disk;
    if (!m_session.DifferencesWith(m_session.FileName(), m_session.FileName(), disk))
        return;
    CompareWindow window(disk.fileName, std::move(disk.rows), m_tree->window());
    window.setWindowTitle(tr("Compare with %1 on disk").arg(QFileInfo(disk.fileName).fileName()));
    connect(&window, &CompareWindow::recordActivated, m_tree, &MainTree::RevealRecord);
    window.exec();
}

void DiskChangeBar::Ignore()
{
    // The watch remembers this version: only a further change shows the strip again.
    dismiss();
    m_tree->setFocus();
}

void DiskChangeBar::place()
{
    // A message longer than the tree is wide takes a second line.
    const int width = m_tree->viewport()->width();
    const int wanted = hasHeightForWidth() ? heightForWidth(width) : sizeHint().height();
    const int height = qMax(wanted, m_reload->sizeHint().height() + 4);
    m_tree->ReserveTop(height);
    const QRect entries = m_tree->viewport()->geometry();
    setGeometry(entries.left(), entries.top() - height, entries.width(), height);
}

bool DiskChangeBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_tree->viewport() && !isHidden())
        place();
    return QFrame::eventFilter(watched, event);
}
