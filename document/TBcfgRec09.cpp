#include "TBcfgRec09.h"

#include "LoaderState.h"
#include "TBCFGFile.h"
#include "TextRules.h"

#include <QCoreApplication>

void TBcfgRec09::AppendDisplayText(QByteArray& out) const
{
    out.append(TextRules::NameView(Name()));
}

void TBcfgRec09::ReadPayload(RecordReader&, LoaderState& state)
{
    if (IsLevelBegin()) {
        state.CurrentLevel = Index;
        return;
    }
    // A level end closes the innermost open level; its own ParentIndex is that level.
    if (state.CurrentLevel == -1)
        return;
    const TBcfgRecAll* closed = Doc ? Doc->Record(ParentIndex) : nullptr;
    state.CurrentLevel = closed ? closed->ParentIndex : -1;
}

void TBcfgRec09::WritePayload(QByteArray&) const {}

bool TBcfgRec09::MergeFrom(const TBcfgRecAll&)
{
    return false;
}

void TBcfgRec09::Edit(EditorHost&) {}

QString TBcfgRec09::TypeWords() const
{
    return IsLevelBegin() ? QCoreApplication::translate("RecordDetails", "section")
                          : QCoreApplication::translate("RecordDetails", "section end");
}
