// The command palette "PreProcess Plot": a small floating palette of picture
// buttons from which the user prepares a job (plot out, plotter setup, dot
// cut, text outline, inverted text, line-width confirmation, contour offset,
// weeding lines, registration marks, overcut, the cutter's panel) and picks
// one of the plug-in's three tools. It is made once the application has
// started and destroyed first at shutdown; while it exists it holds one
// acquisition of the host suites, so its buttons find them set between host
// messages.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the palette: picture buttons of 24 x 24 pixels, each with a tip.
enum {
    kPreProcessLabelItem = 1,          // picture static: the plug-in's label, no action
    kPreProcessPlotOutItem = 2,        // the Plot Out dialog
    kPreProcessPlotterSetupItem = 3,   // the Plotter Setup dialog
    kPreProcessDotCutItem = 4,         // perforation pieces of the selected paths
    kPreProcessTextOutlineItem = 5,    // text frames to one compound path per character
    kPreProcessInvertTextItem = 6,     // a copy of each text, each line back to front, to its right
    kPreProcessLineWidthItem = 7,      // strokes to filled outlines, overlapping shapes merged
    kPreProcessOffsetItem = 8,         // the offset distance dialog, then a contour around the first object
    kPreProcessWeedingItem = 9,        // weeding lines around the selection
    kPreProcessSplitToolItem = 10,     // radio: the split tool
    kPreProcessStartPointToolItem = 11,  // radio: the start-point tool
    kPreProcessCheckGroupToolItem = 12,  // radio: the check-group tool
    kPreProcessMarksItem = 13,         // registration marks around the selection
    kPreProcessOverCutItem = 14,       // the overcut settings
    kPreProcessDevicePanelItem = 15    // the cutter's device panel; shown only for a plotter that has one
};
enum { kPreProcessItemCount = 15 };

// The palette's init procedure, handed to the toolkit when it is created.
VT_NODISCARD ASErr PreProcessDlgInit(ADMDialogRef dialog);
// Gives back what the init procedure took; returns the result of releasing the suites.
VT_NODISCARD ASErr ProProcessDlgDestroyProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PreProcessDlgPicButtonInit(ADMItemRef item);
VT_NODISCARD ASErr ProProcessDlgPictureButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PreProcessDlgPicRadioButtonInit(ADMItemRef item);

// The registration-mark button: with nothing selected outside the marks layer
// at the top level, the alert kNoObjectSelectedAlert and no dialog, and the
// selection test's result; otherwise the mark dialog on the selection's
// bounds, and 0.
VT_NODISCARD ASErr goPrint4Marks(ADMDialogRef dialog);
#define kNoObjectSelectedAlert " Warning: No Object Selected!"

extern const Item_Control_arg dlgPreProcessItem[kPreProcessItemCount];
