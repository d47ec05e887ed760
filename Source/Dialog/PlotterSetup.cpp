// The plotter setup dialog. While it is open the whole library lives in
// g_Plotter; the plotter, environment and pen lists show it, a check picture
// in front of a plotter or environment marks the current one, and OK writes
// the current plotter into the preferences and rewrites the library file.
#include "Dialog/PlotterSetup.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/PlotterLibrary.h"
#include "Dialog/EditorCommon.h"
#include "Dialog/EnvironmentEditor.h"
#include "Dialog/ErrorMessageDialog.h"
#include "Dialog/ItemControl.h"
#include "Dialog/PenEditor.h"
#include "Dialog/PlotterEditor.h"
#include "IAIFilePath.h"

Plotter* g_Plotter = nullptr;
int g_iPlotterNum = 0;
int g_iCurrentPlotter = -1;
int g_iCurrentEnv = -1;
int g_iCurrentPen = -1;
static char g_strCurrentPlotterName[256];
static char g_strCurrentEnvName[256];
static char g_strTempPath[300];
// The library file, and whether reading it failed: a library that could not
// be read completely is never written over, so the user's file is kept.
static char g_strLibraryPath[kSPMaxPathLength + 1];
static bool g_libraryUnreadable = false;

static const int kEntryHeight = 20;
static const int kEntryWidth = 200;
static const int kCheckLeft = 3;
static const int kCheckRight = 19;
static const uint32_t kDoubleClickTicks = 500;

// Who hears of a change of the selected plotter, environment or pen.
static const int kPlotterListeners[] = {
    kPlotterSetupNameItem,        kPlotterSetupMakerItem,  kPlotterSetupMediaWidthItem,
    kPlotterSetupMediaLengthItem, kPlotterSetupUSBIdsItem, kPlotterSetupStepItem,
    kPlotterSetupLanguageItem,    kPlotterSetupOriginItem, kPlotterSetupEnvironmentListItem};
static const int kPenListeners[] = {kPlotterSetupPressureItem, kPlotterSetupVelocityItem, kPlotterSetupExtraItem};

const Item_Control_arg dlgPlotterSetupItem[kPlotterSetupItemCount] = {
    {kADMListBoxType, 0, 0, 0, kPlotterSetupPlotterListItem, 5, 179, 15, 206, PlotterSetupDlgMachineListListInitProc,
     nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupNewPlotterTip, kADMNewEntryPictureID, kPlotterSetupNewPlotterItem, 58,
     32, 220, 16, PlotterSetupDlgMachineListButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupDeletePlotterTip, kADMDeleteEntryPictureID,
     kPlotterSetupDeletePlotterItem, 89, 32, 220, 16, PlotterSetupDlgMachineListButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupLoadPlotterTip, kPlotterSetupLoadPlotterPicture,
     kPlotterSetupLoadPlotterItem, 120, 32, 220, 16, PlotterSetupDlgMachineListButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupSavePlotterTip, kPlotterSetupSavePlotterPicture,
     kPlotterSetupSavePlotterItem, 151, 32, 220, 16, PlotterSetupDlgMachineListButtonInitProc, nullptr},
    {kADMFrameType, kPlotterSetupPlotterListBoxString, 0, 0, kPlotterSetupPlotterListBoxItem, 2, 185, 2, 237, nullptr,
     nullptr},
    {kADMTextStaticType, kPlotterSetupNameLabelString, 0, 0, kPlotterSetupNameLabelItem, 194, 74, 22, 15, nullptr,
     nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupNameItem, 268, 156, 22, 15, PlotterSetupDlgStaticTextInitProc, nullptr},
    {kADMTextStaticType, kPlotterSetupMakerLabelString, 0, 0, kPlotterSetupMakerLabelItem, 194, 74, 42, 15, nullptr,
     nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupMakerItem, 268, 156, 42, 15, PlotterSetupDlgStaticTextInitProc, nullptr},
    {kADMTextStaticType, kPlotterSetupOriginLabelString, 0, 0, kPlotterSetupOriginLabelItem, 194, 74, 62, 15, nullptr,
     nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupOriginItem, 268, 156, 62, 15, PlotterSetupDlgStaticTextInitProc,
     nullptr},
    {kADMTextStaticType, kPlotterSetupStepLabelString, 0, 0, kPlotterSetupStepLabelItem, 194, 74, 82, 15, nullptr,
     nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupStepItem, 268, 156, 82, 15, PlotterSetupDlgStaticTextInitProc, nullptr},
    {kADMTextStaticType, kPlotterSetupLanguageLabelString, 0, 0, kPlotterSetupLanguageLabelItem, 424, 86, 22, 15,
     nullptr, nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupLanguageItem, 510, 96, 22, 15, PlotterSetupDlgStaticTextInitProc,
     nullptr},
    {kADMTextStaticType, kPlotterSetupMediaSizeLabelString, 0, 0, kPlotterSetupMediaSizeLabelItem, 424, 86, 42, 15,
     nullptr, nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupMediaWidthItem, 510, 96, 42, 15, PlotterSetupDlgStaticTextInitProc,
     nullptr},
    {kADMPictureStaticType, 0, 0, kWidthArrowPicture, kPlotterSetupWidthPictureItem, 606, 20, 37, 20, nullptr, nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupMediaLengthItem, 510, 96, 62, 15, PlotterSetupDlgStaticTextInitProc,
     nullptr},
    {kADMPictureStaticType, 0, 0, kLengthArrowPicture, kPlotterSetupLengthPictureItem, 606, 20, 57, 20, nullptr,
     nullptr},
    {kADMTextStaticType, kPlotterSetupUSBIdsLabelString, 0, 0, kPlotterSetupUSBIdsLabelItem, 424, 86, 82, 15, nullptr,
     nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupUSBIdsItem, 510, 120, 82, 15, PlotterSetupDlgStaticTextInitProc,
     nullptr},
    {kADMFrameType, kPlotterSetupValuesBoxString, 0, 0, kPlotterSetupValuesBoxItem, 189, 446, 2, 98, nullptr, nullptr},
    {kADMTextStaticType, kPlotterSetupEnvironmentCaptionString, 0, 0, kPlotterSetupEnvironmentCaptionItem, 194, 80, 120,
     15, nullptr, nullptr},
    {kADMListBoxType, 0, 0, 0, kPlotterSetupEnvironmentListItem, 194, 125, 135, 86,
     PlotterSetupDlgEnvironmentListListInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupNewEnvironmentTip, kADMNewEntryPictureID,
     kPlotterSetupNewEnvironmentItem, 255, 32, 220, 16, PlotterSetupDlgEnvironmenListButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupDeleteEnvironmentTip, kADMDeleteEntryPictureID,
     kPlotterSetupDeleteEnvironmentItem, 286, 32, 220, 16, PlotterSetupDlgEnvironmenListButtonInitProc, nullptr},
    {kADMTextStaticType, kPlotterSetupPenCaptionString, 0, 0, kPlotterSetupPenCaptionItem, 319, 80, 120, 15, nullptr,
     nullptr},
    {kADMListBoxType, 0, 0, 0, kPlotterSetupPenListItem, 319, 125, 135, 86, PlotterSetupDlgPenListListInitProc,
     nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupNewPenTip, kADMNewEntryPictureID, kPlotterSetupNewPenItem, 380, 32, 220,
     16, PlotterSetupDlgPenListButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPlotterSetupDeletePenTip, kADMDeleteEntryPictureID, kPlotterSetupDeletePenItem, 411,
     32, 220, 16, PlotterSetupDlgPenListButtonInitProc, nullptr},
    {kADMTextStaticType, kPenPressureLabelString, 0, 0, kPlotterSetupPressureLabelItem, 449, 60, 140, 15, nullptr,
     nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupPressureItem, 509, 85, 140, 15, PlotterSetupDlgStaticTextInitProc,
     nullptr},
    {kADMTextStaticType, kPenVelocityLabelString, 0, 0, kPlotterSetupVelocityLabelItem, 449, 60, 160, 15, nullptr,
     nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupVelocityItem, 509, 85, 160, 15, PlotterSetupDlgStaticTextInitProc,
     nullptr},
    {kADMTextStaticType, kPenOffsetLabelString, 0, 0, kPlotterSetupExtraLabelItem, 449, 60, 180, 15, nullptr, nullptr},
    {kADMTextStaticType, 0, 0, 0, kPlotterSetupExtraItem, 509, 85, 180, 15, PlotterSetupDlgStaticTextInitProc, nullptr},
    {kADMFrameType, kPlotterSetupListsBoxString, 0, 0, kPlotterSetupListsBoxItem, 189, 446, 105, 134, nullptr, nullptr},
    {kADMTextPushButtonType, kPlotterSetupOKString, 0, 0, kPlotterSetupOKItem, 425, 100, 245, 21,
     PlotterSetupDlgDialogButtonInitProc, nullptr},
    {kADMTextPushButtonType, kPlotterSetupCancelString, 0, 0, kPlotterSetupCancelItem, 534, 100, 245, 21,
     PlotterSetupDlgDialogButtonInitProc, nullptr},
};

