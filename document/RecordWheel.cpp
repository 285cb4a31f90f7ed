#include "RecordWheel.h"

#include "TBcfgRecAll.h"

namespace RecordWheel {

bool Step(TBcfgRecAll& record, int steps)
{
    if (!record.StepValue(steps))
        return false;
    record.MarkModified();
    return true;
}

} // namespace RecordWheel
