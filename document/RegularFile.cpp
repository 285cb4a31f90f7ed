#include "RegularFile.h"

#include "BcfgError.h"
#include "PlatformFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace RegularFile {

namespace {

const QString NotRegular = QStringLiteral("Not a regular file");

QString fullPath(const QString& fileName)
{
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

BcfgError cannotOpen(const QString& fileName, const QString& reason)
{
    return BcfgError(QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath(fileName), reason));
}

BcfgError cannotCreate(const QString& fileName, const QString& reason)
{
    return BcfgError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath(fileName), reason));
}

// Whether saving to fileName replaces a regular file or creates a new one.
// QSaveFile writes to the end of a chain of links, and replaces the link
// itself when the chain loops, so the chain is followed here the same way.
bool replacesRegularFileOrNothing(const QString& fileName)
{
    QFileInfo target(fileName);
    for (int depth = 0; depth < 128 && target.isSymLink(); ++depth)
        target.setFile(target.symLinkTarget());
    return !target.isSymLink() && !PlatformFile::NamesDevice(target.filePath()) &&
           (!target.exists() || target.isFile());
}

} // namespace

void OpenForReading(QFile& file, const QString& fileName)
{
    // Only regular files are read: a device may never end, and opening a
    // pipe waits for a writer, so the kind is checked before opening.
    const QFileInfo info(fileName);
    if (PlatformFile::NamesDevice(fileName))
        throw cannotOpen(fileName, NotRegular);
    if (info.isDir())
        throw cannotOpen(fileName, QStringLiteral("Is a directory"));
    if (info.exists() && !info.isFile())
        throw cannotOpen(fileName, NotRegular);
    file.setFileName(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(fileName, file.errorString());
    if (!PlatformFile::IsRegular(file)) // replaced since the check
        throw cannotOpen(fileName, NotRegular);
}

QByteArray ReadAll(const QString& fileName)
{
    return OutOfMemoryAsError([&] {
        QFile file;
        OpenForReading(file, fileName);
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw BcfgError(QStringLiteral("Stream read error"));
        return bytes;
    });
}

void Replace(const QString& fileName, const std::function<void(QIODevice&)>& write)
{
    // QSaveFile renames its temporary over the path (or over what its links
    // lead to), which would put a regular file where a device or pipe was.
    if (!replacesRegularFileOrNothing(fileName))
        throw cannotCreate(fileName, NotRegular);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotCreate(fileName, file.errorString());
    write(file);
    if (!file.commit())
        throw BcfgError(QStringLiteral("Stream write error")); // the temporary is discarded
}

} // namespace RegularFile
