// The overcut settings, opened from the command palette: whether a closed
// path is cut past its start, and by how much at the start and at the end.
// A small modal dialog built in code; it ends with the id of the button
// pressed.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"

// Items of the overcut dialog.
enum {
    kOverCutCheckItem = 1,       // check box: cut past the start of closed paths
    kOverCutStartLabelItem = 2,  // "Start:"
    kOverCutStartItem = 3,       // edit, mm: length before the start
    kOverCutEndLabelItem = 4,    // "End:"
    kOverCutEndItem = 5,         // edit, mm: length past the end
    kOverCutOKItem = 6,          // stores the three values; the dialog ends with 6
    kOverCutCancelItem = 7       // stores nothing; the dialog ends with 7
};

// The lengths the fields take, mm either way: their thousandths must fit the
// whole number the preferences keep them in.
const double kOverCutLimit = 1000.0;

// Runs the dialog; 0 whatever it ends with.
VT_NODISCARD ASErr goOverCut();
VT_NODISCARD ASErr OverCutDlgInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr OverCutDlgTextPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
