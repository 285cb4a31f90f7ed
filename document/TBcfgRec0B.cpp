#include "TBcfgRec0B.h"

#include "RecordStream.h"

QByteArray TBcfgRec0B::DisplayText() const
{
    // A damaged value shows as its number instead of reading outside the words.
    return Labelled(Checked <= 1 ? QByteArray(Words[Checked]) : QByteArray::number(Checked));
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
