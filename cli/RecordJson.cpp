#include "RecordJson.h"

#include "CodePage.h"
#include "Import.h"
#include "TBcfgRecAll.h"

QByteArray JsonString(const QByteArray& utf8)
{
    QByteArray out = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (uchar(c) < 0x20)
                out += "\\u" + QByteArray::number(uchar(c), 16).rightJustified(4, '0');
            else
                out += c;
        }
    }
    return out + "\"";
}

QByteArray RecordJson(const TBcfgRecAll& rec)
{
    const auto text = [](const QByteArray& bytes) {
        return JsonString(CodePage::ToUnicode(bytes).toUtf8());
    };
    const QByteArray min =
        rec.TypeCode == 1 ? QByteArray::number(rec.Min) : QByteArray::number(qint32(rec.Min));
    const QByteArray max =
        rec.TypeCode == 1 ? QByteArray::number(quint32(rec.Max)) : QByteArray::number(rec.Max);
    const auto flag = [](bool on) { return on ? QByteArray("true") : QByteArray("false"); };
    return "{\"index\":" + QByteArray::number(rec.Index) +
           ",\"type\":" + QByteArray::number(rec.TypeCode) +
           ",\"parent\":" + QByteArray::number(rec.ParentIndex) +
           ",\"occurrence\":" + QByteArray::number(rec.Occurrence) +
           ",\"name\":" + text(rec.NameText()) + ",\"label\":" + text(rec.DisplayText()) +
           ",\"key\":" + text(Import::PathKey(rec, false)) + ",\"min\":" + min + ",\"max\":" + max +
           ",\"modified\":" + flag(rec.Modified) + ",\"imported\":" + flag(rec.Imported) + "}";
}
