// The undo history of the Plot Out dialog and the total cut length of the job.
//
// Before a volume's placement changes, a byte copy of its record goes into the
// current undo step; undo and redo exchange the copies with the live volumes,
// all but their visibility, selection and cut order, which stay as they are.
// Sixteen steps are kept; the oldest is dropped when a seventeenth is opened.
// The cut length is the distance the knife travels over the selected volumes.
#pragma once

#include <stdint.h>

#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "Core/CutModelRecords.h"
#include "Math/Bezier.h"

// Empties the history without freeing (the dialog's init, over a zeroed or
// already freed history): all steps empty, nothing to undo.
void initUndoHistory();

// Frees the snapshot arrays of every step (never the rings, which the snapshots
// share with the live volumes) and empties the history.
void freeUndoHistory();

// Records volume `index` as it is before a change. The first call of a user
// action opens a new step (undoNewStep set); later calls of the same action add
// to it, each volume at most once. Returns 0, or '!Mem' when the snapshot could
// not be stored (the history stays consistent; the change just cannot be undone).
VT_NODISCARD ASErr saveVolumeChange(int32_t index);

// Puts back the volumes of the last step; 0, or '!STK' with nothing to undo.
VT_NODISCARD ASErr undoVolumeChange();

// Re-applies the step after the last undo; 0, or '!STK' with nothing to redo.
VT_NODISCARD ASErr redoVolumeChange();

// The total cut length of the selected volumes with their copies, mm, into
// *length. Each ring is measured once for each scale and kept.
VT_NODISCARD ASErr getGlobalDistance(double* length);

// Cut length of one ring and of one segment at the given scale, mm, measured
// afresh.
double getRingDist(const Ring* ring, double scaleX, double scaleY);

// Forgets the kept ring lengths: a new or freed job may put other rings in
// their places.
void releaseCutLengthCache();
double getBezierDist(const bezier_stru* bezier, double scaleX, double scaleY);
