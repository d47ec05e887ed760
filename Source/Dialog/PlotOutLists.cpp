#include "Dialog/PlotOutLists.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/ColorLayer.h"
#include "Dialog/ColorLayerDialog.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotOutShared.h"

int32_t g_iCurrentIndex = 0;
int32_t g_iSwapA = -1;
int32_t g_iSwapB = -1;

// ---- Automatic order ---------------------------------------------------------------------

ASErr PlotOutDlgAutoIndexPushButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, PlotOutDlgAutoIndexPushButtonNotifyProc);
}

ASErr PlotOutDlgAutoIndexPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        // Numbering only writes the volumes' numbers: it cannot fail.
        if (layerListShown(dialog))
            (void)setVolumeIndexLayerAuto(g_lyLoad, g_iLayerNum);
        else
            (void)setVolumeIndexColorAuto(g_clLoad, g_iColorNum);
        redrawPlotOutPreview(dialog);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Manual order ------------------------------------------------------------------------

// The items that must not change while the preview's manual order tool runs:
// the group the user works in stays the one shown.
static void enableGroupChoice(ADMDialogRef dialog, bool on)
{
    static const int32_t kGroupItems[4] = {kPlotOutLayerListItem, kPlotOutColorListItem, kPlotOutCutByLayerItem,
                                           kPlotOutCutByColorItem};
    for (int i = 0; i < 4; ++i) enablePlotOutItem(dialog, kGroupItems[i], on);
}

ASErr PlotOutDlgManuIndexRadioButtonInitProc(ADMItemRef item)
{
    sADMItem->SetBooleanValue(item, FALSE);
    return useNotifyProc(item, PlotOutDlgManuIndexRadioButtonNotifyProc);
}

ASErr PlotOutDlgManuIndexRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    int32_t id = sADMItem->GetID(item);
    if (userChanged(notifier)) {
        // Only the group of the list's active entry is shown while the user
        // orders it; visibility is a matter of the volumes, it cannot fail.
        bool byLayer = layerListShown(dialog);
        ASInt32 group = GetSelectedEntryID(plotOutItem(dialog, byLayer ? kPlotOutLayerListItem : kPlotOutColorListItem));
        if (byLayer)
            (void)showSelectLayer(group, g_lyLoad, g_iLayerNum);
        else
            (void)showSelectColor(group, g_clLoad, g_iColorNum);
        enableGroupChoice(dialog, false);
        bool on = sADMItem->GetBooleanValue(item) != 0;
        if (id == kPlotOutRenumberToolItem && on) {
            g_iCurrentIndex = 0;
            g_iPreviewOpType = kPreviewOpRenumber;
        } else if (id == kPlotOutSwapToolItem && on) {
            g_iSwapA = -1;
            g_iSwapB = -1;
            g_iPreviewOpType = kPreviewOpSwap;
        }
        redrawPlotOutPreview(dialog);
    } else if (sADMNotifier->IsNotifierType(notifier, kManuSortFinishedNotify)) {
        // Each group's own visibility comes back.
        if (layerListShown(dialog))
            (void)updateVisibleLayer(g_lyLoad, g_iLayerNum);
        else
            (void)updateVisibleColor(g_clLoad, g_iColorNum);
        enableGroupChoice(dialog, true);
        sADMItem->SetBooleanValue(item, FALSE);
        // The manual tool is over whether or not the select tool's button
        // takes the mode back itself.
        g_iPreviewOpType = kPreviewOpSelect;
        ADMItemRef select = plotOutItem(dialog, kPlotOutSelectToolItem);
        if (select != NULL) {
            sADMItem->SetBooleanValue(select, TRUE);
            sADMItem->SendNotify(select, kADMUserChangedNotifier);
        }
        redrawPlotOutPreview(dialog);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

void endManualOrder(ADMDialogRef dialog)
{
    for (int32_t id : {kPlotOutRenumberToolItem, kPlotOutSwapToolItem}) {
        ADMItemRef radio = plotOutItem(dialog, id);
        if (radio != NULL && sADMItem->GetBooleanValue(radio)) sADMItem->SendNotify(radio, kManuSortFinishedNotify);
    }
}

// ---- The layer and colour lists ----------------------------------------------------------


enum { kListEntryWidth = 200, kListEntryHeight = 20, kListItemStyle = 42, kListWidth = 200, kListHeight = 86 };

// What the two lists share, and where each keeps its own state: which table
// it shows and its double-click record.
struct ListSide {
    bool isColor;
    uint8_t* dblClick;
    ASPoint* lastClickPt;
    uint32_t* lastClickTime;
    int32_t* pressedIndex;  // the entry the button went down on, -1 none
};

static int32_t g_layerPressedIndex = -1;
static int32_t g_colorPressedIndex = -1;

static ListSide layerSide()
{
    ListSide s = {false, &g->layerListDblClick, &g->layerListLastClickPt, &g->layerListLastClickTime,
                  &g_layerPressedIndex};
    return s;
}

static ListSide colorSide()
{
    ListSide s = {true, &g->colorListDblClick, &g->colorListLastClickPt, &g->colorListLastClickTime,
                  &g_colorPressedIndex};
    return s;
}

static int32_t tableCount(const ListSide& side) { return side.isColor ? g_iColorNum : g_iLayerNum; }

// The table row an entry shows, or null when the tables have changed under it.
static Color* colorOf(int32_t index) { return index >= 0 && index < g_iColorNum ? &g_clLoad[index] : NULL; }
static Layer* layerOf(int32_t index) { return index >= 0 && index < g_iLayerNum ? &g_lyLoad[index] : NULL; }

static int32_t penOf(const ListSide& side, int32_t index)
{
    if (side.isColor) {
        Color* c = colorOf(index);
        return c != NULL ? c->pen : -1;
    }
    Layer* l = layerOf(index);
    return l != NULL ? l->pen : -1;
}

static uint8_t* visibleOf(const ListSide& side, int32_t index)
{
    if (side.isColor) {
        Color* c = colorOf(index);
        return c != NULL ? &c->visible : NULL;
    }
    Layer* l = layerOf(index);
    return l != NULL ? &l->visible : NULL;
}

const Pen* currentEnvironmentPen(int32_t penIndex)
{
    const Environment& env = g->curEnvironment;
    if (env.Pens == NULL || penIndex < 0 || penIndex >= env.PenNumber) return NULL;
    return &env.Pens[penIndex];
}

void formatListPenStatus(int32_t penIndex, char* text, size_t size)
{
    const Pen* pen = currentEnvironmentPen(penIndex);
    if (pen == NULL) {
        // An entry may keep a pen index of a richer environment than the one
        // chosen now; nothing past the environment's pens is read.
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kNoPenString, text, (ASInt32)size);
        return;
    }
    char name[sizeof pen->PenName + 1];
    memcpy(name, pen->PenName, sizeof pen->PenName);
    name[sizeof pen->PenName] = 0;
    snprintf(text, size, "%s, %.1fg, %.1fcm/s, %.2fmm", name, pen->Pressure, pen->Velocity, pen->Extra);
}

