#pragma once

#include "TBcfgRecAll.h"

#include <vector>

// Type 5: a choice from Max named items.
class TBcfgRec05 : public TBcfgRecAll
{
public:
    qint32 ItemIndex = 0;
    std::vector<QByteArray> Items; // Max fields of 32 bytes

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    bool WriteShortValue(ShortLabel& label) const override;
    QString TypeWords() const override;
    bool StepValue(int steps) override;
    bool StoreText(const QString& text, QString& why) override;
    bool PopupAtValue() const override { return true; }

    // Takes item index when it names one of the items (marks Modified when it differs);
    // false, with nothing changed, otherwise.
    bool Take(qint64 index);

private:
    void assign(qint32 index);
    // The one comparison behind the Modified mark.
    bool holds(qint32 index) const { return index == ItemIndex; }
};
