#pragma once

#include "FileState.h"
#include "NameStore.h"
#include "RecordPool.h"
#include "TBcfgRecAll.h"
#include "TreeSink.h"

#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

class FileDigest;
class QIODevice;
class RecordReader;

// One configuration file: its records in file order. A load that stops at a
// block it cannot read keeps the records before it and the bytes from that
// block on (Tail), which saving writes back after the records.
class TBCFGFile
{
public:
    // Loads fileName, which must be a regular file (or a link to one); nothing
    // else is opened. With a tree (ShowInTree) the entries are appended to it;
    // the message about a block that cannot be read goes to reporter (if any)
    // after the entries exist. Throws BcfgError ("Cannot open file ...",
    // "Stream read error", "Out of memory"); no entries are appended then,
    // unless memory runs out while they are.
    static std::unique_ptr<TBCFGFile> Load(const QString& fileName, TreeSink* tree,
                                           LoadReporter* reporter);
    // The same for bytes already in memory.
    static std::unique_ptr<TBCFGFile> FromBytes(const QByteArray& bytes, TreeSink* tree,
                                                LoadReporter* reporter);

    int Count() const { return int(m_records.size()); }
    // Whether every record's name field ends at its first zero byte (zeros after it).
    bool NamesEndAtTheirZero() const { return !m_names.AnyBytesAfterZero(); }
    // nullptr when index is out of range.
    TBcfgRecAll* Record(int index) const
    {
        return index >= 0 && index < Count() ? m_records[size_t(index)].get() : nullptr;
    }
    const std::vector<std::unique_ptr<TBcfgRecAll>>& Records() const { return m_records; }

    bool Modified = false;
    // Whether the document's entries are in a tree (BuildTree sets it): the current document,
    // not an import's source.
    bool ShowInTree = false;

    // False when loading stopped at a block it could not read.
    bool FullyLoaded() const { return m_stopLabel.isEmpty(); }
    // The label of the entry that stands for that block ("Unknown Block: 0x0F").
    const QByteArray& StopLabel() const { return m_stopLabel; }
    // The message the user is shown about it (two lines joined by "\n\r").
    QString StopMessage() const;
    // The file as Load read it (size, time, digest of the bytes read); not known for FromBytes.
    const FileState& ReadState() const { return m_readState; }

    // The bytes from that block's first byte to the end of the file.
    const QByteArray& Tail() const { return m_tail; }
    // Where that block starts in the file.
    qint64 StopOffset() const { return m_stopOffset; }

    // Where record index starts in the bytes the document was loaded from (0
    // out of range). Worked out when first asked: records keep their sizes.
    qint64 OffsetOf(int index) const;

    // The labels from before an import (TBcfgRecAll::LabelBeforeImport); few
    // records have one.
    const QByteArray& LabelBeforeImport(int index) const;
    void SetLabelBeforeImport(int index, const QByteArray& label);

    // Appends the document's entries to tree (records, then the entry of a
    // block that could not be read, whose top-level branch is expanded) and sets ShowInTree.
    void BuildTree(TreeSink& tree);

    // The file's bytes: every record in order, then the kept tail.
    QByteArray Serialize() const;
    // Replaces fileName atomically; on failure the file is untouched, the
    // marks stay and BcfgError ("Cannot create file ...", "Stream write
    // error", "Out of memory") is thrown. An existing fileName that is not a
    // regular file (or a link to one), or that has no write permission (also
    // for a user whom the system would let write it), is refused; a replaced
    // file keeps its permissions. On success every Modified mark is cleared
    // and the state of the file written is returned.
    FileState Save(const QString& fileName);
    // Save over the file that read describes, in place: when fileName holds
    // other bytes by the time they would be replaced (another program wrote
    // it after it was read), nothing is written and BcfgError ("... was
    // changed by another program ...") is thrown. A fileName that is gone is
    // written again; with read not known this is Save.
    FileState SaveInPlace(const QString& fileName, const FileState& read);
    // Writes to an open device; the same marks rule.
    void SaveTo(QIODevice& device);

private:
    TBCFGFile() = default;
    static std::unique_ptr<TBCFGFile> load(RecordReader& in, TreeSink* tree,
                                           LoadReporter* reporter);
    void Parse(RecordReader& in);
    // Every record in order, then the kept tail; throws "Stream write error".
    void write(QIODevice& device, FileDigest* hash = nullptr) const;
    FileState save(const QString& fileName, const FileState* read);
    void ClearModified();

    NameStore m_names; // outlives the records, which point into it
    RecordPool m_pool; // outlives the records, which it holds; its memory goes with the document
    std::vector<std::unique_ptr<TBcfgRecAll>> m_records;
    QByteArray m_stopLabel;
    QByteArray m_tail;
    qint32 m_stopLevel = -1; // the level open where loading stopped
    qint64 m_stopOffset = 0;
    std::unordered_map<qint32, QByteArray> m_labelsBeforeImport;
    mutable std::vector<qint64> m_offsets; // empty until asked for
    FileState m_readState;
};
