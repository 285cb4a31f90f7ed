#include "TBcfgRec0B.h"

#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QCoreApplication>

void TBcfgRec0B::Take(quint32 checked)
{
    if (!holds(checked))
        MarkModified();
    Checked = checked;
}

bool TBcfgRec0B::WriteShortValue(ShortLabel& label) const
{
    // A damaged value shows as its number instead of reading outside the words.
    if (Checked <= 1)
        label.text(Words[Checked]);
    else
        label.number(Checked);
    return true;
}

void TBcfgRec0B::ReadPayload(RecordReader& in, LoaderState&)
{
    Checked = in.u32();
}

void TBcfgRec0B::WritePayload(QByteArray& out) const
{
    RecordWriter::u32(out, Checked);
}

bool TBcfgRec0B::MergeFrom(const TBcfgRecAll& other)
{
    const auto* source = dynamic_cast<const TBcfgRec0B*>(&other);
    if (!source)
        return false;
    Take(source->Checked);
    MarkImported();
    return true;
}

bool TBcfgRec0B::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRec0B*>(&other);
    return source && holds(source->Checked);
}

void TBcfgRec0B::Edit(EditorHost&)
{
    Take(Checked == 1 ? 0 : 1);
}

QString TBcfgRec0B::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "check box");
}

bool TBcfgRec0B::StepValue(int steps)
{
    Checked = ValueRules::StepCheckBox(Checked, steps);
    return true;
}

bool TBcfgRec0B::StoreText(const QString& text, QString& why)
{
    if (text == QLatin1String(Words[1]))
        Take(1);
    else if (text == QLatin1String(Words[0]))
        Take(0);
    else
        return Refuse(
            why,
            QStringLiteral("not %1 or %2").arg(QLatin1String(Words[1]), QLatin1String(Words[0])));
    return true;
}
