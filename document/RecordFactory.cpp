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
#include "TypeCode.h"

std::unique_ptr<TBcfgRecAll> CreateRecord(quint32 typeCode)
{
    switch (typeCode) {
    case TypeCode::Unsigned:
    case TypeCode::Signed:
        return std::make_unique<TBcfgRec0103>();
    case TypeCode::EscapedText:
        return std::make_unique<TBcfgRec02>();
    case TypeCode::Text:
    case TypeCode::Password:
        return std::make_unique<TBcfgRec0406>();
    case TypeCode::Choice:
        return std::make_unique<TBcfgRec05>();
    case TypeCode::Coordinates:
        return std::make_unique<TBcfgRec07>();
    case TypeCode::Colour:
        return std::make_unique<TBcfgRec08>();
    case TypeCode::Level:
        return std::make_unique<TBcfgRec09>();
    case TypeCode::Utf8Text:
        return std::make_unique<TBcfgRec0A>();
    case TypeCode::CheckBox:
        return std::make_unique<TBcfgRec0B>();
    case TypeCode::Time:
        return std::make_unique<TBcfgRec0C>();
    case TypeCode::Date:
        return std::make_unique<TBcfgRec0D>();
    case TypeCode::Rect:
        return std::make_unique<TBcfgRec0E>();
    default:
        return nullptr;
    }
}
