#include "Dialog/PlotOutFields.h"

#include <math.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/VolumePlacement.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotOutShared.h"

bool g_bScaleConnect = true;

static const ADMFloat kMillimetre = (ADMFloat)kMillimetreToPoint;

ASErr enableVolumeItem(ADMDialogRef dialog, uint8_t on)
{
    for (int i = 0; i < kValueControlCount; ++i) enablePlotOutItem(dialog, kValueControls[i], on != 0);
    return kNoErr;
}

static ADMDialogRef dialogOf(ADMItemRef item) { return sADMItem->GetDialog(item); }

// A field's value in millimetres, and a length shown in one.
static double fieldMillimetres(ADMItemRef item) { return sADMItem->GetFloatValue(item) * kPointToMillimetre; }
static void showMillimetres(ADMItemRef item, double mm) { sADMItem->SetFloatValue(item, (ADMFloat)(mm * kMillimetreToPoint)); }

static bool isRefresh(ADMNotifierRef notifier, bool alsoOnUpdate)
{
    return sADMNotifier->IsNotifierType(notifier, kPreviewSelectionChangedNotify) ||
           sADMNotifier->IsNotifierType(notifier, kValueChangedNotify) ||
           (alsoOnUpdate && sADMNotifier->IsNotifierType(notifier, kUpdateItemSettingNotify));
}

// The merged values read for the broadcast open now (see
// beginSelectionBroadcast); depth 0 when none is.
static int32_t g_broadcastDepth = 0;
static ASErr g_broadcastRead = kNoErr;
static Volume g_broadcastInfo;

void beginSelectionBroadcast(void)
{
    if (g_broadcastDepth++ == 0) g_broadcastRead = getSelectionVolumeInformation(&g_broadcastInfo);
}

void endSelectionBroadcast(void)
{
    if (g_broadcastDepth > 0) --g_broadcastDepth;
}

static ASErr selectionInformation(Volume* info)
{
    if (g_broadcastDepth == 0) return getSelectionVolumeInformation(info);
    if (g_broadcastRead == kNoErr) *info = g_broadcastInfo;
    return g_broadcastRead;
}

// The selection's common values; with nothing selected every value control
// turns inactive, so no edit can reach the setters.
static bool readSelection(ADMDialogRef dialog, Volume* info)
{
    if (selectionInformation(info) != kNoErr) {
        (void)enableVolumeItem(dialog, 0);
        return false;
    }
    (void)enableVolumeItem(dialog, 1);
    // Volumes scaled differently have no common factor to show or edit; every
    // field's refresh says so, or the next one would make the field active again.
    if (info->scaleX == kMixedDoubleValue) enablePlotOutItem(dialog, kPlotOutScaleXItem, false);
    if (info->scaleY == kMixedDoubleValue) enablePlotOutItem(dialog, kPlotOutScaleYItem, false);
    return true;
}

// The first selected volume as it is: its own copies, gaps and scales, where
// the merged information holds the mixed marker for those that differ.
static const Volume* firstSelected()
{
    for (int32_t i = 0; g->volumes != NULL && i < g->volumeCount; i++)
        if (g->volumes[i].flags & kVolumeSelected) return &g->volumes[i];
    return NULL;
}

// A merged value of the selection (a length in millimetres, or a bare
// number). Where it is the mixed marker the field shows nothing, for the
// marker is no value to read; it still holds a real value, the first
// selected volume's own, so that an arrow pressed on it steps from that value
// and never from the marker.
static void showMerged(ADMItemRef item, double merged, double mixed, double own)
{
    double shown = merged == mixed ? own : merged;
    if (sADMItem->GetUnits(item) == kADMMillimeterUnits)
        showMillimetres(item, shown);
    else
        sADMItem->SetFloatValue(item, (ADMFloat)shown);
    if (merged == mixed) sADMItem->SetText(item, "");
}

// A change is drawn at once, and the other fields show its consequences.
static void afterChange(ADMItemRef item, bool tellOthers)
{
    if (tellOthers) (void)notifySend(item, kValueChangedNotify);
    redrawPlotOutPreview(dialogOf(item));
}

// ---- Offsets (2, 4) ----------------------------------------------------------------------------

ASErr PlotOutDlgOffsetSpinEditInitProc(ADMItemRef item)
{
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetMaxFloatValue(item, 65535 * kMillimetre);
    sADMItem->SetSmallIncrement(item, kMillimetre);
    sADMItem->SetLargeIncrement(item, 10 * kMillimetre);
    return useNotifyProc(item, PlotOutDlgOffsetSpinEditNotifyProc);
}

ASErr PlotOutDlgOffsetSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    ADMDialogRef dialog = dialogOf(item);
    bool isX = sADMItem->GetID(item) == kPlotOutOffsetXItem;
    Volume info;
    if (isRefresh(notifier, false)) {
        if (readSelection(dialog, &info)) showMillimetres(item, isX ? info.rect[0] : info.rect[3]);
    } else if (userChanged(notifier)) {
        g->undoNewStep = 1;
        if (readSelection(dialog, &info)) {
            // The whole selection moves until its left (bottom) edge lies at
            // the value typed.
            double edge = isX ? info.rect[0] : info.rect[3];
            (void)setSelectionVolumeDoubleValue(isX ? kVolumeValueLeft : kVolumeValueBottom,
                                                fieldMillimetres(item) - edge, 1);
            redrawPlotOutPreview(dialog);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Rotation, scale, width and height (18, 20, 22, 24, 25) ---------------------------------------

ASErr PlotOutDlgTransformSpinEditInitProc(ADMItemRef item)
{
    switch (sADMItem->GetID(item)) {
    case kPlotOutRotationItem:
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinFloatValue(item, -360);
        sADMItem->SetMaxFloatValue(item, 360);
        sADMItem->SetFloatValue(item, 0);
        sADMItem->SetSmallIncrement(item, 90);
        sADMItem->SetLargeIncrement(item, 90);
        break;
    case kPlotOutScaleXItem:
    case kPlotOutScaleYItem:
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetPrecision(item, 2);
        sADMItem->SetMinFloatValue(item, 0);
        sADMItem->SetFloatValue(item, 1.0f);
        sADMItem->SetSmallIncrement(item, 0.05f);
        sADMItem->SetLargeIncrement(item, 0.5f);
        break;
    default:  // width and height
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetMinFloatValue(item, 0);
        sADMItem->SetSmallIncrement(item, kMillimetre);
        sADMItem->SetLargeIncrement(item, 10 * kMillimetre);
        break;
    }
    return useNotifyProc(item, PlotOutDlgTransformSpinEditNotifyProc);
}

static void showTransform(ADMItemRef item, const Volume& info)
{
    switch (sADMItem->GetID(item)) {
    case kPlotOutRotationItem: sADMItem->SetFloatValue(item, (ADMFloat)-info.angle); break;
    case kPlotOutScaleXItem:
    case kPlotOutScaleYItem: {
        bool isX = sADMItem->GetID(item) == kPlotOutScaleXItem;
        const Volume* first = firstSelected();
        if (first != NULL)
            showMerged(item, isX ? info.scaleX : info.scaleY, kMixedDoubleValue, isX ? first->scaleX : first->scaleY);
        break;
    }
    case kPlotOutWidthItem: showMillimetres(item, info.rect[2] - info.rect[0]); break;
    default: showMillimetres(item, info.rect[1] - info.rect[3]); break;
    }
}

// Rotation: the field shows and takes the angle with the opposite sign of the
// model's; a whole turn is no turn.
static void editRotation(ADMItemRef item)
{
    g->undoNewStep = 1;
    double degrees = sADMItem->GetFloatValue(item);
    if (degrees == 360.0 || degrees == -360.0) {
        sADMItem->SetFloatValue(item, 0);
        degrees = 0;
    }
    (void)setSelectionVolumeDoubleValue(kVolumeValueAngle, -degrees, 0);
}

// Scale: absolute factors about the selection's lower-left corner; with the
// lock closed one factor for both axes, else 0 leaves the other axis alone.
// A factor of 0 would flatten the selection: nothing changes and the field
// shows the selection's scale again (the others are not told of an edit, and
// this field would keep showing what was refused).
static void editScale(ADMItemRef item)
{
    g->undoNewStep = 1;
    double v = fabs((double)sADMItem->GetFloatValue(item));
    if (!(v > 0)) {
        Volume info;
        if (getSelectionVolumeInformation(&info) == kNoErr) showTransform(item, info);
        return;
    }
    AIRealRect rect;
    if (getSelectionVolumeRealRect(&rect) != kNoErr) return;
    bool isX = sADMItem->GetID(item) == kPlotOutScaleXItem;
    double fx = g_bScaleConnect ? v : (isX ? v : 0);
    double fy = g_bScaleConnect ? v : (isX ? 0 : v);
    (void)setSelectionVolumeScale(rect, kAnchorBottomLeft, fx, fy, 0);
}

// Width or height: the size typed over the selection's size is a relative
// factor for that axis alone, whatever the lock. A selection without extent
// on that axis, or a size of 0, cannot be scaled to it: nothing changes and
// the field shows the size again.
static void editSize(ADMItemRef item)
{
    g->undoNewStep = 1;
    AIRealRect rect;
    if (getSelectionVolumeRealRect(&rect) != kNoErr) return;
    bool isWidth = sADMItem->GetID(item) == kPlotOutWidthItem;
    double current = isWidth ? rect.right - rect.left : rect.top - rect.bottom;
    double typed = fieldMillimetres(item);
    if (!(current > 0) || !(typed > 0)) {
        showMillimetres(item, current);
        return;
    }
    double factor = typed / current;
    (void)setSelectionVolumeScale(rect, kAnchorBottomLeft, isWidth ? factor : 1.0, isWidth ? 1.0 : factor, 1);
}

ASErr PlotOutDlgTransformSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    ADMDialogRef dialog = dialogOf(item);
    int32_t id = sADMItem->GetID(item);
    if (isRefresh(notifier, true)) {
        Volume info;
        if (readSelection(dialog, &info)) showTransform(item, info);
        // The job opens with only the size fields told; they pass it on so
        // that every field shows the loaded selection from the start.
        if (id == kPlotOutWidthItem && sADMNotifier->IsNotifierType(notifier, kUpdateItemSettingNotify))
            (void)notifySend(item, kValueChangedNotify);
    } else if (userChanged(notifier)) {
        if (id == kPlotOutRotationItem)
            editRotation(item);
        else if (id == kPlotOutScaleXItem || id == kPlotOutScaleYItem)
            editScale(item);
        else
            editSize(item);
        afterChange(item, true);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Mirror (16) ---------------------------------------------------------------------------------

ASErr PlotOutDlgTransformCheckInitProc(ADMItemRef item)
{
    sADMItem->SetBooleanValue(item, FALSE);
    return useNotifyProc(item, PlotOutDlgTransformMirrorCheckNotifyProc);
}

ASErr PlotOutDlgTransformMirrorCheckNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (isRefresh(notifier, false)) {
        Volume info;
        if (readSelection(dialogOf(item), &info)) sADMItem->SetBooleanValue(item, info.mirror != 0);
    } else if (userChanged(notifier)) {
        // A mirror is its own step of the history, as every other edit.
        g->undoNewStep = 1;
        (void)setSelectionVolumeBoolValue(kVolumeValueMirror, sADMItem->GetBooleanValue(item) ? 1 : 0);
        afterChange(item, false);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Scale lock (23) -------------------------------------------------------------------------------

ASErr PlotOutDlgTransformPictureStaticInitProc(ADMItemRef item)
{
    sADMItem->SetPictureID(item, kScaleLockedPicture);
    sADMItem->SetCursorID(item, g->pluginRef, kADMCrossCursorID);
    g_bScaleConnect = true;
    sADMItem->SetTrackProc(item, PlotOutDlgTransformConnectTrackProc);
    return kNoErr;
}

ASBoolean PlotOutDlgTransformConnectTrackProc(ADMItemRef item, ADMTrackerRef tracker)
{
    if (sADMTracker->GetAction(tracker) == kADMButtonDownAction) {
        bool lock = sADMItem->GetPictureID(item) != kScaleLockedPicture;
        sADMItem->SetPictureID(item, lock ? kScaleLockedPicture : kScaleUnlockedPicture);
        g_bScaleConnect = lock;
    }
    return sADMItem->DefaultTrack(item, tracker);
}

// ---- Copies and gaps (29, 31, 33, 35) -------------------------------------------------------------------

static bool isCopies(int32_t id) { return id == kPlotOutCopiesXItem || id == kPlotOutCopiesYItem; }

ASErr PlotOutDlgTileSpinEditInitProc(ADMItemRef item)
{
    if (isCopies(sADMItem->GetID(item))) {
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetPrecision(item, 0);
        sADMItem->SetMinIntValue(item, 1);
        sADMItem->SetSmallIncrement(item, 1);
        sADMItem->SetLargeIncrement(item, 1);
    } else {
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetSmallIncrement(item, kMillimetre);
        sADMItem->SetLargeIncrement(item, 10 * kMillimetre);
    }
    return useNotifyProc(item, PlotOutDlgTileSpinEditNotifyProc);
}

ASErr PlotOutDlgTileSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    int32_t id = sADMItem->GetID(item);
    if (isRefresh(notifier, false)) {
        Volume info;
        const Volume* first = firstSelected();
        if (readSelection(dialogOf(item), &info) && first != NULL) {
            switch (id) {
            case kPlotOutCopiesXItem: showMerged(item, info.copiesX, kMixedIntValue, first->copiesX); break;
            case kPlotOutCopiesYItem: showMerged(item, info.copiesY, kMixedIntValue, first->copiesY); break;
            case kPlotOutGapXItem: showMerged(item, info.gapX, kMixedDoubleValue, first->gapX); break;
            default: showMerged(item, info.gapY, kMixedDoubleValue, first->gapY); break;
            }
        }
    } else if (userChanged(notifier)) {
        g->undoNewStep = 1;
        if (isCopies(id)) {
            (void)setSelectionVolumeIntValue(id == kPlotOutCopiesXItem ? kVolumeValueCopiesX : kVolumeValueCopiesY,
                                             sADMItem->GetIntValue(item));
        } else {
            float mm = (float)fieldMillimetres(item);
            (void)setSelectionVolumeDoubleValue(id == kPlotOutGapXItem ? kVolumeValueGapX : kVolumeValueGapY, mm, 0);
        }
        afterChange(item, true);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Curve fitting (37, 38, 40) ----------------------------------------------------------------------------

ASErr PlotOutDlgFitSpinEditInitProc(ADMItemRef item)
{
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetMinFloatValue(item, kMinFitPrecisionPoints);
    sADMItem->SetFloatValue(item, (ADMFloat)(g->Precious * kMillimetreToPoint));
    sADMItem->SetSmallIncrement(item, 0.01f * kMillimetre);
    sADMItem->SetLargeIncrement(item, 0.1f * kMillimetre);
    return useNotifyProc(item, PlotOutDlgFitSpinEditNotifyProc);
}

ASErr PlotOutDlgFitSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (isRefresh(notifier, false)) {
        Volume info;
        if (readSelection(dialogOf(item), &info)) showMillimetres(item, info.precision);
    } else if (userChanged(notifier)) {
        g->undoNewStep = 1;
        (void)setSelectionVolumeDoubleValue(kVolumeValuePrecision, fieldMillimetres(item), 0);
        afterChange(item, true);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgFitRadioButtonInitProc(ADMItemRef item)
{
    bool arcs = sADMItem->GetID(item) == kPlotOutFitArcsItem;
    sADMItem->SetBooleanValue(item, arcs == (g->FitType == 2));
    return useNotifyProc(item, PlotOutDlgFitRadioButtonNotifyProc);
}

ASErr PlotOutDlgFitRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    bool arcs = sADMItem->GetID(item) == kPlotOutFitArcsItem;
    if (isRefresh(notifier, false)) {
        Volume info;
        if (readSelection(dialogOf(item), &info)) sADMItem->SetBooleanValue(item, info.fitType == (arcs ? 2 : 1));
    } else if (userChanged(notifier)) {
        g->undoNewStep = 1;
        bool on = sADMItem->GetBooleanValue(item) != 0;
        (void)setSelectionVolumeIntValue(kVolumeValueFitType, (on != arcs) ? 1 : 2);
        afterChange(item, true);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Media size (42 to 45) -------------------------------------------------------------------------------

static float* mediaOf(int32_t id) { return id == kPlotOutMediaWidthItem ? &g->mediaWidth : &g->mediaLength; }

ASErr PlotOutDlgPaperSpinEditInitProc(ADMItemRef item)
{
    float* media = mediaOf(sADMItem->GetID(item));
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetMinFloatValue(item, 0);
    // The media can be made smaller than the plotter, never larger.
    ADMFloat shown = (ADMFloat)(*media * kMillimetreToPoint);
    sADMItem->SetMaxFloatValue(item, shown);
    sADMItem->SetFloatValue(item, shown);
    return useNotifyProc(item, PlotOutDlgPaperSpinEditNotifyProc);
}

ASErr PlotOutDlgPaperSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    float* media = mediaOf(sADMItem->GetID(item));
    if (userChanged(notifier)) {
        *media = (float)fieldMillimetres(item);
        redrawPlotOutPreview(dialogOf(item));
    } else if (sADMNotifier->IsNotifierType(notifier, kUpdateItemSettingNotify)) {
        showMillimetres(item, *media);
        redrawPlotOutPreview(dialogOf(item));
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgPaperPicturePushButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, PlotOutDlgPaperPicturePushButtonNotifyProc);
}

ASErr PlotOutDlgPaperPicturePushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
