#include "Dialog/DialogCommon.h"

#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"

ASInt32 runModalDialog(const DialogResource& dialog, ADMDialogInitProc init, ADMDialogStyle style)
{
    return sADMDialog->Modal(g->pluginRef, dialog.name, dialog.resource, style, init, nullptr, 0);
}

ADMDialogRef createPalette(const DialogResource& palette, ADMDialogStyle style, ADMDialogInitProc init)
{
    return sADMDialog->Create(g->pluginRef, palette.name, palette.resource, style, init, nullptr, 0);
}

int setUpDialog(ADMDialogRef dialog, const DialogResource& resource, int32_t titleIndex, const Item_Control_arg* table,
                int count)
{
    sADMDialog->SetSize(dialog, resource.width, resource.height);
    char title[256];
    title[0] = 0;
    // The dialog's plug-in owns the string list, as for the items' texts.
    sADMBasic->GetIndexString(sADMDialog->GetPluginRef(dialog), g->stringListId, titleIndex, title, sizeof title);
    sADMDialog->SetText(dialog, title);
    return loadDialogItems(table, count, dialog);
}

void justifyLabels(ADMDialogRef dialog, const Item_Control_arg* table, int count, const int32_t* leftIds, int leftCount)
{
    for (int i = 0; i < count; ++i) {
        if (strcmp(table[i].itemType, kADMTextStaticType) != 0) continue;
        ADMJustify justify = kADMRightJustify;
        for (int k = 0; k < leftCount; ++k)
            if (leftIds[k] == table[i].itemId) justify = kADMLeftJustify;
        ADMItemRef item = sADMDialog->GetItem(dialog, table[i].itemId);
        if (item != nullptr) sADMItem->SetJustify(item, justify);
    }
}

bool userChanged(ADMNotifierRef notifier)
{
    return sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier) != 0;
}

ASErr endModalOnClick(ADMItemRef item, ADMNotifierRef notifier, int32_t result, bool cancelling)
{
    if (userChanged(notifier)) sADMDialog->EndModal(sADMItem->GetDialog(item), result, cancelling);
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr acceptOnClick(ADMItemRef item, ADMNotifierRef notifier, int32_t result, DialogAcceptProc accept)
{
    if (userChanged(notifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        if (accept(dialog)) sADMDialog->EndModal(dialog, result, FALSE);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr okOrCancelOnClick(ADMItemRef item, ADMNotifierRef notifier, int32_t okId, int32_t okResult,
                        int32_t cancelResult, DialogAcceptProc accept)
{
    if (sADMItem->GetID(item) == okId) return acceptOnClick(item, notifier, okResult, accept);
    return endModalOnClick(item, notifier, cancelResult, true);
}

ASErr setOkCancelProcs(ADMItemRef item, int32_t okId, ADMItemNotifyProc okProc, ADMItemNotifyProc cancelProc)
{
    sADMItem->SetNotifyProc(item, sADMItem->GetID(item) == okId ? okProc : cancelProc);
    return kNoErr;
}

ASErr useNotifyProc(ADMItemRef item, ADMItemNotifyProc proc)
{
    sADMItem->SetNotifyProc(item, proc);
    return kNoErr;
}

ASErr useNotifyProcOf(ADMItemRef item, const ItemNotifyProc* procs, int count)
{
    ASInt32 id = sADMItem->GetID(item);
    for (int i = 0; i < count; ++i)
        if (procs[i].itemId == id) return useNotifyProc(item, procs[i].proc);
    return kNoErr;
}

ASErr useDrawProc(ADMItemRef item, ADMItemDrawProc proc)
{
    sADMItem->SetDrawProc(item, proc);
    return kNoErr;
}

ADMPoint admPoint(int h, int v)
{
    ADMPoint p;
    p.h = (ASInt16)h;
    p.v = (ASInt16)v;
    return p;
}

void setMillimetreField(ADMItemRef item, double millimetres)
{
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetSmallIncrement(item, (ADMFloat)kMillimetreToPoint);
    sADMItem->SetLargeIncrement(item, (ADMFloat)(5 * kMillimetreToPoint));
    sADMItem->SetFloatValue(item, (ADMFloat)(millimetres * kMillimetreToPoint));
}

ASInt32 GetSelectedEntryID(ADMItemRef listItem)
{
    if (listItem == nullptr) return -1;
    ADMListRef list = sADMItem->GetList(listItem);
    if (list == nullptr) return -1;
    ADMEntryRef entry = sADMList->GetActiveEntry(list);
    if (entry == nullptr) return -1;
    return sADMEntry->GetID(entry);
}

void InitializePenPopupList(ADMItemRef popupItem, int32_t selectedPen, bool firstWhenMissing)
{
    ADMListRef list = popupItem != nullptr ? sADMItem->GetList(popupItem) : nullptr;
    if (list == nullptr) return;
    const Environment& env = g->curEnvironment;
    int32_t count = env.Pens != nullptr ? env.PenNumber : 0;
    int32_t made = 0;
    for (; made < count; made++) {
        ADMEntryRef entry = sADMList->InsertEntry(list, made);
        if (entry == nullptr) break;  // the toolkit is out of room; the pens listed so far stay usable
        // A pen's name fills its field without a terminator when it is long.
        const Pen& pen = env.Pens[made];
        char name[sizeof pen.PenName + 1];
        memcpy(name, pen.PenName, sizeof pen.PenName);
        name[sizeof pen.PenName] = 0;
        sADMEntry->SetID(entry, made);
        sADMEntry->SetText(entry, name);
    }
    int32_t chosen = selectedPen >= 0 && selectedPen < made ? selectedPen : firstWhenMissing ? 0 : -1;
    ADMEntryRef entry = chosen >= 0 && made > 0 ? sADMList->IndexEntry(list, chosen) : nullptr;
    if (entry != nullptr) {
        sADMEntry->Select(entry, TRUE);
        sADMEntry->Activate(entry, TRUE);
    }
}
