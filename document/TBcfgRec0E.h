#pragma once

#include "TBcfgRecAll.h"

// Type 14: a rectangle of four unsigned 16-bit coordinates.
class TBcfgRec0E : public TBcfgRecAll
{
public:
    quint16 X1 = 0;
    quint16 Y1 = 0;
    quint16 X2 = 0;
    quint16 Y2 = 0;

    QByteArray DisplayText() const override;
    void AppendDisplayText(QByteArray& out) const override;
    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    void Edit(EditorHost& host) override;
    QString TypeWords() const override;
    bool StoreText(const QString& text, QString& why) override;
};
