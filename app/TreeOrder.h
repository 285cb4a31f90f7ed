#pragma once

#include <functional>

class EntryModel;
class QModelIndex;
class QTreeView;

// Walking the tree's entries in the order the tree shows them with every section expanded,
// entries inside collapsed sections included: the order of the entries' numbers.
namespace TreeOrder {

// Whether the entry with this number is a hit.
using Hit = std::function<bool(int entry)>;

// The first entry for which hit is true, starting at from (inclusive) or just after it, going
// forward or backward and wrapping at the ends. Without from the walk starts at the first
// (forward) or the last (backward) entry. An invalid index when no entry is a hit.
QModelIndex Next(const EntryModel& entries, const QModelIndex& from, bool forward, bool inclusive,
                 const Hit& hit);

// How many entries are hits, and the position (from 1) of entry among them; 0 when entry is
// not one.
struct Count {
    int position = 0;
    int total = 0;
};
Count CountHits(const EntryModel& entries, const QModelIndex& entry, const Hit& hit);

// Expands every section around entry, selects it and scrolls it into view.
void Reveal(QTreeView* tree, const QModelIndex& entry);

} // namespace TreeOrder
