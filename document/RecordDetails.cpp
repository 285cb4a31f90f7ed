#include "RecordDetails.h"

#include "CodePage.h"
#include "ParameterPath.h"
#include "TBCFGFile.h"
#include "TBcfgRec0103.h"

#include <QStringList>

namespace RecordDetails {

namespace {

QString offsetText(qint64 offset)
{
    return QStringLiteral("%1 (0x%2)").arg(offset).arg(QString::number(offset, 16).toUpper());
}

QString payloadText(const TBcfgRecAll& record)
{
    QByteArray payload;
    record.WritePayload(payload);
    if (payload.isEmpty())
        return QStringLiteral("none");
    QString hex = QString::fromLatin1(payload.left(ShownPayloadBytes).toHex(' ').toUpper());
    if (payload.size() > ShownPayloadBytes)
        hex += QStringLiteral(" ... (%1 bytes)").arg(payload.size());
    return hex;
}

QString marksText(const TBcfgRecAll& record)
{
    if (record.Modified && record.Imported)
        return QStringLiteral("changed, imported");
    if (record.Modified)
        return QStringLiteral("changed");
    if (record.Imported)
        return QStringLiteral("imported");
    return QStringLiteral("unchanged");
}

} // namespace

QString TypeWords(const TBcfgRecAll& record)
{
    return record.TypeWords();
}

QString Of(const TBcfgRecAll& record)
{
    QStringList lines{TypeWords(record)};
    if (dynamic_cast<const TBcfgRec0103*>(&record))
        lines << QStringLiteral("range: %1 .. %2").arg(record.Lowest()).arg(record.Highest());
    // A section's path ends with "/", as the lists of differences write it.
    lines << QStringLiteral("path: ") + ParameterPath::Of(record) +
                 (record.IsLevel() ? QStringLiteral("/") : QString());
    if (record.Occurrence > 0)
        lines << QStringLiteral("occurrence: %1").arg(record.Occurrence);
    lines << QStringLiteral("offset: ") +
                 offsetText(record.Doc ? record.Doc->OffsetOf(record.Index) : 0);
    lines << QStringLiteral("payload: ") + payloadText(record);
    lines << marksText(record);
    if (record.Imported && !record.LabelBeforeImport().isEmpty()) {
        const QByteArray before = ParameterPath::LabelValue(record, record.LabelBeforeImport());
        lines << QStringLiteral("before the import: ") + CodePage::ToUnicode(before);
    }
    return lines.join(QLatin1Char('\n'));
}

QString OfStop(const TBCFGFile& doc)
{
    if (doc.FullyLoaded())
        return {};
    return QStringLiteral("block not read: loading stopped here\noffset: %1\n"
                          "kept: %2 bytes from here to the end, written back as they are")
        .arg(offsetText(doc.StopOffset()))
        .arg(doc.Tail().size());
}

} // namespace RecordDetails
