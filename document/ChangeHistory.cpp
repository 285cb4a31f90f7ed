#include "ChangeHistory.h"

#include "BcfgError.h"
#include "TBCFGFile.h"

#include <algorithm>

bool ChangeStep::Absorb(const ChangeStep& next)
{
    if (next.m_generation != m_generation)
        return false;
    // A record next altered first keeps, before next, the state this step left it in.
    for (const Entry& later : next.m_entries) {
        const auto same = std::find_if(m_entries.begin(), m_entries.end(),
                                       [&](const Entry& e) { return e.index == later.index; });
        if (same != m_entries.end())
            same->after = later.after;
        else
            m_entries.push_back(later);
    }
    return true;
}

bool ChangeStep::Empty() const
{
    return std::all_of(m_entries.begin(), m_entries.end(),
                       [](const Entry& e) { return e.before == e.after; });
}

ChangeHistory::ChangeHistory(TBCFGFile& doc) : m_doc(doc)
{
    for (const auto& rec : m_doc.Records())
        if (rec->Modified && !rec->IsLevel())
            countMark(*rec, +1);
}

void ChangeHistory::countMark(const TBcfgRecAll& record, int change)
{
    m_marked += change;
    for (const TBcfgRecAll* level = m_doc.Record(record.ParentIndex); level;
         level = m_doc.Record(level->ParentIndex)) {
        int& inside = m_markedInside[level->Index];
        inside += change;
        if (inside <= 0)
            m_markedInside.erase(level->Index);
    }
}

void ChangeHistory::markAround(const TBcfgRecAll& record)
{
    for (TBcfgRecAll* level = m_doc.Record(record.ParentIndex); level;
         level = m_doc.Record(level->ParentIndex))
        level->Modified = m_markedInside.count(level->Index) > 0;
    m_doc.Modified = m_marked > 0;
}

RecordState ChangeHistory::StateOf(const TBcfgRecAll& record)
{
    RecordState state;
    record.WritePayload(state.payload);
    state.modified = record.Modified;
    state.imported = record.Imported;
    state.labelBeforeImport = record.LabelBeforeImport();
    return state;
}

ChangeCapture ChangeHistory::Begin(const TBcfgRecAll& record) const
{
    return OutOfMemoryAsError([&] {
        ChangeCapture capture;
        for (const TBcfgRecAll* rec = &record; rec; rec = m_doc.Record(rec->ParentIndex))
            capture.m_states.emplace_back(rec->Index, StateOf(*rec));
        return capture;
    });
}

ChangeCapture ChangeHistory::BeginAll() const
{
    return OutOfMemoryAsError([&] {
        ChangeCapture capture;
        capture.m_states.reserve(size_t(m_doc.Count()));
        for (const auto& rec : m_doc.Records())
            capture.m_states.emplace_back(rec->Index, StateOf(*rec));
        return capture;
    });
}

std::unique_ptr<ChangeStep> ChangeHistory::Finish(const ChangeCapture& capture)
{
    return OutOfMemoryAsError([&]() -> std::unique_ptr<ChangeStep> {
        auto step = std::make_unique<ChangeStep>();
        step->m_generation = m_generation;
        for (const auto& [index, before] : capture.m_states) {
            const TBcfgRecAll* rec = m_doc.Record(index);
            if (!rec)
                continue;
            RecordState after = StateOf(*rec);
            if (after == before)
                continue;
            if (after.modified != before.modified && !rec->IsLevel())
                countMark(*rec, after.modified ? +1 : -1);
            step->m_entries.push_back({index, before, std::move(after)});
        }
        if (step->m_entries.empty())
            return nullptr;
        // A record no earlier step altered still holds what its file holds.
        for (const auto& entry : step->m_entries)
            m_saved.try_emplace(entry.index, entry.before.payload);
        return step;
    });
}

void ChangeHistory::Saved()
{
    ++m_generation;
    // Saving cleared every mark.
    m_markedInside.clear();
    m_marked = 0;
    for (auto& [index, payload] : m_saved) {
        payload.clear();
        if (const TBcfgRecAll* rec = m_doc.Record(index))
            rec->WritePayload(payload);
    }
}

void ChangeHistory::apply(const ChangeStep& step, bool after)
{
    // A step made before the last save: its marks described a file that is gone.
    const bool current = step.m_generation == m_generation;
    for (const auto& entry : step.m_entries) {
        TBcfgRecAll* rec = m_doc.Record(entry.index);
        if (!rec)
            continue;
        const RecordState& target = after ? entry.after : entry.before;
        QByteArray payload;
        rec->WritePayload(payload);
        if (payload != target.payload)
            rec->RestorePayload(target.payload);
        rec->Imported = target.imported;
        rec->SetLabelBeforeImport(target.labelBeforeImport);
        const auto saved = m_saved.find(entry.index);
        const bool modified = (current && target.modified) ||
                              (saved != m_saved.end() && saved->second != target.payload);
        if (rec->IsLevel())
            continue; // marked below, by what it holds
        if (modified != rec->Modified)
            countMark(*rec, modified ? +1 : -1);
        rec->Modified = modified;
    }
    // A level is marked while anything inside it is, whichever step marked that; so are
    // the document and its levels' marks.
    for (const auto& entry : step.m_entries) {
        TBcfgRecAll* rec = m_doc.Record(entry.index);
        if (!rec)
            continue;
        if (rec->IsLevel())
            rec->Modified = m_markedInside.count(rec->Index) > 0;
        markAround(*rec);
    }
}
