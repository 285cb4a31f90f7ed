#include "RecordDetails.h"

#include "CodePage.h"
#include "ParameterPath.h"
#include "TBCFGFile.h"
#include "TBcfgRec0103.h"

#include <QCoreApplication>
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
        return QCoreApplication::translate("RecordDetails", "none");
    QString hex = QString::fromLatin1(payload.left(ShownPayloadBytes).toHex(' ').toUpper());
    if (payload.size() > ShownPayloadBytes)
        hex += QCoreApplication::translate("RecordDetails", " ... (%n bytes)", nullptr,
                                           int(payload.size()));
    return hex;
}

QString marksText(const TBcfgRecAll& record)
{
    if (record.Modified && record.Imported)
        return QCoreApplication::translate("RecordDetails", "changed, imported");
    if (record.Modified)
        return QCoreApplication::translate("RecordDetails", "changed");
    if (record.Imported)
        return QCoreApplication::translate("RecordDetails", "imported");
    return QCoreApplication::translate("RecordDetails", "unchanged");
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
        lines << QCoreApplication::translate("RecordDetails", "range: %1 .. %2")
                     .arg(record.Lowest())
                     .arg(record.Highest());
    // A section's path ends with "/", as the lists of differences write it.
    lines << QCoreApplication::translate("RecordDetails", "path: ") + ParameterPath::Of(record) +
                 (record.IsLevel() ? QStringLiteral("/") : QString());
    if (record.Occurrence > 0)
        lines << QCoreApplication::translate("RecordDetails", "occurrence: %1")
                     .arg(record.Occurrence);
    lines << QCoreApplication::translate("RecordDetails", "offset: ") +
                 offsetText(record.Doc ? record.Doc->OffsetOf(record.Index) : 0);
    lines << QCoreApplication::translate("RecordDetails", "payload: ") + payloadText(record);
    lines << marksText(record);
    if (record.Imported && !record.LabelBeforeImport().isEmpty()) {
        const QByteArray before = ParameterPath::LabelValue(record, record.LabelBeforeImport());
        lines << QCoreApplication::translate("RecordDetails", "before the import: ") +
                     CodePage::ToUnicode(before);
    }
    return lines.join(QLatin1Char('\n'));
}

QString OfStop(const TBCFGFile& doc)
{
    if (doc.FullyLoaded())
        return {};
    return QCoreApplication::translate("RecordDetails",
                                       "block not read: loading stopped here\noffset: %1\n"
                                       "kept: %n bytes from here to the end, "
                                       "written back as they are",
                                       nullptr, int(doc.Tail().size()))
        .arg(offsetText(doc.StopOffset()));
}

} // namespace RecordDetails
