#include "WindowPositionKeeper.h"

#include "BcfgError.h"
#include "Dialogs.h"
#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {
const QString Section = QStringLiteral("Position");
}

WindowPositionKeeper::WindowPositionKeeper(QWidget* window, const QSize& minimumOuter,
                                           const QSize& designOuter)
    : QObject(window), m_window(window), m_minimumOuter(minimumOuter), m_designOuter(designOuter)
{
    // The window's handle exists from its first show on; its exposure is watched there.
    m_window->installEventFilter(this);
}

void WindowPositionKeeper::Restore()
{
    if (!m_settings.readInteger)
        return;
    // Until the window is on screen the window manager has not framed it (a box shown during
    // start-up asks for the restore even before the window is shown), and the saved outer frame
    // would be taken for the client area.
    QWindow* handle = m_window->windowHandle();
    if (!m_window->isVisible() || !handle || !handle->isExposed()) {
        m_pending = true;
        if (handle)
            handle->installEventFilter(this);
        return;
    }
    restoreNow();
}

bool WindowPositionKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Show && m_window->windowHandle())
        m_window->windowHandle()->installEventFilter(this);
    else if (watched != m_window && event->type() == QEvent::Expose && m_pending && !m_scheduled) {
        m_scheduled = true;
        QTimer::singleShot(0, this, &WindowPositionKeeper::restoreNow);
    }
    return false;
}

void WindowPositionKeeper::restoreNow()
{
    m_scheduled = false;
    // The window manager may take the window off screen again while it frames it.
    if (!m_window->windowHandle() || !m_window->windowHandle()->isExposed())
        return;
    m_pending = false;
    const QRect outer = m_window->frameGeometry();
    const QSize frame = outer.size() - m_window->size();
    WindowPlacement::Saved saved;
    saved.top = m_settings.readInteger(Section, QStringLiteral("Top"), outer.top());
    saved.left = m_settings.readInteger(Section, QStringLiteral("Left"), outer.left());
    saved.height = m_settings.readInteger(Section, QStringLiteral("Height"), outer.height());
    saved.width = m_settings.readInteger(Section, QStringLiteral("Width"), outer.width());

    QList<QRect> screens;
    for (const QScreen* each : QGuiApplication::screens())
        screens.append(each->availableGeometry());
    const QSize minimum = m_minimumOuter.expandedTo(m_window->minimumSize() + frame);
    // Off every screen: the design size, centred, as without a settings file.
    const QRect target = WindowPlacement::Restored(saved, minimum, screens)
                             .value_or(WindowPlacement::Centred(
                                 m_designOuter, m_window->screen()->availableGeometry()));
    // move() places the outer frame; resize() sizes the client area inside it.
    m_window->move(target.topLeft());
    m_window->resize(target.size() - frame);
}

void WindowPositionKeeper::Save()
{
    if (!m_settings.writeInteger)
        return;
    const QRect outer = m_window->frameGeometry();
    try {
        m_settings.writeInteger(Section, QStringLiteral("Top"), outer.top());
        m_settings.writeInteger(Section, QStringLiteral("Left"), outer.left());
        m_settings.writeInteger(Section, QStringLiteral("Height"), outer.height());
        m_settings.writeInteger(Section, QStringLiteral("Width"), outer.width());
    } catch (const BcfgError& error) {
        Dialogs::Error(m_window, error.text());
    }
}
