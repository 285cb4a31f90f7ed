#pragma once

#include "TBcfgRecAll.h"

// Type 12: a time of day; the six rest bytes are carried.
class TBcfgRec0C : public TBcfgRecAll
{
public:
    qint8 Hour = 0;
    qint8 Minute = 0;
    QByteArray TimeRest; // 6 bytes

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    bool WriteShortValue(ShortLabel& label) const override;
    QString TypeWords() const override;
    bool StepValue(int steps) override;
    bool StoreText(const QString& text, QString& why) override;

    // Takes hour and minute (marks Modified when they differ); typed times are checked
    // as ValueRules::ParseTime reads them, an imported one is taken as the file holds it.
    void Take(qint8 hour, qint8 minute);

private:
    // The one comparison behind the Modified mark (TimeRest is not compared).
    bool holds(qint8 hour, qint8 minute) const { return hour == Hour && minute == Minute; }
};
