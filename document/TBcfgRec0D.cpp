#include "TBcfgRec0D.h"

#include "BcfgError.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QRegularExpression>

QByteArray TBcfgRec0D::DisplayText() const
{
    return AppendedLabel();
}

void TBcfgRec0D::AppendDisplayText(QByteArray& out) const
{
    ShortLabel(*this)
        .number(Day)
        .character('.')
        .twoDigits(Month)
        .character('.')
        .number(Year)
        .appendTo(out);
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
    const auto* source = dynamic_cast<const TBcfgRec0D*>(&other);
    if (!source)
        return false;
    if (source->Day != Day || source->Month != Month || source->Year != Year)
        MarkModified();
    Day = source->Day;
    Month = source->Month;
    Year = source->Year;
    DateRest = source->DateRest;
    MarkImported();
    return true;
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
    if (chosen != shown)
        MarkModified();
    StoreDate(chosen);
}

QString TBcfgRec0D::TypeWords() const
{
    return QStringLiteral("date");
}

bool TBcfgRec0D::StepValue(int steps)
{
    const QDate stepped = ValueRules::EncodeDate(Year, Month, Day);
    StoreDate(ValueRules::StepDate(stepped, steps));
    return true;
}

bool TBcfgRec0D::StoreText(const QString& text, QString& why)
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
        return Refuse(why, QStringLiteral("not D.MM.YYYY (a date from %1 to %2)")
                               .arg(shown(ValueRules::FirstDate()), shown(ValueRules::LastDate())));
    }
    const ValueRules::StoredDate stored = ValueRules::SplitDate(date);
    if (stored.day != Day || stored.month != Month || stored.year != Year)
        MarkModified();
    StoreDate(date);
    return true;
}
