#include "FileState.h"

#include <QFile>
#include <QFileInfo>

FileState FileState::Of(const QString& fileName)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    FileState state;
    state.modified = file.fileTime(QFileDevice::FileModificationTime);
    QCryptographicHash hash(FileDigestAlgorithm);
    if (!hash.addData(&file))
        return {};
    state.known = true;
    state.size = file.pos();
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
