#pragma once

#include "TBcfgRecAll.h"
#include "TextRules.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cstring>

// A short value text (a few numbers or one 32-byte field), alone or as a whole label
// ("Name - [ value ]"), made in place and appended in one step: a tree has one per entry.
class ShortLabel
{
public:
    // The value text alone.
    ShortLabel() = default;
    // The label of record around the value text.
    explicit ShortLabel(const TBcfgRecAll& record) : m_label(true)
    {
        text(TextRules::NameView(record.Name()));
        text(TBcfgRecAll::ValueOpen);
    }
    ShortLabel& number(qint64 v)
    {
        m_end = TextRules::WriteNumber(m_end, v);
        return *this;
    }
    ShortLabel& twoDigits(int v)
    {
        m_end = TextRules::WriteTwoDigits(m_end, v);
        return *this;
    }
    ShortLabel& text(QByteArrayView bytes)
    {
        const qsizetype n = qMin(bytes.size(), qsizetype(m_bytes + sizeof m_bytes - m_end));
        std::memcpy(m_end, bytes.data(), size_t(n));
        m_end += n;
        return *this;
    }
    ShortLabel& character(char c)
    {
        *m_end++ = c;
        return *this;
    }
    void appendTo(QByteArray& out)
    {
        if (m_label)
            text(TBcfgRecAll::ValueClose);
        out.append(m_bytes, m_end - m_bytes);
    }

private:
    // The name, the separators and four numbers of 24 bytes fit with room to spare.
    char m_bytes[192];
    char* m_end = m_bytes;
    bool m_label = false;
};
