#include "CodePage.h"

#include "CodePageTables.h"

#include <QByteArrayList>
#include <QHash>
#include <array>
#include <cstring>
#include <memory>

namespace CodePage {

namespace {

constexpr char16_t Replacement = 0xFFFD;

struct Table {
    QString name;
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;
};

// Folds a code page name for comparison: "CP1251", "cp-1251" and "cp_1251" are one name.
QByteArray folded(QByteArrayView name)
{
    QByteArray out;
    for (const char c : name)
        if (c != '-' && c != '_')
            out += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

// The code pages come from the program's own tables (CodePageTables.h), not from the
// converters Qt was built with, so every build converts the same bytes the same way.
std::unique_ptr<Table> buildTable(const QString& name)
{
    const QByteArray wanted = folded(name.toLatin1());
    for (const PageTable& page : PageTables) {
        bool found = false;
        for (const QByteArray& alias : QByteArray(page.names).split(' '))
            found = found || folded(alias) == wanted;
        if (!found)
            continue;
        auto table = std::make_unique<Table>();
        table->name = name;
        for (int byte = 0; byte < 256; ++byte) {
            const char16_t u = byte < 0x80 ? char16_t(byte) : page.high[byte - 0x80];
            table->toUnicode[byte] = u;
            if (u != Replacement && !table->fromUnicode.contains(u))
                table->fromUnicode.insert(u, char(byte));
        }
        return table;
    }
    return nullptr;
}

std::unique_ptr<Table>& current()
{
    // windows-1251 on every system: the files' texts are Cyrillic whatever the
    // machine's own code page is.
    static std::unique_ptr<Table> table = buildTable(QStringLiteral("windows-1251"));
    return table;
}

} // namespace

bool SetName(const QString& name)
{
    auto table = buildTable(name);
    if (!table)
        return false;
    current() = std::move(table);
    return true;
}

QString Name()
{
    return current() ? current()->name : QString();
}

QString ToUnicode(const QByteArray& bytes)
{
    const Table* table = current().get();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        out[i] = table ? QChar(table->toUnicode[b]) : QChar(b < 0x80 ? char16_t(b) : Replacement);
    }
    return text;
}

void AppendUtf8(QByteArray& out, QByteArrayView bytes)
{
    const qsizetype at = out.size();
    out.resize(at + 3 * bytes.size()); // no character takes more than three bytes
    out.resize(WriteUtf8(out.data() + at, bytes) - out.constData());
}

char* WriteUtf8(char* to, QByteArrayView bytes)
{
    const Table* table = current().get();
    const char* from = bytes.data();
    const char* const end = from + bytes.size();
    while (from < end) {
        // ASCII, which every accepted code page keeps, goes over as it is, a word at a time.
        quint64 word;
        if (end - from >= 8 && (std::memcpy(&word, from, 8), (word & 0x8080808080808080u) == 0)) {
            std::memcpy(to, from, 8);
            to += 8;
            from += 8;
            continue;
        }
        const char c = *from++;
        if (uchar(c) < 0x80) {
            *to++ = c;
            continue;
        }
        const char16_t u = table ? table->toUnicode[uchar(c)] : Replacement;
        if (u < 0x80) {
            *to++ = char(u);
        } else if (u < 0x800) {
            *to++ = char(0xC0 | (u >> 6));
            *to++ = char(0x80 | (u & 0x3F));
        } else {
            *to++ = char(0xE0 | (u >> 12));
            *to++ = char(0x80 | ((u >> 6) & 0x3F));
            *to++ = char(0x80 | (u & 0x3F));
        }
    }
    return to;
}

QByteArray FromUnicode(QStringView text)
{
    QByteArray bytes;
    AppendFromUnicode(bytes, text);
    return bytes;
}

void AppendFromUnicode(QByteArray& out, QStringView text)
{
    const Table* table = current().get();
    const qsizetype at = out.size();
    out.resize(at + text.size()); // never more bytes than characters
    char* to = out.data() + at;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            *to++ = char(u);
            continue;
        }
        // A character outside the 16-bit range becomes one "?", not two.
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        char byte = '?';
        if (table) {
            const auto it = table->fromUnicode.constFind(u);
            if (it != table->fromUnicode.cend())
                byte = *it;
        }
        *to++ = byte;
    }
    out.truncate(to - out.constData());
}

} // namespace CodePage
