#include "TBcfgRecAll.h"

#include "LoaderState.h"
#include "RecordStream.h"
#include "TBCFGFile.h"
#include "TextRules.h"

void TBcfgRecAll::WriteRecord(QByteArray& out)
{
    AppendTo(out);
    Modified = false;
}

void TBcfgRecAll::RestorePayload(const QByteArray& payload)
{
    RecordReader in(payload);
    LoaderState state; // levels carry no value, so no load's bookkeeping is involved
    ReadPayload(in, state);
}

void TBcfgRecAll::AppendTo(QByteArray& out) const
{
    RecordWriter::u32(out, TypeCode);
    out.append(Name);
    RecordWriter::u32(out, Min);
    RecordWriter::u32(out, quint32(Max));
    WritePayload(out);
}

void TBcfgRecAll::MarkModified()
{
    // Walks up the enclosing levels; ParentIndex always names an earlier record.
    for (TBcfgRecAll* rec = this; rec;) {
        rec->Modified = true;
        if (rec->Doc)
            rec->Doc->Modified = true;
        rec = (rec->ParentIndex >= 0 && rec->Doc) ? rec->Doc->Record(rec->ParentIndex) : nullptr;
    }
}

void TBcfgRecAll::MarkImported()
{
    for (TBcfgRecAll* rec = this; rec;) {
        rec->Imported = true;
        rec = (rec->ParentIndex >= 0 && rec->Doc) ? rec->Doc->Record(rec->ParentIndex) : nullptr;
    }
}

QByteArray TBcfgRecAll::NameText() const
{
    return TextRules::NameText(Name);
}

QByteArray TBcfgRecAll::LabelPrefix() const
{
    return NameText() + " - [ ";
}

QByteArray TBcfgRecAll::Labelled(const QByteArray& value) const
{
    return LabelPrefix() + value + " ]";
}
