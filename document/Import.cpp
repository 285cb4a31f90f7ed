#include "Import.h"

#include "BcfgError.h"
#include "LoaderState.h"
#include "PathSlots.h"
#include "RecordFactory.h"
#include "RecordStream.h"
#include "TBCFGFile.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QtEndian>
#include <cstring>
#include <unordered_map>

namespace Import {

namespace {

// The numbering of an EXTRAINFO file name: the two characters after the prefix.
std::optional<qint32> extraInfoNumber(const QString& fileName)
{
    // Either separator ends the directory part, so names from any system work.
    const qsizetype cut =
        qMax(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    const QString name = fileName.mid(cut + 1).toUpper();
    if (!name.startsWith(QLatin1String("EXTRAINFO")))
        return std::nullopt;
    return ValueRules::ParseInt32(QStringView(name).mid(9, 2));
}

// The level names a translation turns into others.
struct Translated {
    QByteArrayView from;
    QByteArrayView to;
};
constexpr Translated TranslatedLevelNames[] = {{"Normal", "First"}, {"Locked", "Second"}};

// A record's level name as paths compare it, viewing the record's own field.
QByteArrayView levelNameView(const TBcfgRecAll& record, bool translate)
{
    const QByteArrayView name = TextRules::NameView(record.Name());
    if (record.IsLevel() && translate)
        for (const Translated& each : TranslatedLevelNames)
            if (name == each.from)
                return each.to;
    return name;
}

// Whether name is one of the translated level names or one they turn into.
bool translatedOrTranslation(QByteArrayView name)
{
    for (const Translated& each : TranslatedLevelNames)
        if (name == each.from || name == each.to)
            return true;
    return false;
}

} // namespace

bool TranslateLevelNames(const QString& currentFileName, const QString& chosenFileName)
{
    const auto a = extraInfoNumber(currentFileName);
    const auto b = extraInfoNumber(chosenFileName);
    return a && b && *a >= 16 && *b <= 15;
}

QByteArray PathKey(const TBcfgRecAll& record, bool translate)
{
    QList<QByteArray> parts;
    for (const TBcfgRecAll* rec = &record; rec;
         rec = rec->Doc ? rec->Doc->Record(rec->ParentIndex) : nullptr)
        parts.prepend(PathKeyPart(*rec, translate));
    return parts.join();
}

QByteArray PathKeyPart(const TBcfgRecAll& record, bool translate)
{
    QByteArray part;
    AppendPathKeyPart(part, record, translate);
    return part;
}

void AppendPathKeyPart(QByteArray& out, const TBcfgRecAll& record, bool translate)
{
    // One step: the records output makes a part for every record.
    const QByteArrayView name = levelNameView(record, translate);
    char numbers[48];
    const char* end =
        TextRules::WriteNumber(TextRules::WriteNumber(numbers, record.TypeCode), record.Occurrence);
    const qsizetype at = out.size();
    out.resize(at + (end - numbers) + name.size());
    char* to = out.data() + at;
    std::memcpy(to, numbers, size_t(end - numbers));
    std::memcpy(to + (end - numbers), name.data(), size_t(name.size()));
}

namespace {

// The current document's paths. A path is its parent's path and the record's
// own type code, occurrence and level name; each path stands for the first
// current record that has it. A flat table of record indices finds them, so
// matching a million records makes no allocation per record.
class CurrentPaths
{
public:
    static constexpr qint32 None = PathSlots::None;

    CurrentPaths(const TBCFGFile& current, bool translate)
        : m_doc(current), m_translate(translate), m_first(size_t(current.Count()), None)
    {
        if (!pathsAreUnique()) {
            buildTable();
            return;
        }
        for (size_t i = 0; i < m_first.size(); ++i)
            m_first[i] = qint32(i);
    }

