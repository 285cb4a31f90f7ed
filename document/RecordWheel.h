#pragma once

class TBcfgRecAll;

// The mouse wheel on a selected entry.
namespace RecordWheel {

// Steps record's value by steps notches (positive: up) under its type's rule and marks it
// Modified. False, with nothing changed, when the wheel does not edit this type or has
// nothing to step to; the tree then scrolls as usual. Throws BcfgError, with nothing
// changed, when a date cannot be stepped.
bool Step(TBcfgRecAll& record, int steps);

} // namespace RecordWheel
