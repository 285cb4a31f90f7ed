#pragma once

class QString;
class QWidget;

// What the windows ask of the operating system (PlatformWin.cpp, PlatformPosix.cpp).
namespace Platform {

// The height of a caption button in a window's title bar, in the window's pixels:
// the system metric SM_CYSIZE on Windows, the style's title bar height elsewhere.
int CaptionButtonHeight(const QWidget& window);

// Shows what the command line asked for (--help, --version) where its user reads it: on
// standard output. A window program of Windows has none of its own unless one was handed to it
// (a pipe, a file): it writes to the console it was started from, or, without one, shows the
// text in a message box. Needs no QApplication.
void ShowCommandLineAnswer(const QString& text);

// Whether a watch on a file must also watch its folder to see the file come back after it
// was renamed over or deleted: the system's watch on Linux follows the file itself, while
// Qt's watch on Windows watches the folder already (and a second handle on the folder keeps it
// from being removed).
bool WatchFolderOfFile();

} // namespace Platform