    // The path (its first current record) made of the path parent and the
    // record's own part, None when no current record has it. guess is a
    // current record likely to have it: two versions of a file mostly keep
    // their layout, and trying it spares the table.
    qint32 lookup(qint32 parent, const TBcfgRecAll& rec, qint64 guess)
    {
        if (guess >= 0 && guess < m_doc.Count()) {
            const TBcfgRecAll& held = *m_doc.Record(qint32(guess));
            // Equal fields show equal names; other fields may still show the same one.
            if (held.TypeCode == rec.TypeCode && held.Occurrence == rec.Occurrence &&
                parentPath(held) == parent &&
                (held.Name() == rec.Name() ||
                 levelNameView(held, m_translate) == levelNameView(rec, m_translate)))
                return m_first[size_t(guess)];
        }
        if (m_slots.empty())
            buildTable();
        return slot(parent, rec).index;
    }

private:
    // Whether no two current records share a path, seen without a table: the
    // loader numbers equal names apart, so paths can only meet where names
    // differ after their zero byte or level names are translated alike.
    bool pathsAreUnique() const
    {
        if (!m_doc.NamesEndAtTheirZero())
            return false;
        if (!m_translate)
            return true;
        for (const auto& rec : m_doc.Records()) {
            if (!rec->IsLevel())
                continue;
            const QByteArrayView name = TextRules::NameView(rec->Name());
            if (translatedOrTranslation(name))
                return false;
        }
        return true;
    }

    void buildTable()
    {
        m_slots.Reset(m_first.size());
        for (const auto& rec : m_doc.Records()) {
            PathSlots::Slot& found = slot(parentPath(*rec), *rec);
            if (found.index == None)
                found.index = rec->Index;
            m_first[size_t(rec->Index)] = found.index;
        }
    }

    qint32 parentPath(const TBcfgRecAll& rec) const
    {
        return rec.HasParentBefore() ? m_first[size_t(rec.ParentIndex)] : None;
    }
    bool matches(qint32 index, qint32 parent, const TBcfgRecAll& rec, QByteArrayView name) const
    {
        const TBcfgRecAll& held = *m_doc.Record(index);
        return held.TypeCode == rec.TypeCode && held.Occurrence == rec.Occurrence &&
               parentPath(held) == parent && levelNameView(held, m_translate) == name;
    }
    PathSlots::Slot& slot(qint32 parent, const TBcfgRecAll& rec)
    {
        const QByteArrayView name = levelNameView(rec, m_translate);
        const quint64 h =
            (quint64(qHash(name)) ^ (quint64(quint32(parent)) << 32 | quint32(rec.Occurrence))) ^
            quint64(rec.TypeCode) * 0x9E3779B97F4A7C15u;
        return m_slots.Find(h, [&](qint32 index) { return matches(index, parent, rec, name); });
    }

