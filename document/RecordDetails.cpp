#include "RecordDetails.h"

#include "CodePage.h"
#include "ParameterPath.h"
#include "TBCFGFile.h"
#include "TBcfgRecString.h"

#include <QStringList>

namespace RecordDetails {

namespace {

QString offsetText(qint64 offset)
{
    return QStringLiteral("%1 (0x%2)").arg(offset).arg(QString::number(offset, 16).toUpper());
}

QString textWords(const char* kind, const TBcfgRecAll& record)
{
    // The payload holds the stored bytes and their zero byte.
    const auto& text = static_cast<const TBcfgRecString&>(record);
    return QStringLiteral("%1, up to %2 bytes").arg(QLatin1String(kind)).arg(text.BufferLength - 1);
}

QString rangeText(const TBcfgRecAll& record)
{
    if (record.TypeCode == 1)
        return QStringLiteral("%1 .. %2").arg(record.Min).arg(quint32(record.Max));
    return QStringLiteral("%1 .. %2").arg(record.MinSigned()).arg(record.Max);
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
    switch (record.TypeCode) {
    case 1:
        return QStringLiteral("unsigned integer");
    case 2:
        return textWords("text, UTF-8 with escape marks", record);
    case 3:
        return QStringLiteral("signed integer");
    case 4:
        return textWords("text", record);
    case 5:
        return QStringLiteral("choice of %1").arg(record.Max);
    case 6:
        return textWords("password", record);
    case 7:
        return QStringLiteral("coordinates X, Y");
    case 8:
        return QStringLiteral("colour R, G, B, alpha");
    case 9:
        return record.IsLevelBegin() ? QStringLiteral("section") : QStringLiteral("section end");
    case 10:
        return textWords("text, UTF-8", record);
    case 11:
        return QStringLiteral("check box");
    case 12:
        return QStringLiteral("time");
    case 13:
        return QStringLiteral("date");
    case 14:
        return QStringLiteral("rectangle X1, Y1, X2, Y2");
    default:
        return QStringLiteral("type %1").arg(int(record.TypeCode));
    }
}

QString Of(const TBcfgRecAll& record)
{
    QStringList lines{TypeWords(record)};
    if (record.TypeCode == 1 || record.TypeCode == 3)
        lines << QStringLiteral("range: ") + rangeText(record);
    // A section's path ends with "/", as the lists of differences write it.
    lines << QStringLiteral("path: ") + ParameterPath::Of(record) +
                 (record.TypeCode == 9 ? QStringLiteral("/") : QString());
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
