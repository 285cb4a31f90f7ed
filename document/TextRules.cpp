#include "TextRules.h"

#include "CodePage.h"
#include "TypeCode.h"

#include <QVarLengthArray>
#include <QtEndian>
#include <bit>
#include <charconv>

namespace TextRules {

QByteArray NameText(const QByteArray& field)
{
    const qsizetype zero = field.indexOf('\0');
    return zero < 0 ? field : field.left(zero);
}

QByteArrayView NameView(QByteArrayView field)
{
    // A word at a time: every record's label and key starts with this.
    constexpr quint64 Ones = 0x0101010101010101u;
    constexpr quint64 Highs = 0x8080808080808080u;
    qsizetype at = 0;
    for (; at + 8 <= field.size(); at += 8) {
        const quint64 word = qFromLittleEndian<quint64>(field.data() + at);
        // The lowest flagged byte is the first zero byte (flags above it may be false).
        if (const quint64 zeros = (word - Ones) & ~word & Highs)
            return field.first(at + std::countr_zero(zeros) / 8);
    }
    const qsizetype zero = field.sliced(at).indexOf('\0');
    return zero < 0 ? field : field.first(at + zero);
}

QByteArray TwoDigits(int v)
{
    char digits[24];
    return QByteArray(digits, WriteTwoDigits(digits, v) - digits);
}

char* WriteNumber(char* to, qint64 v)
{
    return std::to_chars(to, to + 24, v).ptr;
}

char* WriteTwoDigits(char* to, int v)
{
    if (v < 10)
        *to++ = '0';
    return WriteNumber(to, v);
}

namespace {

// The text types' UTF-8 decoded into to, which has room for a character per byte; the end,
// or nullptr when a sequence is malformed.
char16_t* decodeUtf8(QByteArrayView bytes, char16_t* to)
{
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        quint32 c = uchar(bytes[i++]);
        if (c & 0x80) {
            if (i >= n)
                return nullptr;
            c &= 0x3F;
            if (c & 0x20) {
                const quint32 next = uchar(bytes[i++]);
                if ((next & 0xC0) != 0x80 || i >= n)
                    return nullptr;
                c = (c << 6) | (next & 0x3F);
            }
            const quint32 last = uchar(bytes[i++]);
            if ((last & 0xC0) != 0x80)
                return nullptr;
            c = ((c << 6) | (last & 0x3F)) & 0xFFFF;
        }
        // A lone surrogate half is no character of any 8-bit code page.
        *to++ = QChar::isSurrogate(c) ? char16_t(0xFFFD) : char16_t(c);
    }
    return to;
}

} // namespace

QString DecodeUtf8(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized); // never more characters than bytes
    char16_t* begin = reinterpret_cast<char16_t*>(out.data());
    const char16_t* end = decodeUtf8(bytes, begin);
    if (!end)
        return QString();
    out.truncate(end - begin);
    return out;
}

void AppendUtf8InCodePage(QByteArray& out, QByteArrayView utf8)
{
    QVarLengthArray<char16_t, 256> text(utf8.size());
    const char16_t* end = decodeUtf8(utf8, text.data());
    if (end)
        CodePage::AppendFromUnicode(out, QStringView(text.data(), end - text.data()));
}

QByteArray StripEscapes(QByteArray text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.append(text[i]);
        if (text[i] == '\\')
            while (i + 1 < text.size() && text[i + 1] == '\x1F')
                ++i;
    }
    return out;
}

QByteArray InsertEscapes(QByteArray text)
{
    bool high = false;
    for (qsizetype pos = text.size() - 1; pos >= 0; --pos) {
        const uchar c = uchar(text[pos]);
        if (c >= 0x80)
            high = true;
        if (c == '\\' && high && pos != text.size() - 1 && text[pos + 1] != '\x1F') {
            text.insert(pos + 1, '\x1F');
            high = false;
        }
    }
    return text;
}

QByteArray StoredForm(quint32 typeCode, const QByteArray& text8)
{
    switch (typeCode) {
    case TypeCode::EscapedText:
        return CodePage::ToUnicode(InsertEscapes(text8)).toUtf8();
    case TypeCode::Utf8Text:
        return CodePage::ToUnicode(text8).toUtf8();
    default:
        return text8;
    }
}

bool EditableAsStored(quint32 typeCode, QByteArrayView text)
{
    if (typeCode != TypeCode::EscapedText && typeCode != TypeCode::Utf8Text)
        return true;
    for (const char c : text)
        if (uchar(c) >= 0x80 || (typeCode == TypeCode::EscapedText && c == '\x1F'))
            return false;
    return true;
}

QByteArray EditableText(quint32 typeCode, const QByteArray& stored)
{
    const QByteArray text = NameText(stored); // up to the first zero byte
    if (EditableAsStored(typeCode, text))
        return text;
    switch (typeCode) {
    case TypeCode::EscapedText:
    case TypeCode::Utf8Text: {
        QByteArray text8;
        AppendUtf8InCodePage(text8, text);
        return typeCode == TypeCode::EscapedText ? StripEscapes(text8) : text8;
    }
    default:
        return text;
    }
}

qsizetype FittingStoredLength(quint32 typeCode, const QByteArray& stored, qsizetype capacity)
{
    if (capacity <= 0)
        return 0;
    if (stored.size() <= capacity)
        return stored.size();
    qsizetype length = capacity;
    if (typeCode == TypeCode::EscapedText || typeCode == TypeCode::Utf8Text) {
        // Back off to the start of the sequence that the cut would split.
        while (length > 0 && (uchar(stored[length]) & 0xC0) == 0x80)
            --length;
    }
    // Cutting between a backslash and its 0x1F would drop the mark that the
    // backslash needs; leave the backslash out as well.
    if (typeCode == TypeCode::EscapedText && length > 0 && stored[length] == '\x1F' &&
        stored[length - 1] == '\\')
        --length;
    return length;
}

} // namespace TextRules
