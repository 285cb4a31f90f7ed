#pragma once

#include <QDate>
#include <QStringView>
#include <limits>
#include <optional>

// Value rules shared by the popup editors and the wheel: plain functions, no window.
namespace ValueRules {

// The standard integer conversion of typed text: optional leading blanks, an
// optional sign, then decimal digits, or hexadecimal digits after "$", "x", "X",
// "0x" or "0X". Anything else (empty text, a trailing blank, other characters,
// a number out of range) fails. Hexadecimal may use the full unsigned width and
// then reads as the same bits ("$FFFFFFFF" is -1 as a 32-bit number).
std::optional<qint64> ParseInt64(QStringView text);
std::optional<qint32> ParseInt32(QStringView text);
// One to maxDigits hexadecimal digits alone, no sign or prefix; anything else fails.
std::optional<quint32> ParseHexDigits(QStringView text, qsizetype maxDigits);

// Wheel delta (120 per notch) to steps: delta / -120, truncated towards zero.
// Rolling away from the user gives negative steps.
int WheelSteps(int delta);

// One unit at a time; stops early when the value equals the bound in the
// step's direction (an equality test of the 32-bit words, as stored).
quint32 StepWord(quint32 value, quint32 min, quint32 max, int steps);
// The same for the popups' 64-bit fields. lowest..highest is what the field
// accepts: no step goes past it, and a value already outside only steps back
// towards it (past min or max the equality stop no longer holds).
qint64 StepBounded(qint64 value, qint64 min, qint64 max, int steps,
                   qint64 lowest = std::numeric_limits<qint64>::min(),
                   qint64 highest = std::numeric_limits<qint64>::max());

// What the typed colour and rectangle fields accept, from 0. The wheel steps a colour's
// fields within the same bounds.
constexpr int ColourMax = 255;
constexpr int AlphaMax = 100;
constexpr int RectMax = 65534;
// The wheel steps a coordinate or a rectangle's field within 0..PositionWheelMax, although
// typed values may go further.
constexpr int PositionWheelMax = 512;

// Choice stepping with wrap-around at both ends; count must be > 0.
int StepChoice(int itemIndex, int count, int steps);

// Check box: toggles when steps is odd (any value other than 1 becomes 1).
quint32 StepCheckBox(quint32 checked, int steps);

// Time: minutes step with carry into the hour; the hour wraps within 0..23.
struct Time {
    qint8 hour;
    qint8 minute;
};
Time StepTime(qint8 hour, qint8 minute, int steps);

// The dates a date record can hold: 1.01.0001 to 31.12.9999.
QDate FirstDate();
QDate LastDate();

// Steps a date by days within FirstDate()..LastDate(), as StepBounded does;
// an invalid date stays as it is.
QDate StepDate(const QDate& date, int steps);

// A date built from the low 16 bits of year, month and day; throws BcfgError
// "Invalid argument to date encode" unless they form a date of year 1..9999.
QDate EncodeDate(qint32 year, qint8 month, qint8 day);

// What StoreDate keeps of a date: year, month, day; a date before 1.01.0001
// (or an invalid one) stores 0 in all three.
struct StoredDate {
    qint32 year;
    qint8 month;
    qint8 day;
};
StoredDate SplitDate(const QDate& date);

// Typed time "HH:MM" from the masked field: hour = characters 1-2, minute =
// characters 4-5, each an integer; hour 0..23, minute 0..59.
std::optional<Time> ParseTime(QStringView text);

} // namespace ValueRules
