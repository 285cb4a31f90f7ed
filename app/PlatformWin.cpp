#include "Platform.h"

#include <QWidget>
#include <windows.h>

namespace Platform {

int CaptionButtonHeight(const QWidget& window)
{
    // The system answers in device pixels; the window counts in its own.
    return qRound(::GetSystemMetrics(SM_CYSIZE) / window.devicePixelRatioF());
}

} // namespace Platform