// ---- Small helpers --------------------------------------------------------------

static bool plotterValid()
{
    return g_Plotter != nullptr && g_iCurrentPlotter >= 0 && g_iCurrentPlotter < g_iPlotterNum;
}
static Plotter* currentPlotter()
{
    return plotterValid() ? &g_Plotter[g_iCurrentPlotter] : nullptr;
}
static Environment* currentEnvironment()
{
    Plotter* p = currentPlotter();
    if (p == nullptr || p->Environments == nullptr || g_iCurrentEnv < 0 || g_iCurrentEnv >= p->PlotterEnvNumber)
        return nullptr;
    return &p->Environments[g_iCurrentEnv];
}
static Pen* currentPen()
{
    Environment* e = currentEnvironment();
    if (e == nullptr || e->Pens == nullptr || g_iCurrentPen < 0 || g_iCurrentPen >= e->PenNumber) return nullptr;
    return &e->Pens[g_iCurrentPen];
}

static ADMItemRef itemOf(ADMDialogRef dialog, int id)
{
    return sADMDialog->GetItem(dialog, id);
}
static ADMListRef listOf(ADMDialogRef dialog, int id)
{
    ADMItemRef item = itemOf(dialog, id);
    return item != nullptr ? sADMItem->GetList(item) : nullptr;
}

static void sendTo(ADMDialogRef dialog, const int* ids, int count, const char* notification)
{
    for (int i = 0; i < count; ++i) {
        ADMItemRef item = itemOf(dialog, ids[i]);
        if (item != nullptr) sADMItem->SendNotify(item, notification);
    }
}
static void plotterChanged(ADMDialogRef dialog)
{
    sendTo(dialog, kPlotterListeners, sizeof kPlotterListeners / sizeof kPlotterListeners[0], kPlotterChangedNotifier);
}
static void penChanged(ADMDialogRef dialog)
{
    sendTo(dialog, kPenListeners, sizeof kPenListeners / sizeof kPenListeners[0], kPenChangedNotifier);
}
static void environmentChanged(ADMDialogRef dialog)
{
    static const int pens[] = {kPlotterSetupPenListItem};
    sendTo(dialog, pens, 1, kEnvironmentChangedNotifier);
}

// Makes entry index the only selected and active entry of the list.
static void selectEntry(ADMListRef list, int index)
{
    sADMList->DeselectAll(list);
    ADMEntryRef entry = sADMList->IndexEntry(list, index);
    if (entry == nullptr) return;
    sADMEntry->Select(entry, TRUE);
    sADMEntry->Activate(entry, TRUE);
}

static void showCheck(ADMEntryRef entry, bool checked)
{
    if (entry == nullptr) return;
    int picture = checked ? kCheckedPicture : kUncheckedPicture;
    sADMEntry->SetPictureID(entry, picture);
    sADMEntry->SetSelectedPictureID(entry, picture);
}

static ADMEntryRef appendEntry(ADMListRef list, const char* text)
{
    ADMEntryRef entry = sADMList->InsertEntry(list, sADMList->NumberOfEntries(list));
    if (entry != nullptr) sADMEntry->SetText(entry, text);
    return entry;
}

// A Delete button (and, for plotters, Save) follows whether there is
// something to delete.
static void setDeleteButton(ADMDialogRef dialog, int id, bool active)
{
    ADMItemRef button = itemOf(dialog, id);
    if (button == nullptr) return;
    sADMItem->Enable(button, active);
    sADMItem->SetPictureID(button, active ? kADMDeleteEntryPictureID : kADMDeleteEntryDisabledPictureID);
}
static void setSaveButton(ADMDialogRef dialog, bool active)
{
    ADMItemRef button = itemOf(dialog, kPlotterSetupSavePlotterItem);
    if (button != nullptr) sADMItem->Enable(button, active);
}

static void errorBox(int index, int size)
{
    char text[256];
    editorString(index, text, size);
    ErrorMessageDialog("KorvelPro2", text);
}

// ---- Filling the lists -----------------------------------------------------------

