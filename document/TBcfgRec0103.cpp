#include "TBcfgRec0103.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QCoreApplication>

qint64 TBcfgRec0103::Current() const
{
    return TypeCode == TypeCode::Unsigned ? qint64(Value) : qint64(qint32(Value));
}

bool TBcfgRec0103::Take(qint64 value)
{
    if (!InRange(value))
        return false;
    if (!Holds(quint32(value)))
        MarkModified();
    Value = quint32(value);
    return true;
}

bool TBcfgRec0103::WriteShortValue(ShortLabel& label) const
{
    label.number(Current());
    return true;
}

void TBcfgRec0103::ReadPayload(RecordReader& in, LoaderState&)
{
    Value = in.u32();
}

void TBcfgRec0103::WritePayload(QByteArray& out) const
{
    RecordWriter::u32(out, Value);
}

bool TBcfgRec0103::MergeFrom(const TBcfgRecAll& other)
{
    const auto* source = dynamic_cast<const TBcfgRec0103*>(&other);
    // The source's bits are read in this record's own signedness.
    if (!source || !Take(TypeCode == TypeCode::Unsigned ? qint64(source->Value)
                                                        : qint64(qint32(source->Value))))
        return false;
    MarkImported();
    return true;
}

bool TBcfgRec0103::SameValue(const TBcfgRecAll& other) const
{
    // The merge takes the source's bits, so equal bits mark nothing.
    const auto* source = dynamic_cast<const TBcfgRec0103*>(&other);
    return source && Holds(source->Value);
}

void TBcfgRec0103::Edit(EditorHost& host)
{
    EditorHost::IntegerPopup popup;
    popup.nameLabel = CodePage::ToUnicode(NameText() + " -");
    popup.minValue = Lowest();
    popup.maxValue = Highest();
    popup.rangeLabel = QStringLiteral("(%1 .. %2)").arg(popup.minValue).arg(popup.maxValue);
    for (;;) {
        popup.value = QString::number(Current());
        QString typed;
        if (!host.ShowIntegerPopup(popup, typed))
            return;
        const auto value = ValueRules::ParseInt64(typed);
        if (value && Take(*value))
            return;
        // shown again with the stored value
    }
}

QString TBcfgRec0103::TypeWords() const
{
    return TypeCode == TypeCode::Unsigned
               ? QCoreApplication::translate("RecordDetails", "unsigned integer")
               : QCoreApplication::translate("RecordDetails", "signed integer");
}

bool TBcfgRec0103::StepValue(int steps)
{
    if (steps == 0)
        return false;
    Value = ValueRules::StepWord(Value, Min, quint32(Max), steps);
    return true;
}

bool TBcfgRec0103::StoreText(const QString& text, QString& why)
{
    const auto value = ValueRules::ParseInt64(text);
    if (!value)
        return Refuse(why, QStringLiteral("not an integer"));
    if (!Take(*value))
        return Refuse(why, QStringLiteral("out of range %1 .. %2").arg(Lowest()).arg(Highest()));
    return true;
}
