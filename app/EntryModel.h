#pragma once

#include <QAbstractItemModel>
#include <QByteArray>
#include <QList>
#include <vector>

class TBcfgRecAll;

// The entries of the main window's tree: a compact table the loader fills through the tree
// interface (each entry its parent, its record or none, its row), in tree order. Labels and
// marks are read from the records when the view asks, so nothing is copied per entry; the
// session announces which records changed and only their entries (and the levels around
// them, whose marks follow their contents) are drawn again. The document owns the records,
// so the entries must be cleared before it goes.
class EntryModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // What an entry's colour tells (Mark role): its record's marks, Modified before Imported.
    enum Mark { Plain, Modified, Imported, UnknownBlock };
    static constexpr int MarkRole = Qt::UserRole;

    explicit EntryModel(QObject* parent = nullptr);

    // --- filling (the loader, through the main tree) ---
    void Clear();
    // Appends an entry as the last child of parent (-1: top level); record nullptr stands for
    // the block the loader could not read, labelled label. Entries come in tree order: each
    // after its parent and after every entry of its earlier siblings' branches. Returns the
    // new entry's number.
    int Append(int parent, const QByteArray& label, TBcfgRecAll* record);
    // Room for this many entries, and for the records of a document of that many.
    void Reserve(int entries);
    // Every entry is appended: the view may show them (until then none is announced).
    void FinishAppending();
    int ParentOf(int entry) const { return entry >= 0 ? m_entries[size_t(entry)].parent : -1; }

    // --- entries by number, in tree order (0 .. Count() - 1) ---
    int Count() const { return int(m_entries.size()); }
    QModelIndex At(int entry) const;
    static int EntryOf(const QModelIndex& index)
    {
        return index.isValid() ? int(index.internalId()) : -1;
    }
    TBcfgRecAll* RecordOf(int entry) const
    {
        return entry >= 0 && entry < Count() ? m_entries[size_t(entry)].record : nullptr;
    }
    TBcfgRecAll* RecordOf(const QModelIndex& index) const { return RecordOf(EntryOf(index)); }
    bool IsUnknownBlock(const QModelIndex& index) const;
    // The entry of record (of the document shown), in constant time; invalid without one.
    QModelIndex IndexOf(const TBcfgRecAll* record) const;
    QString Label(int entry) const;

    // --- changes ---
    // The records with these Index numbers changed their values or marks: their entries
    // and the levels around them are drawn again.
    void RecordsChanged(const QList<int>& records);
    // Any record may have changed: every entry is drawn again.
    void EveryRecordChanged();

    // --- QAbstractItemModel ---
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Entry {
        TBcfgRecAll* record;
        qint32 parent;   // -1: top level
        qint32 row;      // among its parent's children
        qint32 children; // its list in m_children, -1 while it has none
    };
    const std::vector<qint32>& childrenOf(int entry) const;

    std::vector<Entry> m_entries;
    // The children of the entries that have any, and (first) the top level's.
    std::vector<std::vector<qint32>> m_children;
    // The entry of each record by its Index; -1 for a level's closing record.
    std::vector<qint32> m_entryOfRecord;
    QByteArray m_unknownBlockLabel;
    bool m_appending = false; // inside a reset while the loader appends
};
