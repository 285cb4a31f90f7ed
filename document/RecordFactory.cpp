#include "RecordFactory.h"

#include "TBcfgRec0103.h"
#include "TBcfgRec05.h"
#include "TBcfgRec07.h"
#include "TBcfgRec08.h"
#include "TBcfgRec09.h"
#include "TBcfgRec0B.h"
#include "TBcfgRec0C.h"
#include "TBcfgRec0D.h"
#include "TBcfgRec0E.h"
#include "TBcfgRecString.h"

std::unique_ptr<TBcfgRecAll> CreateRecord(quint32 typeCode)
{
    switch (typeCode) {
    case 1:
    case 3:
        return std::make_unique<TBcfgRec0103>();
    case 2:
        return std::make_unique<TBcfgRec02>();
    case 4:
    case 6:
        return std::make_unique<TBcfgRec0406>();
    case 5:
        return std::make_unique<TBcfgRec05>();
    case 7:
        return std::make_unique<TBcfgRec07>();
    case 8:
        return std::make_unique<TBcfgRec08>();
    case 9:
        return std::make_unique<TBcfgRec09>();
    case 10:
        return std::make_unique<TBcfgRec0A>();
    case 11:
        return std::make_unique<TBcfgRec0B>();
    case 12:
        return std::make_unique<TBcfgRec0C>();
    case 13:
        return std::make_unique<TBcfgRec0D>();
    case 14:
        return std::make_unique<TBcfgRec0E>();
    default:
        return nullptr;
    }
}
