// The registration-mark dialog "AASSetting Dialog": the layout of the marks
// (4-point, segmental, multiple copies) and their sizes. OK keeps the settings
// in the globals until the host quits and draws the marks around the
// selection; Cancel changes nothing.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the dialog. The three layout radios are not neighbours, so the
// dialog keeps just one of them on itself.
enum {
    kAASSetting4PointItem = 1,  // radio: four corner marks
    kAASSettingLengthLabelItem = 2,
    kAASSettingLengthItem = 3,  // spin edit, mm: arm length of a corner mark, 10 to 50
    kAASSettingThicknessLabelItem = 4,
    kAASSettingThicknessItem = 5,  // spin edit, mm: stroke width of the marks, 1 to 2
    kAASSettingMarginLabelItem = 6,
    kAASSettingMarginItem = 7,       // spin edit, mm: gap between the art and the marks, 1 to 50
    kAASSetting4PointFrameItem = 8,  // frame around items 2 to 7
    kAASSettingSegmentalItem = 9,    // radio: corner marks plus marks along the edges
    kAASSettingXStepLabelItem = 10,
    kAASSettingXStepItem = 11,  // spin edit, mm: pitch along the top and bottom, 200 to 600
    kAASSettingYStepLabelItem = 12,
    kAASSettingYStepItem = 13,           // spin edit, mm: pitch along the left and right, 200 to 600
    kAASSettingSegmentalFrameItem = 14,  // frame around items 10 to 13
    kAASSettingMultipleCopiesItem = 15,  // radio: a grid of copies, each with its corner marks
    kAASSettingXCopiesLabelItem = 16,
    kAASSettingXCopiesItem = 17,  // text edit: copies across, 1 to 10
    kAASSettingYCopiesLabelItem = 18,
    kAASSettingYCopiesItem = 19,  // text edit: copies up, 1 to 10
    kAASSettingSpaceLabelItem = 20,
    kAASSettingSpaceItem = 21,         // spin edit, mm: gap between copies, 0 to 100
    kAASSettingWithOutlineItem = 22,   // check box: copy the selected art into the grid too
    kAASSettingCopiesFrameItem = 23,   // frame around items 16 to 22
    kAASSettingOKItem = 24,            // keep the settings, draw the marks; the dialog's result
    kAASSettingCancelItem = 25         // change nothing; the dialog's result
};
enum { kAASSettingItemCount = 25 };

// Runs the dialog for art of these bounds (points). After OK the marks are
// made (an alert says so when they cannot be): 0 or the host's error.
// Otherwise the dialog's result (25 for Cancel) and nothing changes.
VT_NODISCARD ASErr goAASSettingDialog(AIRealRect bounds);

extern const Item_Control_arg dlgAASSteingItem[kAASSettingItemCount];
