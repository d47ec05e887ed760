// The Plot Out dialog's job fields (items 2 to 45 but the placement buttons):
// the selection's place, rotation, scale, size, mirror, copies and gaps, its
// curve fitting, and the media size. Each field shows the selected volumes'
// common value, changes every selected volume through the selection setters,
// and is inactive while nothing is selected.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// Set while the scale lock (item 23) is closed: a scale typed for one axis is
// used for both.
extern bool g_bScaleConnect;

// The lowest curve-fit precision a field takes, points (just under 0.01 mm).
#define kMinFitPrecisionPoints 0.026346458f

// Makes the fifteen value controls active (on 1) or inactive (0). Always 0.
ASErr enableVolumeItem(ADMDialogRef dialog, uint8_t on);

// Brackets the telling of every value control at once (notifySend): the
// selection's merged values are read when the first bracket opens and shown
// by every control told inside it; each control reads them itself outside.
// Nothing inside may change a volume. Brackets nest; each begin needs its end.
void beginSelectionBroadcast(void);
void endSelectionBroadcast(void);

ASErr PlotOutDlgOffsetSpinEditInitProc(ADMItemRef item);
ASErr PlotOutDlgOffsetSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgTransformSpinEditInitProc(ADMItemRef item);
ASErr PlotOutDlgTransformSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgTransformCheckInitProc(ADMItemRef item);
ASErr PlotOutDlgTransformMirrorCheckNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgTransformPictureStaticInitProc(ADMItemRef item);
ASBoolean PlotOutDlgTransformConnectTrackProc(ADMItemRef item, ADMTrackerRef tracker);
ASErr PlotOutDlgTileSpinEditInitProc(ADMItemRef item);
ASErr PlotOutDlgTileSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgFitSpinEditInitProc(ADMItemRef item);
ASErr PlotOutDlgFitSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgFitRadioButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgFitRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgPaperSpinEditInitProc(ADMItemRef item);
ASErr PlotOutDlgPaperSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgPaperPicturePushButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgPaperPicturePushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
