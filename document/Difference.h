#pragma once

#include "Import.h"

#include <QString>
#include <optional>
#include <vector>

class TBcfgRecAll;
class TBCFGFile;

// One line of what taking values over from another file would do, as the
// command line's diff, the compare window and the import preview show it.
struct Difference {
    enum Kind {
        Changed,     // import takes the other value over and it differs
        Refused,     // the current record's type rule refuses the other value
        OnlyCurrent, // a current record that no other record pairs with
        OnlyOther,   // an other record without a counterpart
        // Upgrading: a pair that would be Changed or Refused, but the other
        // record still holds what the old version shipped, so the current
        // value (the new version's default) stays.
        Kept,
    };
    Kind kind = Changed;
    // Kept: whether the current record's type rule refuses the value too, so
    // that taking it after all would change nothing.
    bool refused = false;
    // The path of the current record (Changed, Refused, OnlyCurrent) or of
    // the other record (OnlyOther); a level's path ends with "/".
    QString path;
    quint32 type = 0;
    // The value parts of the labels (a password as its stars); none for a
    // level and on the side without a record.
    std::optional<QString> currentValue;
    std::optional<QString> otherValue;
    // The records (nullptr on the side without one). Valid while both
    // documents live and keep their records.
    TBcfgRecAll* current = nullptr;
    const TBcfgRecAll* other = nullptr;
};

// The differences import would find, paired by import's own matching
// (Import::Counterparts) and judged by its own rules (Import::Judge) against
// current as it is, also where two other records pair with one current
// record. Level records that pair, pairs that would take a value over
// unchanged and level ends are left out; a level without counterpart is
// listed alone, without what it holds. Changed, Refused and OnlyOther come in
// other's file order, then OnlyCurrent in current's. Neither document is
// changed. Throws BcfgError "Out of memory".
//
// Upgrading: keptAsShipped (Import::KeptAsShipped of the old version's file
// and other, one flag per other record; empty without one) turns the
// Changed and Refused lines of the records it flags into Kept lines and
// leaves out the non-level other records without counterpart it flags: a
// dropped parameter that the user never changed loses nothing.
//
// unchanged (when given) receives, in other's file order, the pairs that are
// not listed because they would take a value over unchanged (those kept as
// shipped left out): an import of the listed pairs together with these marks
// what the whole import would mark.
std::vector<Difference> ListDifferences(const TBCFGFile& current, const TBCFGFile& other,
                                        bool translate, const std::vector<bool>& keptAsShipped = {},
                                        std::vector<Import::Pair>* unchanged = nullptr);
