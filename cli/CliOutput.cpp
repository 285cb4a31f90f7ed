#include "CliOutput.h"

#include "BcfgError.h"

#include <QIODevice>

CliOutput::CliOutput(QIODevice& device) : m_device(device)
{
    m_block.reserve(BlockSize + 4096);
}

CliOutput& CliOutput::operator+=(QByteArrayView bytes)
{
    if (bytes.size() >= BlockSize) {
        // Large pieces (the keys of deeply nested records) go out as they are.
        flush();
        write(bytes);
    } else {
        m_block += bytes;
        written();
    }
    return *this;
}

void CliOutput::appendSpaces(qint64 count)
{
    static const QByteArray spaces(BlockSize, ' ');
    while (count > 0) {
        const qsizetype piece = qsizetype(qMin<qint64>(count, BlockSize));
        *this += QByteArrayView(spaces.constData(), piece);
        count -= piece;
    }
}

void CliOutput::flush()
{
    write(m_block);
    m_block.resize(0);
}

void CliOutput::write(QByteArrayView bytes)
{
    if (!bytes.isEmpty() && m_device.write(bytes.data(), bytes.size()) != bytes.size())
        throw BcfgError(QStringLiteral("Stream write error"));
}
