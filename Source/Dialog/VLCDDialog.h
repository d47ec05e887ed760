// The cutter's device panel, reached from the "VLCD Setting..." menu item: it
// reads the cutter's tool settings, media size, model and alignment-sensor
// offsets over USB, sends changed tool settings back, cuts a test rectangle,
// corrects the cutter's length scale and adjusts the alignment sensor. The
// cutter keeps every setting; the plug-in stores none of them.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

enum { kVLCDItemCount = 47 };

// Items of the panel. The popups' entry ids are the values the cutter takes.
enum {
    kVLCDPlotterItem = 1,  // popup: the current plotter (entry id: its product id)
    kVLCDReadItem = 2,     // read everything from the cutter
    kVLCDModelItem = 3,    // model and version, after a read
    // Tool settings (left group).
    kVLCDMediaWidthLabelItem = 11,
    kVLCDMediaWidthItem = 12,  // from the hard-clip limits, "600.00mm"
    kVLCDMediaLengthLabelItem = 13,
    kVLCDMediaLengthItem = 14,
    kVLCDPressureLabelItem = 15,
    kVLCDPressureItem = 17,  // spin edit, grams (code 22)
    kVLCDBladeOffsetLabelItem = 18,
    kVLCDBladeOffsetItem = 19,  // popup, thousandths of a mm (code 16)
    kVLCDMediaKindLabelItem = 20,
    kVLCDMediaKindItem = 21,  // popup: Single 0, Roll 1 (code 21)
    kVLCDHeavyLightLabelItem = 22,
    kVLCDHeavyLightItem = 23,  // popup: Heavy 0, Light 1 (code 17)
    kVLCDAutoFeedLabelItem = 24,
    kVLCDAutoFeedItem = 25,  // popup: Disable 0, Enable 1 (code 20)
    kVLCDQualityLabelItem = 26,
    kVLCDQualityItem = 27,  // popup: Fine 0, Draft 1 (code 18)
    kVLCDSmoothingLabelItem = 28,
    kVLCDSmoothingItem = 29,  // popup: Disable 0, Enable 1 (code 19)
    kVLCDSendItem = 30,       // send the tool settings
    kVLCDSettingsFrameItem = 31,
    // Presets of the sizes below: millimetres or inches.
    kVLCDMillimetreItem = 48,
    kVLCDInchItem = 49,
    // Test rectangle.
    kVLCDTestTitleItem = 50,
    kVLCDTestTextItem = 51,
    kVLCDTestXLabelItem = 52,
    kVLCDTestXItem = 53,  // text edit, mm
    kVLCDTestYLabelItem = 55,
    kVLCDTestYItem = 56,  // text edit, mm
    kVLCDTestCutItem = 58,
    // Length-scale correction from the measured test rectangle.
    kVLCDScaleTitleItem = 59,
    kVLCDScaleTextItem = 60,
    kVLCDMeasuredXLabelItem = 61,
    kVLCDMeasuredXItem = 62,  // text edit, mm
    kVLCDMeasuredYLabelItem = 63,
    kVLCDMeasuredYItem = 64,  // text edit, mm
    kVLCDScaleItem = 65,
    // Alignment sensor (AAS).
    kVLCDAASTitleItem = 66,
    kVLCDAASXTextItem = 67,  // the cutter's X offset, after a read
    kVLCDAASXItem = 68,      // spin edit: X adjustment, mm
    kVLCDAASYTextItem = 69,
    kVLCDAASYItem = 70,  // spin edit: Y adjustment, mm
    kVLCDAASSendItem = 71,
    kVLCDTestFrameItem = 73,
    kVLCDCloseItem = 100  // ends the panel with 100; also the default and cancel item
};

// A query is asked again until the cutter answers it, at most this many times
// and for at most this long (ticks of 1/60 s).
enum { kVLCDQueryTries = 50, kVLCDQueryTicks = 300 };

extern const Item_Control_arg dlgVLCDItem[kVLCDItemCount];

// Reloads the current plotter and, when it has the device-panel capability,
// runs the panel; returns its modal result (100 when closed), or 0 when it
// did not open.
VT_NODISCARD ASErr goVLCDDialog();

ASErr VLCDDialogInitProc(ADMDialogRef dialog);
ASErr dlgVLCDPopupListInitProc(ADMItemRef item);
ASErr dlgVLCDPushButtonInitProc(ADMItemRef item);
ASErr dlgVLCDPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr dlgVLCDSpinEditInitProc(ADMItemRef item);
ASErr dlgVLCDTextEditInitProc(ADMItemRef item);
ASErr dlgVLCDStaticTextInitProc(ADMItemRef item);
ASErr dlgVLCDRadioButtonInitProc(ADMItemRef item);
ASErr dlgVLCDRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

// Selects and activates entry index of the item's list; an index outside the
// list deselects and deactivates every entry.
void SelectItemEntryIndex(ADMItemRef item, int index);

// Appends field n (from 0) of text split at separator to out, which holds
// outSize bytes and stays terminated; what does not fit is left out.
void GetSubString(const char* text, char separator, int n, char* out, size_t outSize);

// Reads a reply of the form PREFIX n1,n2,...: text must start with prefix,
// then up to count whole numbers separated by commas follow, each within the
// 32-bit range. Returns how many were read into values, in order; a number
// that does not scan, or does not fit, ends the reading there.
int ScanReplyInts(const char* text, const char* prefix, int32_t* values, int count);
