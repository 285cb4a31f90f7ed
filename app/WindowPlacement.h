#pragma once

#include <QList>
#include <QRect>
#include <optional>

// Where the main window goes when its saved position is restored. Plain arithmetic, so the
// extremes a hand-edited settings file can hold are decided without a window.
namespace WindowPlacement {

// The saved outer frame; a key that was missing or unreadable is already the window's own.
struct Saved {
    qint64 top = 0;
    qint64 left = 0;
    qint64 height = 0;
    qint64 width = 0;
};

// The outer frame to apply: the size bounded by the minimum size and the desktop, kept where it
// was saved when the window then overlaps one of the screens' available areas; otherwise
// nothing, and the window keeps its design size, centred. Works in 64 bits, so values near the
// ends of the integer range neither overflow nor wrap onto the screen.
std::optional<QRect> Restored(const Saved& saved, const QSize& minimum,
                              const QList<QRect>& availableScreens);

// An outer size at dpi pixels per inch: scaled by dpi / 96 (only above 96),
// each side to the nearest integer, halves to the even neighbour.
QSize DpiScaled(const QSize& outer, int dpi);

// The outer frame of the given size centred on the area.
QRect Centred(const QSize& outer, const QRect& area);

} // namespace WindowPlacement
