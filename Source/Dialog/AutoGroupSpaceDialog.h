// The gaps dialog of automatic grouping: asks for the horizontal and vertical
// gaps that packing keeps between volumes, in millimetres, and keeps them in
// the globals for the life of the plug-in.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the gaps dialog.
enum {
    kAutoGroupSpaceOKItem = 1,
    kAutoGroupSpaceCancelItem = 2,
    kAutoGroupSpaceGapXLabelItem = 3,
    kAutoGroupSpaceGapXItem = 4,  // spin edit, mm
    kAutoGroupSpaceGapXPictureItem = 5,
    kAutoGroupSpaceGapYLabelItem = 6,
    kAutoGroupSpaceGapYItem = 7,  // spin edit, mm
    kAutoGroupSpaceGapYPictureItem = 8
};
enum { kAutoGroupSpaceItemCount = 8 };

// What goAutoGroupSpace answers.
enum { kAutoGroupSpaceConfirmed = 0, kAutoGroupSpaceCancelled = 2 };

// Pixels the labels are widened by, and the spin edits narrowed and moved
// right by, for languages whose labels are longer.
const int32_t sp_width_adjust = 0;

// Runs the dialog; kAutoGroupSpaceConfirmed after OK (the gaps stored),
// kAutoGroupSpaceCancelled after Cancel (nothing stored).
int32_t goAutoGroupSpace();

ASErr AutoGroupSpacePluginInitProc(ADMDialogRef dialog);
ASErr AutoGroupSpaceDlgButtonInitProc(ADMItemRef item);
ASErr AutoGroupSpaceDlgButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr AutoGroupSpaceDlgSpinEditInitProc(ADMItemRef item);

extern const Item_Control_arg dlgAutoGroupSpaceItem[kAutoGroupSpaceItemCount];
