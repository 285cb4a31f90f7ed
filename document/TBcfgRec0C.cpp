#include "TBcfgRec0C.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueRules.h"

QByteArray TBcfgRec0C::DisplayText() const
{
    return AppendedLabel();
}

void TBcfgRec0C::AppendDisplayText(QByteArray& out) const
{
    ShortLabel(*this).number(Hour).character(':').twoDigits(Minute).appendTo(out);
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
    if (source->Hour != Hour || source->Minute != Minute)
        MarkModified();
    Hour = source->Hour;
    Minute = source->Minute;
    TimeRest = source->TimeRest;
    MarkImported();
    return true;
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
        const auto time = ValueRules::ParseTime(typed);
        if (!time)
            continue;
        if (time->hour != Hour || time->minute != Minute)
            MarkModified();
        Hour = time->hour;
        Minute = time->minute;
        return;
    }
}
