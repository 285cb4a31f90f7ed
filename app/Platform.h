#pragma once

class QWidget;

// What the windows ask of the operating system (PlatformWin.cpp, PlatformPosix.cpp).
namespace Platform {

// The height of a caption button in a window's title bar, in the window's pixels:
// the system metric SM_CYSIZE on Windows, the style's title bar height elsewhere.
int CaptionButtonHeight(const QWidget& window);

} // namespace Platform
