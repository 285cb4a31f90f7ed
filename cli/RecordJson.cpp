#include "RecordJson.h"

#include "CodePage.h"
#include "Import.h"
#include "TBcfgRecAll.h"

#include <charconv>

namespace {

// Appends c escaped when JSON needs it; false when c is not ASCII.
void appendEscaped(QByteArray& out, char c)
{
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
        if (uchar(c) < 0x20) {
            static const char hex[] = "0123456789abcdef";
            const char escape[] = {'\\', 'u', '0', '0', hex[uchar(c) >> 4], hex[uchar(c) & 15]};
            out.append(escape, 6);
        } else {
            out += c;
        }
    }
}

template <typename Number> void appendNumber(QByteArray& out, Number n)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end - digits);
}

} // namespace

QByteArray JsonString(const QByteArray& utf8)
{
    QByteArray out = "\"";
    for (const char c : utf8)
        appendEscaped(out, c);
    return out + "\"";
}

void AppendJsonText(QByteArray& out, QByteArrayView text8)
{
    // Escapes are all ASCII, so bytes above it are converted in runs.
    const char* data = text8.data();
    qsizetype i = 0;
    while (i < text8.size()) {
        qsizetype run = i;
        while (run < text8.size() && uchar(data[run]) >= 0x80)
            ++run;
        if (run > i) {
            CodePage::AppendUtf8(out, QByteArrayView(data + i, run - i));
            i = run;
            continue;
        }
        appendEscaped(out, data[i++]);
    }
}

void AppendRecordJson(QByteArray& out, const TBcfgRecAll& rec, QByteArrayView keyJson)
{
    const auto flag = [](bool on) { return on ? "true" : "false"; };
    out += "{\"index\":";
    appendNumber(out, rec.Index);
    out += ",\"type\":";
    appendNumber(out, rec.TypeCode);
    out += ",\"parent\":";
    appendNumber(out, rec.ParentIndex);
    out += ",\"occurrence\":";
    appendNumber(out, rec.Occurrence);
    out += ",\"name\":\"";
    AppendJsonText(out, rec.NameText());
    out += "\",\"label\":\"";
    AppendJsonText(out, rec.DisplayText());
    out += "\",\"key\":\"";
    out += keyJson;
    out += "\",\"min\":";
    if (rec.TypeCode == 1)
        appendNumber(out, rec.Min);
    else
        appendNumber(out, qint32(rec.Min));
    out += ",\"max\":";
    if (rec.TypeCode == 1)
        appendNumber(out, quint32(rec.Max));
    else
        appendNumber(out, rec.Max);
    out += ",\"modified\":";
    out += flag(rec.Modified);
    out += ",\"imported\":";
    out += flag(rec.Imported);
    out += '}';
}

QByteArray RecordJson(const TBcfgRecAll& rec)
{
    QByteArray key;
    AppendJsonText(key, Import::PathKey(rec, false));
    QByteArray out;
    AppendRecordJson(out, rec, key);
    return out;
}
