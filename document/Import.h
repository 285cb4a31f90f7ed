#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

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
// The record's own part of its path key: type code, occurrence and name text.
QByteArray PathKeyPart(const TBcfgRecAll& record, bool translate);
// Appends PathKeyPart(record, translate) to out.
void AppendPathKeyPart(QByteArray& out, const TBcfgRecAll& record, bool translate);

struct Result {
    int matched = 0;  // imported records that found a counterpart
    int accepted = 0; // of those, taken over under the type's rule
};

// The pairing of an import: for each source record in file order, the first
// current record with the same path (nullptr when there is none). Paths are
// compared level by level (type code, occurrence, name text), never as
// concatenated keys, which can read alike for different paths, so a pair
// always has one type code. Throws BcfgError "Out of memory".
std::vector<TBcfgRecAll*> Counterparts(const TBCFGFile& current, const TBCFGFile& source,
                                       bool translate);

// Upgrading: which records of source (the user's file) still hold what base
// (the old version's own file, from which source was made) shipped. One flag
// per source record in file order: true when the first base record with the
// same path (Counterparts, base playing the current file) has the same type
// code and the same value as the merge compares it for the Modified mark
// (SameValue); false for levels and for records that base does not have.
// A merge with a base passes over the records kept as shipped. Throws
// BcfgError "Out of memory".
std::vector<bool> KeptAsShipped(const TBCFGFile& base, const TBCFGFile& source, bool translate);
// The rule for one pair: source's base counterpart (nullptr when none).
bool KeptAsShipped(const TBcfgRecAll* baseCounterpart, const TBcfgRecAll& source);

// What current.MergeFrom(source) would do, decided on a detached copy of
// current (built from its bytes), so current and its document stay as they
// are: the same type rule, not a second copy of it.
enum class Verdict {
    Refused,   // the type's rule refuses the value
    Unchanged, // taken over, nothing differs (Imported only)
    Changes,   // taken over and the value differs (Imported and Modified)
};
Verdict Judge(const TBcfgRecAll& current, const TBcfgRecAll& source);

// Whether a merge keeps each accepted record's label from before it
// (LabelBeforeImport): the editor shows them; a script never reads them.
enum class LabelsBefore { Kept, NotKept };

// A current record and the source record whose value it is to take over;
// current is nullptr for a source record without a counterpart.
struct Pair {
    TBcfgRecAll* current = nullptr;
    const TBcfgRecAll* source = nullptr;
};

// Takes the values over pair by pair in the given order, each under its
// type's rule (MergeFrom: Imported, and Modified where the value changes,
// through the enclosing levels). Each accepted current record keeps the label
// it had before this call in LabelBeforeImport. step runs after every pair.
// The preview import merges the pairs the user chose through this; the
// source records must outlive the call.
Result MergeSelected(const std::vector<Pair>& pairs, const std::function<void()>& step = {},
                     LabelsBefore labels = LabelsBefore::Kept);

// For each source record in order, its counterpart (Counterparts) takes the
// value over (MergeSelected). step runs after every source record. Throws
// BcfgError "Out of memory", before any record changed when the matching
// itself cannot be built.
Result MergeDocuments(TBCFGFile& current, const TBCFGFile& source, bool translate,
                      const std::function<void()>& step = {},
                      LabelsBefore labels = LabelsBefore::Kept);

} // namespace Import
