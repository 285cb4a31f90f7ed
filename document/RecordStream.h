#pragma once

#include "BcfgError.h"

#include <QByteArray>
#include <QtEndian>

// Sequential little-endian reading of a file held in memory. Every read that
// the remaining bytes cannot satisfy throws "Stream read error".
class RecordReader
{
public:
    explicit RecordReader(const QByteArray& bytes) : m_bytes(bytes) {}

    qsizetype pos() const { return m_pos; }
    qsizetype size() const { return m_bytes.size(); }
    qint64 remaining() const { return m_bytes.size() - m_pos; }
    const QByteArray& bytes() const { return m_bytes; }

    QByteArray read(qint64 n)
    {
        if (n < 0 || n > remaining())
            throw BcfgError(QStringLiteral("Stream read error"));
        QByteArray out = m_bytes.mid(m_pos, n);
        m_pos += n;
        return out;
    }
    quint32 u32() { return qFromLittleEndian<quint32>(read(4).constData()); }
    qint32 i32() { return qint32(u32()); }
    quint16 u16() { return qFromLittleEndian<quint16>(read(2).constData()); }
    quint8 u8() { return quint8(read(1).at(0)); }
    qint8 i8() { return qint8(u8()); }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
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
