#pragma once

#include "TBcfgRecAll.h"

// Types 1 (unsigned) and 3 (signed): a 32-bit integer within Min..Max.
class TBcfgRec0103 : public TBcfgRecAll
{
public:
    quint32 Value = 0;

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    bool WriteShortValue(ShortLabel& label) const override;
    QString TypeWords() const override;
    bool StepValue(int steps) override;
    bool StoreText(const QString& text, QString& why) override;

    // Takes value, read in the record's own signedness, when it lies within Min..Max (marks
    // Modified when it differs); false, with nothing changed, otherwise.
    bool Take(qint64 value);
    // Whether the stored bits are value: the one comparison behind the Modified mark.
    bool Holds(quint32 value) const { return value == Value; }

    // Value widened to 64 bits in the record's own signedness (as Lowest and Highest).
    qint64 Current() const;
    // Whether value, read in the record's own signedness, lies within Min..Max.
    bool InRange(qint64 value) const { return value >= Lowest() && value <= Highest(); }
};
