#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QFile;
class QIODevice;

// The rules for the files the program reads and writes: only regular files (or links to
// them) are read, and a file is replaced atomically, never where something else than a
// regular file stands. Every failure throws BcfgError in the words the user is shown
// ("Cannot open file "x". reason", "Cannot create file ...", "Stream write error").
namespace RegularFile {

// Opens fileName for reading into file; nothing else than a regular file is opened.
void OpenForReading(QFile& file, const QString& fileName);
// The whole of a regular file.
QByteArray ReadAll(const QString& fileName);

// Replaces fileName atomically with what write writes to the device it is given, and
// returns the size written. check runs after the writing, just before the file is replaced:
// what it throws, like every other failure, leaves the file untouched. A file that nobody may
// write is never replaced, also not by an administrator (as Windows keeps a read-only file);
// a replaced file keeps its permission bits.
qint64 Replace(const QString& fileName, const std::function<void(QIODevice&)>& write,
               const std::function<void()>& check = {});
// A file as messages name it: its full path.
QString FullPath(const QString& fileName);

} // namespace RegularFile
