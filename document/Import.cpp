#include "Import.h"

#include "BcfgError.h"
#include "TBCFGFile.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QtEndian>
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

QByteArray levelName(const TBcfgRecAll& record, bool translate)
{
    const QByteArray name = record.NameText();
    if (record.TypeCode == 9 && translate) {
        if (name == "Normal")
            return "First";
        if (name == "Locked")
            return "Second";
    }
    return name;
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
        parts.prepend(QByteArray::number(rec->TypeCode) + QByteArray::number(rec->Occurrence) +
                      levelName(*rec, translate));
    return parts.join();
}

namespace {

// Numbers every distinct path: a path's number follows from its parent's
// number and its own type code, occurrence and name text, so equal paths get
// equal numbers in both documents and no key grows with the depth.
class PathNumbers
{
public:
    static constexpr int None = -1;

    explicit PathNumbers(size_t expected) { m_numbers.reserve(expected); }

    int number(int parentNumber, const TBcfgRecAll& rec, bool translate, bool add)
    {
        const QByteArray name = levelName(rec, translate);
        QByteArray key(12, '\0');
        qToLittleEndian(qint32(parentNumber), key.data());
        qToLittleEndian(rec.TypeCode, key.data() + 4);
        qToLittleEndian(quint32(rec.Occurrence), key.data() + 8);
        key.append(name);
        const auto it = m_numbers.find(key);
        if (it != m_numbers.end())
            return it->second;
        if (!add)
            return None;
        const int next = int(m_numbers.size());
        m_numbers.emplace(key, next);
        return next;
    }

private:
    // Not a QHash: Qt 6.4's insertion is noexcept, so running out of memory in
    // it terminates instead of throwing.
    std::unordered_map<QByteArray, int> m_numbers;
};

// Path numbers of a document's records in array order (parents come first).
std::vector<int> numberPaths(PathNumbers& numbers, const TBCFGFile& doc, bool translate, bool add)
{
    std::vector<int> result(size_t(doc.Count()), PathNumbers::None);
    for (const auto& rec : doc.Records()) {
        int parent = PathNumbers::None;
        if (rec->ParentIndex >= 0) {
            parent = result[size_t(rec->ParentIndex)];
            if (parent == PathNumbers::None)
                continue; // the enclosing level has no counterpart, so neither has this
        }
        result[size_t(rec->Index)] = numbers.number(parent, *rec, translate, add);
    }
    return result;
}

} // namespace

Result MergeDocuments(TBCFGFile& current, const TBCFGFile& source, bool translate,
                      const std::function<void()>& step)
{
    return OutOfMemoryAsError([&] {
        // Everything the matching needs is built before the first record
        // changes, so running out of memory here leaves current as it was.
        PathNumbers numbers(size_t(current.Count()));
        const std::vector<int> currentPaths = numberPaths(numbers, current, translate, true);
        // The first current record of each path wins.
        std::vector<TBcfgRecAll*> first(currentPaths.size(), nullptr);
        for (size_t i = currentPaths.size(); i-- > 0;)
            first[size_t(currentPaths[i])] = current.Record(int(i));
        const std::vector<int> sourcePaths = numberPaths(numbers, source, translate, false);

        // Which current records this import has already taken a value into, so
        // a second source record of the same path keeps the label from before it.
        std::vector<bool> labelled(size_t(current.Count()), false);

        Result result;
        for (const auto& imported : source.Records()) {
            const int path = sourcePaths[size_t(imported->Index)];
            if (TBcfgRecAll* target = path == PathNumbers::None ? nullptr : first[size_t(path)]) {
                ++result.matched;
                const QByteArray before = target->DisplayText();
                if (target->MergeFrom(*imported)) {
                    ++result.accepted;
                    if (!labelled[size_t(target->Index)]) {
                        labelled[size_t(target->Index)] = true;
                        target->LabelBeforeImport = before;
                    }
                }
            }
            if (step)
                step();
        }
        return result;
    });
}

} // namespace Import
