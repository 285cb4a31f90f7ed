#pragma once

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

// Widgets placed at their design rectangles in a window of a design client size, each
// following the edges it is anchored to when the window is resized: anchored to both opposite
// edges it stretches, to the far edge alone it moves, otherwise it stays. Sizes never go below
// zero.
class AnchorLayout
{
public:
    enum Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    explicit AnchorLayout(const QSize& designClient) : m_design(designClient) {}

    // Sets the widget to its design rectangle and keeps it for Apply.
    void Place(QWidget* widget, const QRect& design, int anchors);
    // Lays every placed widget out for the client size.
    void Apply(const QSize& client) const;

private:
    struct Placement {
        QWidget* widget;
        QRect design;
        int anchors;
    };
    QSize m_design;
    QList<Placement> m_placements;
};
