#pragma once

#include "TBcfgRecAll.h"

// Type 7: coordinates.
class TBcfgRec07 : public TBcfgRecAll
{
public:
    qint32 X = 0;
    qint32 Y = 0;

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    bool WriteShortValue(ShortLabel& label) const override;
    QString TypeWords() const override;
    bool StoreText(const QString& text, QString& why) override;

    // Takes any x and y (marks Modified when they differ).
    void Take(qint32 x, qint32 y);

private:
    // The one comparison behind the Modified mark.
    bool holds(qint32 x, qint32 y) const { return x == X && y == Y; }
};
