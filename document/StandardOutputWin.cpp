#include "StandardOutput.h"

#include <windows.h>

namespace StandardOutput {

namespace {

// A console window: WriteConsoleW, in pieces that no console refuses as too long.
class WindowsConsole : public ConsoleSink
{
public:
    explicit WindowsConsole(HANDLE handle) : m_handle(handle) {}
    bool Write(QStringView text) override
    {
        constexpr qsizetype Piece = 8192;
        while (!text.isEmpty()) {
            qsizetype size = qMin(text.size(), Piece);
            if (size < text.size() && text[size - 1].isHighSurrogate())
                --size; // a pair of surrogates goes in one piece
            DWORD written = 0;
            if (!::WriteConsoleW(m_handle, text.utf16(), DWORD(size), &written, nullptr) ||
                written == 0)
                return false;
            text = text.mid(written);
        }
        return true;
    }

private:
    HANDLE m_handle;
};

// A pipe or a file: the bytes as they are (no text mode, so LF stays LF).
class HandleDevice : public QIODevice
{
public:
    explicit HandleDevice(HANDLE handle) : m_handle(handle)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            DWORD written = 0;
            const DWORD piece = DWORD(qMin<qint64>(size - done, 1 << 20));
            if (!::WriteFile(m_handle, data + done, piece, &written, nullptr) || written == 0)
                return -1;
            done += written;
        }
        return done;
    }

private:
    HANDLE m_handle;
};

bool usable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The console of the program that started this one, when it has one.
HANDLE parentConsole()
{
    if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED)
        return INVALID_HANDLE_VALUE;
    return ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

} // namespace

std::unique_ptr<QIODevice> Open(Stream stream, bool parent)
{
    HANDLE handle = ::GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (!usable(handle) && parent)
        handle = parentConsole();
    if (!usable(handle))
        return nullptr;
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode))
        return std::make_unique<ConsoleDevice>(std::make_unique<WindowsConsole>(handle));
    return std::make_unique<HandleDevice>(handle);
}

} // namespace StandardOutput
