#include "TBCFGFile.h"

#include "BcfgError.h"
#include "FieldHash.h"
#include "FileName.h"
#include "LoaderState.h"
#include "RecordFactory.h"
#include "RecordStream.h"
#include "RegularFile.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <unordered_map>

namespace {

BcfgError changedSinceRead(const QString& fileName)
{
    return BcfgError(QCoreApplication::translate(
                         "TBCFGFile", "\"%1\" was changed by another program after it was read; "
                                      "nothing was written")
                         .arg(RegularFile::FullPath(fileName)));
}

QByteArray hexCode(quint32 code)
{
    return QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
}

// Text and choice records whose Max is negative have no layout.
bool hasNoLayout(quint32 code, qint32 max)
{
    switch (code) {
    case TypeCode::EscapedText:
    case TypeCode::Text:
    case TypeCode::Choice:
    case TypeCode::Password:
    case TypeCode::Utf8Text:
        return max < 0;
    default:
        return false;
    }
}

} // namespace

std::unique_ptr<TBCFGFile> TBCFGFile::Load(const QString& fileName, TreeSink* tree,
                                           LoadReporter* reporter)
{
    return OutOfMemoryAsError([&] {
        QFile file;
        RegularFile::OpenForReading(file, fileName);
        // Read in blocks while the records are made: the file is never held whole.
        RecordReader in(file, file.size());
        FileDigest digest;
        in.SetHash(&digest);
        FileState read;
        read.known = true;
        read.size = file.size();
        read.modified = file.fileTime(QFileDevice::FileModificationTime);
        std::unique_ptr<TBCFGFile> doc = load(in, tree, reporter);
        read.digest = digest.result();
        doc->m_readState = read;
        return doc;
    });
}

std::unique_ptr<TBCFGFile> TBCFGFile::FromBytes(const QByteArray& bytes, TreeSink* tree,
                                                LoadReporter* reporter)
{
    return OutOfMemoryAsError([&] {
        RecordReader in(bytes);
        return load(in, tree, reporter);
    });
}

std::unique_ptr<TBCFGFile> TBCFGFile::load(RecordReader& in, TreeSink* tree, LoadReporter* reporter)
{
    std::unique_ptr<TBCFGFile> doc(new TBCFGFile);
    {
        const RecordPool::Scope records(doc->m_pool);
        doc->Parse(in); // throws before any entry exists
    }
    doc->m_names.EndLoad();
    if (tree)
        doc->BuildTree(*tree);
    if (!doc->FullyLoaded() && reporter)
        reporter->loadMessage(doc->StopMessage());
    doc->Modified = false;
    return doc;
}

namespace {

// Occurrence counting: earlier records with the same parent and the same 32-byte
// name. Counts are kept per open level and dropped when it closes (no later
// record can be inside it), so they stay few and close at hand. Names view the
// document's NameStore, which outlives the load.
class SiblingCounts
{
public:
    qint32 next(qint32 parent, QByteArrayView name)
    {
        // Levels open in file order, so every open level above parent has a higher index.
        while (m_levels.size() > 1 && m_levels.back().level > parent) {
            m_names.resize(m_levels.back().first);
            if (!m_wide.empty() && m_wide.back().first == m_levels.back().level)
                m_wide.pop_back();
            m_levels.pop_back();
        }
        if (parent != m_levels.back().level)
            m_levels.push_back({parent, quint32(m_names.size())});
        const Level level = m_levels.back();
        const std::string_view bytes(name.data(), size_t(name.size()));
        if (!m_wide.empty() && m_wide.back().first == level.level)
            return (*m_wide.back().second)[bytes]++;
        // Most levels hold a few names, each held once by the NameStore.
        const auto begin = m_names.begin() + std::ptrdiff_t(level.first);
        for (auto seen = begin; seen != m_names.end(); ++seen)
            if (seen->data == bytes.data() && seen->size == bytes.size())
                return seen->count++;
        for (auto seen = begin; seen != m_names.end(); ++seen)
            if (seen->view() == bytes)
                return seen->count++;
        if (m_names.size() - level.first < Few) {
            m_names.push_back({bytes.data(), quint32(bytes.size()), 1});
            return 0;
        }
        auto counts = std::make_unique<Counts>();
        for (auto seen = begin; seen != m_names.end(); ++seen)
            counts->emplace(seen->view(), seen->count);
        m_names.resize(level.first);
        m_wide.emplace_back(level.level, std::move(counts));
        return (*m_wide.back().second)[bytes]++;
    }

private:
    static constexpr size_t Few = 16;
    struct Seen {
        const char* data;
        quint32 size;
        qint32 count;
        std::string_view view() const { return {data, size}; }
    };
    struct Level {
        qint32 level;
        quint32 first; // its names in m_names, up to the next level's
    };
    // Not a QHash: Qt 6.4's insertion is noexcept, so running out of memory
    // in it terminates instead of throwing.
    using Counts = std::unordered_map<std::string_view, qint32, FieldViewHash>;

