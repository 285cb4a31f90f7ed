#pragma once

#include "TBcfgRecAll.h"

// Type 11: a check box, 1 checked, 0 not.
class TBcfgRec0B : public TBcfgRecAll
{
public:
    quint32 Checked = 0;
    // What the label shows for 0 and 1.
    static constexpr const char* Words[2] = {"OFF", "ON"};

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    bool WriteShortValue(ShortLabel& label) const override;
    QString TypeWords() const override;
    bool StepValue(int steps) override;
    bool StoreText(const QString& text, QString& why) override;
    bool EditToggles() const override { return true; }
    bool PopupAtValue() const override { return true; }

    // Takes any word (marks Modified when it differs).
    void Take(quint32 checked);

private:
    // The one comparison behind the Modified mark: all 32 bits.
    bool holds(quint32 checked) const { return checked == Checked; }
};
