#pragma once

#include <QByteArray>
#include <QByteArrayView>

class TBcfgRecAll;

// One record as a line of JSON (no newline), keys in the order the CLI
// promises: index, type, parent, occurrence, name, label, key, min, max,
// modified, imported. Texts are converted from the code page to UTF-8.
QByteArray RecordJson(const TBcfgRecAll& record);
// The same appended to out, with the key given as AppendJsonText made it
// (without quotes): a printer of many records builds each key from its parent's.
void AppendRecordJson(QByteArray& out, const TBcfgRecAll& record, QByteArrayView keyJson);

// A JSON string literal of UTF-8 text, quotes included.
QByteArray JsonString(const QByteArray& utf8);
// Appends 8-bit text of the code page as the inside of a JSON string literal.
void AppendJsonText(QByteArray& out, QByteArrayView text8);
