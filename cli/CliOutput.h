#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

// Standard output of the CLI, written in blocks as it is made, so that no
// output, however large, is held whole. A failed write throws "Stream write error".
class CliOutput
{
public:
    explicit CliOutput(QIODevice& device);
    CliOutput(const CliOutput&) = delete;
    CliOutput& operator=(const CliOutput&) = delete;

    // The block being filled: append to it, then call written().
    QByteArray& block() { return m_block; }
    void written()
    {
        if (m_block.size() >= BlockSize)
            flush();
    }
    CliOutput& operator+=(QByteArrayView bytes);
    void appendSpaces(qint64 count);
    void flush();

private:
    static constexpr qsizetype BlockSize = 64 * 1024;
    void write(QByteArrayView bytes);

    QIODevice& m_device;
    QByteArray m_block;
};
