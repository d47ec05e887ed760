// The pen setup of one colour or layer group of the job.
#include "Dialog/ColorLayerDialog.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PlotOutLists.h"

bool g_ColorOrLayer = false;
Color* g_clIn = NULL;
Layer* g_lyIn = NULL;
int32_t g_iPenIndex = -1;

static ASErr ColorLayerDlgButtonInitProc(ADMItemRef item);
static ASErr ColorLayerDlgPenPopupInitProc(ADMItemRef item);
static ASErr ColorLayerDlgPenTextInitProc(ADMItemRef item);
static ASErr ColorLayerDlgPauseInitProc(ADMItemRef item);
static ASErr ColorLayerDlgCommandTextInitProc(ADMItemRef item);

const Item_Control_arg dlgColorLayerItem[kColorLayerItemCount] = {
    {kADMTextPushButtonType, kColorLayerOKString, 0, 0, kColorLayerOKItem, 5, 100, 155, 21, ColorLayerDlgButtonInitProc,
     NULL},
    {kADMTextPushButtonType, kColorLayerCancelString, 0, 0, kColorLayerCancelItem, 325, 100, 155, 21,
     ColorLayerDlgButtonInitProc, NULL},
    {kADMTextStaticType, kColorLayerPenLabelString, 0, 0, kColorLayerPenLabelItem, 10, 30, 17, 15, NULL, NULL},
    {kADMPopupListType, 0, 0, 0, kColorLayerPenItem, 45, 145, 12, 20, ColorLayerDlgPenPopupInitProc, NULL},
    {kADMTextCheckBoxType, kColorLayerPauseString, 0, 0, kColorLayerPauseItem, 10, 200, 37, 20,
     ColorLayerDlgPauseInitProc, NULL},
    {kADMTextStaticType, 0, 0, 0, kColorLayerPressureItem, 220, 200, 12, 15, ColorLayerDlgPenTextInitProc, NULL},
    {kADMTextStaticType, 0, 0, 0, kColorLayerVelocityItem, 220, 200, 27, 15, ColorLayerDlgPenTextInitProc, NULL},
    {kADMTextStaticType, 0, 0, 0, kColorLayerOffsetItem, 220, 200, 42, 15, ColorLayerDlgPenTextInitProc, NULL},
    {kADMTextStaticType, kColorLayerPreTextLabelString, 0, 0, kColorLayerPreTextLabelItem, 10, 200, 70, 15, NULL, NULL},
    {kADMTextEditMultiLineType, 0, 0, 0, kColorLayerPreTextItem, 10, 200, 85, 60, ColorLayerDlgCommandTextInitProc,
     NULL},
    {kADMTextStaticType, kColorLayerPostTextLabelString, 0, 0, kColorLayerPostTextLabelItem, 220, 200, 70, 15, NULL,
     NULL},
    {kADMTextEditMultiLineType, 0, 0, 0, kColorLayerPostTextItem, 220, 200, 85, 60, ColorLayerDlgCommandTextInitProc,
     NULL},
    {kADMFrameType, 0, 0, 0, kColorLayerTextsBoxItem, 5, 420, 63, 87, NULL, NULL},
};

// What the dialog edits, whichever kind of entry it is.
static int32_t* editedPen() { return g_ColorOrLayer ? &g_clIn->pen : &g_lyIn->pen; }
static uint8_t* editedPause() { return g_ColorOrLayer ? &g_clIn->pause : &g_lyIn->pause; }
static char** editedText(int32_t id)
{
    if (g_ColorOrLayer) return id == kColorLayerPreTextItem ? &g_clIn->preText : &g_clIn->postText;
    return id == kColorLayerPreTextItem ? &g_lyIn->preText : &g_lyIn->postText;
}

ASErr goColorLayer(uint8_t isColor, Color* color, Layer* layer)
{
    if ((isColor && color == NULL) || (!isColor && layer == NULL)) return kBadParameterErr;
    g_ColorOrLayer = isColor != 0;
    g_clIn = color;
    g_lyIn = layer;
    g_iPenIndex = isColor ? color->pen : layer->pen;
    ASErr result = runModalDialog(kColorLayerDialog, ColorLayerPluginInitProc);
    g_clIn = NULL;
    g_lyIn = NULL;
    return result;
}

ASErr ColorLayerPluginInitProc(ADMDialogRef dialog)
{
    int32_t titleIndex = g_ColorOrLayer ? kColorLayerColorTitleString : kColorLayerLayerTitleString;
    if (setUpDialog(dialog, kColorLayerDialog, titleIndex, dlgColorLayerItem, kColorLayerItemCount) != 1) return kNoErr;
    static const int32_t kStatics[] = {kColorLayerPressureItem, kColorLayerVelocityItem, kColorLayerOffsetItem,
                                       kColorLayerPreTextLabelItem, kColorLayerPostTextLabelItem};
    for (int32_t id : kStatics) {
        ADMItemRef item = sADMDialog->GetItem(dialog, id);
        if (item != NULL) sADMItem->SetJustify(item, kADMLeftJustify);
    }
    ADMItemRef label = sADMDialog->GetItem(dialog, kColorLayerPenLabelItem);
    if (label != NULL) sADMItem->SetJustify(label, kADMRightJustify);
    return kNoErr;
}

