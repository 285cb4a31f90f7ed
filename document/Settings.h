#pragma once

#include <QString>
#include <vector>

class TBCFGFile;
class TBcfgRecAll;

// Values set by parameter path, from a settings text (its line numbers kept) or from a
// command line: each with the rules of the record's popup (ValueInput::Store), the same for
// parvane-cli set, load and the window's Apply settings.
namespace Settings {

struct Setting {
    QString path;
    QString value;
    qint64 line = 0; // in the settings text; 0 when the setting came from elsewhere
};

// A path that names no record: an error, or passed over.
enum class Missing { Refused, Skipped };

// Sets each setting's record to its value, in order (a later setting of a path wins).
// Throws BcfgError at the first setting whose path names no record (unless missing is
// Skipped) or a level, or whose value the record's rule refuses; the message gives its line
// when it has one and quotes the path and the value. The records set before it keep their new
// values then: the caller discards the document or puts them back. Returns the settings
// passed over, in order.
std::vector<Setting> Apply(TBCFGFile& doc, const std::vector<Setting>& settings,
                           Missing missing = Missing::Refused);

// The record found for path, to read or set its value: throws BcfgError "<refusal>: no record
// has this path" when found is nullptr, or "<refusal>: the path names a level".
TBcfgRecAll& ValueRecord(TBcfgRecAll* found, const QString& refusal);

// text in double quotes.
QString Quoted(const QString& text);
// text after "Line N: " when line is above 0.
QString AtLine(qint64 line, const QString& text);
// What is said when a settings text has no settings.
QString NothingToApply(const QString& fileName);

} // namespace Settings
