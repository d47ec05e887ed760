// The Preview Options dialog, opened from the Plot Out dialog: the colours of
// the preview's background, page, board, fitted lines and arcs, the colour,
// shape and size of the control-point and start-point markers, and whether
// closed rings are filled. It edits a copy of g->previewOption, offers four
// fixed presets, and writes the copy back only on OK.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/PluginGlobals.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

enum { kPreviewOptionItemCount = 35 };

// Items of the dialog.
enum {
    kPreviewOptionOKItem = 1,
    kPreviewOptionCancelItem = 2,
    kPreviewOptionBackgroundLabelItem = 3,
    kPreviewOptionBackgroundItem = 4,  // colour popup, word 0
    kPreviewOptionPageLabelItem = 5,
    kPreviewOptionPageItem = 6,  // colour popup, word 1
    kPreviewOptionBoardLabelItem = 7,
    kPreviewOptionBoardItem = 8,  // colour popup, word 2
    kPreviewOptionSheetBoxItem = 9,
    kPreviewOptionLineLabelItem = 10,
    kPreviewOptionLineItem = 11,  // colour popup, word 3
    kPreviewOptionArcLabelItem = 12,
    kPreviewOptionArcItem = 13,  // colour popup, word 4
    kPreviewOptionControlColorLabelItem = 14,
    kPreviewOptionControlColorItem = 15,  // colour popup, word 5
    kPreviewOptionControlShapeLabelItem = 16,
    kPreviewOptionControlShapeItem = 17,  // shape popup, word 6
    kPreviewOptionControlSizeLabelItem = 18,
    kPreviewOptionControlSizeItem = 19,  // spin edit, word 7
    kPreviewOptionStartColorLabelItem = 20,
    kPreviewOptionStartColorItem = 21,  // colour popup, word 8
    kPreviewOptionStartShapeLabelItem = 22,
    kPreviewOptionStartShapeItem = 23,  // shape popup, word 9
    kPreviewOptionStartSizeLabelItem = 24,
    kPreviewOptionStartSizeItem = 25,  // spin edit, word 10
    kPreviewOptionSelectionColorLabelItem = 26,
    kPreviewOptionSelectionColorItem = 27,  // colour popup, word 11
    kPreviewOptionLabelColorLabelItem = 28,
    kPreviewOptionLabelColorItem = 29,  // colour popup, word 12
    kPreviewOptionMarkersBoxItem = 30,
    kPreviewOptionFillItem = 31,  // check box: fill closed rings
    kPreviewOptionFillBoxItem = 32,
    kPreviewOptionPresetLabelItem = 33,
    kPreviewOptionPresetItem = 34,  // popup: presets 0 to 3, 4 the user's own
    kPreviewOptionSampleItem = 35   // frame: the background, page and board as they will look
};

// Entries of the colour popups: 0 to 9 the fixed colours, 10 any other colour
// (the host's colour picker). Entries of the preset popup: 0 to 3 the
// presets, 4 the user's own settings.
enum { kPreviewColorCount = 10, kPreviewOtherColorEntry = 10, kPreviewPresetCount = 4, kPreviewCustomEntry = 4 };

// The fixed colours of the colour popups, 0xRRGGBBFF.
extern const uint32_t kPreviewColors[kPreviewColorCount];

// The copy being edited and the presets, while the dialog is open.
extern PreviewOption g_popTemp;
extern PreviewOption g_popPreSet[kPreviewPresetCount];

extern const Item_Control_arg dlgPreviewOptionItem[kPreviewOptionItemCount];

// Runs the dialog on a copy of g->previewOption; returns the id of the button
// that closed it (1 OK, 2 Cancel). The caller redraws the preview.
ASErr goPreviewOption(void);

// Shows a record in every control and makes it the edited copy.
void updateItem(ADMDialogRef dialog, PreviewOption option);
// Switches the colour and shape popups and the two size fields on or off for
// input; the preset popup and the fill check box stay open.
void enableItem(ADMDialogRef dialog, uint8_t on);

ASErr PreviewOptionDialogInitProc(ADMDialogRef dialog);
ASErr PreviewOptionDlgColorPopUpListInitProc(ADMItemRef item);
ASErr PreviewOptionDlgColorListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer);
ASErr PreviewOptionDlgColorListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PreviewOptionDlgTypePopUpListInitProc(ADMItemRef item);
ASErr PreviewOptionDlgTypeListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer);
ASErr PreviewOptionDlgTypeListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PreviewOptionDlgSizeSpinEditInitProc(ADMItemRef item);
ASErr PreviewOptionDlgSizeSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PreviewOptionDlgFillCheckBoxInitProc(ADMItemRef item);
ASErr PreviewOptionDlgFillCheckBoxNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PreviewOptionDlgCustomPopUpListInitProc(ADMItemRef item);
ASErr PreviewOptionDlgCustomListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PreviewOptionDlgPreviewFrameInitProc(ADMItemRef item);
ASErr PreviewOptionDlgPreviewFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer);
ASErr PreviewOptionDlgTextPushButtonInitProc(ADMItemRef item);
ASErr PreviewOptionDlgTextPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
