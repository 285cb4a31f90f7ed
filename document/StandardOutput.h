#pragma once

#include <QIODevice>
#include <QStringConverter>
#include <QStringView>
#include <memory>

// The standard output and error streams as devices that take UTF-8. A console window of
// Windows is given the text as UTF-16 through the console API, whatever its code page; a
// pipe or a file, and every stream elsewhere, the bytes as they are.
// (StandardOutput.cpp; opening them: StandardOutputWin.cpp, StandardOutputPosix.cpp)
namespace StandardOutput {

enum class Stream { Out, Err };

// Where a console device's text goes: the console API on Windows, a fake one in a test.
class ConsoleSink
{
public:
    virtual ~ConsoleSink() = default;
    // Writes all of text; false when the console refuses it.
    virtual bool Write(QStringView text) = 0;
};

// Takes UTF-8 bytes and gives the sink their text; a character whose bytes come in two
// writes is given whole with the second. Bytes that are no UTF-8 become U+FFFD.
class ConsoleDevice : public QIODevice
{
public:
    explicit ConsoleDevice(std::unique_ptr<ConsoleSink> sink);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::unique_ptr<ConsoleSink> m_sink;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

// The stream, open for writing, or nullptr when the program has none. parentConsole: a
// window program of Windows, which gets no console of its own, writes to the console of
// the program that started it when it has no stream of its own.
std::unique_ptr<QIODevice> Open(Stream stream, bool parentConsole = false);

} // namespace StandardOutput
