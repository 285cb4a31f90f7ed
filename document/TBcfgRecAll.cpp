#include "TBcfgRecAll.h"

#include "LoaderState.h"
#include "RecordPool.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TBCFGFile.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <cstring>

void TBcfgRecAll::RestorePayload(const QByteArray& payload)
{
    RecordReader in(payload);
    LoaderState state; // levels carry no value, so no load's bookkeeping is involved
    ReadPayload(in, state);
}

void TBcfgRecAll::AppendTo(QByteArray& out) const
{
    AppendHeaderTo(out);
    WritePayload(out);
}

void TBcfgRecAll::AppendHeaderTo(QByteArray& out) const
{
    // One step for the whole header: every record of a saved file has one.
    const qsizetype at = out.size();
    out.resize(at + HeaderSize);
    char* header = out.data() + at;
    qToLittleEndian(quint32(TypeCode), header);
    std::memcpy(header + 4, Name().data(), TextRules::NameSize);
    qToLittleEndian(Min, header + 4 + TextRules::NameSize);
    qToLittleEndian(quint32(Max), header + 8 + TextRules::NameSize);
}

void TBcfgRecAll::MarkModified()
{
    if (Doc)
        Doc->Modified = true;
    Modified = true;
    // Up the enclosing levels (ParentIndex always names an earlier record). A
    // marked level's own levels are marked already, so the walk ends there:
    // marking through a deep chain stays linear.
    for (TBcfgRecAll* level = parentLevel(); level && !level->Modified;
         level = level->parentLevel())
        level->Modified = true;
}

void TBcfgRecAll::MarkImported()
{
    Imported = true;
    for (TBcfgRecAll* level = parentLevel(); level && !level->Imported;
         level = level->parentLevel())
        level->Imported = true;
}

TBcfgRecAll* TBcfgRecAll::parentLevel() const
{
    return HasParentBefore() && Doc ? Doc->Record(ParentIndex) : nullptr;
}

QByteArray TBcfgRecAll::NameText() const
{
    return TextRules::NameView(Name()).toByteArray();
}

QByteArray TBcfgRecAll::LabelPrefix() const
{
    return NameText().append(ValueOpen);
}

void TBcfgRecAll::AppendLabelStart(QByteArray& out) const
{
    const QByteArrayView name = TextRules::NameView(Name());
    const qsizetype at = out.size();
    out.resize(at + name.size() + ValueOpen.size());
    char* to = out.data() + at;
    std::memcpy(to, name.data(), size_t(name.size()));
    std::memcpy(to + name.size(), ValueOpen.data(), size_t(ValueOpen.size()));
}

QByteArray TBcfgRecAll::DisplayText() const
{
    QByteArray label;
    label.reserve(TextRules::NameSize + 24);
    AppendDisplayText(label);
    return label;
}

void TBcfgRecAll::AppendDisplayText(QByteArray& out) const
{
    // Most labels are short: made in place and appended in one step.
    ShortLabel label(*this);
    if (WriteShortValue(label)) {
        label.appendTo(out);
        return;
    }
    AppendLabelStart(out);
    AppendValueText(out);
    AppendLabelEnd(out);
}

void TBcfgRecAll::AppendValueText(QByteArray& out) const
{
    ShortLabel value;
    if (WriteShortValue(value))
        value.appendTo(out);
}

bool TBcfgRecAll::SameValue(const TBcfgRecAll&) const
{
    return false;
}

bool TBcfgRecAll::WriteShortValue(ShortLabel&) const
{
    return false;
}

QByteArray TBcfgRecAll::ValueText() const
{
    if (IsLevel())
        return {};
    QByteArray value("");
    AppendValueText(value);
    return value.isNull() ? QByteArray("") : value; // an empty value is still a value
}

QString TBcfgRecAll::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "type %1").arg(int(TypeCode));
}

bool TBcfgRecAll::StepValue(int)
{
    return false;
}

bool TBcfgRecAll::StoreText(const QString&, QString& why)
{
    return Refuse(why, QStringLiteral("a level holds no value"));
}

const QByteArray& TBcfgRecAll::LabelBeforeImport() const
{
    static const QByteArray none;
    return Doc ? Doc->LabelBeforeImport(Index) : none;
}

void TBcfgRecAll::SetLabelBeforeImport(const QByteArray& label)
{
    if (Doc)
        Doc->SetLabelBeforeImport(Index, label);
}

// Name() spells the field's size out.
static_assert(TextRules::NameSize == 32);

// The pool hands out blocks on 8-byte bounds.
static_assert(alignof(TBcfgRecAll) <= 8);

void* TBcfgRecAll::operator new(std::size_t size)
{
    return RecordPool::Allocate(size);
}

void TBcfgRecAll::operator delete(void* block, std::size_t size) noexcept
{
    RecordPool::Release(block, size);
}