ASErr PlotOutDlgLayerColorListBoxInitProc(ADMItemRef item)
{
    ADMListRef list = sADMItem->GetList(item);
    bool isColor = sADMItem->GetID(item) == kPlotOutColorListItem;
    if (list != NULL) {
        // Entries hear the pointer moving with the button up too, for the cursor.
        sADMList->SetMask(list, sADMList->GetMask(list) | kADMMouseMovedUpMask);
        sADMList->SetEntryHeight(list, kListEntryHeight);
        sADMList->SetEntryWidth(list, kListEntryWidth);
        sADMList->SetTrackProc(list, isColor ? PlotOutDlgColorListListTrackProc : PlotOutDlgLayerListListTrackProc);
        sADMList->SetNotifyProc(list,
                                isColor ? PlotOutDlgColorListListNotifyProc : PlotOutDlgLayerListListNotifyProc);
        sADMList->SetDrawProc(list, isColor ? PlotOutDlgColorListListDrawProc : PlotOutDlgLayerListListDrawProc);
    }
    sADMItem->SetItemStyle(item, kListItemStyle);
    sADMItem->Size(item, kListWidth, kListHeight);
    sADMItem->SetNotifyProc(item, isColor ? PlotOutDlgColorListNotifyProc : PlotOutDlgLayerListNotifyProc);
    sADMItem->Show(item, !isColor);
    return kNoErr;
}

// Rebuilds a list from its table: one entry per row, in cutting order.
static void fillList(ADMItemRef item, const ListSide& side)
{
    ADMListRef list = sADMItem->GetList(item);
    if (list == NULL) return;
    sADMList->RemoveAllEntries(list);
    int32_t count = tableCount(side);
    for (int32_t i = 0; i < count; ++i) {
        const char* name = side.isColor ? g_clLoad[i].name : g_lyLoad[i].name;
        uint8_t visible = side.isColor ? g_clLoad[i].visible : g_lyLoad[i].visible;
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        if (entry == NULL) break;  // the toolkit is out of room; the rows made so far stay usable
        sADMEntry->SetID(entry, i);  // an entry's id is its table row
        char text[300];
        snprintf(text, sizeof text, "   %.254s", name);
        sADMEntry->SetText(entry, text);
        sADMEntry->SetPictureID(entry, visible ? kEntryVisiblePicture : kEntryHiddenPicture);
    }
    sADMItem->Invalidate(item);
}

