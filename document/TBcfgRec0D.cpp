#include "TBcfgRec0D.h"

#include "BcfgError.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QCoreApplication>
#include <QRegularExpression>

void TBcfgRec0D::Take(const QDate& date)
{
    const ValueRules::StoredDate stored = ValueRules::SplitDate(date);
    assign(stored.year, stored.month, stored.day);
}

void TBcfgRec0D::assign(qint32 year, qint8 month, qint8 day)
{
    if (!holds(year, month, day))
        MarkModified();
    Day = day;
    Month = month;
    Year = year;
}

bool TBcfgRec0D::WriteShortValue(ShortLabel& label) const
{
    label.number(Day).character('.').twoDigits(Month).character('.').number(Year);
    return true;
}

void TBcfgRec0D::ReadPayload(RecordReader& in, LoaderState&)
{
    Year = in.i32();
    Month = in.i8();
    Day = in.i8();
    DateRest = in.readShared(2);
}

void TBcfgRec0D::WritePayload(QByteArray& out) const
{
    RecordWriter::u32(out, quint32(Year));
    RecordWriter::u8(out, quint8(Month));
    RecordWriter::u8(out, quint8(Day));
    out.append(DateRest);
}

bool TBcfgRec0D::MergeFrom(const TBcfgRecAll& other)
{
    // Import takes the fields as the file holds them, a date or not.
    const auto* source = dynamic_cast<const TBcfgRec0D*>(&other);
    if (!source)
        return false;
    assign(source->Year, source->Month, source->Day);
    DateRest = source->DateRest;
    MarkImported();
    return true;
}

bool TBcfgRec0D::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRec0D*>(&other);
    return source && holds(source->Year, source->Month, source->Day);
}

void TBcfgRec0D::StoreDate(const QDate& date)
{
    const ValueRules::StoredDate stored = ValueRules::SplitDate(date);
    Year = stored.year;
    Month = stored.month;
    Day = stored.day;
}

QDate TBcfgRec0D::StoredDate() const
{
    return ValueRules::EncodeDate(Year, Month, Day);
}

void TBcfgRec0D::Edit(EditorHost& host)
{
    const QDate shown = StoredDate(); // throws before the calendar opens
    QDate chosen;
    if (!host.ShowDatePopup(shown, chosen))
        return;
    // The day shown, accepted again, is stored as the calendar gives it, unmarked.
    if (chosen == shown)
        StoreDate(chosen);
    else
        Take(chosen);
}

QString TBcfgRec0D::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "date");
}

bool TBcfgRec0D::StepValue(int steps)
{
    const QDate stepped = ValueRules::EncodeDate(Year, Month, Day);
    StoreDate(ValueRules::StepDate(stepped, steps));
    return true;
}

bool TBcfgRec0D::StoreText(const QString& text, QString& why)
{
    // \z ends at the text's end; $ would also let a line break after it through.
    static const QRegularExpression form(
        QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{1,4})\\z"));
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
        return Refuse(why, QStringLiteral("not D.MM.YYYY (a date from %1 to %2)")
                               .arg(shown(ValueRules::FirstDate()), shown(ValueRules::LastDate())));
    }
    Take(date);
    return true;
}
