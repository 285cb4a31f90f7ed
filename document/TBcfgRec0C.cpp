#include "TBcfgRec0C.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QCoreApplication>
#include <QRegularExpression>

void TBcfgRec0C::Take(qint8 hour, qint8 minute)
{
    if (!holds(hour, minute))
        MarkModified();
    Hour = hour;
    Minute = minute;
}

bool TBcfgRec0C::WriteShortValue(ShortLabel& label) const
{
    label.number(Hour).character(':').twoDigits(Minute);
    return true;
}

void TBcfgRec0C::ReadPayload(RecordReader& in, LoaderState&)
{
    Hour = in.i8();
    Minute = in.i8();
    TimeRest = in.readShared(6);
}

void TBcfgRec0C::WritePayload(QByteArray& out) const
{
    RecordWriter::u8(out, quint8(Hour));
    RecordWriter::u8(out, quint8(Minute));
    out.append(TimeRest);
}

bool TBcfgRec0C::MergeFrom(const TBcfgRecAll& other)
{
    const auto* source = dynamic_cast<const TBcfgRec0C*>(&other);
    if (!source)
        return false;
    Take(source->Hour, source->Minute);
    TimeRest = source->TimeRest;
    MarkImported();
    return true;
}

bool TBcfgRec0C::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRec0C*>(&other);
    return source && holds(source->Hour, source->Minute);
}

void TBcfgRec0C::Edit(EditorHost& host)
{
    const QString label = CodePage::ToUnicode(NameText() + " -");
    for (;;) {
        const QString text =
            QString::fromLatin1(TextRules::TwoDigits(Hour) + ":" + TextRules::TwoDigits(Minute));
        QString typed;
        if (!host.ShowTimePopup(label, text, typed))
            return;
        if (const auto time = ValueRules::ParseTime(typed)) {
            Take(time->hour, time->minute);
            return;
        }
    }
}

QString TBcfgRec0C::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "time");
}

bool TBcfgRec0C::StepValue(int steps)
{
    const ValueRules::Time stepped = ValueRules::StepTime(Hour, Minute, steps);
    Hour = stepped.hour;
    Minute = stepped.minute;
    return true;
}

bool TBcfgRec0C::StoreText(const QString& text, QString& why)
{
    // \z ends at the text's end; $ would also let a line break after it through.
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,2}):([0-9]{2})\\z"));
    const QRegularExpressionMatch m = form.match(text);
    // The popup's masked field always holds two hour digits.
    const auto time = m.hasMatch() ? ValueRules::ParseTime(m.captured(1).rightJustified(2, '0') +
                                                           QLatin1Char(':') + m.captured(2))
                                   : std::nullopt;
    if (!time)
        return Refuse(why, QStringLiteral("not H:MM (hour 0 to 23, minute 00 to 59)"));
    Take(time->hour, time->minute);
    return true;
}
