#include "TBCFGFile.h"

#include "BcfgError.h"
#include "LoaderState.h"
#include "PlatformFile.h"
#include "RecordFactory.h"
#include "RecordStream.h"
#include "TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <unordered_map>

namespace {

const QString NotRegular = QStringLiteral("Not a regular file");

QString fullPath(const QString& fileName)
{
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

BcfgError cannotOpen(const QString& fileName, const QString& reason)
{
    return BcfgError(QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath(fileName), reason));
}

BcfgError cannotCreate(const QString& fileName, const QString& reason)
{
    return BcfgError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath(fileName), reason));
}

// Whether saving to fileName replaces a regular file or creates a new one.
// QSaveFile writes to the end of a chain of links, and replaces the link
// itself when the chain loops, so the chain is followed here the same way.
bool replacesRegularFileOrNothing(const QString& fileName)
{
    QFileInfo target(fileName);
    for (int depth = 0; depth < 128 && target.isSymLink(); ++depth)
        target.setFile(target.symLinkTarget());
    return !target.isSymLink() && (!target.exists() || target.isFile());
}

QByteArray hexCode(quint32 code)
{
    return QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
}

// Text and choice records whose Max is negative have no layout.
bool hasNoLayout(quint32 code, qint32 max)
{
    return max < 0 && (code == 2 || code == 4 || code == 5 || code == 6 || code == 10);
}

} // namespace

std::unique_ptr<TBCFGFile> TBCFGFile::Load(const QString& fileName, TreeSink* tree,
                                           LoadReporter* reporter)
{
    const QByteArray bytes = OutOfMemoryAsError([&] {
        // Only regular files are read: a device may never end, and opening a
        // pipe waits for a writer, so the kind is checked before opening.
        const QFileInfo info(fileName);
        if (info.isDir())
            throw cannotOpen(fileName, QStringLiteral("Is a directory"));
        if (info.exists() && !info.isFile())
            throw cannotOpen(fileName, NotRegular);
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw cannotOpen(fileName, file.errorString());
        if (!PlatformFile::IsRegular(file)) // replaced since the check
            throw cannotOpen(fileName, NotRegular);
        QByteArray read = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw BcfgError(QStringLiteral("Stream read error"));
        return read;
    });
    return FromBytes(bytes, tree, reporter);
}

std::unique_ptr<TBCFGFile> TBCFGFile::FromBytes(const QByteArray& bytes, TreeSink* tree,
                                                LoadReporter* reporter)
{
    return OutOfMemoryAsError([&] {
        std::unique_ptr<TBCFGFile> doc(new TBCFGFile);
        doc->ShowInTree = tree != nullptr;
        doc->Parse(bytes); // throws before any entry exists
        if (tree)
            doc->BuildTree(*tree);
        if (!doc->FullyLoaded() && reporter)
            reporter->loadMessage(doc->StopMessage());
        doc->Modified = false;
        return doc;
    });
}

void TBCFGFile::Parse(const QByteArray& bytes)
{
    RecordReader in(bytes);
    LoaderState state;
    // Occurrence: earlier records with the same parent and the same 32-byte name.
    // Not a QHash: Qt 6.4's insertion is noexcept, so running out of memory in
    // it terminates instead of throwing.
    std::unordered_map<QByteArray, qint32> seen;
    while (in.pos() < in.size()) {
        const qsizetype offset = in.pos();
        const quint32 code = in.remaining() >= 4 ? in.u32() : (in.read(in.remaining()), 0u);
        if (code < 1 || code > 14) {
            m_stopLabel = "Unknown Block: 0x" + hexCode(code);
            m_tail = bytes.mid(offset);
            m_stopLevel = state.CurrentLevel;
            m_stopOffset = offset;
            return;
        }
        std::unique_ptr<TBcfgRecAll> rec = CreateRecord(code);
        rec->Doc = this;
        rec->Index = Count();
        rec->TypeCode = code;
        rec->ParentIndex = state.CurrentLevel;
        rec->Offset = offset;
        rec->Name = in.read(TextRules::NameSize);
        rec->Min = in.u32();
        rec->Max = in.i32();
        if (hasNoLayout(code, rec->Max)) {
            m_stopLabel =
                "Unreadable Block: 0x" + hexCode(code) + " at offset " + QByteArray::number(offset);
            m_tail = bytes.mid(offset);
            m_stopLevel = state.CurrentLevel;
            m_stopOffset = offset;
            return;
        }
        QByteArray key(4, '\0');
        qToLittleEndian(rec->ParentIndex, key.data());
        key.append(rec->Name);
        rec->Occurrence = seen[key]++;
        rec->ReadPayload(in, state);
        m_records.push_back(std::move(rec));
    }
}

QString TBCFGFile::StopMessage() const
{
    return QString::fromLatin1(m_stopLabel) + QStringLiteral("\n\rFile is not fully loaded");
}

void TBCFGFile::BuildTree(TreeSink& tree)
{
    std::vector<TreeSink::Entry> entries(m_records.size(), nullptr);
    const auto entryOf = [&](qint32 index) {
        return index >= 0 && size_t(index) < entries.size() ? entries[size_t(index)] : nullptr;
    };
    for (const auto& rec : m_records) {
        if (rec->IsLevelEnd())
            continue;
        entries[size_t(rec->Index)] =
            tree.append(entryOf(rec->ParentIndex), rec->DisplayText(), rec.get());
    }
    if (FullyLoaded())
        return;
    TreeSink::Entry top = tree.append(entryOf(m_stopLevel), m_stopLabel, nullptr);
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

void TBCFGFile::Save(const QString& fileName)
{
    OutOfMemoryAsError([&] {
        // QSaveFile renames its temporary over the path (or over what its links
        // lead to), which would put a regular file where a device or pipe was.
        if (!replacesRegularFileOrNothing(fileName))
            throw cannotCreate(fileName, NotRegular);
        const QByteArray bytes = Serialize();
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            throw cannotCreate(fileName, file.errorString());
        if (file.write(bytes) != bytes.size() || !file.commit())
            throw BcfgError(QStringLiteral("Stream write error")); // the temporary is discarded
    });
    ClearModified();
}

void TBCFGFile::SaveTo(QIODevice& device)
{
    const QByteArray bytes = OutOfMemoryAsError([this] { return Serialize(); });
    if (device.write(bytes) != bytes.size())
        throw BcfgError(QStringLiteral("Stream write error"));
    ClearModified();
}

void TBCFGFile::ClearModified()
{
    for (const auto& rec : m_records)
        rec->Modified = false;
    Modified = false;
}
