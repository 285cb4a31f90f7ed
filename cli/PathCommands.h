#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class TBCFGFile;

// The commands that name records by parameter path: diff, get, set and load. Each
// loads through load (which reports an unknown block) and throws BcfgError
// with the text to print when it fails.
namespace PathCommands {

// Loads a file; the loader keeps the document.
using LoadFile = std::function<TBCFGFile&(const QString& fileName)>;

// Prints what importing other into current would change, refuse and leave
// unpaired, as lines with a summary or, with json, as JSON lines. Returns
// whether anything was listed. With base (the old version's own file, from
// which other was made) the values other still holds as shipped are listed
// as kept, and the summary counts them.
bool Diff(const QString& current, const QString& other, bool json, const LoadFile& load,
          QByteArray& out, const std::optional<QString>& base = std::nullopt);

// Prints the value of the record at path (a password in plain text).
void Get(const QString& file, const QString& path, const LoadFile& load, QByteArray& out);

// Sets each path to its value, in order, then saves once to output (file
// itself when output is empty). Every pair is checked before anything is
// written; the first refused pair throws and nothing is written. file is
// written in place only while it holds the bytes read (TBCFGFile::SaveInPlace).
void Set(const QString& file, const QList<QPair<QString, QString>>& pairs, const QString& output,
         const LoadFile& load);

// Sets the records of file to the values of the settings text settingsFile as Set does, in the
// order of the text, then saves once. With skipMissing a path that names no record is passed
// over with a line "skipped PATH" in err; err also says when the text holds no settings.
void Load(const QString& file, const QString& settingsFile, const QString& output, bool skipMissing,
          const LoadFile& load, QByteArray& err);

} // namespace PathCommands