    std::vector<Seen> m_names;
    std::vector<Level> m_levels = {{-1, 0}}; // the top level stays
    // Levels with more than a few names count in a table, innermost last.
    std::vector<std::pair<qint32, std::unique_ptr<Counts>>> m_wide;
};

} // namespace

void TBCFGFile::Parse(RecordReader& in)
{
    LoaderState state;
    SiblingCounts seen;
    // consumed: the block's bytes already read, which the tail starts with.
    const auto stopAt = [&](qint64 offset, QByteArray label, const QByteArray& consumed) {
        m_stopLabel = std::move(label);
        m_tail = consumed + in.rest();
        m_stopLevel = state.CurrentLevel;
        m_stopOffset = offset;
    };
    // Every record takes at least its header: one list step for the whole file.
    m_records.reserve(size_t(in.remaining() / TBcfgRecAll::HeaderSize));
    while (in.remaining() > 0) {
        const qint64 offset = in.pos();
        if (in.remaining() < 4) {
            // Too short for a type code: kept as a block of code 0.
            stopAt(offset, "Unknown Block: 0x" + hexCode(0), {});
            return;
        }
        const quint32 code = in.u32();
        if (code < TypeCode::First || code > TypeCode::Last) {
            QByteArray consumed;
            RecordWriter::u32(consumed, code);
            stopAt(offset, "Unknown Block: 0x" + hexCode(code), consumed);
            return;
        }
        std::unique_ptr<TBcfgRecAll> rec = CreateRecord(code);
        rec->Doc = this;
        rec->Index = Count();
        rec->TypeCode = code;
        rec->ParentIndex = state.CurrentLevel;
        rec->SetName(m_names.Add(in.readView(TextRules::NameSize)));
        rec->Min = in.u32();
        rec->Max = in.i32();
        if (hasNoLayout(code, rec->Max)) {
            QByteArray consumed;
            rec->AppendHeaderTo(consumed);
            stopAt(offset,
                   "Unreadable Block: 0x" + hexCode(code) + " at offset " +
                       QByteArray::number(offset),
                   consumed);
            return;
        }
        rec->Occurrence = seen.next(rec->ParentIndex, rec->Name());
        rec->ReadPayload(in, state);
        m_records.push_back(std::move(rec));
    }
}

qint64 TBCFGFile::OffsetOf(int index) const
{
    if (index < 0 || index >= Count())
        return 0;
    if (m_offsets.empty()) {
        m_offsets.reserve(m_records.size());
        QByteArray payload;
        qint64 offset = 0;
        for (const auto& rec : m_records) {
            m_offsets.push_back(offset);
            payload.resize(0);
            rec->WritePayload(payload);
            offset += TBcfgRecAll::HeaderSize + payload.size();
        }
    }
    return m_offsets[size_t(index)];
}