// Plotter and environment lists: the first checked record keeps its check,
// every later one loses it. Returns the index of the checked one, or -1.
static int fillPlotterList(ADMListRef list)
{
    sADMList->RemoveAllEntries(list);
    int checked = -1;
    for (int i = 0; i < g_iPlotterNum; ++i) {
        Plotter& p = g_Plotter[i];
        if (p.PlotterReserved & kPlotterCurrentBit) {
            if (checked < 0)
                checked = i;
            else
                p.PlotterReserved &= ~kPlotterCurrentBit;
        }
        showCheck(appendEntry(list, p.PlotterName), checked == i);
    }
    return checked;
}

static int fillEnvironmentList(ADMListRef list)
{
    sADMList->RemoveAllEntries(list);
    Plotter* p = currentPlotter();
    int checked = -1;
    if (p == nullptr || p->Environments == nullptr) return -1;
    for (int i = 0; i < p->PlotterEnvNumber; ++i) {
        Environment& e = p->Environments[i];
        if (e.EnvironmentReserved & 1) {
            if (checked < 0)
                checked = i;
            else
                e.EnvironmentReserved &= ~1;
        }
        showCheck(appendEntry(list, e.EnvironmentName), checked == i);
    }
    return checked;
}

static void fillPenList(ADMListRef list)
{
    sADMList->RemoveAllEntries(list);
    Environment* e = currentEnvironment();
    if (e == nullptr || e->Pens == nullptr) return;
    for (int i = 0; i < e->PenNumber; ++i) appendEntry(list, e->Pens[i].PenName);
}

static void prepareList(ADMItemRef item, ADMEntryTrackProc track, ADMEntryNotifyProc notify, bool hover)
{
    ADMListRef list = sADMItem->GetList(item);
    sADMList->SetEntryHeight(list, kEntryHeight);
    sADMList->SetEntryWidth(list, kEntryWidth);
    sADMList->SetTrackProc(list, track);
    sADMList->SetNotifyProc(list, notify);
    // The check lists set the cursor over the check column as the mouse moves.
    if (hover) sADMList->SetMask(list, kADMDefaultItemActionMask | kADMMouseMovedUpMask);
}

// ---- The three lists --------------------------------------------------------------
// The plotter, environment and pen lists work alike: each shows the records of
// what is selected above it (the library, the selected plotter, the selected
// environment), has a New and a Delete button, and opens an editor on a double
// click. What differs between them is gathered here, by list.

enum ListKind { kPlotterList, kEnvironmentList, kPenList };

struct ListItems {
    int list;
    int newButton;
    int deleteButton;
};
static const ListItems kListItems[] = {
    {kPlotterSetupPlotterListItem, kPlotterSetupNewPlotterItem, kPlotterSetupDeletePlotterItem},
    {kPlotterSetupEnvironmentListItem, kPlotterSetupNewEnvironmentItem, kPlotterSetupDeleteEnvironmentItem},
    {kPlotterSetupPenListItem, kPlotterSetupNewPenItem, kPlotterSetupDeletePenItem},
};

struct ListProcs {
    ADMEntryTrackProc track;
    ADMEntryNotifyProc entryNotify;
    ADMItemNotifyProc itemNotify;
    ADMItemNotifyProc newButton;
    ADMItemNotifyProc deleteButton;
};
static const ListProcs kListProcs[] = {
    {PlotterSetupDlgMachineListListTrackProc, PlotterSetupDlgMachineListListNotifyProc,
     PlotterSetupDlgMachineListItemNotifyProc, PlotterSetupDlgMachineNewButtonProc,
     PlotterSetupDlgMachineDelButtonProc},
    {PlotterSetupDlgEnvironmentListListTrackProc, PlotterSetupDlgEnvironmentListListProc,
     PlotterSetupDlgEnvironmentListItemProc, PlotterSetupDlgEnvironmentNewButtonProc,
     PlotterSetupDlgEnvironmentDelButtonProc},
    {PlotterSetupDlgPenListListTrackProc, PlotterSetupDlgPenListListProc, PlotterSetupDlgPenListItemProc,
     PlotterSetupDlgPenNewButtonProc, PlotterSetupDlgPenDelButtonProc},
};

// The index of the list's selected record, -1 for none.
static int* selectedIndex(ListKind kind)
{
    return kind == kPlotterList ? &g_iCurrentPlotter : kind == kEnvironmentList ? &g_iCurrentEnv : &g_iCurrentPen;
}

static bool recordSelected(ListKind kind)
{
    return kind == kPlotterList ? plotterValid() : kind == kEnvironmentList ? currentEnvironment() != nullptr
                                                                              : currentPen() != nullptr;
}

static const char* selectedName(ListKind kind)
{
    return kind == kPlotterList       ? currentPlotter()->PlotterName
           : kind == kEnvironmentList ? currentEnvironment()->EnvironmentName
                                      : currentPen()->PenName;
}

// How many records the list shows.
static int recordCount(ListKind kind)
{
    if (kind == kPlotterList) return g_Plotter != nullptr ? g_iPlotterNum : 0;
    if (kind == kEnvironmentList) {
        Plotter* p = currentPlotter();
        return p != nullptr && p->Environments != nullptr ? p->PlotterEnvNumber : 0;
    }
    Environment* e = currentEnvironment();
    return e != nullptr && e->Pens != nullptr ? e->PenNumber : 0;
}

// After the selection of a list moved: the first environment of the selected
// plotter and its first pen, or the first pen of the selected environment.
static void selectFirstBelow(ListKind kind)
{
    if (kind == kPlotterList) {
        Plotter* p = currentPlotter();
        g_iCurrentEnv = p != nullptr && p->PlotterEnvNumber > 0 ? 0 : -1;
    }
    if (kind != kPenList) {
        Environment* e = currentEnvironment();
        g_iCurrentPen = e != nullptr && e->PenNumber > 0 ? 0 : -1;
    }
}

// Tells the items that show the selected record, and the list below, that the
// selection changed.
static void selectionChanged(ListKind kind, ADMDialogRef dialog)
{
    if (kind == kPlotterList)
        plotterChanged(dialog);
    else if (kind == kEnvironmentList)
        environmentChanged(dialog);
    else
        penChanged(dialog);
}

// Fills the list; the index of the checked record, or -1.
static int fillList(ListKind kind, ADMListRef list)
{
    if (kind == kPlotterList) return fillPlotterList(list);
    if (kind == kEnvironmentList) return fillEnvironmentList(list);
    fillPenList(list);
    return -1;
}

