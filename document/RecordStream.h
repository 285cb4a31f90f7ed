#pragma once

#include "BcfgError.h"
#include "FieldHash.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>
#include <string_view>
#include <unordered_map>

class FileDigest;
class QIODevice;

// Sequential little-endian reading of a file, either held in memory or read
// from a device in blocks (so a large file is never held whole). Every read
// that the remaining bytes cannot satisfy throws "Stream read error".
class RecordReader
{
public:
    explicit RecordReader(const QByteArray& bytes);
    // Reads size bytes from device, which stands at its start.
    RecordReader(QIODevice& device, qint64 size);
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // Every byte read from the device from now on is added to hash as well (nullptr: none).
    void SetHash(FileDigest* hash) { m_hash = hash; }

    qint64 pos() const { return m_pos; }
    qint64 size() const { return m_size; }
    qint64 remaining() const { return m_size - m_pos; }

    // n bytes as a new array.
    QByteArray read(qint64 n);
    // n bytes (at most a name's or an item's length) as an array shared with
    // every equal field read before: files repeat a handful of names many times.
    QByteArray readShared(qint64 n);
    // n bytes (at most a name's length) in place: valid until the next read.
    const char* readView(qint64 n) { return take(n); }
    // Everything from here to the end.
    QByteArray rest() { return read(remaining()); }

    quint32 u32() { return qFromLittleEndian<quint32>(take(4)); }
    qint32 i32() { return qint32(u32()); }
    quint16 u16() { return qFromLittleEndian<quint16>(take(2)); }
    quint8 u8() { return quint8(*take(1)); }
    qint8 i8() { return qint8(u8()); }

private:
    // n bytes in a row (n at most a block) at the read position, then past them.
    const char* take(qint64 n)
    {
        if (m_pos + n <= m_windowEnd) {
            const char* at = m_window + (m_pos - m_windowStart);
            m_pos += n;
            return at;
        }
        return takeSlow(n);
    }
    const char* takeSlow(qint64 n);
    void fill(qint64 n);

    static constexpr qint64 BlockSize = 256 * 1024;
    // Names shared per load; a file of nothing but distinct names stops sharing here.
    static constexpr size_t SharedLimit = 65536;

    // Reads n bytes from the device into to, adding them to the hash; false when short.
    bool readDevice(char* to, qint64 n);

    QIODevice* m_device = nullptr;
    FileDigest* m_hash = nullptr;
    QByteArray m_block;             // what was last read from the device
    const char* m_window = nullptr; // bytes m_windowStart .. m_windowEnd of the file
    qint64 m_windowStart = 0;
    qint64 m_windowEnd = 0;
    qint64 m_pos = 0;
    qint64 m_size = 0;
    // Keys view the data of their arrays, which never moves.
    std::unordered_map<std::string_view, QByteArray, FieldViewHash> m_shared;
};

// Appends little-endian values to a byte array.
namespace RecordWriter {
inline void u32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
inline void u16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
inline void u8(QByteArray& out, quint8 v)
{
    out.append(char(v));
}
} // namespace RecordWriter
