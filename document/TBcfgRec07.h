#pragma once

#include "TBcfgRecAll.h"

// Type 7: coordinates.
class TBcfgRec07 : public TBcfgRecAll
{
public:
    qint32 X = 0;
    qint32 Y = 0;

    QByteArray DisplayText() const override;
    void AppendDisplayText(QByteArray& out) const override;
    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    void Edit(EditorHost& host) override;
    QString TypeWords() const override;
    bool StoreText(const QString& text, QString& why) override;
};
