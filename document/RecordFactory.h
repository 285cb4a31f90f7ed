#pragma once

#include "TBcfgRecAll.h"

#include <memory>

// The record class that a type code selects (1 to 14); nullptr otherwise.
std::unique_ptr<TBcfgRecAll> CreateRecord(quint32 typeCode);
