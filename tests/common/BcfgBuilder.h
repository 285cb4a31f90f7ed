#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

// Builds .bcfg bytes record by record for tests: what a file holds is visible
// in the test itself. Names are 8-bit bytes (use cp1251 literals for Cyrillic).
class BcfgBuilder
{
public:
    static QByteArray le32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        return QByteArray(b, 4);
    }
    static QByteArray bytesOf(std::initializer_list<char> list)
    {
        return QByteArray(list.begin(), qsizetype(list.size()));
    }
    static QByteArray le16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        return QByteArray(b, 2);
    }
    // A 32-byte name field: the text, then zero bytes (or cut at 32).
    static QByteArray nameField(const QByteArray& name)
    {
        QByteArray field = name.left(32);
        field.append(QByteArray(32 - field.size(), '\0'));
        return field;
    }

    BcfgBuilder& record(quint32 code, const QByteArray& name, quint32 min, quint32 max,
                        const QByteArray& payload = {})
    {
        m_bytes += le32(code) + (name.size() == 32 ? name : nameField(name)) + le32(min) +
                   le32(max) + payload;
        return *this;
    }
    BcfgBuilder& integer(quint32 code, const QByteArray& name, quint32 min, quint32 max,
                         quint32 value)
    {
        return record(code, name, min, max, le32(value));
    }
    // A text record (code 2, 4, 6 or 10) with stored bytes; the payload is
    // ((max div 4) + 1) * 4 bytes, padded with fill.
    BcfgBuilder& text(quint32 code, const QByteArray& name, qint32 max, const QByteArray& stored,
                      char fill = '\0')
    {
        const qsizetype length = (max / 4 + 1) * 4;
        QByteArray payload = stored.left(length);
        payload.append(QByteArray(length - payload.size(), fill));
        return record(code, name, 0, quint32(max), payload);
    }
    BcfgBuilder& choice(const QByteArray& name, qint32 itemIndex, const QList<QByteArray>& items,
                        quint32 min = 0)
    {
        QByteArray payload = le32(quint32(itemIndex));
        for (const QByteArray& item : items)
            payload += nameField(item);
        return record(5, name, min, quint32(items.size()), payload);
    }
    BcfgBuilder& levelBegin(const QByteArray& name, quint32 min = 1)
    {
        return record(9, name, min, 0);
    }
    BcfgBuilder& levelEnd(const QByteArray& name = {}) { return record(9, name, 0, 0); }
    BcfgBuilder& coordinates(const QByteArray& name, qint32 x, qint32 y)
    {
        return record(7, name, 0, 0, le32(quint32(x)) + le32(quint32(y)));
    }
    BcfgBuilder& colour(const QByteArray& name, quint8 r, quint8 g, quint8 b, quint8 a)
    {
        return record(8, name, 0, 0, bytesOf({char(r), char(g), char(b), char(a)}));
    }
    BcfgBuilder& checkBox(const QByteArray& name, quint32 checked)
    {
        return record(11, name, 0, 0, le32(checked));
    }
    BcfgBuilder& time(const QByteArray& name, qint8 hour, qint8 minute,
                      const QByteArray& rest = QByteArray(6, '\0'))
    {
        return record(12, name, 0, 0, bytesOf({char(hour), char(minute)}) + rest);
    }
    BcfgBuilder& date(const QByteArray& name, qint32 year, qint8 month, qint8 day,
                      const QByteArray& rest = QByteArray(2, '\0'))
    {
        return record(13, name, 0, 0,
                      le32(quint32(year)) + bytesOf({char(month), char(day)}) + rest);
    }
    BcfgBuilder& rect(const QByteArray& name, quint16 x1, quint16 y1, quint16 x2, quint16 y2)
    {
        return record(14, name, 0, 0, le16(x1) + le16(y1) + le16(x2) + le16(y2));
    }
    BcfgBuilder& raw(const QByteArray& bytes)
    {
        m_bytes += bytes;
        return *this;
    }

    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
