#include "EntryModel.h"

#include "CodePage.h"
#include "TBcfgRecAll.h"

#include <QSet>
#include <algorithm>

EntryModel::EntryModel(QObject* parent) : QAbstractItemModel(parent)
{
    m_children.emplace_back(); // the top level
}

void EntryModel::Clear()
{
    if (!m_appending)
        beginResetModel();
    m_appending = false;
    m_entries = {};
    m_children = {};
    m_children.emplace_back();
    m_entryOfRecord = {};
    m_unknownBlockLabel.clear();
    endResetModel();
}

int EntryModel::Append(int parent, const QByteArray& label, TBcfgRecAll* record)
{
    // A whole load is one reset: the view asks for nothing until FinishAppending.
    if (!m_appending) {
        beginResetModel();
        m_appending = true;
    }
    const int entry = Count();
    std::vector<qint32>* siblings = &m_children.front();
    if (parent >= 0) {
        Entry& above = m_entries[size_t(parent)];
        if (above.children < 0) {
            above.children = qint32(m_children.size());
            m_children.emplace_back();
        }
        siblings = &m_children[size_t(above.children)];
    }
    m_entries.push_back({record, parent, qint32(siblings->size()), -1});
    siblings->push_back(entry);
    if (record) {
        const size_t index = size_t(record->Index);
        if (m_entryOfRecord.size() <= index)
            m_entryOfRecord.resize(index + 1, -1);
        m_entryOfRecord[index] = entry;
    } else {
        m_unknownBlockLabel = label;
    }
    return entry;
}

void EntryModel::Reserve(int entries)
{
    // Growing a million entries step by step would copy them over and over.
    m_entries.reserve(size_t(std::max(entries, 0)));
    m_entryOfRecord.reserve(size_t(std::max(entries, 0)));
}

void EntryModel::FinishAppending()
{
    if (!m_appending)
        return;
    m_appending = false;
    // The room left by the levels' closing records is given back when it is much.
    if (m_entries.capacity() - m_entries.size() > m_entries.size() / 4)
        m_entries.shrink_to_fit();
    endResetModel();
}

const std::vector<qint32>& EntryModel::childrenOf(int entry) const
{
    static const std::vector<qint32> none;
    if (entry < 0)
        return m_children.front();
    const qint32 list = m_entries[size_t(entry)].children;
    return list < 0 ? none : m_children[size_t(list)];
}

QModelIndex EntryModel::At(int entry) const
{
    if (entry < 0 || entry >= Count())
        return {};
    return createIndex(m_entries[size_t(entry)].row, 0, quintptr(entry));
}

bool EntryModel::IsUnknownBlock(const QModelIndex& index) const
{
    return index.isValid() && !RecordOf(index);
}

QModelIndex EntryModel::IndexOf(const TBcfgRecAll* record) const
{
    if (!record || record->Index < 0 || size_t(record->Index) >= m_entryOfRecord.size())
        return {};
    const int entry = m_entryOfRecord[size_t(record->Index)];
    return entry >= 0 && RecordOf(entry) == record ? At(entry) : QModelIndex();
}

QString EntryModel::Label(int entry) const
{
    if (entry < 0 || entry >= Count())
        return {};
    const TBcfgRecAll* record = RecordOf(entry);
    return CodePage::ToUnicode(record ? record->DisplayText() : m_unknownBlockLabel);
}

void EntryModel::RecordsChanged(const QList<int>& records)
{
    if (m_appending)
        return;
    // A level around several changed records is drawn again once.
    QSet<int> announced;
    for (const int index : records) {
        if (index < 0 || size_t(index) >= m_entryOfRecord.size())
            continue;
        for (int entry = m_entryOfRecord[size_t(index)]; entry >= 0;
             entry = m_entries[size_t(entry)].parent) {
            if (announced.contains(entry))
                break;
            announced.insert(entry);
            const QModelIndex changed = At(entry);
            emit dataChanged(changed, changed);
        }
    }
}

void EntryModel::EveryRecordChanged()
{
    if (m_appending || m_entries.empty())
        return;
    // Every list of siblings in one range; the top level's first.
    for (const std::vector<qint32>& siblings : m_children)
        if (!siblings.empty())
            emit dataChanged(At(siblings.front()), At(siblings.back()));
}

QModelIndex EntryModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const std::vector<qint32>& siblings = childrenOf(EntryOf(parent));
    return size_t(row) < siblings.size() ? createIndex(row, 0, quintptr(siblings[size_t(row)]))
                                         : QModelIndex();
}

QModelIndex EntryModel::parent(const QModelIndex& child) const
{
    return At(ParentOf(EntryOf(child)));
}

int EntryModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(childrenOf(EntryOf(parent)).size());
}

int EntryModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool EntryModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant EntryModel::data(const QModelIndex& index, int role) const
{
    const int entry = EntryOf(index);
    if (entry < 0 || entry >= Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Label(entry);
    case MarkRole: {
        const TBcfgRecAll* record = RecordOf(entry);
        if (!record)
            return UnknownBlock;
        return record->Modified ? Modified : record->Imported ? Imported : Plain;
    }
    default:
        return {};
    }
}

Qt::ItemFlags EntryModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}
