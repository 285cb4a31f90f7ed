#include "ValueInput.h"

#include "BcfgError.h"
#include "CodePage.h"
#include "ParameterPath.h"
#include "TBcfgRec0103.h"
#include "TBcfgRec05.h"
#include "TBcfgRec07.h"
#include "TBcfgRec08.h"
#include "TBcfgRec0B.h"
#include "TBcfgRec0C.h"
#include "TBcfgRec0D.h"
#include "TBcfgRec0E.h"
#include "TBcfgRecString.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QRegularExpression>
#include <array>

namespace ValueInput {

namespace {

// The parts of a value written "a,b,..." with exactly count parts.
std::optional<QList<QStringView>> parts(QStringView text, qsizetype count)
{
    const QList<QStringView> list = text.split(QLatin1Char(','));
    if (list.size() != count)
        return std::nullopt;
    return list;
}

bool refuse(QString& why, const QString& reason)
{
    why = reason;
    return false;
}

bool storeInteger(TBcfgRec0103& rec, const QString& text, QString& why)
{
    const auto value = ValueRules::ParseInt64(text);
    if (!value)
        return refuse(why, QStringLiteral("not an integer"));
    if (!rec.InRange(*value))
        return refuse(why,
                      QStringLiteral("out of range %1 .. %2").arg(rec.Lowest()).arg(rec.Highest()));
    if (quint32(*value) != rec.Value)
        rec.MarkModified();
    rec.Value = quint32(*value);
    return true;
}

bool storeText(TBcfgRecString& rec, const QString& text, QString& why)
{
    // The text already stored is kept as it is, whatever it would take now.
    if (text == CodePage::ToUnicode(rec.GetText())) {
        rec.StoreTyped(text);
        return true;
    }
    if (CodePage::ToUnicode(CodePage::FromUnicode(text)) != text)
        return refuse(why, QStringLiteral("it holds a character the code page %1 cannot represent")
                               .arg(CodePage::Name()));
    if (rec.FittingTextLength(text) < text.size()) {
        const qsizetype needed =
            TextRules::StoredForm(rec.TypeCode, CodePage::FromUnicode(text)).size() + 1;
        return refuse(why, QStringLiteral("the record holds %1 bytes, the text takes %2 with its "
                                          "zero byte")
                               .arg(rec.BufferLength)
                               .arg(needed));
    }
    rec.StoreTyped(text);
    return true;
}

bool storeChoice(TBcfgRec05& rec, const QString& text, QString& why)
{
    for (size_t i = 0; i < rec.Items.size(); ++i) {
        if (CodePage::ToUnicode(TextRules::NameText(rec.Items[i])) != text)
            continue;
        if (int(i) != rec.ItemIndex)
            rec.MarkModified();
        rec.ItemIndex = int(i);
        return true;
    }
    return refuse(why, QStringLiteral("not one of its items"));
}

bool storeCoordinates(TBcfgRec07& rec, const QString& text, QString& why)
{
    const auto xy = parts(text, 2);
    const auto x = xy ? ValueRules::ParseInt32((*xy)[0]) : std::nullopt;
    const auto y = xy ? ValueRules::ParseInt32((*xy)[1]) : std::nullopt;
    if (!x || !y)
        return refuse(why, QStringLiteral("not X,Y (two signed 32-bit integers)"));
    if (*x != rec.X || *y != rec.Y)
        rec.MarkModified();
    rec.X = *x;
    rec.Y = *y;
    return true;
}

bool storeColour(TBcfgRec08& rec, const QString& text, QString& why)
{
    static const QRegularExpression hexByte(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
    const auto fields = parts(text, 4);
    std::array<quint8, 4> v{};
    for (int i = 0; i < 4; ++i) {
        const auto field = fields && hexByte.match((*fields)[i]).hasMatch()
                               ? ValueRules::ParseInt32(QLatin1Char('$') + (*fields)[i].toString())
                               : std::nullopt;
        if (!field || *field > ColourFieldMax(i))
            return refuse(why, QStringLiteral("not RR,GG,BB,AA (hexadecimal bytes, alpha at "
                                              "most %1)")
                                   .arg(ColourFieldMax(3), 0, 16));
        v[size_t(i)] = quint8(*field);
    }
    if (v[0] != rec.R || v[1] != rec.G || v[2] != rec.B || v[3] != rec.A)
        rec.MarkModified();
    rec.R = v[0];
    rec.G = v[1];
    rec.B = v[2];
    rec.A = v[3];
    return true;
}

bool storeCheckBox(TBcfgRec0B& rec, const QString& text, QString& why)
{
    quint32 checked = 0;
    if (text == QLatin1String(TBcfgRec0B::Words[1]))
        checked = 1;
    else if (text != QLatin1String(TBcfgRec0B::Words[0]))
        return refuse(why, QStringLiteral("not %1 or %2")
                               .arg(QLatin1String(TBcfgRec0B::Words[1]),
                                    QLatin1String(TBcfgRec0B::Words[0])));
    if (checked != rec.Checked)
        rec.MarkModified();
    rec.Checked = checked;
    return true;
}

bool storeTime(TBcfgRec0C& rec, const QString& text, QString& why)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,2}):([0-9]{2})$"));
    const QRegularExpressionMatch m = form.match(text);
    // The popup's masked field always holds two hour digits.
    const auto time = m.hasMatch() ? ValueRules::ParseTime(m.captured(1).rightJustified(2, '0') +
                                                           QLatin1Char(':') + m.captured(2))
                                   : std::nullopt;
    if (!time)
        return refuse(why, QStringLiteral("not H:MM (hour 0 to 23, minute 00 to 59)"));
    if (time->hour != rec.Hour || time->minute != rec.Minute)
        rec.MarkModified();
    rec.Hour = time->hour;
    rec.Minute = time->minute;
    return true;
}

