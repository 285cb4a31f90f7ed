#pragma once

#include "PopupEditorHost.h"
#include "TForm0103.h"
#include "TForm0204.h"
#include "TForm05.h"
#include "TForm07.h"
#include "TForm080E.h"
#include "TForm0C.h"
#include "TForm0D.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <initializer_list>
#include <vector>

// The seven popups as the program creates them, and the host that shows them.
struct Popups {
    TForm0103 form0103;
    TForm05 form05;
    TForm0204 form0204;
    TForm07 form07;
    TForm080E form080E;
    TForm0D form0D;
    TForm0C form0C;
    PopupEditorHost host{&form0103, &form05, &form0204, &form07, &form080E, &form0D, &form0C};

    QDialog* byClass(const QString& name)
    {
        for (QDialog* popup : std::initializer_list<QDialog*>{&form0103, &form05, &form0204,
                                                              &form07, &form080E, &form0D, &form0C})
            if (name == QLatin1String(popup->metaObject()->className()))
                return popup;
        return nullptr;
    }
};

// Plays the user at a modal popup: each time the popup is shown, the next step runs from a
// timer inside its modal loop. A popup still open after a step, or shown more often than there
// are steps, is cancelled so that a failing test cannot hang; the test reads what happened.
class PopupUser : public QObject
{
public:
    using Step = std::function<void()>;

    PopupUser(QDialog* popup, std::vector<Step> steps) : m_popup(popup), m_steps(std::move(steps))
    {
        popup->installEventFilter(this);
    }
    ~PopupUser() override { m_popup->removeEventFilter(this); }

    int stepsRun() const { return m_stepsRun; }
    bool leftOpen() const { return m_leftOpen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_popup && event->type() == QEvent::Show)
            QTimer::singleShot(0, this, [this] { runStep(m_showings++); });
        return false;
    }

private:
    void runStep(size_t showing)
    {
        // Also runs when a failed check returns from the step early.
        struct Closer {
            PopupUser* user;
            ~Closer()
            {
                if (user->m_popup->isVisible()) {
                    user->m_leftOpen = true;
                    user->m_popup->reject();
                }
            }
        } closer{this};
        if (showing >= m_steps.size())
            return;
        m_steps[showing]();
        ++m_stepsRun;
    }

    QDialog* m_popup;
    std::vector<Step> m_steps;
    size_t m_showings = 0;
    int m_stepsRun = 0;
    bool m_leftOpen = false;
};

// A wheel turn over target as the window system delivers it: positive deltas roll away from
// the user, 120 per notch.
inline void rollWheel(QWidget* target, int delta)
{
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// A point of the window that no control covers, or (-1, -1).
inline QPoint bareSpot(QWidget* window)
{
    for (int y = 0; y < window->height(); ++y)
        for (int x = 0; x < window->width(); ++x)
            if (!window->childAt(x, y))
                return {x, y};
    return {-1, -1};
}

// A double-click where the user would aim: the control under the centre of widget (a list's
// viewport, a calendar's day grid), or a bare spot when widget is the window itself.
inline void doubleClick(QWidget* widget)
{
    if (widget->isWindow()) {
        QTest::mouseDClick(widget, Qt::LeftButton, {}, bareSpot(widget));
        return;
    }
    const QPoint centre = widget->rect().center();
    QWidget* const under = widget->childAt(centre);
    QWidget* const target = under ? under : widget;
    QTest::mouseDClick(target, Qt::LeftButton, {}, target->mapFrom(widget, centre));
}
