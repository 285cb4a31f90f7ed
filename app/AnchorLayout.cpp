#include "AnchorLayout.h"

#include <QWidget>

void AnchorLayout::Place(QWidget* widget, const QRect& design, int anchors)
{
    widget->setGeometry(design);
    m_placements.append({widget, design, anchors});
}

void AnchorLayout::Apply(const QSize& client) const
{
    const int dx = client.width() - m_design.width();
    const int dy = client.height() - m_design.height();
    for (const Placement& p : m_placements) {
        QRect r = p.design;
        if (p.anchors & Right) {
            if (p.anchors & Left)
                r.setWidth(qMax(0, r.width() + dx));
            else
                r.moveLeft(r.left() + dx);
        }
        if (p.anchors & Bottom) {
            if (p.anchors & Top)
                r.setHeight(qMax(0, r.height() + dy));
            else
                r.moveTop(r.top() + dy);
        }
        p.widget->setGeometry(r);
    }
}
