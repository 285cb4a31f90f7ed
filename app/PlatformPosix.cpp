#include "Platform.h"

#include "StandardOutput.h"

#include <QStyle>
#include <QWidget>

namespace Platform {

int CaptionButtonHeight(const QWidget& window)
{
    // The window manager draws the title bar; the style's idea of it is what is known.
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

void ShowCommandLineAnswer(const QString& text)
{
    if (const auto out = StandardOutput::Open(StandardOutput::Stream::Out))
        out->write(text.toUtf8());
}

bool WatchFolderOfFile()
{
    return true;
}

} // namespace Platform
