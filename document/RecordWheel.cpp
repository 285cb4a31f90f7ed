#include "RecordWheel.h"

#include "TBcfgRec0103.h"
#include "TBcfgRec05.h"
#include "TBcfgRec0B.h"
#include "TBcfgRec0C.h"
#include "TBcfgRec0D.h"
#include "ValueRules.h"

namespace RecordWheel {

bool Step(TBcfgRecAll& record, int steps)
{
    switch (record.TypeCode) {
    case 1:
    case 3: {
        if (steps == 0)
            return false;
        auto& integer = static_cast<TBcfgRec0103&>(record);
        integer.Value =
            ValueRules::StepWord(integer.Value, integer.Min, quint32(integer.Max), steps);
        break;
    }
    case 5: {
        auto& choice = static_cast<TBcfgRec05&>(record);
        // An empty list has nothing to step to.
        if (choice.Max <= 0)
            return false;
        choice.ItemIndex = ValueRules::StepChoice(choice.ItemIndex, choice.Max, steps);
        break;
    }
    case 11: {
        auto& checkBox = static_cast<TBcfgRec0B&>(record);
        checkBox.Checked = ValueRules::StepCheckBox(checkBox.Checked, steps);
        break;
    }
    case 12: {
        auto& time = static_cast<TBcfgRec0C&>(record);
        const ValueRules::Time stepped = ValueRules::StepTime(time.Hour, time.Minute, steps);
        time.Hour = stepped.hour;
        time.Minute = stepped.minute;
        break;
    }
    case 13: {
        auto& date = static_cast<TBcfgRec0D&>(record);
        const QDate stepped = ValueRules::EncodeDate(date.Year, date.Month, date.Day);
        date.StoreDate(ValueRules::StepDate(stepped, steps));
        break;
    }
    default:
        return false;
    }
    record.MarkModified();
    return true;
}

} // namespace RecordWheel
