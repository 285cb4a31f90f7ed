#include "BusyInputFilter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

bool isUserInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

BusyInputFilter::BusyInputFilter(QWidget* window) : QObject(window), m_window(window) {}

void BusyInputFilter::SetBusy(bool busy)
{
    if (busy)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool BusyInputFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (isUserInput(event)) {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget && widget->window() == m_window)
            return true;
    }
    return false;
}
