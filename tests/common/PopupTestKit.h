#pragma once

#include "ModalAnswers.h"
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
