#pragma once

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// Walking the tree's entries in the order the tree shows them with every section expanded,
// entries inside collapsed sections included.
namespace TreeOrder {

using Hit = std::function<bool(const QTreeWidgetItem*)>;

// The first entry for which hit is true, starting at from (inclusive) or just after it, going
// forward or backward and wrapping at the ends. Without from the walk starts at the first
// (forward) or the last (backward) entry. nullptr when no entry is a hit.
QTreeWidgetItem* Next(const QTreeWidget* tree, const QTreeWidgetItem* from, bool forward,
                      bool inclusive, const Hit& hit);

// How many entries are hits, and the position (from 1) of item among them; 0 when item is not
// one.
struct Count {
    int position = 0;
    int total = 0;
};
Count CountHits(const QTreeWidget* tree, const QTreeWidgetItem* item, const Hit& hit);

// Expands every section around item, selects it and scrolls it into view.
void Reveal(QTreeWidget* tree, QTreeWidgetItem* item);

} // namespace TreeOrder
