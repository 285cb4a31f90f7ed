#pragma once

#include "TBcfgRecAll.h"

// Type 9: opens a level (Min not 0) or closes the innermost one (Min 0). A level has no
// value: its label is its bare name.
class TBcfgRec09 : public TBcfgRecAll
{
public:
    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    void Edit(EditorHost& host) override;
    void AppendDisplayText(QByteArray& out) const override;
    QString TypeWords() const override;
};
