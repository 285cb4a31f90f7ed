#pragma once

#include "TBcfgRecAll.h"

#include <QDate>

// Type 13: a calendar date; the two rest bytes are carried.
class TBcfgRec0D : public TBcfgRecAll
{
public:
    qint32 Year = 0;
    qint8 Month = 0;
    qint8 Day = 0;
    QByteArray DateRest; // 2 bytes

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

    // Takes date as StoreDate keeps it (marks Modified when year, month or day differ);
    // typed dates are checked as ValueRules::EncodeDate reads them.
    void Take(const QDate& date);

    // Keeps year, month and day of date (its time part does not exist here).
    void StoreDate(const QDate& date);
    // The stored date; throws "Invalid argument to date encode" when invalid.
    QDate StoredDate() const;

private:
    void assign(qint32 year, qint8 month, qint8 day);
    // The one comparison behind the Modified mark (DateRest is not compared).
    bool holds(qint32 year, qint8 month, qint8 day) const
    {
        return day == Day && month == Month && year == Year;
    }
};
