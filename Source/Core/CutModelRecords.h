// Records of the cut model that the globals record holds.
#pragma once

#include <stdint.h>

struct Volume;

// One step of the undo history: byte copies of volumes taken before a change,
// and where each came from.
struct UndoStep {
    Volume* snapshots;
    int32_t* indexes;
    int32_t count;
};

enum { kUndoStepCount = 16 };