static void setStatusLine(ADMDialogRef dialog, const char* text)
{
    ADMItemRef status = plotOutItem(dialog, kPlotOutStatusItem);
    if (status != NULL) sADMItem->SetText(status, text);
}

ASErr PlotOutDlgLayerListNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kUpdateItemSettingNotify)) fillList(item, layerSide());
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgColorListNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kUpdateItemSettingNotify))
        fillList(item, colorSide());
    else if (userChanged(notifier))
        setStatusLine(sADMItem->GetDialog(item), "  ");
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Entry tracking -----------------------------------------------------------------------

// The tracker's point in the list's own coordinates: entries are handed
// points local to themselves, but a double click and a drop are about where
// the pointer is in the list.
static ADMPoint listPoint(ADMEntryRef entry, ADMTrackerRef tracker)
{
    ADMPoint p;
    sADMTracker->GetPoint(tracker, &p);
    ADMRect bounds;
    sADMEntry->GetBoundsRect(entry, &bounds);
    p.h = (ASInt16)(p.h + bounds.left);
    p.v = (ASInt16)(p.v + bounds.top);
    return p;
}

// The index of the entry under a point of the list, -1 when none.
static int32_t entryIndexAt(ADMListRef list, ADMPoint p)
{
    ASInt32 index = -1;
    return sADMList->PickEntry(list, &p, &index) != NULL ? index : -1;
}

// Shows or hides an entry's group: its eye, its flag and its volumes.
static void toggleEye(ADMEntryRef entry, ADMItemRef item, const ListSide& side, int32_t index)
{
    uint8_t* visible = visibleOf(side, index);
    if (visible == NULL) return;
    bool hide = sADMEntry->GetPictureID(entry) == kEntryVisiblePicture;
    sADMEntry->SetPictureID(entry, hide ? kEntryHiddenPicture : kEntryVisiblePicture);
    *visible = hide ? 0 : 1;
    // Showing or hiding touches only the volumes' flags and the cut length.
    if (side.isColor)
        (void)setVolumeColorVisible(&g_clLoad[index], *visible);
    else
        (void)setVolumeLayerVisible(g_lyLoad[index].name, *visible);
    // A hidden volume is deselected: the value controls show what remains.
    (void)notifySend(item, kPreviewSelectionChangedNotify);
    redrawPlotOutPreview(sADMItem->GetDialog(item));
}

static ASBoolean trackEntry(ADMEntryRef entry, ADMTrackerRef tracker, const ListSide& side)
{
    ADMListRef list = sADMEntry->GetList(entry);
    ADMItemRef item = sADMList->GetItem(list);
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    int32_t index = sADMEntry->GetIndex(entry);
    switch (sADMTracker->GetAction(tracker)) {
    case kADMButtonDownAction: {
        char status[256];
        formatListPenStatus(penOf(side, index), status, sizeof status);
        setStatusLine(dialog, status);
        sADMItem->SetCursorID(item, g->pluginRef, kADMHandCursorID);
        *side.pressedIndex = index;
        // The pressed entry becomes the list's active one: the group the
        // manual order tools work on.
        (void)sADMEntry->DefaultTrack(entry, tracker);
        ADMPoint local;
        sADMTracker->GetPoint(tracker, &local);
        if (local.h >= kEntryEyeLeft && local.h <= kEntryEyeRight) {
            toggleEye(entry, item, side, index);
            break;
        }
        ADMPoint p = listPoint(entry, tracker);
        uint32_t time = (uint32_t)sADMTracker->GetTime(tracker);
        bool quick = (uint32_t)(time - *side.lastClickTime) < kListDoubleClickTicks;
        bool samePixel = abs(p.h - side.lastClickPt->h) < 1 && abs(p.v - side.lastClickPt->v) < 1;
        *side.lastClickTime = time;
        *side.lastClickPt = p;
        if (quick && samePixel) {
            // The second press of a double click is consumed here; the
            // entry's click notification opens the pen setup.
            *side.dblClick = 1;
            sADMTracker->Abort(tracker);
            return 1;
        }
        break;
    }
    case kADMMouseMovedUpAction: sADMItem->SetCursorID(item, g->pluginRef, kADMCrossCursorID); break;
    case kADMMouseMovedDownAction: {
        sADMItem->SetCursorID(item, g->pluginRef, kADMHandCursorID);
        ASInt32 under = -1;
        ADMPoint p = listPoint(entry, tracker);
        ADMEntryRef target = sADMList->PickEntry(list, &p, &under);
        if (target != NULL) {
            sADMList->DeselectAll(list);
            sADMEntry->Select(target, TRUE);
        }
        break;
    }
    case kADMButtonUpAction: {
        int32_t target = entryIndexAt(list, listPoint(entry, tracker));
        int32_t pressed = *side.pressedIndex;
        *side.pressedIndex = -1;
        if (target >= 0 && pressed >= 0 && target != pressed) {
            // The dragged group takes the place in the cut order of the one it
            // is dropped on, and that one takes its place.
            if (side.isColor)
                (void)moveColorTable(g_clLoad, g_iColorNum, pressed, target);
            else
                (void)moveLayerTable(g_lyLoad, g_iLayerNum, pressed, target);
            sADMItem->SendNotify(item, kUpdateItemSettingNotify);
        }
        break;
    }
    default: break;
    }
    return 0;
}

