#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class TBcfgRecAll;
class TBCFGFile;

// Taking values over from another file of the same kind.
namespace Import {

// Whether levels "Normal"/"Locked" stand for "First"/"Second": only when the
// current file is an EXTRAINFO file numbered 16 or above and the chosen one is
// numbered 15 or below. Names may carry a directory; case does not matter.
bool TranslateLevelNames(const QString& currentFileName, const QString& chosenFileName);

// The record's key: for each level from the outermost down to the record, its
// decimal type code, decimal occurrence and name text, without separators.
QByteArray PathKey(const TBcfgRecAll& record, bool translate);

struct Result {
    int matched = 0;  // imported records that found a counterpart
    int accepted = 0; // of those, taken over under the type's rule
};

// For each source record in order, the first current record with the same
// path takes its value over (MergeFrom). Paths are compared level by level
// (type code, occurrence, name text), never as concatenated keys, which can
// read alike for different paths. step runs after every source record.
// Throws BcfgError "Out of memory", before any record changed when the
// matching itself cannot be built.
Result MergeDocuments(TBCFGFile& current, const TBCFGFile& source, bool translate,
                      const std::function<void()>& step = {});

} // namespace Import
