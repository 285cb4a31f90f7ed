#include "TBcfgRec05.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueRules.h"

#include <QCoreApplication>

bool TBcfgRec05::Take(qint64 index)
{
    if (index < 0 || index >= qint64(Items.size()))
        return false;
    assign(qint32(index));
    return true;
}

void TBcfgRec05::assign(qint32 index)
{
    if (!holds(index))
        MarkModified();
    ItemIndex = index;
}

bool TBcfgRec05::WriteShortValue(ShortLabel& label) const
{
    // A damaged index shows as its number instead of reading outside the list.
    if (ItemIndex >= 0 && size_t(ItemIndex) < Items.size())
        label.text(TextRules::NameView(Items[size_t(ItemIndex)]));
    else
        label.number(ItemIndex);
    return true;
}

void TBcfgRec05::ReadPayload(RecordReader& in, LoaderState&)
{
    ItemIndex = in.i32();
    const qint64 count = qMax(Max, 0);
    if (count * TextRules::NameSize > in.remaining())
        throw BcfgError(QStringLiteral("Stream read error"));
    Items.clear();
    Items.reserve(size_t(count));
    for (qint64 i = 0; i < count; ++i)
        Items.push_back(in.readShared(TextRules::NameSize));
}

void TBcfgRec05::WritePayload(QByteArray& out) const
{
    RecordWriter::u32(out, quint32(ItemIndex));
    for (const QByteArray& item : Items)
        out.append(item);
}

bool TBcfgRec05::MergeFrom(const TBcfgRecAll& other)
{
    // Import pairs choices by their lists and takes the index as the file holds it.
    const auto* source = dynamic_cast<const TBcfgRec05*>(&other);
    if (!source || source->Items.size() > Items.size() || source->Min != Min)
        return false;
    for (size_t i = 0; i < source->Items.size(); ++i)
        if (source->Items[i] != Items[i])
            return false;
    assign(source->ItemIndex);
    MarkImported();
    return true;
}

bool TBcfgRec05::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRec05*>(&other);
    return source && holds(source->ItemIndex);
}

void TBcfgRec05::Edit(EditorHost& host)
{
    QStringList items;
    for (const QByteArray& item : Items)
        items.append(CodePage::ToUnicode(TextRules::NameText(item)));
    const bool inList = ItemIndex >= 0 && ItemIndex < items.size();
    int chosen = -1;
    // Accept without a selection (an empty list, a damaged index) changes nothing.
    if (host.ShowChoicePopup(items, inList ? ItemIndex : -1, chosen))
        Take(chosen);
}

QString TBcfgRec05::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "choice of %1").arg(Max);
}

bool TBcfgRec05::StepValue(int steps)
{
    // An empty list has nothing to step to.
    if (Max <= 0)
        return false;
    ItemIndex = ValueRules::StepChoice(ItemIndex, Max, steps);
    return true;
}

bool TBcfgRec05::StoreText(const QString& text, QString& why)
{
    for (size_t i = 0; i < Items.size(); ++i)
        if (CodePage::ToUnicode(TextRules::NameText(Items[i])) == text)
            return Take(qint64(i));
    return Refuse(why, QStringLiteral("not one of its items"));
}
