#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

class TBcfgRecAll;

// Values as text: the form the label shows them in (a password in plain),
// read back with the popup editors' own rules, so a script and the editor
// never disagree about what a record accepts.
namespace ValueInput {

// The parts of a value written "a,b,..." with exactly count parts.
std::optional<QList<QStringView>> Parts(QStringView text, qsizetype count);
// The largest value colour field number field (0 R, 1 G, 2 B, 3 A) takes;
// the smallest is 0.
int ColourFieldMax(int field);
// A typed rectangle field: the integer text rule, 0 to ValueRules::RectMax.
std::optional<quint16> RectField(QStringView typed);

// The four fields of a colour or rectangle, each read by read (which gives an optional
// number); nothing unless every field reads.
template <typename T, typename Fields, typename Read>
std::optional<std::array<T, 4>> FourFields(const Fields& fields, Read read)
{
    std::array<T, 4> values{};
    for (qsizetype i = 0; i < 4; ++i) {
        const auto value = read(fields[i]);
        if (!value)
            return std::nullopt;
        values[size_t(i)] = T(*value);
    }
    return values;
}

// The record's value in the form Store reads: the value part of its label,
// except that a password is its plain text.
QString Text(const TBcfgRecAll& record);
// The 8-bit text (in the code page) that Text converts.
QByteArray TextBytes(const TBcfgRecAll& record);
// Appends TextBytes to out, without a text of its own for most values.
void AppendTextBytes(const TBcfgRecAll& record, QByteArray& out);

// Stores text, read in the form Text gives, into record as its editor would
// (Modified marks where the value changes; the text already stored keeps its
// bytes). A value that does not read, is out of range or, for a text, does
// not fit or holds a character the code page cannot represent is refused:
// false, why says why, and the record is unchanged. Never cuts a text.
bool Store(TBcfgRecAll& record, const QString& text, QString& why);

} // namespace ValueInput
