#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text rules of the file: name fields, number formatting and the stored forms
// of the three text types. All 8-bit texts are in the code page (CodePage.h).
namespace TextRules {

constexpr int NameSize = 32;

// A 32-byte name or list item as text: its bytes up to the first zero byte,
// or all of them when there is none.
QByteArray NameText(const QByteArray& field);
// The same without a copy: valid while field is.
QByteArrayView NameView(QByteArrayView field);

// Decimal text of v, with "0" in front when v is less than 10.
QByteArray TwoDigits(int v);
// The decimal text of v (as QByteArray::number writes it) and TwoDigits(v), written at to,
// which has room for 24 bytes; they return the end.
char* WriteNumber(char* to, qint64 v);
char* WriteTwoDigits(char* to, int v);

// The UTF-8 decoder of the text types: sequences of one to three bytes
// (characters up to U+FFFF). A lead byte with bit 0x20 clear starts a two-byte
// sequence, one with it set a three-byte sequence. Any malformed sequence (a
// continuation byte not of the form 10xxxxxx, or one cut off by the end) makes
// the whole result empty.
QString DecodeUtf8(const QByteArray& bytes);
// Appends CodePage::FromUnicode(DecodeUtf8(utf8)) without the steps between.
void AppendUtf8InCodePage(QByteArray& out, QByteArrayView utf8);

// Deletes every 0x1F that directly follows a backslash (runs included).
QByteArray StripEscapes(QByteArray text);
// Inserts a 0x1F after each backslash that a character of code 0x80 or more
// follows before the next backslash that receives one; never after a final
// backslash nor after one that already has a 0x1F.
QByteArray InsertEscapes(QByteArray text);

// The bytes a text type stores for an 8-bit text (without the zero byte).
QByteArray StoredForm(quint32 typeCode, const QByteArray& text8);
// The 8-bit editable text of stored bytes (up to the first zero byte).
QByteArray EditableText(quint32 typeCode, const QByteArray& stored);
// Whether the editable text of stored text bytes (up to the first zero byte) is those
// bytes themselves: always for types 4 and 6; for types 2 and 10 when they are ASCII,
// which UTF-8 and every code page read alike, and type 2 has no 0x1F to drop.
bool EditableAsStored(quint32 typeCode, QByteArrayView text);

// The longest prefix of stored that fits in capacity bytes and ends on a whole
// character: never inside a UTF-8 sequence (types 2 and 10) and, for type 2,
// never between a backslash and the 0x1F after it.
qsizetype FittingStoredLength(quint32 typeCode, const QByteArray& stored, qsizetype capacity);

} // namespace TextRules
