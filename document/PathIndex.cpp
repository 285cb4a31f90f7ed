#include "PathIndex.h"

#include "CodePage.h"
#include "FieldHash.h"
#include "ParameterPath.h"
#include "TBCFGFile.h"
#include "TextRules.h"

#include <array>

namespace {

// Whether every name of doc converts to a text no other name converts to: its name fields
// end at their zero byte, and no name holds a byte the code page reads as U+FFFD or as the
// same character as another byte. The loader numbers equal names of a level apart, so the
// paths of such a document are all different.
bool namesConvertApart(const TBCFGFile& doc)
{
    if (!doc.NamesEndAtTheirZero())
        return false;
    QByteArray every(256, '\0');
    for (int byte = 0; byte < 256; ++byte)
        every[byte] = char(byte);
    const QString chars = CodePage::ToUnicode(every);
    std::array<bool, 256> ambiguous{};
    for (int byte = 1; byte < 256; ++byte)
        ambiguous[size_t(byte)] = chars[byte] == QChar(0xFFFD) ||
                                  chars.indexOf(chars[byte]) != byte ||
                                  chars.lastIndexOf(chars[byte]) != byte;
    for (const auto& rec : doc.Records())
        for (const char c : TextRules::NameView(rec->Name()))
            if (ambiguous[uchar(c)])
                return false;
    return true;
}

} // namespace

PathIndex::PathIndex(const TBCFGFile& doc) : m_doc(doc), m_unique(namesConvertApart(doc)) {}

bool PathIndex::NamedByPath(int index) const
{
    if (index < 0 || index >= m_doc.Count())
        return false;
    if (m_unique)
        return true;
    build();
    return m_first[size_t(index)] == index;
}

TBcfgRecAll* PathIndex::Find(QStringView path, int guess) const
{
    return Find(QByteArrayView(path.toUtf8()), guess);
}

TBcfgRecAll* PathIndex::Find(QByteArrayView utf8Path, int guess) const
{
    ParameterPath::Steps(utf8Path, m_steps);
    const std::vector<QByteArrayView>& steps = m_steps;
    // Paths apart, a record that spells the path is the one it names.
    if (m_unique) {
        for (int tried = 0; tried < 16 && guess >= 0 && guess < m_doc.Count(); ++tried, ++guess) {
            const TBcfgRecAll& held = *m_doc.Record(guess);
            if (spellsAfterLast(held, utf8Path, steps))
                return m_doc.Record(guess);
            if (!held.IsLevel())
                break;
        }
    }
    build();
    qint32 at = None;
    for (const QByteArrayView step : steps) {
        at = slot(at, step).index;
        if (at == None)
            return nullptr;
    }
    return m_doc.Record(at);
}

bool PathIndex::spells(const TBcfgRecAll& record, const std::vector<QByteArrayView>& steps) const
{
    const TBcfgRecAll* rec = &record;
    for (size_t k = steps.size(); k-- > 0;) {
        if (!rec || segmentOf(*rec) != steps[k])
            return false;
        if (rec->ParentIndex >= 0 && !rec->HasParentBefore())
            return false; // linked to no earlier level: named by no path
        rec = m_doc.Record(rec->ParentIndex);
    }
    return rec == nullptr;
}

bool PathIndex::spellsAfterLast(const TBcfgRecAll& record, QByteArrayView utf8Path,
                                const std::vector<QByteArrayView>& steps) const
{
    // The steps before the last end where the last step begins, less its separator.
    const qsizetype levelPathSize =
        steps.size() > 1 ? qsizetype(steps.back().data() - utf8Path.data()) - 1 : 0;
    const QByteArrayView levelPath = utf8Path.first(levelPathSize);
    const bool sameLevel = m_last && steps.size() > 1 &&
                           m_last->ParentIndex == record.ParentIndex &&
                           m_last->Index < record.Index && levelPath == m_lastLevelPath;
    // The level and the steps up to it are the ones the last record was found by.
    if (sameLevel ? segmentOf(record) != steps.back() : !spells(record, steps))
        return false;
    m_last = &record;
    if (!sameLevel) {
        m_lastLevelPath.resize(0);
        m_lastLevelPath.append(levelPath);
    }
    return true;
}

QByteArrayView PathIndex::segmentOf(const TBcfgRecAll& record) const
{
    m_segment.resize(0);
    ParameterPath::AppendSegmentUtf8(m_segment, record);
    return m_segment;
}

qint32 PathIndex::parentPath(const TBcfgRecAll& record) const
{
    if (record.ParentIndex < 0)
        return None;
    // The loader links a record to an earlier level only; anything else names nothing.
    return record.HasParentBefore() ? m_first[size_t(record.ParentIndex)] : Unreachable;
}

void PathIndex::build() const
{
    if (!m_slots.empty())
        return;
    m_first.assign(size_t(m_doc.Count()), Unreachable);
    m_slots.Reset(size_t(m_doc.Count()));
    QByteArray segment;
    for (const auto& rec : m_doc.Records()) {
        const qint32 parent = parentPath(*rec);
        if (parent == Unreachable)
            continue;
        segment.resize(0);
        ParameterPath::AppendSegmentUtf8(segment, *rec);
        PathSlots::Slot& found = slot(parent, segment);
        if (found.index == None)
            found.index = rec->Index;
        m_first[size_t(rec->Index)] = found.index;
    }
}

PathSlots::Slot& PathIndex::slot(qint32 parent, QByteArrayView segment) const
{
    const quint64 h = FieldHash(segment.data(), size_t(segment.size())) ^
                      (quint64(quint32(parent)) * 0x9E3779B97F4A7C15u);
    return m_slots.Find(h, [&](qint32 index) {
        const TBcfgRecAll& held = *m_doc.Record(index);
        return parentPath(held) == parent && segmentOf(held) == segment;
    });
}