// A list's init: its procedures and records, the checked record (else the
// first) selected. The pen list has no check column.
VT_NODISCARD static ASErr initList(ListKind kind, ADMItemRef item)
{
    prepareList(item, kListProcs[kind].track, kListProcs[kind].entryNotify, kind != kPenList);
    sADMItem->SetNotifyProc(item, kListProcs[kind].itemNotify);
    ADMListRef list = sADMItem->GetList(item);
    int checked = fillList(kind, list);
    int* selected = selectedIndex(kind);
    *selected = sADMList->NumberOfEntries(list) > 0 ? (checked >= 0 ? checked : 0) : -1;
    if (*selected >= 0) selectEntry(list, *selected);
    return kNoErr;
}

// The environment and pen lists follow the selection above them: refilled,
// the first record selected, the Delete button following, the list below told.
VT_NODISCARD static ASErr refillList(ListKind kind, ADMItemRef item, ADMNotifierRef notifier)
{
    const char* above = kind == kEnvironmentList ? kPlotterChangedNotifier : kEnvironmentChangedNotifier;
    if (sADMNotifier->IsNotifierType(notifier, above)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        ADMListRef list = sADMItem->GetList(item);
        fillList(kind, list);
        bool any = sADMList->NumberOfEntries(list) > 0;
        *selectedIndex(kind) = any ? 0 : -1;
        if (any) selectEntry(list, 0);
        setDeleteButton(dialog, kListItems[kind].deleteButton, any);
        selectionChanged(kind, dialog);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

static uint8_t* doubleClicked(ListKind kind)
{
    return kind == kPlotterList ? &g->machineListDblClick
                                : kind == kEnvironmentList ? &g->envListDblClick : &g->penListDblClick;
}

// Opens the selected record's editor; true when it was confirmed. A locked
// plotter is not edited.
static bool editSelected(ListKind kind)
{
    if (kind == kPlotterList) {
        Plotter* p = currentPlotter();
        return p != nullptr && !(p->PlotterReserved & kPlotterLockedBit) && goPlotter(p) == 1;
    }
    if (kind == kEnvironmentList) {
        Environment* e = currentEnvironment();
        return e != nullptr && goEnvironment(e) == 1;
    }
    Pen* pen = currentPen();
    return pen != nullptr && goPen(pen) == 1;
}

// After a double click (see trackList) the selected record's editor; a
// confirmed edit shows the record's new values and name.
VT_NODISCARD static ASErr editOnDoubleClick(ListKind kind, ADMEntryRef entry, ADMNotifierRef notifier)
{
    uint8_t* flag = doubleClicked(kind);
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier) && *flag) {
        *flag = 0;
        if (editSelected(kind)) {
            ADMListRef list = sADMEntry->GetList(entry);
            // An environment shows no values but its name.
            if (kind != kEnvironmentList) selectionChanged(kind, sADMItem->GetDialog(sADMList->GetItem(list)));
            ADMEntryRef shown = sADMList->IndexEntry(list, *selectedIndex(kind));
            if (shown != nullptr) sADMEntry->SetText(shown, selectedName(kind));
        }
    }
    sADMEntry->DefaultNotify(entry, notifier);
    return kNoErr;
}

// The New and Delete buttons of the environment and pen lists.
VT_NODISCARD static ASErr setListButtonProc(ListKind kind, ADMItemRef item)
{
    bool isNew = sADMItem->GetID(item) == kListItems[kind].newButton;
    sADMItem->SetNotifyProc(item, isNew ? kListProcs[kind].newButton : kListProcs[kind].deleteButton);
    return kNoErr;
}

// Appends a default environment to the selected plotter, or a pen to the
// selected environment (a copy of the selected pen, flags included, when there
// is one). Its index, or -1 with an alert when memory ran out.
static int appendRecord(ListKind kind)
{
    if (kind == kEnvironmentList) {
        Plotter* p = currentPlotter();
        int count = p->Environments != nullptr ? p->PlotterEnvNumber : 0;
        Environment* grown = static_cast<Environment*>(realloc(p->Environments, (count + 1) * sizeof(Environment)));
        if (grown == nullptr) {
            sADMBasic->ErrorAlert("Not enough memory for another environment.");
            return -1;
        }
        p->Environments = grown;
        (void)copyEnvironment(&p->Environments[count], nullptr);  // the defaults: cannot fail
        p->PlotterEnvNumber = count + 1;
        return count;
    }
    Environment* e = currentEnvironment();
    int count = e->Pens != nullptr ? e->PenNumber : 0;
    Pen* grown = static_cast<Pen*>(realloc(e->Pens, (count + 1) * sizeof(Pen)));
    if (grown == nullptr) {
        sADMBasic->ErrorAlert("Not enough memory for another pen.");
        return -1;
    }
    e->Pens = grown;
    bool copySelected = g_iCurrentPen >= 0 && g_iCurrentPen < count;
    // A pen owns no memory: copying one cannot fail.
    (void)copyPen(&e->Pens[count], copySelected ? &e->Pens[g_iCurrentPen] : nullptr);
    e->PenNumber = count + 1;
    return count;
}

