#include "Settings.h"

#include "BcfgError.h"
#include "PathIndex.h"
#include "TBCFGFile.h"
#include "ValueInput.h"

#include <QCoreApplication>

namespace Settings {

std::vector<Setting> Apply(TBCFGFile& doc, const std::vector<Setting>& settings, Missing missing)
{
    std::vector<Setting> skipped;
    const PathIndex index(doc);
    int next = 0; // a settings text mostly follows the file: the record after the last one set
    for (const Setting& setting : settings) {
        TBcfgRecAll* found = index.Find(setting.path, next);
        if (!found && missing == Missing::Skipped) {
            skipped.push_back(setting);
            continue;
        }
        // Made only for a refusal: a million settings set without one make no message.
        const auto refusal = [&] {
            return AtLine(setting.line,
                          QCoreApplication::translate("Settings", "Cannot set %1 to %2")
                              .arg(Quoted(setting.path), Quoted(setting.value)));
        };
        if (!found || found->IsLevel())
            ValueRecord(found, refusal());
        QString why;
        if (!ValueInput::Store(*found, setting.value, why))
            throw BcfgError(refusal() + QStringLiteral(": ") + why);
        next = found->Index + 1;
    }
    return skipped;
}

TBcfgRecAll& ValueRecord(TBcfgRecAll* found, const QString& refusal)
{
    if (!found)
        throw BcfgError(refusal +
                        QCoreApplication::translate("Settings", ": no record has this path"));
    if (found->IsLevel())
        throw BcfgError(refusal +
                        QCoreApplication::translate("Settings", ": the path names a level"));
    return *found;
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString AtLine(qint64 line, const QString& text)
{
    return line > 0 ? QCoreApplication::translate("Settings", "Line %1: %2").arg(line).arg(text)
                    : text;
}

QString NothingToApply(const QString& fileName)
{
    return QCoreApplication::translate("Settings", "Nothing to apply: %1 holds no settings")
        .arg(fileName);
}

} // namespace Settings
