#pragma once

#include <QtGlobal>
#include <vector>

// The level bookkeeping of one load, shared between the document's loader and
// the level records' ReadPayload. Depth has no fixed limit.
struct LoaderState {
    qint32 CurrentLevel = -1; // Index of the innermost open level-begin record
};