// ---- The pen --------------------------------------------------------------------------------

// The three pen texts for a pen of the current environment; the "no pen"
// text in the first and nothing in the others for a pen it lacks.
static void showPenText(ADMItemRef item, int32_t penIndex)
{
    const Pen* pen = currentEnvironmentPen(penIndex);
    char text[300];
    if (pen == NULL) {
        text[0] = 0;
        if (sADMItem->GetID(item) == kColorLayerPressureItem)
            sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kNoPenString, text, sizeof text);
        sADMItem->SetText(item, text);
        return;
    }
    char label[256];
    switch (sADMItem->GetID(item)) {
    case kColorLayerPressureItem:
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kPenPressureLabelString, label, sizeof label);
        snprintf(text, sizeof text, "%s %.2f g", label, pen->Pressure);
        break;
    case kColorLayerVelocityItem:
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kPenVelocityLabelString, label, sizeof label);
        snprintf(text, sizeof text, "%s %.2f cm/s", label, pen->Velocity);
        break;
    default:
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kPenOffsetLabelString, label, sizeof label);
        snprintf(text, sizeof text, "%s %.2f mm", label, pen->Extra);
        break;
    }
    sADMItem->SetText(item, text);
}

static ASErr ColorLayerDlgPenTextNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kUpdatePenInformationNotify)) showPenText(item, g_iPenIndex);
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

static ASErr ColorLayerDlgPenTextInitProc(ADMItemRef item)
{
    showPenText(item, *editedPen());
    return useNotifyProc(item, ColorLayerDlgPenTextNotifyProc);
}

static ASErr ColorLayerDlgPenPopupNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        g_iPenIndex = GetSelectedEntryID(item);
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        for (int32_t id : {kColorLayerPressureItem, kColorLayerVelocityItem, kColorLayerOffsetItem}) {
            ADMItemRef text = sADMDialog->GetItem(dialog, id);
            if (text != NULL) sADMItem->SendNotify(text, kUpdatePenInformationNotify);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

static ASErr ColorLayerDlgPenPopupInitProc(ADMItemRef item)
{
    // A pen the environment lacks leaves the popup without a choice.
    InitializePenPopupList(item, *editedPen(), false);
    return useNotifyProc(item, ColorLayerDlgPenPopupNotifyProc);
}

// ---- Pause and command texts ------------------------------------------------------------------

static ASErr ColorLayerDlgPauseInitProc(ADMItemRef item)
{
    sADMItem->SetBooleanValue(item, *editedPause() != 0);
    return kNoErr;
}

static ASErr ColorLayerDlgCommandTextInitProc(ADMItemRef item)
{
    char* text = *editedText(sADMItem->GetID(item));
    sADMItem->SetText(item, text != NULL ? text : "");
    return kNoErr;
}

// Replaces an entry's command text with what the edit holds; an empty edit
// leaves no text, so nothing is sent for it. '!Mem' keeps the old text.
VT_NODISCARD static ASErr storeCommandText(ADMItemRef edit, char** stored)
{
    ASInt32 length = edit != NULL ? sADMItem->GetTextLength(edit) : 0;
    if (length <= 0) {
        free(*stored);
        *stored = NULL;
        return kNoErr;
    }
    char* text = (char*)calloc((size_t)length + 1, 1);
    if (text == NULL) return kMemoryErr;
    sADMItem->GetText(edit, text, length + 1);
    free(*stored);
    *stored = text;
    return kNoErr;
}

// ---- OK and Cancel -------------------------------------------------------------------------------

static bool storeEntry(ADMDialogRef dialog)
{
    ADMItemRef pause = sADMDialog->GetItem(dialog, kColorLayerPauseItem);
    if (pause != NULL) *editedPause() = sADMItem->GetBooleanValue(pause) ? 1 : 0;
    // Without a choice in the popup the entry keeps its pen.
    int32_t pen = GetSelectedEntryID(sADMDialog->GetItem(dialog, kColorLayerPenItem));
    if (pen >= 0) *editedPen() = pen;
    for (int32_t id : {kColorLayerPreTextItem, kColorLayerPostTextItem})
        if (storeCommandText(sADMDialog->GetItem(dialog, id), editedText(id)) != kNoErr) {
            char message[256];
            sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kCommandTextNotKeptString, message,
                                      sizeof message);
            sADMBasic->ErrorAlert(message);
        }
    return true;
}

static ASErr ColorLayerDlgButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return okOrCancelOnClick(item, notifier, kColorLayerOKItem, kColorLayerOKItem, kColorLayerCancelItem, storeEntry);
}

static ASErr ColorLayerDlgButtonInitProc(ADMItemRef item) { return useNotifyProc(item, ColorLayerDlgButtonNotifyProc); }