    const TBCFGFile& m_doc;
    const bool m_translate;
    std::vector<qint32> m_first; // per current record, the first with its path
    PathSlots m_slots;
};

} // namespace

std::vector<TBcfgRecAll*> Counterparts(const TBCFGFile& current, const TBCFGFile& source,
                                       bool translate)
{
    return OutOfMemoryAsError([&] {
        CurrentPaths paths(current, translate);
        // Per source record, the current record standing for its path.
        std::vector<qint32> sourcePaths(size_t(source.Count()), CurrentPaths::None);
        std::vector<TBcfgRecAll*> result(sourcePaths.size(), nullptr);
        qint64 shift = 0;
        for (const auto& rec : source.Records()) {
            qint32 parent = CurrentPaths::None;
            if (rec->HasParentBefore()) {
                parent = sourcePaths[size_t(rec->ParentIndex)];
                if (parent == CurrentPaths::None)
                    continue; // the enclosing level has no counterpart, so neither has this
            }
            // Guessed where the last pair was: records inserted or removed
            // between the versions shift the rest alike.
            const qint32 path = paths.lookup(parent, *rec, qint64(rec->Index) + shift);
            sourcePaths[size_t(rec->Index)] = path;
            if (path != CurrentPaths::None) {
                result[size_t(rec->Index)] = current.Record(path);
                shift = path - rec->Index;
            }
        }
        return result;
    });
}

bool KeptAsShipped(const TBcfgRecAll* baseCounterpart, const TBcfgRecAll& source)
{
    return baseCounterpart && !source.IsLevel() && baseCounterpart->TypeCode == source.TypeCode &&
           baseCounterpart->SameValue(source);
}

std::vector<bool> KeptAsShipped(const TBCFGFile& base, const TBCFGFile& source, bool translate)
{
    const std::vector<TBcfgRecAll*> counterparts = Counterparts(base, source, translate);
    return OutOfMemoryAsError([&] {
        std::vector<bool> kept(counterparts.size(), false);
        for (size_t i = 0; i < counterparts.size(); ++i)
            kept[i] = KeptAsShipped(counterparts[i], *source.Record(qint32(i)));
        return kept;
    });
}

Verdict Judge(const TBcfgRecAll& current, const TBcfgRecAll& source)
{
    return OutOfMemoryAsError([&] {
        // A copy without a document: its MarkModified marks the copy alone.
        std::unique_ptr<TBcfgRecAll> copy = CreateRecord(current.TypeCode);
        if (!copy)
            return Verdict::Refused;
        copy->TypeCode = current.TypeCode;
        copy->SetName(current.Name().data()); // current outlives the copy
        copy->Min = current.Min;
        copy->Max = current.Max;
        copy->Occurrence = current.Occurrence;
        QByteArray payload;
        current.WritePayload(payload);
        RecordReader in(payload);
        LoaderState state;
        copy->ReadPayload(in, state);
        if (!copy->MergeFrom(source))
            return Verdict::Refused;
        return copy->Modified ? Verdict::Changes : Verdict::Unchanged;
    });
}

namespace {

// MergeSelected over count pairs, pair(i) giving each: the documents' pairs need no list.
template <typename PairAt>
Result mergePairs(size_t count, const PairAt& pairAt, const std::function<void()>& step,
                  LabelsBefore labels)
{
    return OutOfMemoryAsError([&] {
        // Which current records this call has already taken a value into, so a
        // second pair for the same record keeps the label from before the first.
        const bool keepLabels = labels == LabelsBefore::Kept;
        size_t records = 0;
        if (keepLabels)
            for (size_t i = 0; i < count; ++i)
                if (const TBcfgRecAll* current = pairAt(i).current)
                    records = qMax(records, size_t(current->Index) + 1);
        std::vector<bool> labelled(records, false);

        Result result;
        for (size_t i = 0; i < count; ++i) {
            const Pair pair = pairAt(i);
            if (TBcfgRecAll* target = pair.current) {
                ++result.matched;
                const QByteArray before = keepLabels ? target->DisplayText() : QByteArray();
                if (target->MergeFrom(*pair.source)) {
                    ++result.accepted;
                    if (keepLabels && !labelled[size_t(target->Index)]) {
                        labelled[size_t(target->Index)] = true;
                        target->SetLabelBeforeImport(before);
                    }
                }
            }
            if (step)
                step();
        }
        return result;
    });
}

} // namespace

Result MergeSelected(const std::vector<Pair>& pairs, const std::function<void()>& step,
                     LabelsBefore labels)
{
    return mergePairs(
        pairs.size(), [&](size_t i) { return pairs[i]; }, step, labels);
}

Result MergeDocuments(TBCFGFile& current, const TBCFGFile& source, bool translate,
                      const std::function<void()>& step, LabelsBefore labels)
{
    return MergeDocuments(current, source, translate, std::vector<bool>(), step, labels);
}

Result MergeDocuments(TBCFGFile& current, const TBCFGFile& source, bool translate,
                      const std::vector<bool>& keptAsShipped, const std::function<void()>& step,
                      LabelsBefore labels)
{
    // Everything the matching needs is built before the first record changes,
    // so running out of memory here leaves current as it was.
    std::vector<TBcfgRecAll*> counterparts = Counterparts(current, source, translate);
    int kept = 0;
    for (size_t i = 0; i < counterparts.size() && i < keptAsShipped.size(); ++i) {
        if (!keptAsShipped[i] || !counterparts[i])
            continue;
        // Equal values change nothing: only a new default needs the type's rule.
        const TBcfgRecAll& rec = *source.Record(int(i));
        if (!counterparts[i]->SameValue(rec) && Judge(*counterparts[i], rec) == Verdict::Changes)
            ++kept;
        counterparts[i] = nullptr;
    }
    Result result = mergePairs(
        counterparts.size(),
        [&](size_t i) {
            return Pair{counterparts[i], source.Record(int(i))};
        },
        step, labels);
    result.kept = kept;
    return result;
}

} // namespace Import
