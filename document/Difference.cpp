#include "Difference.h"

#include "BcfgError.h"
#include "CodePage.h"
#include "Import.h"
#include "ParameterPath.h"
#include "TBCFGFile.h"

namespace {

Difference line(Difference::Kind kind, TBcfgRecAll* current, const TBcfgRecAll* other)
{
    const TBcfgRecAll& named = current ? *current : *other;
    Difference d;
    d.kind = kind;
    d.type = named.TypeCode;
    d.path = ParameterPath::Of(named);
    d.current = current;
    d.other = other;
    if (named.IsLevelBegin()) {
        d.path += QLatin1Char('/');
        return d;
    }
    if (current)
        d.currentValue = CodePage::ToUnicode(ParameterPath::Value(*current));
    if (other)
        d.otherValue = CodePage::ToUnicode(ParameterPath::Value(*other));
    return d;
}

} // namespace

std::vector<Difference> ListDifferences(const TBCFGFile& current, const TBCFGFile& other,
                                        bool translate, const std::vector<bool>& keptAsShipped,
                                        std::vector<Import::Pair>* unchanged)
{
    const auto kept = [&](const TBcfgRecAll& rec) {
        return size_t(rec.Index) < keptAsShipped.size() && keptAsShipped[size_t(rec.Index)];
    };
    const std::vector<TBcfgRecAll*> counterparts = Import::Counterparts(current, other, translate);
    return OutOfMemoryAsError([&] {
        std::vector<bool> paired(size_t(current.Count()), false);
        for (const TBcfgRecAll* target : counterparts)
            if (target)
                paired[size_t(target->Index)] = true;

        std::vector<Difference> result;
        for (const auto& rec : other.Records()) {
            if (rec->IsLevelEnd())
                continue;
            if (TBcfgRecAll* target = counterparts[size_t(rec->Index)]) {
                if (rec->IsLevel())
                    continue; // a level takes nothing over; what it holds is listed
                const Import::Verdict verdict = Import::Judge(*target, *rec);
                if (verdict != Import::Verdict::Unchanged && kept(*rec)) {
                    result.push_back(line(Difference::Kept, target, rec.get()));
                    result.back().refused = verdict == Import::Verdict::Refused;
                } else if (verdict == Import::Verdict::Changes)
                    result.push_back(line(Difference::Changed, target, rec.get()));
                else if (verdict == Import::Verdict::Refused)
                    result.push_back(line(Difference::Refused, target, rec.get()));
                else if (unchanged && !kept(*rec))
                    unchanged->push_back({target, rec.get()});
                continue;
            }
            // Inside a level without counterpart: that level's line stands for it.
            const TBcfgRecAll* level = other.Record(rec->ParentIndex);
            if ((!level || counterparts[size_t(level->Index)]) && !kept(*rec))
                result.push_back(line(Difference::OnlyOther, nullptr, rec.get()));
        }
        // Inside a level that no other record pairs with, at any depth: that
        // level's line stands for it. (A level that shares its path with an
        // earlier one is not paired itself, though what it holds may be.)
        std::vector<bool> inLonelyLevel(paired.size(), false);
        for (const auto& rec : current.Records()) {
            const TBcfgRecAll* level = current.Record(rec->ParentIndex);
            const bool hidden =
                level && (inLonelyLevel[size_t(level->Index)] || !paired[size_t(level->Index)]);
            inLonelyLevel[size_t(rec->Index)] = hidden;
            if (!hidden && !rec->IsLevelEnd() && !paired[size_t(rec->Index)])
                result.push_back(line(Difference::OnlyCurrent, rec.get(), nullptr));
        }
        return result;
    });
}
