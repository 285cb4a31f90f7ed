#include "FileOpenEdit.h"

#include "Dialogs.h"

#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

FileOpenEdit::FileOpenEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_browse(new QToolButton(m_edit))
{
    m_edit->setObjectName(QStringLiteral("Edit"));
    m_browse->setObjectName(QStringLiteral("BrowseButton"));
    m_browse->setText(QStringLiteral("..."));
    m_browse->setCursor(Qt::ArrowCursor);
    // The button sits inside the field and is not a tab stop of its own.
    m_browse->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_edit);
    setCursor(Qt::IBeamCursor);
    connect(m_edit, &QLineEdit::textChanged, this, &FileOpenEdit::textChanged);
    connect(m_browse, &QToolButton::clicked, this, &FileOpenEdit::browse);
    m_edit->installEventFilter(this);
}

void FileOpenEdit::Settle()
{
    if (m_settled.isEmpty() || m_edit->text() == m_settled)
        return;
    const QSignalBlocker quiet(m_edit);
    m_edit->setText(m_settled);
}

bool FileOpenEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !m_settled.isEmpty() &&
        m_edit->text() != m_settled) {
        Settle();
        return true;
    }
    // Not when a box or another window takes the focus: the user is still typing the name.
    if (watched == m_edit && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Settle();
    }
    return QWidget::eventFilter(watched, event);
}

QString FileOpenEdit::text() const
{
    return m_edit->text();
}

void FileOpenEdit::setText(const QString& text)
{
    m_edit->setText(text);
}

void FileOpenEdit::browse()
{
    // At the file the field names; while a half-typed name names none, at the open file.
    const QString start = m_settled.isEmpty() || QFileInfo(text()).isFile() ? text() : m_settled;
    const QString chosen = Dialogs::OpenFileName(window(), start, tr("Open file"));
    if (!chosen.isEmpty())
        setText(chosen); // the same path changes nothing and reopens nothing
}

void FileOpenEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_edit->setGeometry(rect());
    const int side = height() - 4;
    m_browse->setGeometry(width() - side - 2, 2, side, side);
    m_edit->setTextMargins(0, 0, side + 2, 0);
}
