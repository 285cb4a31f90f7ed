#pragma once

#include "TBcfgRecAll.h"

#include <array>

// Type 14: a rectangle of four unsigned 16-bit coordinates.
class TBcfgRec0E : public TBcfgRecAll
{
public:
    quint16 X1 = 0;
    quint16 Y1 = 0;
    quint16 X2 = 0;
    quint16 Y2 = 0;

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    bool WriteShortValue(ShortLabel& label) const override;
    QString TypeWords() const override;
    bool StoreText(const QString& text, QString& why) override;

    // Takes the four coordinates (marks Modified when they differ); typed fields are checked
    // as ValueInput::RectField reads them, an imported rectangle is taken as the file holds it.
    void Take(const std::array<quint16, 4>& rect);

private:
    // The one comparison behind the Modified mark.
    bool holds(const std::array<quint16, 4>& rect) const
    {
        return rect[0] == X1 && rect[1] == Y1 && rect[2] == X2 && rect[3] == Y2;
    }
};
