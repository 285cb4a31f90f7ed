#include "FileState.h"

#include <QFile>
#include <QFileInfo>

#define XXH_INLINE_ALL
#include <xxhash.h>

struct FileDigest::State {
    XXH3_state_t xxh;
};

FileDigest::FileDigest() : m_state(std::make_unique<State>())
{
    XXH3_128bits_reset(&m_state->xxh);
}

FileDigest::~FileDigest() = default;

void FileDigest::addData(QByteArrayView bytes)
{
    XXH3_128bits_update(&m_state->xxh, bytes.data(), size_t(bytes.size()));
}

QByteArray FileDigest::result() const
{
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(&m_state->xxh));
    return QByteArray(reinterpret_cast<const char*>(canonical.digest), sizeof canonical.digest);
}

QByteArray FileDigest::Of(QByteArrayView bytes)
{
    FileDigest digest;
    digest.addData(bytes);
    return digest.result();
}

FileState FileState::Of(const QString& fileName)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    FileState state;
    state.modified = file.fileTime(QFileDevice::FileModificationTime);
    FileDigest hash;
    QByteArray block(256 * 1024, Qt::Uninitialized);
    qint64 size = 0;
    for (qint64 got; (got = file.read(block.data(), block.size())) != 0; size += got) {
        if (got < 0)
            return {};
        hash.addData(QByteArrayView(block.constData(), got));
    }
    state.known = true;
    state.size = size;
    state.digest = hash.result();
    return state;
}

FileState FileState::Written(const QString& fileName, qint64 size, const QByteArray& digest)
{
    FileState state;
    state.known = true;
    state.size = size;
    state.digest = digest;
    state.modified = QFileInfo(fileName).lastModified();
    return state;
}

FileState::Disk FileState::Compare(const QString& fileName) const
{
    if (!known)
        return Disk::Same;
    const QFileInfo info(fileName);
    if (!info.exists())
        return Disk::Missing;
    if (info.size() != size)
        return Disk::Changed;
    const FileState now = Of(fileName);
    if (!now.known)
        return info.lastModified() == modified ? Disk::Same : Disk::Changed;
    return now.digest == digest ? Disk::Same : Disk::Changed;
}
