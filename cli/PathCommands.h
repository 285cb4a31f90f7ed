#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>

class TBCFGFile;

// The commands that name records by parameter path: diff, get and set. Each
// loads through load (which reports an unknown block) and throws BcfgError
// with the text to print when it fails.
namespace PathCommands {

// Loads a file; the loader keeps the document.
using LoadFile = std::function<TBCFGFile&(const QString& fileName)>;

// Prints what importing other into current would change, refuse and leave
// unpaired, as lines with a summary or, with json, as JSON lines. Returns
// whether anything was listed.
bool Diff(const QString& current, const QString& other, bool json, const LoadFile& load,
          QByteArray& out);

// Prints the value of the record at path (a password in plain text).
void Get(const QString& file, const QString& path, const LoadFile& load, QByteArray& out);

// Sets each path to its value, in order, then saves once to output (file
// itself when output is empty). Every pair is checked before anything is
// written; the first refused pair throws and nothing is written. file is
// written in place only while it holds the bytes read (TBCFGFile::SaveInPlace).
void Set(const QString& file, const QList<QPair<QString, QString>>& pairs, const QString& output,
         const LoadFile& load);

} // namespace PathCommands