const QByteArray& TBCFGFile::LabelBeforeImport(int index) const
{
    static const QByteArray none;
    const auto found = m_labelsBeforeImport.find(index);
    return found == m_labelsBeforeImport.end() ? none : found->second;
}

void TBCFGFile::SetLabelBeforeImport(int index, const QByteArray& label)
{
    if (label.isEmpty())
        m_labelsBeforeImport.erase(index);
    else
        m_labelsBeforeImport[index] = label;
}

QString TBCFGFile::StopMessage() const
{
    return QString::fromLatin1(m_stopLabel) + QStringLiteral("\n\rFile is not fully loaded");
}

void TBCFGFile::BuildTree(TreeSink& tree)
{
    ShowInTree = true;
    // The entries of the open levels, innermost last: every record's parent is one of them.
    struct Open {
        qint32 index;
        TreeSink::Entry entry;
    };
    std::vector<Open> open;
    const auto entryOf = [&](qint32 index) -> TreeSink::Entry {
        while (!open.empty() && open.back().index != index)
            open.pop_back();
        return open.empty() ? nullptr : open.back().entry;
    };
    QByteArray label; // one buffer for every label: the sink copies what it keeps
    tree.reserve(Count() + 1);
    for (const auto& rec : m_records) {
        if (rec->IsLevelEnd())
            continue;
        label.resize(0);
        rec->AppendDisplayText(label);
        TreeSink::Entry entry = tree.append(entryOf(rec->ParentIndex), label, rec.get());
        if (rec->IsLevelBegin())
            open.push_back({rec->Index, entry});
    }
    if (FullyLoaded()) {
        tree.finishAppending();
        return;
    }
    TreeSink::Entry top = tree.append(entryOf(m_stopLevel), m_stopLabel, nullptr);
    tree.finishAppending();
    while (TreeSink::Entry parent = tree.parentOf(top))
        top = parent;
    tree.expandAll(top);
}

QByteArray TBCFGFile::Serialize() const
{
    QByteArray out;
    for (const auto& rec : m_records)
        rec->AppendTo(out);
    out.append(m_tail);
    return out;
}

FileState TBCFGFile::Save(const QString& fileName)
{
    return save(fileName, nullptr);
}

FileState TBCFGFile::SaveInPlace(const QString& fileName, const FileState& read)
{
    return save(fileName, &read);
}

FileState TBCFGFile::save(const QString& fileName, const FileState* read)
{
    FileState written = OutOfMemoryAsError([&] {
        FileDigest digest;
        const qint64 size = RegularFile::Replace(
            fileName, [&](QIODevice& file) { write(file, &digest); },
            [&] {
                // Checked as late as possible: the bytes replaced must be the ones read.
                if (read && read->Compare(fileName) == FileState::Disk::Changed)
                    throw changedSinceRead(fileName);
            });
        return FileState::Written(fileName, size, digest.result());
    });
    ClearModified();
    return written;
}

void TBCFGFile::SaveTo(QIODevice& device)
{
    OutOfMemoryAsError([&] { write(device); });
    ClearModified();
}

void TBCFGFile::write(QIODevice& device, FileDigest* hash) const
{
    // Written in blocks: the file's bytes are never built whole.
    constexpr qsizetype BlockSize = 256 * 1024;
    QByteArray block;
    block.reserve(BlockSize + 4096);
    const auto put = [&](const QByteArray& bytes) {
        if (device.write(bytes) != bytes.size())
            throw BcfgError(QStringLiteral("Stream write error"));
        if (hash)
            hash->addData(bytes);
    };
    const auto flush = [&] {
        put(block);
        block.resize(0);
    };
    for (const auto& rec : m_records) {
        rec->AppendTo(block);
        if (block.size() >= BlockSize)
            flush();
    }
    flush();
    put(m_tail);
}

void TBCFGFile::ClearModified()
{
    if (!Modified) // no record is marked without the document
        return;
    for (const auto& rec : m_records)
        rec->Modified = false;
    Modified = false;
}
