#include "PathCommands.h"

#include "BcfgError.h"
#include "Difference.h"
#include "Import.h"
#include "ParameterPath.h"
#include "RecordJson.h"
#include "RegularFile.h"
#include "Settings.h"
#include "SettingsText.h"
#include "TBCFGFile.h"
#include "ValueInput.h"

#include <future>

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
    static const char marks[] = {'~', '!', '-', '+', '='};
    QByteArray line = QByteArray(1, marks[d.kind]) + ' ' + utf8(d.path);
    if (!d.currentValue && !d.otherValue)
        return line; // a level
    switch (d.kind) {
    case Difference::Changed:
    case Difference::Refused:
    case Difference::Kept:
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
    static const char* const kinds[] = {"changed", "refused", "only-current", "only-other", "kept"};
    return "{\"change\": \"" + QByteArray(kinds[d.kind]) +
           "\", \"path\": " + JsonString(utf8(d.path)) +
           ", \"type\": " + QByteArray::number(d.type) +
           ", \"current\": " + jsonValue(d.currentValue) +
           ", \"other\": " + jsonValue(d.otherValue) + "}";
}

} // namespace

bool Diff(const QString& current, const QString& other, bool json, const LoadFile& load,
          QByteArray& out, const std::optional<QString>& base)
{
    TBCFGFile* const currentDoc = &load(current);
    TBCFGFile* const otherDoc = &load(other);
    const bool translate = Import::TranslateLevelNames(current, other);
    std::vector<bool> kept;
    if (base)
        kept = Import::KeptAsShipped(load(*base), *otherDoc, translate);
    const std::vector<Difference> list = ListDifferences(*currentDoc, *otherDoc, translate, kept);
    int counts[5] = {};
    for (const Difference& d : list) {
        ++counts[d.kind];
        out += (json ? jsonLine(d) : textLine(d)) + '\n';
    }
    if (!json)
        out += "changed " + QByteArray::number(counts[Difference::Changed]) + ", refused " +
               QByteArray::number(counts[Difference::Refused]) + ", only in CURRENT " +
               QByteArray::number(counts[Difference::OnlyCurrent]) + ", only in OTHER " +
               QByteArray::number(counts[Difference::OnlyOther]) +
               (base ? ", kept " + QByteArray::number(counts[Difference::Kept]) : QByteArray()) +
               '\n';
    return !list.empty();
}

void Get(const QString& file, const QString& path, const LoadFile& load, QByteArray& out)
{
    TBCFGFile* const doc = &load(file);
    const TBcfgRecAll& rec =
        Settings::ValueRecord(ParameterPath::Find(*doc, path),
                              QStringLiteral("Cannot get %1").arg(Settings::Quoted(path)));
    out += utf8(ValueInput::Text(rec)) + '\n';
}

// FILE in place only when another program has not written it since it was read: its bytes
// are not lost. OUT is written whatever it holds.
void saveOnce(TBCFGFile& doc, const QString& file, const QString& output)
{
    if (output.isEmpty())
        doc.SaveInPlace(file, doc.ReadState());
    else
        doc.Save(output);
}

void Set(const QString& file, const QList<QPair<QString, QString>>& pairs, const QString& output,
         const LoadFile& load)
{
    TBCFGFile* const doc = &load(file);
    Settings::List settings;
    for (const auto& [path, value] : pairs)
        settings.push_back({path, value});
    // Stored in memory pair by pair; the first refusal throws before any save.
    Settings::Apply(*doc, settings);
    saveOnce(*doc, file, output);
}

void Load(const QString& file, const QString& settingsFile, const QString& output, bool skipMissing,
          const LoadFile& load, QByteArray& err)
{
    // The settings are read while the file loads; the file's own error comes first.
    auto reading = std::async(std::launch::async | std::launch::deferred, [&] {
        return SettingsText::Read(RegularFile::ReadAll(settingsFile));
    });
    TBCFGFile* const doc = &load(file);
    const Settings::List settings = reading.get();
    if (settings.empty())
        err += BcfgError::withFullStop(Settings::NothingToApply(settingsFile)).toUtf8() + '\n';
    const auto skipped = Settings::Apply(
        *doc, settings, skipMissing ? Settings::Missing::Skipped : Settings::Missing::Refused);
    for (const Settings::Setting& setting : skipped)
        err += "skipped " + utf8(setting.path) + '\n';
    saveOnce(*doc, file, output);
}

} // namespace PathCommands
