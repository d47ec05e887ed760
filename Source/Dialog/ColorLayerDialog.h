// The pen setup of one group of the job ("ColorLayer Dialog"): the pen a
// colour or layer is cut with, whether the cutter pauses before it, and the
// command texts sent before and after its volumes. It edits the table entry
// in place; only OK stores.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/ColorLayerRecords.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

enum { kColorLayerItemCount = 13 };

// Items of the pen setup.
enum {
    kColorLayerOKItem = 1,
    kColorLayerCancelItem = 2,
    kColorLayerPauseItem = 3,         // check box: the cutter pauses before the group
    kColorLayerPenLabelItem = 4,
    kColorLayerPenItem = 5,           // popup of the current environment's pens
    kColorLayerPressureItem = 6,      // the chosen pen's pressure, velocity and knife offset
    kColorLayerVelocityItem = 7,
    kColorLayerOffsetItem = 8,
    kColorLayerPreTextLabelItem = 9,
    kColorLayerPreTextItem = 10,      // commands sent before the group's volumes
    kColorLayerPostTextLabelItem = 11,
    kColorLayerPostTextItem = 12,     // commands sent after them
    kColorLayerTextsBoxItem = 13
};

// Sent by the pen popup to the three pen texts when another pen is picked.
#define kUpdatePenInformationNotify "Notifiy Update Pen Information"

extern const Item_Control_arg dlgColorLayerItem[kColorLayerItemCount];

// The entry being edited: a colour (g_ColorOrLayer set, g_clIn) or a layer
// (unset, g_lyIn), and the pen last picked in the popup.
extern bool g_ColorOrLayer;
extern Color* g_clIn;
extern Layer* g_lyIn;
extern int32_t g_iPenIndex;

// Runs the pen setup on a colour entry (isColor 1) or a layer entry (0) and
// returns the modal result: 1 OK, 2 Cancel.
ASErr goColorLayer(uint8_t isColor, Color* color, Layer* layer);

VT_NODISCARD ASErr ColorLayerPluginInitProc(ADMDialogRef dialog);
