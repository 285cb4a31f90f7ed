#pragma once

#include <QtGlobal>

// The type codes of the file's records: the first word of every record header. The names
// compare and switch like the numbers they stand for (a record keeps its code as read).
namespace TypeCode {

enum : quint8 {
    Unsigned = 1,    // 32-bit integer, unsigned range
    EscapedText = 2, // UTF-8 text with a 0x1F after certain backslashes
    Signed = 3,      // 32-bit integer, signed range
    Text = 4,        // 8-bit text
    Choice = 5,      // one of Max named items
    Password = 6,    // 8-bit text shown as stars
    Coordinates = 7, // X, Y
    Colour = 8,      // R, G, B, alpha
    Level = 9,       // opens (Min not 0) or closes (Min 0) a level
    Utf8Text = 10,   // UTF-8 text
    CheckBox = 11,   // 1 checked, 0 not
    Time = 12,       // hour and minute
    Date = 13,       // year, month, day
    Rect = 14,       // X1, Y1, X2, Y2
};

// Every record type's code is within First..Last.
constexpr quint8 First = Unsigned;
constexpr quint8 Last = Rect;

} // namespace TypeCode
