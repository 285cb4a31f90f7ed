#include "RecordStream.h"

#include "FileState.h"
#include <QIODevice>
#include <cstring>

namespace {

BcfgError readError()
{
    return BcfgError(QStringLiteral("Stream read error"));
}

} // namespace

RecordReader::RecordReader(const QByteArray& bytes)
    : m_window(bytes.constData()), m_windowEnd(bytes.size()), m_size(bytes.size())
{
}

RecordReader::RecordReader(QIODevice& device, qint64 size) : m_device(&device), m_size(size) {}

const char* RecordReader::takeSlow(qint64 n)
{
    if (n < 0 || n > remaining())
        throw readError();
    fill(n);
    return take(n);
}

void RecordReader::fill(qint64 n)
{
    if (!m_device)
        throw readError();
    // Small reads only: what is left of the window moves to the front of the block.
    constexpr qint64 Slack = 64;
    if (n > Slack)
        throw readError();
    if (m_block.size() < BlockSize + Slack)
        m_block.resize(BlockSize + Slack);
    const qint64 left = m_windowEnd - m_pos;
    if (left > 0)
        std::memmove(m_block.data(), m_window + (m_pos - m_windowStart), size_t(left));
    const qint64 want = qMin(BlockSize, m_size - m_pos - left);
    if (!readDevice(m_block.data() + left, want))
        throw readError(); // the file shrank or could not be read
    m_window = m_block.constData();
    m_windowStart = m_pos;
    m_windowEnd = m_pos + left + want;
}

bool RecordReader::readDevice(char* to, qint64 n)
{
    if (m_device->read(to, n) != n)
        return false;
    if (m_hash)
        m_hash->addData(QByteArrayView(to, n));
    return true;
}

QByteArray RecordReader::read(qint64 n)
{
    // Checked first, so that a damaged length never allocates what the file does not hold.
    if (n < 0 || n > remaining())
        throw readError();
    QByteArray out(n, Qt::Uninitialized);
    const qint64 inWindow = qMin(n, m_windowEnd - m_pos);
    if (inWindow > 0)
        std::memcpy(out.data(), m_window + (m_pos - m_windowStart), size_t(inWindow));
    m_pos += inWindow;
    if (inWindow < n) {
        if (!m_device || !readDevice(out.data() + inWindow, n - inWindow))
            throw readError();
        m_pos += n - inWindow;
        m_window = nullptr;
        m_windowStart = m_windowEnd = m_pos;
    }
    return out;
}

QByteArray RecordReader::readShared(qint64 n)
{
    const char* at = take(n);
    const auto it = m_shared.find(std::string_view(at, size_t(n)));
    if (it != m_shared.end())
        return it->second;
    QByteArray field(at, n);
    if (m_shared.size() < SharedLimit)
        m_shared.emplace(std::string_view(field.constData(), size_t(n)), field);
    return field;
}
