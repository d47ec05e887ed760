// The offset distance asked before a contour offset: one millimetre field,
// OK and Cancel.
#pragma once

#include "AllSuites.h"
#include "Dialog/ItemControl.h"

#define kOffsetSizeDialogName "OffsetSize Dialog"
enum { kOffsetSizeDialogResource = 168, kOffsetSizeDialogWidth = 238, kOffsetSizeDialogHeight = 65 };

// String-list text of the dialog's title.
enum { kOffsetSizeTitleString = 651 };

// Items of the dialog.
enum {
    kOffsetSizeOKItem = 1,
    kOffsetSizeCancelItem = 2,
    kOffsetSizeLabelItem = 3,
    kOffsetSizeDistanceItem = 4  // spin edit: the offset, shown in mm, at least 0
};
enum { kOffsetSizeItemCount = 4 };

// Closed other than by OK: the offset is not run.
enum { kOffsetSizeNotOKErr = '!rOk' };

// Runs the dialog; 0 after OK (offsetSize of the globals then holds the
// distance in mm), '!rOk' after Cancel or any other close (offsetSize kept).
ASErr goOffsetSize(void);

ASErr OffsetSizePluginInitProc(ADMDialogRef dialog);
ASErr OffsetSizeDlgButtonInitProc(ADMItemRef item);
ASErr OffsetSizeDlgTextEditInitProc(ADMItemRef item);
ASErr OffsetSizeDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr OffsetSizeDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);

extern const Item_Control_arg dlgOffsetSizeItem[kOffsetSizeItemCount];
