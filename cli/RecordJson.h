#pragma once

#include <QByteArray>

class TBcfgRecAll;

// One record as a line of JSON (no newline), keys in the order the CLI
// promises: index, type, parent, occurrence, name, label, key, min, max,
// modified, imported. Texts are converted from the code page to UTF-8.
QByteArray RecordJson(const TBcfgRecAll& record);

// A JSON string literal of UTF-8 text, quotes included.
QByteArray JsonString(const QByteArray& utf8);
