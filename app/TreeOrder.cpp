#include "TreeOrder.h"

#include "EntryModel.h"

#include <QTreeView>

namespace TreeOrder {

QModelIndex Next(const EntryModel& entries, const QModelIndex& from, bool forward, bool inclusive,
                 const Hit& hit)
{
    const int n = entries.Count();
    if (n == 0)
        return {};
    const int at = EntryModel::EntryOf(from);
    const int step = forward ? 1 : n - 1; // one back, modulo n
    int i = at < 0 ? (forward ? 0 : n - 1) : (inclusive ? at : int((qint64(at) + step) % n));
    for (int k = 0; k < n; ++k, i = int((qint64(i) + step) % n))
        if (hit(i))
            return entries.At(i);
    return {};
}

Count CountHits(const EntryModel& entries, const QModelIndex& entry, const Hit& hit)
{
    Count count;
    const int at = EntryModel::EntryOf(entry);
    for (int i = 0; i < entries.Count(); ++i) {
        if (!hit(i))
            continue;
        ++count.total;
        if (i == at)
            count.position = count.total;
    }
    return count;
}

void Reveal(QTreeView* tree, const QModelIndex& entry)
{
    for (QModelIndex parent = entry.parent(); parent.isValid(); parent = parent.parent())
        tree->setExpanded(parent, true);
    tree->setCurrentIndex(entry);
    tree->scrollTo(entry);
}

} // namespace TreeOrder
