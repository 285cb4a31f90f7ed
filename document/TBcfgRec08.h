#pragma once

#include "TBcfgRecAll.h"

#include <array>

// Type 8: a colour; the editor allows alpha 0 to 100.
class TBcfgRec08 : public TBcfgRecAll
{
public:
    quint8 R = 0;
    quint8 G = 0;
    quint8 B = 0;
    quint8 A = 0;

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    bool WriteShortValue(ShortLabel& label) const override;
    QString TypeWords() const override;
    bool StoreText(const QString& text, QString& why) override;

    // Takes R, G, B and A when each lies within 0..ValueInput::ColourFieldMax (marks Modified
    // when they differ); false, with nothing changed, otherwise.
    bool Take(const std::array<qint64, 4>& rgba);

private:
    void assign(quint8 r, quint8 g, quint8 b, quint8 a);
    // The one comparison behind the Modified mark.
    bool holds(quint8 r, quint8 g, quint8 b, quint8 a) const
    {
        return r == R && g == G && b == B && a == A;
    }
};
