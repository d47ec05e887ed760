// The offset distance asked before a contour offset: one millimetre field,
// OK and Cancel.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the dialog.
enum {
    kOffsetSizeOKItem = 1,
    kOffsetSizeCancelItem = 2,
    kOffsetSizeLabelItem = 3,
    kOffsetSizeDistanceItem = 4  // spin edit: the offset, shown in mm, at least 0
};
enum { kOffsetSizeItemCount = 4 };

// Runs the dialog; 0 after OK (offsetSize of the globals then holds the
// distance in mm), '!rOk' after Cancel or any other close (offsetSize kept).
VT_NODISCARD ASErr goOffsetSize(void);

VT_NODISCARD ASErr OffsetSizePluginInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr OffsetSizeDlgButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr OffsetSizeDlgTextEditInitProc(ADMItemRef item);
VT_NODISCARD ASErr OffsetSizeDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr OffsetSizeDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);

extern const Item_Control_arg dlgOffsetSizeItem[kOffsetSizeItemCount];
