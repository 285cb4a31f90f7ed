#include "TBcfgRec0B.h"

#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"

QByteArray TBcfgRec0B::DisplayText() const
{
    return AppendedLabel();
}

void TBcfgRec0B::AppendDisplayText(QByteArray& out) const
{
    ShortLabel label(*this);
    // A damaged value shows as its number instead of reading outside the words.
    if (Checked <= 1)
        label.text(Words[Checked]);
    else
        label.number(Checked);
    label.appendTo(out);
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
    if (source->Checked != Checked)
        MarkModified();
    Checked = source->Checked;
    MarkImported();
    return true;
}

void TBcfgRec0B::Edit(EditorHost&)
{
    MarkModified();
    Checked = Checked == 1 ? 0 : 1;
}
