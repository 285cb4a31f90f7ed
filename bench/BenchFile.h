#pragma once

// The files the scale and editor benchmarks open, written piece by piece so that the writer
// never holds more than a few hundred kilobytes of a file of any size.

#include "BcfgBuilder.h"

#include <QFile>
#include <QString>

namespace BenchFile {

// A parameter at the top level behind every section of a mixed file: reaching it reads the
// whole file.
inline const char* const LastPath = "Last";

// Writes builder pieces to a file; bytes() is what went out, or -1 after a failed write.
class PieceWriter
{
public:
    explicit PieceWriter(const QString& path) : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            m_written = -1;
    }
    BcfgBuilder& builder() { return m_builder; }
    // Writes what the builder holds once it is this big, or always when forced.
    void flush(bool force = false)
    {
        const QByteArray bytes = m_builder.bytes();
        if (!force && bytes.size() < 256 * 1024)
            return;
        m_builder = BcfgBuilder();
        if (m_written < 0)
            return;
        if (m_file.write(bytes) != bytes.size())
            m_written = -1;
        else
            m_written += bytes.size();
    }
    qint64 finish()
    {
        flush(true);
        m_file.close();
        return m_file.error() == QFileDevice::NoError ? m_written : -1;
    }

private:
    QFile m_file;
    BcfgBuilder m_builder;
    qint64 m_written = 0;
};

// Sections three deep whose records reuse a handful of names, so that occurrence counting and
// path matching meet many equal names; every record type, mostly with short values (about 55
// bytes a record). valueShift changes the values but not the layout. The last record is the
// top-level LastPath. Returns the file's size, or -1 when it could not be written.
inline qint64 WriteMixed(const QString& path, qint64 count, quint32 valueShift)
{
    static const QByteArray names[] = {"Show", "Position", "Colour", "Colour", "Size", "Mode",
                                       "Text", "Path",     "Time",   "Date",   "Area", "Password"};
    PieceWriter out(path);
    int depth = 0;
    for (qint64 i = 0; i < count; ++i) {
        BcfgBuilder& b = out.builder();
        const QByteArray& name = names[size_t(i) % std::size(names)];
        const quint32 v = quint32(i) + valueShift;
        if (i == count - 1) {
            b.integer(1, LastPath, 0, 1000, v % 1000);
            break;
        }
        if (count - 1 - i == depth) { // the sections still open close before the last record
            b.levelEnd();
            --depth;
            continue;
        }
        switch (i % 16) {
        case 0:
        case 9:
            b.integer(1, name, 0, 1000, v % 1000);
            break;
        case 1:
            b.integer(3, name, quint32(-100), 100, quint32(int(v % 200) - 100));
            break;
        case 2:
        case 10:
            b.checkBox(name, v % 2);
            break;
        case 3:
            b.colour(name, quint8(v), quint8(v >> 8), 0x40, 100);
            break;
        case 4:
            b.coordinates(name, int(v % 240), int(v % 320));
            break;
        case 5:
            b.time(name, qint8(v % 24), qint8(v % 60));
            break;
        case 6:
            b.date(name, 2000 + int(v % 30), qint8(1 + v % 12), qint8(1 + v % 28));
            break;
        case 7:
            b.rect(name, 0, 0, quint16(v % 240), quint16(v % 320));
            break;
        case 8:
            b.text(6, name, 7, QByteArray::number(v % 10000));
            break;
        case 11:
            // The long values, one of them every 16 records.
            switch ((i / 16) % 4) {
            case 0:
                b.text(10, name, 63, "текст " + QByteArray::number(v));
                break;
            case 1:
                b.choice(name, int(v % 3), {"One", "Two", "Three"});
                break;
            case 2:
                b.text(2, name, 63, "4:\\Zbin\\\x1Fпапка\\" + QByteArray::number(v));
                break;
            default:
                b.text(10, name, 31, "т " + QByteArray::number(v));
                break;
            }
            break;
        case 12:
            b.text(4, name, 31, "value " + QByteArray::number(v));
            break;
        case 15:
            // Three levels down, three up, and again.
            if ((i / 16) % 6 < 3) {
                b.levelBegin("Section " + QByteArray::number(i % 7));
                ++depth;
            } else {
                b.levelEnd();
                --depth;
            }
            break;
        default:
            b.checkBox(name, 1);
            break;
        }
        out.flush();
    }
    return out.finish();
}

// depth nested sections, a few values in the innermost one, then depth level ends.
inline qint64 WriteDeep(const QString& path, int depth)
{
    PieceWriter out(path);
    for (int i = 0; i < depth; ++i) {
        out.builder().levelBegin("L");
        out.flush();
    }
    out.builder()
        .integer(1, "Size", 0, 1000, 5)
        .text(4, "Text", 31, "deep")
        .checkBox("Show", 1)
        .colour("Colour", 1, 2, 3, 64);
    for (int i = 0; i < depth; ++i) {
        out.builder().levelEnd();
        out.flush();
    }
    return out.finish();
}

} // namespace BenchFile