ASBoolean PlotOutDlgLayerListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker)
{
    return trackEntry(entry, tracker, layerSide());
}

ASBoolean PlotOutDlgColorListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker)
{
    return trackEntry(entry, tracker, colorSide());
}

// ---- Double click to the pen setup -------------------------------------------------------------

ASErr PlotOutDlgLayerListListNotifyProc(ADMEntryRef entry, ADMNotifierRef notifier)
{
    if (userChanged(notifier) && g->layerListDblClick) {
        g->layerListDblClick = 0;
        Layer* layer = layerOf(sADMEntry->GetIndex(entry));
        if (layer != NULL) (void)goColorLayer(0, NULL, layer);
    }
    sADMEntry->DefaultNotify(entry, notifier);
    return kNoErr;
}

ASErr PlotOutDlgColorListListNotifyProc(ADMEntryRef entry, ADMNotifierRef notifier)
{
    // The colour list's entries keep their clicks: the list item's own click
    // handling is for clicks off the entries.
    if (userChanged(notifier) && g->colorListDblClick) {
        g->colorListDblClick = 0;
        Color* color = colorOf(sADMEntry->GetIndex(entry));
        if (color != NULL) return goColorLayer(1, color, NULL);
    }
    return kNoErr;
}

// ---- Entry drawing -----------------------------------------------------------------------------

static void drawSwatch(ADMDrawerRef drawer, ADMColor fill, bool noColor)
{
    ADMRect frame;
    frame.left = kEntrySwatchLeft;
    frame.top = kEntrySwatchTop;
    frame.right = kEntrySwatchRight;
    frame.bottom = kEntrySwatchBottom;
    sADMDrawer->SetColor(drawer, kADMBlackColor);
    sADMDrawer->DrawRect(drawer, &frame);
    if (noColor) {
        // No colour: a thick stroke from the lower left to the upper right.
        sADMDrawer->SetColor(drawer, kADMGridColor);
        for (int k = 0; k < 3; ++k) {
            ADMPoint from = {(ASInt16)(frame.left + 1 + k), (ASInt16)(frame.bottom - 1)};
            ADMPoint to = {(ASInt16)(frame.right - 1), (ASInt16)(frame.top + 1 + k)};
            sADMDrawer->DrawLine(drawer, &from, &to);
        }
        return;
    }
    ADMRect inside = frame;
    inside.left += 1;
    inside.top += 1;
    inside.right -= 1;
    inside.bottom -= 1;
    sADMDrawer->SetColor(drawer, fill);
    sADMDrawer->FillRect(drawer, &inside);
}

static ADMColor rgbColor(uint32_t red, uint32_t green, uint32_t blue)
{
    return ((red & 0xFF) << 24) | ((green & 0xFF) << 16) | ((blue & 0xFF) << 8) | 0xFF;
}

ASErr PlotOutDlgLayerListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer)
{
    sADMEntry->DefaultDraw(entry, drawer);
    const Layer* layer = layerOf(sADMEntry->GetIndex(entry));
    if (layer != NULL) {
        // A layer's colour is held in 16 bits a component.
        drawSwatch(drawer,
                   rgbColor(layer->layerColor[0] >> 8, layer->layerColor[1] >> 8, layer->layerColor[2] >> 8),
                   false);
    }
    return kNoErr;
}

ASErr PlotOutDlgColorListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer)
{
    sADMEntry->DefaultDraw(entry, drawer);
    const Color* color = colorOf(sADMEntry->GetIndex(entry));
    if (color != NULL)
        drawSwatch(drawer, rgbColor(color->rgb[0], color->rgb[1], color->rgb[2]), color->kind == kVolumeColorNone);
    return kNoErr;
}
