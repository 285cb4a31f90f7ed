#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit code page of every text in a file: windows-1251 unless changed, on
// every system. Only the single-byte code pages of CodePageTables.h are accepted. Bytes without a
// character decode to U+FFFD; characters without a byte encode as "?".
namespace CodePage {

// Selects the code page by name (case, '-' and '_' aside); false (and no change)
// when the name is not one of the known single-byte code pages.
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