bool storeDate(TBcfgRec0D& rec, const QString& text, QString& why)
{
    static const QRegularExpression form(
        QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{1,4})$"));
    const QRegularExpressionMatch m = form.match(text);
    QDate date;
    if (m.hasMatch()) {
        try {
            date = ValueRules::EncodeDate(m.captured(3).toInt(), qint8(m.captured(2).toInt()),
                                          qint8(m.captured(1).toInt()));
        } catch (const BcfgError&) {
        }
    }
    if (!date.isValid()) {
        // Written as the label writes a date.
        const auto shown = [](const QDate& d) {
            return QStringLiteral("%1.%2.%3")
                .arg(d.day())
                .arg(QString::fromLatin1(TextRules::TwoDigits(d.month())))
                .arg(d.year());
        };
        return refuse(why, QStringLiteral("not D.MM.YYYY (a date from %1 to %2)")
                               .arg(shown(ValueRules::FirstDate()), shown(ValueRules::LastDate())));
    }
    const ValueRules::StoredDate stored = ValueRules::SplitDate(date);
    if (stored.day != rec.Day || stored.month != rec.Month || stored.year != rec.Year)
        rec.MarkModified();
    rec.StoreDate(date);
    return true;
}

bool storeRect(TBcfgRec0E& rec, const QString& text, QString& why)
{
    const auto fields = parts(text, 4);
    std::array<quint16, 4> v{};
    for (int i = 0; i < 4; ++i) {
        const auto field = fields ? RectField((*fields)[i]) : std::nullopt;
        if (!field)
            return refuse(
                why, QStringLiteral("not X1,Y1,X2,Y2 (each 0 to %1)").arg(ValueRules::RectMax));
        v[size_t(i)] = *field;
    }
    if (v[0] != rec.X1 || v[1] != rec.Y1 || v[2] != rec.X2 || v[3] != rec.Y2)
        rec.MarkModified();
    rec.X1 = v[0];
    rec.Y1 = v[1];
    rec.X2 = v[2];
    rec.Y2 = v[3];
    return true;
}

} // namespace

int ColourFieldMax(int field)
{
    return field == 3 ? ValueRules::AlphaMax : ValueRules::ColourMax;
}

std::optional<quint16> RectField(QStringView typed)
{
    const auto v = ValueRules::ParseInt32(typed);
    if (!v || *v < 0 || *v > ValueRules::RectMax) // 65535 is refused
        return std::nullopt;
    return quint16(*v);
}

QString Text(const TBcfgRecAll& record)
{
    if (record.TypeCode == 6)
        return CodePage::ToUnicode(static_cast<const TBcfgRecString&>(record).GetText());
    return CodePage::ToUnicode(ParameterPath::Value(record));
}

bool Store(TBcfgRecAll& record, const QString& text, QString& why)
{
    switch (record.TypeCode) {
    case 1:
    case 3:
        return storeInteger(static_cast<TBcfgRec0103&>(record), text, why);
    case 2:
    case 4:
    case 6:
    case 10:
        return storeText(static_cast<TBcfgRecString&>(record), text, why);
    case 5:
        return storeChoice(static_cast<TBcfgRec05&>(record), text, why);
    case 7:
        return storeCoordinates(static_cast<TBcfgRec07&>(record), text, why);
    case 8:
        return storeColour(static_cast<TBcfgRec08&>(record), text, why);
    case 11:
        return storeCheckBox(static_cast<TBcfgRec0B&>(record), text, why);
    case 12:
        return storeTime(static_cast<TBcfgRec0C&>(record), text, why);
    case 13:
        return storeDate(static_cast<TBcfgRec0D&>(record), text, why);
    case 14:
        return storeRect(static_cast<TBcfgRec0E&>(record), text, why);
    default:
        return refuse(why, QStringLiteral("a level holds no value"));
    }
}

} // namespace ValueInput
