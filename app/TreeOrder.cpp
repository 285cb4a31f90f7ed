#include "TreeOrder.h"

#include <QList>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace TreeOrder {

namespace {

// QTreeWidgetItemIterator visits collapsed sections' entries too, in display order.
QList<QTreeWidgetItem*> entries(const QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> all;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        all.append(*it);
    return all;
}

} // namespace

QTreeWidgetItem* Next(const QTreeWidget* tree, const QTreeWidgetItem* from, bool forward,
                      bool inclusive, const Hit& hit)
{
    const QList<QTreeWidgetItem*> all = entries(tree);
    const qsizetype n = all.size();
    if (n == 0)
        return nullptr;
    const qsizetype at = all.indexOf(const_cast<QTreeWidgetItem*>(from));
    const qsizetype step = forward ? 1 : n - 1; // one back, modulo n
    qsizetype i = at < 0 ? (forward ? 0 : n - 1) : (inclusive ? at : (at + step) % n);
    for (qsizetype k = 0; k < n; ++k, i = (i + step) % n)
        if (hit(all[i]))
            return all[i];
    return nullptr;
}

Count CountHits(const QTreeWidget* tree, const QTreeWidgetItem* item, const Hit& hit)
{
    Count count;
    for (const QTreeWidgetItem* each : entries(tree)) {
        if (!hit(each))
            continue;
        ++count.total;
        if (each == item)
            count.position = count.total;
    }
    return count;
}

void Reveal(QTreeWidget* tree, QTreeWidgetItem* item)
{
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree->setCurrentItem(item);
    tree->scrollToItem(item);
}

} // namespace TreeOrder
