#include "RecordJson.h"

#include "CodePage.h"
#include "Import.h"
#include "TBcfgRecAll.h"
#include "TextRules.h"

#include <charconv>
#include <cstring>

namespace {

// Writes c at to, escaped when JSON needs it (c is ASCII); returns the end. At most 6 bytes.
char* writeEscaped(char* to, char c)
{
    static const char hex[] = "0123456789abcdef";
    const auto pair = [&](char second) {
        *to++ = '\\';
        *to++ = second;
        return to;
    };
    switch (c) {
    case '"':
        return pair('"');
    case '\\':
        return pair('\\');
    case '\n':
        return pair('n');
    case '\r':
        return pair('r');
    case '\t':
        return pair('t');
    default:
        if (uchar(c) < 0x20) {
            const char escape[] = {'\\', 'u', '0', '0', hex[uchar(c) >> 4], hex[uchar(c) & 15]};
            std::memcpy(to, escape, sizeof escape);
            return to + sizeof escape;
        }
        *to++ = c;
        return to;
    }
}

constexpr quint64 Ones = 0x0101010101010101u;
constexpr quint64 Highs = 0x8080808080808080u;

bool hasZeroByte(quint64 word)
{
    return ((word - Ones) & ~word & Highs) != 0;
}

// Whether eight bytes go into a JSON string as they are: ASCII from 0x20, no '"', no '\\'.
bool plainWord(quint64 word)
{
    return (word & Highs) == 0 && ((word + 0x60 * Ones) & Highs) == Highs &&
           !hasZeroByte(word ^ ('"' * Ones)) && !hasZeroByte(word ^ ('\\' * Ones));
}

// Writes text8 as the inside of a JSON string; at most 6 bytes per byte.
char* writeJsonText(char* to, QByteArrayView text8)
{
    const char* from = text8.data();
    const char* const end = from + text8.size();
    while (from < end) {
        quint64 word;
        if (end - from >= 8 && (std::memcpy(&word, from, 8), plainWord(word))) {
            std::memcpy(to, from, 8);
            to += 8;
            from += 8;
            continue;
        }
        // Escapes are all ASCII, so bytes above it are converted in runs.
        if (uchar(*from) >= 0x80) {
            const char* run = from;
            while (run < end && uchar(*run) >= 0x80)
                ++run;
            to = CodePage::WriteUtf8(to, QByteArrayView(from, run - from));
            from = run;
            continue;
        }
        to = writeEscaped(to, *from++);
    }
    return to;
}

template <typename Number> char* writeNumber(char* to, Number n)
{
    return std::to_chars(to, to + 24, n).ptr;
}

template <size_t N> char* writeLiteral(char* to, const char (&text)[N])
{
    std::memcpy(to, text, N - 1);
    return to + N - 1;
}

} // namespace

QByteArray JsonString(const QByteArray& utf8)
{
    QByteArray out(2 + 6 * utf8.size(), Qt::Uninitialized);
    char* to = out.data();
    *to++ = '"';
    for (const char c : utf8)
        to = writeEscaped(to, c);
    *to++ = '"';
    out.truncate(to - out.constData());
    return out;
}

void AppendJsonText(QByteArray& out, QByteArrayView text8)
{
    const qsizetype at = out.size();
    out.resize(at + 6 * text8.size());
    out.resize(writeJsonText(out.data() + at, text8) - out.constData());
}

void AppendRecordJson(QByteArray& out, const TBcfgRecAll& rec, QByteArrayView keyJson)
{
    // Written in place, each piece at most as long as allowed for here.
    thread_local QByteArray label;
    label.resize(0);
    rec.AppendDisplayText(label);
    const QByteArrayView name = TextRules::NameView(rec.Name());
    const qsizetype at = out.size();
    out.resize(at + 256 + 6 * (name.size() + label.size()) + keyJson.size());
    char* to = out.data() + at;
    const auto flag = [&](bool on) {
        return on ? writeLiteral(to, "true") : writeLiteral(to, "false");
    };
    to = writeLiteral(to, "{\"index\":");
    to = writeNumber(to, rec.Index);
    to = writeLiteral(to, ",\"type\":");
    to = writeNumber(to, rec.TypeCode);
    to = writeLiteral(to, ",\"parent\":");
    to = writeNumber(to, rec.ParentIndex);
    to = writeLiteral(to, ",\"occurrence\":");
    to = writeNumber(to, rec.Occurrence);
    to = writeLiteral(to, ",\"name\":\"");
    to = writeJsonText(to, name);
    to = writeLiteral(to, "\",\"label\":\"");
    to = writeJsonText(to, label);
    to = writeLiteral(to, "\",\"key\":\"");
    std::memcpy(to, keyJson.data(), size_t(keyJson.size()));
    to += keyJson.size();
    to = writeLiteral(to, "\",\"min\":");
    to = writeNumber(to, rec.Lowest());
    to = writeLiteral(to, ",\"max\":");
    to = writeNumber(to, rec.Highest());
    to = writeLiteral(to, ",\"modified\":");
    to = flag(rec.Modified);
    to = writeLiteral(to, ",\"imported\":");
    to = flag(rec.Imported);
    *to++ = '}';
    out.resize(to - out.constData());
}

QByteArray RecordJson(const TBcfgRecAll& rec)
{
    QByteArray key;
    AppendJsonText(key, Import::PathKey(rec, false));
    QByteArray out;
    AppendRecordJson(out, rec, key);
    return out;
}
