// The dot-cut dialog "MAKE_DoT_CUt_Dialog": the lengths of the cut-through
// and half-cut pieces (millimetres) and the pen of each, then the dot cut of
// the selection. Its pen popups are filled and read with the shared helpers
// of Dialog/DialogCommon.h.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the dot-cut dialog.
enum {
    kDotCutThroughLabelItem = 1,
    kDotCutThroughLengthItem = 2,  // spin edit, mm, 2 decimals, at least 0
    kDotCutThroughPenItem = 3,     // popup: the current environment's pens
    kDotCutHalfCutLabelItem = 4,
    kDotCutHalfCutLengthItem = 5,  // spin edit, mm, 2 decimals, at least 0
    kDotCutHalfCutPenItem = 6,     // popup: the current environment's pens
    kDotCutOKItem = 7,             // stores the settings; the dialog ends with 0
    kDotCutCancelItem = 8          // the dialog ends with 8
};
enum { kDotCutItemCount = 8 };

// What the dialog ends with.
enum { kDotCutConfirmed = 0, kDotCutCancelled = kDotCutCancelItem };

extern const Item_Control_arg dlgDotCutItem[kDotCutItemCount];

// Runs the dialog and, after OK with both lengths above 0, the dot cut of
// the selection. Returns what the dialog ended with (kDotCutConfirmed after
// OK, kDotCutCancelled after Cancel).
int32_t goMakeDotCut(void);

ASErr DotCutDialogInitProc(ADMDialogRef dialog);
ASErr DotCutDialogIButtonProc(ADMItemRef item, ADMNotifierRef notifier);
