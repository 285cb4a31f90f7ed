#include "RegularFile.h"

#include "BcfgError.h"
#include "FileName.h"
#include "PlatformFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace RegularFile {

namespace {

const QString NotRegular = QStringLiteral("Not a regular file");

BcfgError cannotOpen(const QString& fileName, const QString& reason)
{
    return BcfgError(QStringLiteral("Cannot open file \"%1\". %2")
                         .arg(ShownPath(fileName), ShownReason(reason, fileName)));
}

BcfgError cannotCreate(const QString& fileName, const QString& reason)
{
    return BcfgError(QStringLiteral("Cannot create file \"%1\". %2")
                         .arg(ShownPath(fileName), ShownReason(reason, fileName)));
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

// Whether the user may write an existing file: the system says so and some write
// permission is set at all (an administrator may write any file).
bool mayWrite(const QFileInfo& file)
{
    // WriteUser is the system's answer again, not a bit of the file.
    constexpr auto anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return file.isWritable() && (file.permissions() & anyWrite);
}

// The reason QSaveFile gives a user whom the system refuses.
QString notWritable(const QString& fileName)
{
    return QStringLiteral("Existing file %1 is not writable").arg(FullPath(fileName));
}

} // namespace

QString FullPath(const QString& fileName)
{
    return ShownPath(fileName);
}

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

qint64 Replace(const QString& fileName, const std::function<void(QIODevice&)>& write,
               const std::function<void()>& check)
{
    // QSaveFile renames its temporary over the path (or over what its links
    // lead to), which would put a regular file where a device or pipe was.
    if (!replacesRegularFileOrNothing(fileName))
        throw cannotCreate(fileName, NotRegular);
    const QFileInfo existing(fileName);
    const bool replaces = existing.exists();
    if (replaces && !mayWrite(existing))
        throw cannotCreate(fileName, notWritable(fileName));
    // QSaveFile gives the new file what this user may do with the old one; the old one's
    // own bits are what is kept.
    constexpr auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    const QFileDevice::Permissions kept =
        replaces ? existing.permissions() & ~userBits : QFileDevice::Permissions();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotCreate(fileName, file.errorString());
    write(file);
    if (check)
        check(); // throwing discards the temporary
    const qint64 size = file.size();
    if (!file.commit())
        throw BcfgError(QStringLiteral("Stream write error")); // the temporary is discarded
    if (replaces)
        QFile::setPermissions(fileName, kept);
    return size;
}

} // namespace RegularFile
