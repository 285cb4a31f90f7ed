#include "CodePage.h"

#include <QHash>
#include <QStringDecoder>
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

// Builds the byte table by decoding each byte alone. A byte of 0x80 or more
// that yields a C1 control, a replacement or not exactly one character has no
// character in the code page (converters map such holes onto C1 controls).
std::unique_ptr<Table> buildTable(QStringDecoder decoder, const QString& name)
{
    if (!decoder.isValid())
        return nullptr;
    // A multi-byte encoding reads some pair of high bytes as one character.
    for (const char* pair : {"\xC3\xA9", "\x82\xA0", "\xA4\xA1", "\x81\x40"}) {
        decoder.resetState();
        if (QString(decoder.decode(QByteArrayView(pair, 2))).size() != 2)
            return nullptr;
    }
    auto table = std::make_unique<Table>();
    table->name = name;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = char(byte);
        decoder.resetState();
        const QString decoded = decoder.decode(QByteArrayView(&c, 1));
        char16_t u = Replacement;
        if (decoded.size() == 1 && !decoder.hasError()) {
            u = decoded.at(0).unicode();
            if (byte < 0x80 && u != char16_t(byte))
                return nullptr; // not an ASCII-compatible single-byte code page
            if (byte >= 0x80 && u >= 0x80 && u <= 0x9F)
                u = Replacement;
        } else if (byte < 0x80) {
            return nullptr;
        }
        table->toUnicode[byte] = u;
        if (u != Replacement && !table->fromUnicode.contains(u))
            table->fromUnicode.insert(u, c);
    }
    return table;
}

std::unique_ptr<Table> defaultTable()
{
#ifdef Q_OS_WIN
    if (auto table = buildTable(QStringDecoder(QStringDecoder::System), QStringLiteral("System")))
        return table;
#endif
    return buildTable(QStringDecoder("windows-1251"), QStringLiteral("windows-1251"));
}

std::unique_ptr<Table>& current()
{
    static std::unique_ptr<Table> table = defaultTable();
    return table;
}

} // namespace

bool SetName(const QString& name)
{
    auto table = buildTable(QStringDecoder(name.toLatin1().constData()), name);
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
