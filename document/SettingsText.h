#pragma once

#include "Settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <vector>

class TBCFGFile;

// Settings as text: a TOML 1.0 document with one top-level table, whose keys are parameter
// paths and whose values are strings, the values as parvane-cli get prints them. The one
// place that knows TOML: the rest of the program sees settings.
namespace SettingsText {

struct Options {
    bool passwords = false; // list passwords (otherwise a comment line stands for each)
    // One flag per record: true leaves the record out (kept as shipped); nullptr: none is.
    const std::vector<bool>* leftOut = nullptr;
};

// Appends doc's settings to out: a `"PATH" = "VALUE"` line for each record that is no level
// and that its path names (an earlier record with the same path has the line), in file
// order. written runs after every line and may take what out holds.
void Write(const TBCFGFile& doc, const Options& options, QByteArray& out,
           const std::function<void()>& written = {});
QByteArray Write(const TBCFGFile& doc, const Options& options);

// The settings of a TOML text in UTF-8, in the order of the text, each with its line. A value
// is a string, or an integer, which stands for its decimal text. Throws BcfgError, whose text
// gives the line (and for a text that is not TOML the column): a text that is not TOML or
// holds a zero byte, or a key whose value is of another kind (a table, an array, a
// floating-point number, a boolean, a date or time), quoting the key and any value. A text
// without keys gives no settings.
// A long text is read a piece of about pieceBytes at a time, which is quicker and smaller
// and gives what the whole text gives; 0 reads it whole.
Settings::List Read(QByteArrayView text, qsizetype pieceBytes = 64 * 1024);

} // namespace SettingsText
