#pragma once

#include "PathSlots.h"

#include <QByteArray>
#include <QStringView>
#include <vector>

class TBCFGFile;
class TBcfgRecAll;

// The records of a document by parameter path, for finding many of them: each path stands for
// the first record in file order that has it, as ParameterPath::Find decides, and is found in
// a step per level instead of a pass over the file. The document must outlive the index and
// keep its records.
class PathIndex
{
public:
    explicit PathIndex(const TBCFGFile& doc);

    // Whether the record's path names it: no earlier record has the same path.
    bool NamedByPath(int index) const;
    // The record path names, nullptr when none (ParameterPath::Find). guess: a record that is
    // likely to be it, such as the one after the last found when the paths come in file
    // order; a level is passed over to the records after it.
    TBcfgRecAll* Find(QStringView path, int guess = -1) const;
    TBcfgRecAll* Find(QByteArrayView utf8Path, int guess = -1) const;

private:
    static constexpr qint32 None = PathSlots::None;
    static constexpr qint32 Unreachable = -2;

    void build() const;
    // The slot of the path made of the path parent (a first record, or None for the top) and
    // the step segment.
    PathSlots::Slot& slot(qint32 parent, QByteArrayView segment) const;
    qint32 parentPath(const TBcfgRecAll& record) const;
    bool spells(const TBcfgRecAll& record, const std::vector<QByteArrayView>& steps) const;
    // Whether record spells the path whose steps are steps, checking only its own step when
    // the last record found has the same level and the path the same steps before its own.
    bool spellsAfterLast(const TBcfgRecAll& record, QByteArrayView utf8Path,
                         const std::vector<QByteArrayView>& steps) const;
    QByteArrayView segmentOf(const TBcfgRecAll& record) const;

    const TBCFGFile& m_doc;
    // No two records share a path, seen without a table.
    bool m_unique = false;
    mutable PathSlots m_slots;                   // empty until a path needs the table
    mutable std::vector<qint32> m_first;         // by record: the first record with its path
    mutable QByteArray m_segment;                // the segment segmentOf made last
    mutable std::vector<QByteArrayView> m_steps; // the steps of the path Find looks for
    // The last record a guess found, and its path up to its own step.
    mutable const TBcfgRecAll* m_last = nullptr;
    mutable QByteArray m_lastLevelPath;
};