// New environment or pen: on a click, and for the first environment and pen
// of a new plotter.
VT_NODISCARD static ASErr addRecord(ListKind kind, ADMItemRef item, ADMNotifierRef notifier)
{
    bool haveOwner = kind == kEnvironmentList ? currentPlotter() != nullptr : currentEnvironment() != nullptr;
    if (haveOwner && (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier) ||
                      sADMNotifier->IsNotifierType(notifier, kCreateNewPlotterNotifier))) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        int index = appendRecord(kind);
        if (index >= 0) {
            *selectedIndex(kind) = index;
            ADMListRef list = listOf(dialog, kListItems[kind].list);
            sADMList->DeselectAll(list);
            ADMEntryRef entry = appendEntry(list, selectedName(kind));
            if (kind != kPenList) showCheck(entry, false);
            selectEntry(list, index);
            setDeleteButton(dialog, kListItems[kind].deleteButton, true);
            selectFirstBelow(kind);
            selectionChanged(kind, dialog);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// Why a delete changed nothing (string-list entries).

VT_NODISCARD static int removeSelected(ListKind kind)
{
    if (kind == kPlotterList) return delPlotter(&g_Plotter, &g_iPlotterNum, g_iCurrentPlotter);
    if (kind == kEnvironmentList) return delEnvironment(currentPlotter(), g_iCurrentEnv);
    return delPen(currentEnvironment(), g_iCurrentPen);
}

// Delete: the selected record goes, the first one left is selected.
VT_NODISCARD static ASErr deleteRecord(ListKind kind, ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        int* selected = selectedIndex(kind);
        if (!recordSelected(kind)) {
            if (kind == kPlotterList)
                sADMBasic->ErrorAlert("Function: PlotterSetupDlgMachineDelButtonProc \n ErrorMsg: No Plotter Selected!");
            else if (kind == kEnvironmentList)
                sADMBasic->ErrorAlert(
                    "Function: PlotterSetupDlgEnvironmentDelButtonProc \n ErrorMsg: No Environment Selected!");
        } else if (int error = removeSelected(kind)) {
            // The record and its entry stay as they are shown.
            char text[256];
            editorString(error == kIndexOutOfRangeErr ? kDeleteNotInListString : kDeleteOutOfMemoryString, text,
                         sizeof text);
            sADMBasic->ErrorAlert(text);
        } else {
            ADMListRef list = listOf(dialog, kListItems[kind].list);
            sADMList->RemoveEntry(list, *selected);
            if (recordCount(kind) > 0) {
                selectEntry(list, 0);
                *selected = 0;
            } else {
                *selected = -1;
                setDeleteButton(dialog, kListItems[kind].deleteButton, false);
                if (kind == kPlotterList) setSaveButton(dialog, false);
            }
            selectFirstBelow(kind);
            selectionChanged(kind, dialog);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Entry ------------------------------------------------------------------------

ASErr goPlotterSetup()
{
    int result = runModalDialog(kPlotterSetupDialog, PlotterSetupDialogInitProc);
    freePlotterList(&g_Plotter, &g_iPlotterNum);
    // Outside the dialog nothing is selected, as at start-up, so each opening
    // starts from no selection.
    g_iCurrentPlotter = -1;
    g_iCurrentEnv = -1;
    g_iCurrentPen = -1;
    return result;
}

ASErr PlotterSetupDialogInitProc(ADMDialogRef dialog)
{
    ADMRect screen;
    sADMBasic->GetScreenDimensions(&screen);
    int centreH = (screen.left + screen.right) / 2;
    int centreV = (screen.top + screen.bottom) / 2;
    ADMRect bounds;
    BoundsSet(&bounds, centreH - kPlotterSetupDialog.width / 2, kPlotterSetupDialog.width, centreV - 147,
              kPlotterSetupDialog.height);
    sADMDialog->SetBoundsRect(dialog, &bounds);
    char title[256];
    editorString(kPlotterSetupTitleString, title, sizeof title);
    sADMDialog->SetText(dialog, title);

    g_Plotter = nullptr;
    g_iPlotterNum = 0;
    g_strTempPath[0] = 0;
    g_libraryUnreadable = false;
    if (pluginFolderFilePath(kPlotterLibraryFileName, g_strLibraryPath, sizeof g_strLibraryPath) != kNoErr) {
        g_libraryUnreadable = true;
        sADMBasic->ErrorAlert("The plotter library cannot be found: the plug-in's folder is unknown.");
    } else {
        char problem[512];
        int error = loadPlotterFileReporting(g_strLibraryPath, &g_Plotter, &g_iPlotterNum, problem, sizeof problem);
        if (error != 0) {
            // Whatever went wrong, the file is never rewritten from what could
            // be read of it.
            g_libraryUnreadable = true;
            std::string text = std::string("The plotter library \"") + g_strLibraryPath + "\" ";
            if (error == kNoFileErr)
                text += std::string("cannot be read (") + problem + "). No plotters are shown";
            else if (error == kPlotterValueErr)
                text += std::string("holds a plotter that cannot be used: ") + problem +
                        ". The plotters before it are shown";
            else
                text += "is damaged. The plotters read before the damage are shown";
            text += "; the file itself will not be changed, so nothing in it is lost.";
            sADMBasic->ErrorAlert(text.c_str());
        } else if (problem[0] != 0) {
            // A count line that disagrees with the plotters: all of them are
            // shown, and OK saves the library with the right count.
            std::string text = std::string("The plotter library \"") + g_strLibraryPath + "\": " + problem + ".";
            sADMBasic->MessageAlert(text.c_str());
        }
    }

    if (sAIPreference->GetStringPreference(kCurrentPlotterPrefix, "PlotterName", g_strCurrentPlotterName,
                                           sizeof g_strCurrentPlotterName) != kNoErr) {
        g_strCurrentPlotterName[0] = 0;
    } else {
        for (int i = 0; i < g_iPlotterNum; ++i) {
            if (strcmp(g_Plotter[i].PlotterName, g_strCurrentPlotterName) == 0)
                g_Plotter[i].PlotterReserved |= kPlotterCurrentBit;
            else
                g_Plotter[i].PlotterReserved &= ~kPlotterCurrentBit;
        }
    }
    if (sAIPreference->GetStringPreference(kCurrentPlotterPrefix, "EnvironmentName", g_strCurrentEnvName,
                                           sizeof g_strCurrentEnvName) != kNoErr) {
        g_strCurrentEnvName[0] = 0;
    } else {
        for (int i = 0; i < g_iPlotterNum; ++i)
            for (int k = 0; k < g_Plotter[i].PlotterEnvNumber && g_Plotter[i].Environments != nullptr; ++k) {
                Environment& e = g_Plotter[i].Environments[k];
                if (strcmp(e.EnvironmentName, g_strCurrentEnvName) == 0)
                    e.EnvironmentReserved |= 1;
                else
                    e.EnvironmentReserved &= ~1;
            }
    }

    if (loadDialogItems(dlgPlotterSetupItem, kPlotterSetupItemCount, dialog) != 1) return kNoErr;
    // Values and list captions are left-justified; the other static texts
    // are labels, right-justified against their values.
    static const int left[] = {
        kPlotterSetupNameItem,        kPlotterSetupMakerItem,  kPlotterSetupLanguageItem,
        kPlotterSetupOriginItem,      kPlotterSetupStepItem,   kPlotterSetupMediaWidthItem,
        kPlotterSetupMediaLengthItem, kPlotterSetupUSBIdsItem, kPlotterSetupPressureItem,
        kPlotterSetupVelocityItem,    kPlotterSetupExtraItem,  kPlotterSetupEnvironmentCaptionItem,
        kPlotterSetupPenCaptionItem};
    justifyLabels(dialog, dlgPlotterSetupItem, kPlotterSetupItemCount, left, sizeof left / sizeof left[0]);
    return kNoErr;
}

// ---- Plotter list -----------------------------------------------------------------

ASErr PlotterSetupDlgMachineListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// Toggles the check of entry index in the plotter or environment list: a
// checked entry is unchecked; an unchecked one takes the check from the rest.
static void toggleCheck(ListKind kind, ADMListRef list, int index)
{
    int count = 0;
    if (kind == kPlotterList) {
        if (g_Plotter == nullptr || index < 0 || index >= g_iPlotterNum) {
            sADMBasic->ErrorAlert(
                "Function: PlotterSetupDlgMachineListListTrackProc \n ErrorMsg: Ghost EntryIndex Find!");
            return;
        }
        count = g_iPlotterNum;
    } else {
        Plotter* p = currentPlotter();
        if (p == nullptr) {
            sADMBasic->ErrorAlert(
                "Function: PlotterSetupDlgEnvironmentListListTrackProc \n ErrorMsg: Can Not Find Current Plotter!");
            return;
        }
        if (p->Environments == nullptr || index < 0 || index >= p->PlotterEnvNumber) {
            sADMBasic->ErrorAlert(
                "Function: PlotterSetupDlgEnvironmentListListTrackProc \n ErrorMsg: EntryIndex Out Of Range!");
            return;
        }
        count = p->PlotterEnvNumber;
    }
    auto bits = [kind](int i) -> int32_t& {
        return kind == kPlotterList ? g_Plotter[i].PlotterReserved
                                    : g_Plotter[g_iCurrentPlotter].Environments[i].EnvironmentReserved;
    };
    if (bits(index) & 1) {
        bits(index) &= ~1;
        showCheck(sADMList->IndexEntry(list, index), false);
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (i == index) continue;
        bits(i) &= ~1;
        showCheck(sADMList->IndexEntry(list, i), false);
    }
    bits(index) |= 1;
    showCheck(sADMList->IndexEntry(list, index), true);
}

// The mouse in one of the three lists: selection, the check column and
// double clicks (same pixel, under 500 ticks).
static ASBoolean trackList(ListKind kind, ADMEntryRef entry, ADMTrackerRef tracker)
{
    ADMListRef list = sADMEntry->GetList(entry);
    ADMItemRef listItem = sADMList->GetItem(list);
    ADMDialogRef dialog = sADMItem->GetDialog(listItem);
    ADMPoint point;
    sADMTracker->GetPoint(tracker, &point);
    bool inCheckColumn = point.h >= kCheckLeft && point.h <= kCheckRight;

    if (sADMTracker->GetAction(tracker) != kADMButtonDownAction) {
        if (kind != kPenList)
            sADMItem->SetCursorID(listItem, g->pluginRef, inCheckColumn ? kADMCrossCursorID : kADMArrowCursorID);
        return sADMEntry->DefaultTrack(entry, tracker);
    }

    ASBoolean handled = sADMEntry->DefaultTrack(entry, tracker);
    int* current = selectedIndex(kind);
    int deleteId = kListItems[kind].deleteButton;
    ADMEntryRef active = sADMList->GetActiveEntry(list);
    if (active != nullptr) {
        setDeleteButton(dialog, deleteId, true);
        if (kind == kPlotterList) setSaveButton(dialog, true);
        int index = sADMEntry->GetIndex(active);
        if (index != *current) {
            *current = index;
            selectionChanged(kind, dialog);
        }
    } else {
        setDeleteButton(dialog, deleteId, false);
        if (kind == kPlotterList) setSaveButton(dialog, false);
        *current = -1;
    }

    if (kind != kPenList && inCheckColumn) toggleCheck(kind, list, sADMEntry->GetIndex(entry));

    // Double clicks compare points within the list, not within the entry, so
    // that two clicks on different entries never count as one double click.
    // The list is as tall as all its entries: its points are wide.
    ADMRect entryRect;
    sADMEntry->GetLocalRect(entry, &entryRect);
    ListPoint listPoint{point.h, sADMEntry->GetIndex(entry) * (entryRect.bottom - entryRect.top) + point.v};
    uint8_t* flag = doubleClicked(kind);
    ListPoint* lastPoint = kind == kPlotterList       ? &g->machineListLastClickPt
                         : kind == kEnvironmentList ? &g->envListLastClickPt
                                                    : &g->penListLastClickPt;
    uint32_t* lastTime = kind == kPlotterList       ? &g->machineListLastClickTime
                         : kind == kEnvironmentList ? &g->envListLastClickTime
                                                    : &g->penListLastClickTime;
    uint32_t time = sADMTracker->GetTime(tracker);
    bool samePixel = listPoint.h == lastPoint->h && listPoint.v == lastPoint->v;
    bool quick = static_cast<uint32_t>(time - *lastTime) < kDoubleClickTicks;
    *lastTime = time;
    *lastPoint = listPoint;
    if (quick && samePixel) {
        *flag = 1;
        sADMTracker->Abort(tracker);
        return TRUE;
    }
    return handled;
}

ASErr PlotterSetupDlgMachineListButtonInitProc(ADMItemRef item)
{
    static const ItemNotifyProc procs[] = {
        {kPlotterSetupNewPlotterItem, PlotterSetupDlgMachineNewButtonProc},
        {kPlotterSetupDeletePlotterItem, PlotterSetupDlgMachineDelButtonProc},
        {kPlotterSetupLoadPlotterItem, PlotterSetupDlgMachineLoadButtonProc},
        {kPlotterSetupSavePlotterItem, PlotterSetupDlgMachineSaveButtonProc},
    };
    return useNotifyProcOf(item, procs);
}

// Appends plotter (owned by the library from now on) and makes it the
// selected one; false, with the plotter released, when the library cannot grow.
static bool appendPlotter(ADMDialogRef dialog, Plotter* plotter)
{
    Plotter* grown = static_cast<Plotter*>(realloc(g_Plotter, (g_iPlotterNum + 1) * sizeof(Plotter)));
    if (grown == nullptr) {
        freePlotter(plotter);
        sADMBasic->ErrorAlert("Not enough memory for another plotter.");
        return false;
    }
    g_Plotter = grown;
    g_Plotter[g_iPlotterNum] = *plotter;
    ++g_iPlotterNum;
    ADMListRef list = listOf(dialog, kPlotterSetupPlotterListItem);
    sADMList->DeselectAll(list);
    showCheck(appendEntry(list, g_Plotter[g_iPlotterNum - 1].PlotterName), false);
    selectEntry(list, g_iPlotterNum - 1);
    setDeleteButton(dialog, kPlotterSetupDeletePlotterItem, true);
    setSaveButton(dialog, true);
    g_iCurrentPlotter = g_iPlotterNum - 1;
    selectFirstBelow(kPlotterList);
    plotterChanged(dialog);
    return true;
}

ASErr PlotterSetupDlgMachineNewButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        Plotter plotter;
        memset(&plotter, 0, sizeof plotter);
        (void)copyPlotter(&plotter, nullptr);  // the defaults allocate nothing: cannot fail
        if (appendPlotter(dialog, &plotter)) {
            // Every new plotter starts with one environment holding one pen.
            ADMItemRef newEnvironment = itemOf(dialog, kPlotterSetupNewEnvironmentItem);
            ADMItemRef newPen = itemOf(dialog, kPlotterSetupNewPenItem);
            if (newEnvironment != nullptr) sADMItem->SendNotify(newEnvironment, kCreateNewPlotterNotifier);
            if (newPen != nullptr) sADMItem->SendNotify(newPen, kCreateNewPlotterNotifier);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotterSetupDlgMachineLoadButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        SPPlatformFileSpecification file;
        memset(&file, 0, sizeof file);
        if (sADMBasic->StandardGetFileDialog("Load plotter...", nullptr, nullptr, "*.INI", &file)) {
            FILE* stream = OS_fopen(&file, "r");
            if (stream == nullptr) {
                sADMBasic->ErrorAlert(
                    "Function:PlotterSetupDlgMachineLoadButtonProc \n ErrorMsg: Open Non-exist file!");
            } else {
                Plotter plotter;
                memset(&plotter, 0, sizeof plotter);
                char problem[512] = "";
                int error = readPlotterReporting(&plotter, stream, problem, sizeof problem);
                fclose(stream);
                if (error != 0) {
                    // Half a plotter would be saved into the library at OK.
                    freePlotter(&plotter);
                    std::string text = std::string("The plotter file \"") + file.path + "\" " +
                                       (error == kPlotterValueErr
                                            ? std::string("holds a plotter that cannot be used: ") + problem + "."
                                            : std::string("is damaged or is not a plotter file.")) +
                                       " Nothing was loaded.";
                    sADMBasic->ErrorAlert(text.c_str());
                } else {
                    plotter.PlotterReserved = 0;
                    appendPlotter(dialog, &plotter);
                }
            }
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotterSetupDlgMachineSaveButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        Plotter* p = currentPlotter();
        if (p == nullptr) {
            sADMBasic->ErrorAlert("Function:PlotterSetupDlgMachineSaveButtonProc \n ErrorMsg: No Plotter Need Save!");
        } else {
            // The suggested name is made from the plotter's name with every
            // separator and leading dot replaced, so it names a file inside
            // the folder the dialog starts in.
            char name[96];
            (void)makePlotterFileName(p->PlotterName, name, sizeof name);  // fails only for a tiny buffer
            char message[256];
            editorString(kSavePlotterPromptString, message, sizeof message);
            SPPlatformFileSpecification folder;
            bool haveFolder = pluginFolderSpecification(&folder) == kNoErr;
            SPPlatformFileSpecification file;
            memset(&file, 0, sizeof file);
            if (sADMBasic->StandardPutFileDialog(message, nullptr, haveFolder ? &folder : nullptr, name, &file)) {
                std::string path;
                try {
                    path = ai::FilePath(file).GetFullPath().as_Platform();
                } catch (const ai::Error&) {
                    path.clear();
                }
                int error = path.empty() ? kNoFileErr : writePlotterFile(path.c_str(), p);
                if (error != 0) {
                    std::string text = std::string("The plotter could not be saved to \"") + file.path + "\"" +
                                       (error == kUnwritableTextErr ? ": a name or command text cannot be written."
                                                                 : ": the file cannot be written.");
                    sADMBasic->ErrorAlert(text.c_str());
                }
            }
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- The lists' procedures -----------------------------------------------------------
// Each is the shared routine of its kind, for its list.

ASErr PlotterSetupDlgMachineListListInitProc(ADMItemRef item) { return initList(kPlotterList, item); }
ASErr PlotterSetupDlgEnvironmentListListInitProc(ADMItemRef item) { return initList(kEnvironmentList, item); }
ASErr PlotterSetupDlgPenListListInitProc(ADMItemRef item) { return initList(kPenList, item); }

ASBoolean PlotterSetupDlgMachineListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker)
{
    return trackList(kPlotterList, entry, tracker);
}
ASBoolean PlotterSetupDlgEnvironmentListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker)
{
    return trackList(kEnvironmentList, entry, tracker);
}
ASBoolean PlotterSetupDlgPenListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker)
{
    return trackList(kPenList, entry, tracker);
}

ASErr PlotterSetupDlgMachineListListNotifyProc(ADMEntryRef entry, ADMNotifierRef notifier)
{
    return editOnDoubleClick(kPlotterList, entry, notifier);
}
ASErr PlotterSetupDlgEnvironmentListListProc(ADMEntryRef entry, ADMNotifierRef notifier)
{
    return editOnDoubleClick(kEnvironmentList, entry, notifier);
}
ASErr PlotterSetupDlgPenListListProc(ADMEntryRef entry, ADMNotifierRef notifier)
{
    return editOnDoubleClick(kPenList, entry, notifier);
}

ASErr PlotterSetupDlgEnvironmentListItemProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return refillList(kEnvironmentList, item, notifier);
}
ASErr PlotterSetupDlgPenListItemProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return refillList(kPenList, item, notifier);
}

ASErr PlotterSetupDlgEnvironmenListButtonInitProc(ADMItemRef item) { return setListButtonProc(kEnvironmentList, item); }
ASErr PlotterSetupDlgPenListButtonInitProc(ADMItemRef item) { return setListButtonProc(kPenList, item); }

ASErr PlotterSetupDlgEnvironmentNewButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return addRecord(kEnvironmentList, item, notifier);
}
ASErr PlotterSetupDlgPenNewButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return addRecord(kPenList, item, notifier);
}

ASErr PlotterSetupDlgMachineDelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return deleteRecord(kPlotterList, item, notifier);
}
ASErr PlotterSetupDlgEnvironmentDelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return deleteRecord(kEnvironmentList, item, notifier);
}
ASErr PlotterSetupDlgPenDelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return deleteRecord(kPenList, item, notifier);
}

// ---- OK and Cancel ------------------------------------------------------------------

ASErr PlotterSetupDlgDialogButtonInitProc(ADMItemRef item)
{
    return setOkCancelProcs(item, kPlotterSetupOKItem, PlotterSetupDlgOkButtonProc, PlotterSetupDlgCancelButtonProc);
}

// OK writes the current plotter into the preferences and saves the library;
// the dialog ends only when a plotter and one of its environments are marked
// current.
static bool acceptPlotterSetup(ADMDialogRef)
{
    int plotter = -1;
    for (int i = 0; i < g_iPlotterNum; ++i) {
        if (!(g_Plotter[i].PlotterReserved & kPlotterCurrentBit)) continue;
        if (plotter < 0)
            plotter = i;
        else
            errorBox(kManyPlottersCheckedString, 255);
    }
    if (plotter < 0) errorBox(kNoPlotterCheckedString, 64);
    int environment = -1;
    if (plotter >= 0) {
        Plotter& p = g_Plotter[plotter];
        for (int k = 0; k < p.PlotterEnvNumber && p.Environments != nullptr; ++k) {
            if (!(p.Environments[k].EnvironmentReserved & 1)) continue;
            if (environment < 0)
                environment = k;
            else
                errorBox(kManyEnvironmentsCheckedString, 255);
        }
        if (environment < 0) errorBox(kNoEnvironmentCheckedString, 255);
    }

    // The current plotter's entries (only when both were found), then
    // "DefaultPath" in every case.
    if (writeCurrentPlotterPreferences(g_Plotter, g_iPlotterNum, g_strTempPath) != 0)
        sADMBasic->ErrorAlert("The chosen plotter could not be written into the preferences.");

    // The library is saved even when the checks failed, but never over a
    // file that could not be read: that would lose the plotters after the
    // damage. The save goes through a temporary file, so a failed save
    // leaves the old library as it was.
    if (g_libraryUnreadable) {
        sADMBasic->ErrorAlert("The plotter library was not rewritten because it could not be read completely.");
    } else if (savePlotterFile(g_strLibraryPath, &g_Plotter, &g_iPlotterNum) != 0) {
        std::string text = std::string("The plotter library could not be saved to \"") + g_strLibraryPath +
                           "\"; the file is left as it was.";
        sADMBasic->ErrorAlert(text.c_str());
    }
    return plotter >= 0 && environment >= 0;
}

ASErr PlotterSetupDlgOkButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return acceptOnClick(item, notifier, 1, acceptPlotterSetup);
}

ASErr PlotterSetupDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, 2, true);
}

// ---- Value texts ----------------------------------------------------------------------

static const char* const kLanguageNames[] = {"HPGL", "GPGL", "MGL_IC1", "DMGL"};
static const char* const kOriginNames[] = {"Center", "Left-Bottom", "Left-Top"};

// Formats with a C-locale decimal point whatever the user's locale.
static void formatNumber(char* text, size_t size, double value, const char* unit)
{
    snprintf(text, size, "%.2f%s", value, unit);
    for (char* c = text; *c; ++c)
        if (*c == ',') *c = '.';
}

static void showValue(ADMItemRef item, bool atCreation)
{
    int id = sADMItem->GetID(item);
    char text[64];
    if (id == kPlotterSetupPressureItem || id == kPlotterSetupVelocityItem || id == kPlotterSetupExtraItem) {
        Pen* pen = currentPen();
        const char* unit = id == kPlotterSetupPressureItem ? "g" : id == kPlotterSetupVelocityItem ? "cm/s" : "mm";
        if (pen == nullptr) {
            snprintf(text, sizeof text, "    %s", unit);
            sADMItem->SetText(item, text);
            if (!atCreation) sADMItem->Enable(item, FALSE);
            return;
        }
        double value = id == kPlotterSetupPressureItem   ? pen->Pressure
                       : id == kPlotterSetupVelocityItem ? pen->Velocity
                                                         : pen->Extra;
        formatNumber(text, sizeof text, value, unit);
        sADMItem->Enable(item, TRUE);
        sADMItem->SetText(item, text);
        return;
    }
    Plotter* p = currentPlotter();
    if (p == nullptr) {
        if (id == kPlotterSetupUSBIdsItem) sADMItem->SetText(item, "    ");
        if (id != kPlotterSetupUSBIdsItem || !atCreation) sADMItem->Enable(item, FALSE);
        return;
    }
    sADMItem->Enable(item, TRUE);
    switch (id) {
    case kPlotterSetupNameItem:
        sADMItem->SetText(item, p->PlotterName);
        break;
    case kPlotterSetupMakerItem:
        sADMItem->SetText(item, p->PlotterManufactory);
        break;
    case kPlotterSetupLanguageItem:
        sADMItem->SetText(item, p->Language >= 0 && p->Language < 4 ? kLanguageNames[p->Language] : "");
        break;
    case kPlotterSetupOriginItem:
        sADMItem->SetText(item, p->PlotterOrigin >= 0 && p->PlotterOrigin < 3 ? kOriginNames[p->PlotterOrigin] : "");
        break;
    case kPlotterSetupStepItem:
        sADMItem->SetFloatValue(item, static_cast<float>(p->PlotterStep * kMillimetreToPoint));
        break;
    case kPlotterSetupMediaWidthItem:
        sADMItem->SetFloatValue(item, static_cast<float>(p->PlotterSizeX * kMillimetreToPoint));
        break;
    case kPlotterSetupMediaLengthItem:
        sADMItem->SetFloatValue(item, static_cast<float>(p->PlotterSizeY * kMillimetreToPoint));
        break;
    case kPlotterSetupUSBIdsItem:
        snprintf(text, sizeof text, "0x%x/0x%x", static_cast<unsigned>(p->PlotterPID),
                 static_cast<unsigned>(p->PlotterVID));
        sADMItem->SetText(item, text);
        break;
    }
}

ASErr PlotterSetupDlgStaticTextInitProc(ADMItemRef item)
{
    sADMItem->SetNotifyProc(item, PlotterSetupDlgPlotterSetupStaticTextProc);
    int id = sADMItem->GetID(item);
    if (id == kPlotterSetupStepItem) {
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetPrecision(item, 5);
    } else if (id == kPlotterSetupMediaWidthItem || id == kPlotterSetupMediaLengthItem) {
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetMinFloatValue(item, 0.0f);
        sADMItem->SetMaxFloatValue(item, 185768.52f);
    }
    showValue(item, true);
    return kNoErr;
}

ASErr PlotterSetupDlgPlotterSetupStaticTextProc(ADMItemRef item, ADMNotifierRef notifier)
{
    int id = sADMItem->GetID(item);
    bool penText = id == kPlotterSetupPressureItem || id == kPlotterSetupVelocityItem || id == kPlotterSetupExtraItem;
    if ((!penText && sADMNotifier->IsNotifierType(notifier, kPlotterChangedNotifier)) ||
        (penText && sADMNotifier->IsNotifierType(notifier, kPenChangedNotifier)))
        showValue(item, false);
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
