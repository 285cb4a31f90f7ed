#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <memory>

// What a file held when the program last read or wrote it: its size, its modification time
// and a digest of its bytes, so that it can tell later whether another program has written
// the file since. Only the bytes decide: a new time stamp over the same bytes is no change.
struct FileState {
    bool known = false; // a file was read or written; the fields below describe it
    qint64 size = 0;
    QDateTime modified;
    QByteArray digest;

    // How a file stands against a state.
    enum class Disk { Same, Changed, Missing };

    // How fileName stands now against this state; Same when nothing is known. The file is read
    // only when its size is the one known. A file that cannot be read is the same while its
    // size and time are.
    Disk Compare(const QString& fileName) const;

    // The state of fileName now, read whole; not known when it cannot be read.
    static FileState Of(const QString& fileName);
    // The state of a file just written with these bytes' digest and size.
    static FileState Written(const QString& fileName, qint64 size, const QByteArray& digest);
    // Whether two states describe the same bytes.
    bool SameBytes(const FileState& other) const
    {
        return known && other.known && size == other.size && digest == other.digest;
    }
};

// The digest of bytes that FileState keeps, fed in pieces of any size as a file is read or
// written. It tells changed bytes from the same ones, and is quick beside the read and the write
// (a cryptographic hash took longer than loading a million records).
class FileDigest
{
public:
    FileDigest();
    ~FileDigest();
    FileDigest(const FileDigest&) = delete;
    FileDigest& operator=(const FileDigest&) = delete;

    void addData(QByteArrayView bytes);
    QByteArray result() const;
    static QByteArray Of(QByteArrayView bytes);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
