#include "PathCommands.h"

#include "BcfgError.h"
#include "Difference.h"
#include "Import.h"
#include "ParameterPath.h"
#include "RecordJson.h"
#include "TBCFGFile.h"
#include "ValueInput.h"

namespace PathCommands {

namespace {

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

QByteArray jsonValue(const std::optional<QString>& value)
{
    return value ? JsonString(utf8(*value)) : QByteArray("null");
}

QByteArray textLine(const Difference& d)
{
    static const char marks[] = {'~', '!', '-', '+'};
    QByteArray line = QByteArray(1, marks[d.kind]) + ' ' + utf8(d.path);
    if (!d.currentValue && !d.otherValue)
        return line; // a level
    switch (d.kind) {
    case Difference::Changed:
    case Difference::Refused:
        return line + ": " + utf8(*d.currentValue) + " -> " + utf8(*d.otherValue);
    case Difference::OnlyCurrent:
        return line + ": " + utf8(*d.currentValue);
    case Difference::OnlyOther:
        return line + ": " + utf8(*d.otherValue);
    }
    return line;
}

QByteArray jsonLine(const Difference& d)
{
    static const char* const kinds[] = {"changed", "refused", "only-current", "only-other"};
    return "{\"change\": \"" + QByteArray(kinds[d.kind]) +
           "\", \"path\": " + JsonString(utf8(d.path)) +
           ", \"type\": " + QByteArray::number(d.type) +
           ", \"current\": " + jsonValue(d.currentValue) +
           ", \"other\": " + jsonValue(d.otherValue) + "}";
}

// The record a path names; a path that names none or a level is refused
// with what refusal leads the message.
TBcfgRecAll& valueRecord(const TBCFGFile& doc, const QString& path, const QString& refusal)
{
    TBcfgRecAll* rec = ParameterPath::Find(doc, path);
    if (!rec)
        throw BcfgError(refusal + QStringLiteral(": no record has this path"));
    if (rec->IsLevel())
        throw BcfgError(refusal + QStringLiteral(": the path names a level"));
    return *rec;
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

bool Diff(const QString& current, const QString& other, bool json, const LoadFile& load,
          QByteArray& out)
{
    TBCFGFile* const currentDoc = &load(current);
    TBCFGFile* const otherDoc = &load(other);
    const std::vector<Difference> list =
        ListDifferences(*currentDoc, *otherDoc, Import::TranslateLevelNames(current, other));
    int counts[4] = {};
    for (const Difference& d : list) {
        ++counts[d.kind];
        out += (json ? jsonLine(d) : textLine(d)) + '\n';
    }
    if (!json)
        out += "changed " + QByteArray::number(counts[Difference::Changed]) + ", refused " +
               QByteArray::number(counts[Difference::Refused]) + ", only in CURRENT " +
               QByteArray::number(counts[Difference::OnlyCurrent]) + ", only in OTHER " +
               QByteArray::number(counts[Difference::OnlyOther]) + '\n';
    return !list.empty();
}

void Get(const QString& file, const QString& path, const LoadFile& load, QByteArray& out)
{
    TBCFGFile* const doc = &load(file);
    const TBcfgRecAll& rec =
        valueRecord(*doc, path, QStringLiteral("Cannot get %1").arg(quoted(path)));
    out += utf8(ValueInput::Text(rec)) + '\n';
}

void Set(const QString& file, const QList<QPair<QString, QString>>& pairs, const QString& output,
         const LoadFile& load)
{
    TBCFGFile* const doc = &load(file);
    // Stored in memory pair by pair; the first refusal throws before any save.
    for (const auto& [path, value] : pairs) {
        const QString refusal =
            QStringLiteral("Cannot set %1 to %2").arg(quoted(path), quoted(value));
        TBcfgRecAll& rec = valueRecord(*doc, path, refusal);
        QString why;
        if (!ValueInput::Store(rec, value, why))
            throw BcfgError(refusal + QStringLiteral(": ") + why);
    }
    // Another program may have written FILE since it was read: its bytes are not lost.
    if (output.isEmpty())
        doc->SaveInPlace(file, doc->ReadState());
    else
        doc->Save(output);
}

} // namespace PathCommands
