#include "Platform.h"

#include "StandardOutput.h"

#include <QCoreApplication>
#include <QWidget>
#include <windows.h>

namespace Platform {

int CaptionButtonHeight(const QWidget& window)
{
    // The system answers in device pixels; the window counts in its own.
    return qRound(::GetSystemMetrics(SM_CYSIZE) / window.devicePixelRatioF());
}

void ShowCommandLineAnswer(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const auto out = StandardOutput::Open(StandardOutput::Stream::Out, true);
    if (out && out->write(bytes) == bytes.size())
        return;
    // Started from the desktop: no console to write to.
    const QString caption = QCoreApplication::applicationName();
    ::MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()),
                  reinterpret_cast<const wchar_t*>(caption.utf16()), MB_OK | MB_ICONINFORMATION);
}

bool WatchFolderOfFile()
{
    return false;
}

} // namespace Platform
