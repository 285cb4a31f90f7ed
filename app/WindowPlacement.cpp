#include "WindowPlacement.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace WindowPlacement {

std::optional<QRect> Restored(const Saved& saved, const QSize& minimum,
                              const QList<QRect>& availableScreens)
{
    if (availableScreens.isEmpty())
        return std::nullopt;
    QRect desktop;
    for (const QRect& screen : availableScreens)
        desktop |= screen;
    // The minimum wins over a desktop smaller than it.
    const auto bounded = [](qint64 value, qint64 lowest, qint64 highest) {
        return std::max(lowest, std::min(value, highest));
    };
    const qint64 width = bounded(saved.width, minimum.width(), desktop.width());
    const qint64 height = bounded(saved.height, minimum.height(), desktop.height());
    for (const QRect& screen : availableScreens) {
        const bool overlaps = saved.left < qint64(screen.left()) + screen.width() &&
                              saved.left + width > screen.left() &&
                              saved.top < qint64(screen.top()) + screen.height() &&
                              saved.top + height > screen.top();
        // Overlapping a screen puts the corner within one window size of it, so it fits an int.
        if (overlaps)
            return QRect(int(saved.left), int(saved.top), int(width), int(height));
    }
    return std::nullopt;
}

QSize DpiScaled(const QSize& outer, int dpi)
{
    if (dpi <= 96)
        return outer;
    const double scale = dpi / 96.0;
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const QSize scaled(int(std::nearbyint(outer.width() * scale)),
                       int(std::nearbyint(outer.height() * scale)));
    std::fesetround(previous);
    return scaled;
}

QRect Centred(const QSize& outer, const QRect& area)
{
    QRect rect(QPoint(0, 0), outer);
    rect.moveCenter(area.center());
    return rect;
}

} // namespace WindowPlacement
