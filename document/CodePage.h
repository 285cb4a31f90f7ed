#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit code page of every text in a file: the system ANSI code page on
// Windows, windows-1251 elsewhere unless changed. Only single-byte code pages
// are accepted. Bytes without a character decode to U+FFFD; characters without
// a byte encode as "?".
namespace CodePage {

// Selects the code page by name; false (and no change) when the name is not a
// known single-byte code page.
bool SetName(const QString& name);
QString Name();

QString ToUnicode(const QByteArray& bytes);
// Appends the UTF-8 form of bytes to out: ToUnicode(bytes).toUtf8() without
// the text in between.
void AppendUtf8(QByteArray& out, QByteArrayView bytes);
// The same written at to, which has room for three bytes per byte; returns the end.
char* WriteUtf8(char* to, QByteArrayView bytes);
QByteArray FromUnicode(QStringView text);
// Appends FromUnicode(text).
void AppendFromUnicode(QByteArray& out, QStringView text);

} // namespace CodePage
