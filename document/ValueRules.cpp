#include "ValueRules.h"

#include "BcfgError.h"

#include <algorithm>
#include <limits>

namespace ValueRules {

namespace {

// Reads the digits of text from pos as an unsigned magnitude; fails on any
// character that is not a digit of the base, on no digits, and when the
// magnitude exceeds limit.
std::optional<quint64> readMagnitude(QStringView text, qsizetype pos, int base, quint64 limit)
{
    if (pos >= text.size())
        return std::nullopt;
    quint64 value = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            return std::nullopt;
        if (value > (limit - quint64(digit)) / quint64(base))
            return std::nullopt;
        value = value * quint64(base) + quint64(digit);
    }
    return value;
}

template <typename T> std::optional<T> parseSigned(QStringView text)
{
    using U = std::make_unsigned_t<T>;
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == u'$') {
        base = 16;
        ++pos;
    } else if (pos < text.size() && (text[pos] == u'x' || text[pos] == u'X')) {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == u'0' &&
               (text[pos + 1] == u'x' || text[pos + 1] == u'X')) {
        base = 16;
        pos += 2;
    }
    if (base == 16) {
        const auto magnitude = readMagnitude(text, pos, 16, std::numeric_limits<U>::max());
        if (!magnitude)
            return std::nullopt;
        const U bits = U(*magnitude);
        return T(negative ? U(U(0) - bits) : bits);
    }
    const quint64 limit = negative ? quint64(std::numeric_limits<T>::max()) + 1
                                   : quint64(std::numeric_limits<T>::max());
    const auto magnitude = readMagnitude(text, pos, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return negative ? T(U(U(0) - U(*magnitude))) : T(*magnitude);
}

} // namespace

std::optional<qint64> ParseInt64(QStringView text)
{
    return parseSigned<qint64>(text);
}
std::optional<qint32> ParseInt32(QStringView text)
{
    return parseSigned<qint32>(text);
}

std::optional<quint32> ParseHexDigits(QStringView text, qsizetype maxDigits)
{
    if (text.size() > std::min<qsizetype>(maxDigits, 8))
        return std::nullopt;
    const auto value = readMagnitude(text, 0, 16, std::numeric_limits<quint32>::max());
    return value ? std::optional<quint32>(quint32(*value)) : std::nullopt;
}

int WheelSteps(int delta)
{
    // A notch is Qt's QWheelEvent::DefaultDeltasPerStep; rolling away from the user steps up.
    constexpr int DeltaPerNotch = 120;
    return delta / -DeltaPerNotch;
}

quint32 StepWord(quint32 value, quint32 min, quint32 max, int steps)
{
    for (; steps > 0 && value != max; --steps)
        ++value;
    for (; steps < 0 && value != min; ++steps)
        --value;
    return value;
}

qint64 StepBounded(qint64 value, qint64 min, qint64 max, int steps, qint64 lowest, qint64 highest)
{
    for (; steps > 0 && value != max && value < highest; --steps)
        ++value;
    for (; steps < 0 && value != min && value > lowest; ++steps)
        --value;
    return value;
}

int StepChoice(int itemIndex, int count, int steps)
{
    // Adding count until the sum is not negative, then taking it mod count,
    // is the floor modulo of the sum.
    const qint64 sum = qint64(itemIndex) + steps;
    qint64 result = sum % count;
    if (result < 0)
        result += count;
    return int(result);
}

quint32 StepCheckBox(quint32 checked, int steps)
{
    if (steps % 2 == 0)
        return checked;
    return checked == 1 ? 0 : 1;
}

Time StepTime(qint8 hour, qint8 minute, int steps)
{
    const qint64 minutes = qint64(minute) + steps;
    qint64 carry = minutes / 60;
    qint64 newMinute = minutes % 60;
    if (newMinute < 0) {
        newMinute += 60;
        --carry;
    }
    qint64 newHour = (qint64(hour) + carry) % 24;
    if (newHour < 0)
        newHour += 24;
    return Time{qint8(newHour), qint8(newMinute)};
}

QDate FirstDate()
{
    return QDate(1, 1, 1);
}
QDate LastDate()
{
    return QDate(9999, 12, 31);
}

QDate StepDate(const QDate& date, int steps)
{
    if (!date.isValid())
        return date;
    const qint64 first = FirstDate().toJulianDay();
    const qint64 last = LastDate().toJulianDay();
    return QDate::fromJulianDay(StepBounded(date.toJulianDay(), first, last, steps, first, last));
}

QDate EncodeDate(qint32 year, qint8 month, qint8 day)
{
    const int y = quint16(quint32(year));
    const int m = quint16(qint16(month));
    const int d = quint16(qint16(day));
    if (y < FirstDate().year() || y > LastDate().year() || !QDate::isValid(y, m, d))
        throw BcfgError(QStringLiteral("Invalid argument to date encode"));
    return QDate(y, m, d);
}

StoredDate SplitDate(const QDate& date)
{
    if (!date.isValid() || date < FirstDate())
        return StoredDate{0, 0, 0};
    return StoredDate{qint32(date.year()), qint8(date.month()), qint8(date.day())};
}

std::optional<Time> ParseTime(QStringView text)
{
    if (text.size() < 5)
        return std::nullopt;
    const auto hour = ParseInt32(text.mid(0, 2));
    const auto minute = ParseInt32(text.mid(3, 2));
    if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59)
        return std::nullopt;
    return Time{qint8(*hour), qint8(*minute)};
}

} // namespace ValueRules
