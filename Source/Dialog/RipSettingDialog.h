// The weeding-line settings dialog "RipSetting Dialog": how far the frame
// reaches beyond each object (millimetres) and how many lines run across and
// up it, with a small picture of the grid that follows the counts.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the weeding-line settings dialog.
enum {
    kRipSettingOKItem = 1,
    kRipSettingCancelItem = 2,
    kRipSettingMarginLabelItem = 3,
    kRipSettingMarginXItem = 4,  // spin edit, mm: the frame's reach left and right
    kRipSettingMarginXPictureItem = 5,
    kRipSettingMarginYItem = 6,  // spin edit, mm: its reach at the top and the bottom
    kRipSettingMarginYPictureItem = 7,
    kRipSettingLinesLabelItem = 8,
    kRipSettingVLinesItem = 9,  // spin edit: the number of upright lines, at least 0
    kRipSettingVLinesPictureItem = 10,
    kRipSettingHLinesItem = 11,  // spin edit: the number of level lines, at least 0
    kRipSettingHLinesPictureItem = 12,
    kRipSettingPreviewItem = 13  // frame: the grid the counts make
};
enum { kRipSettingItemCount = 13 };

// The grid preview: a 55 x 49 pixel grid centred in the frame, with
// kRipPreviewIconPicture drawn over it.
enum { kRipPreviewGridWidth = 55, kRipPreviewGridHeight = 49 };

extern const Item_Control_arg dlgRipSettingItem[kRipSettingItemCount];

// Runs the dialog: 0 after OK (the settings stored in the globals),
// kSettingsNotConfirmedErr otherwise (nothing stored).
VT_NODISCARD ASErr goRipSetting(void);
