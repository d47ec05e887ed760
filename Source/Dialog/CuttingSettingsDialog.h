// The cutting settings dialog, opened by the Plot Out dialog's "Cut Settings"
// button: the settings that act on the whole stream of every later job rather
// than on single volumes. Back to home returns the pen to the origin at the
// end of an HPGL job; the cutter's own tool settings leave out the pens'
// tool blocks; the cut-off line cuts across the media above the job, at the
// distance given, on cutters that can do it.
//
// The settings live in the globals record (backToHome, usePlotterSetting,
// cutOff, cutOffDistance) and are kept in the preferences at shutdown. Only OK
// changes them: looking at the dialog, or cancelling it, never changes the
// next job.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the dialog, made in this order. Ids 5 to 7 are not used.
enum {
    kCuttingSettingsOKItem = 1,
    kCuttingSettingsCancelItem = 2,
    kCuttingSettingsBackToHomeItem = 3,         // check box: back to the origin after the job
    kCuttingSettingsUsePlotterSettingItem = 4,  // check box: the cutter's own tool settings
    kCuttingSettingsCutOffItem = 8,             // check box: cut off the media after the job
    kCuttingSettingsCutOffDistanceItem = 9      // edit, mm, 3 decimals, 0 to the media length
};
enum { kCuttingSettingsItemCount = 6 };

// The capability bit of the current plotter that allows the cut-off line.
enum { kCuttingSettingsCutOffCapability = 0x10 };

// The cut-off line goes into a job only when it is on and the current plotter
// can cut it: a choice kept for another cutter must not send this one a
// command it does not have.
uint8_t cutOffLineWanted();

extern const Item_Control_arg dlgArdoSettingItem[kCuttingSettingsItemCount];

// Runs the modal dialog. The settings it stores are its whole outcome, so it
// answers kNoErr however the dialog ended.
VT_NODISCARD ASErr goArdoSettingDialog();

VT_NODISCARD ASErr PlotOutDlgArdoSettinDlgInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PlotOutDlgArdoSettingDlgTextPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr ArdoSettingDlgCheckBoxNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

// The Plot Out dialog's "Cut Settings" button (item 26): its init procedure
// installs the notify procedure, which runs the dialog above and then redraws
// the preview in full.
VT_NODISCARD ASErr PlotOutDlgTextPushButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotOutDlgArdoSettingsNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
