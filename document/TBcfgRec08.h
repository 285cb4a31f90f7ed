#pragma once

#include "TBcfgRecAll.h"

// Type 8: a colour; the editor allows alpha 0 to 100.
class TBcfgRec08 : public TBcfgRecAll
{
public:
    quint8 R = 0;
    quint8 G = 0;
    quint8 B = 0;
    quint8 A = 0;

    QByteArray DisplayText() const override;
    void AppendDisplayText(QByteArray& out) const override;
    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    void Edit(EditorHost& host) override;
    QString TypeWords() const override;
    bool StoreText(const QString& text, QString& why) override;
};
