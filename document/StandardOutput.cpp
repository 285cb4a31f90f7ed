#include "StandardOutput.h"

namespace StandardOutput {

ConsoleDevice::ConsoleDevice(std::unique_ptr<ConsoleSink> sink) : m_sink(std::move(sink))
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ConsoleDevice::writeData(const char* data, qint64 size)
{
    const QString text = m_decoder.decode(QByteArrayView(data, size));
    return m_sink->Write(text) ? size : -1;
}

} // namespace StandardOutput
