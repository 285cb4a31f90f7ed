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

// Replaces fileName atomically with what write writes to the device it is given; on failure
// the file is untouched.
void Replace(const QString& fileName, const std::function<void(QIODevice&)>& write);

} // namespace RegularFile
