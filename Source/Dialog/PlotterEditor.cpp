// The plotter editor. Lengths go through the toolkit's points: the step in
// mm with 5 decimals up to 10 mm, the media sizes up to 65535 mm. The language
// and origin popups take their entries from the menu resources of the chosen
// language; their entry ids are the codes stored in the record.
#include "Dialog/PlotterEditor.h"

#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/PlotterLibrary.h"
#include "Dialog/EditorCommon.h"

static Plotter g_pltTemp;

static const float kMaxStepPoints = 28.346458f;       // 10 mm
static const float kMaxSizePoints = 185768.52f;       // 65535 mm
static const float kSizeSmallIncrement = 28.346458f;  // 10 mm
static const float kSizeLargeIncrement = 283.46457f;  // 100 mm

const Item_Control_arg dlgPlotterItem[kPlotterItemCount] = {
    {kADMTextPushButtonType, kPlotterEditorOKString, 0, 0, kPlotterEditorOKItem, 250, 100, 240, 21,
     PlotterDlgButtonInitProc, nullptr},
    {kADMTextPushButtonType, kPlotterEditorCancelString, 0, 0, kPlotterEditorCancelItem, 360, 100, 240, 21,
     PlotterDlgButtonInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorNameLabelString, 0, 0, kPlotterEditorNameLabelItem, 10, 85, 23, 15, nullptr,
     nullptr},
    {kADMTextEditType, 0, 0, 0, kPlotterEditorNameItem, 100, 160, 18, 20, PlotterDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorMakerLabelString, 0, 0, kPlotterEditorMakerLabelItem, 10, 85, 47, 15, nullptr,
     nullptr},
    {kADMTextEditType, 0, 0, 0, kPlotterEditorMakerItem, 100, 160, 42, 20, PlotterDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorOriginLabelString, 0, 0, kPlotterEditorOriginLabelItem, 10, 85, 71, 15, nullptr,
     nullptr},
    {kADMPopupListType, 0, 0, 0, kPlotterEditorOriginItem, 100, 100, 66, 20, PlotterDlgPlotterOriginListInitProc,
     nullptr},
    {kADMTextStaticType, kPlotterEditorLanguageLabelString, 0, 0, kPlotterEditorLanguageLabelItem, 10, 85, 95, 15,
     nullptr, nullptr},
    {kADMPopupListType, 0, 0, 0, kPlotterEditorLanguageItem, 100, 100, 90, 20, PlotterDlgLanguageListInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorStepLabelString, 0, 0, kPlotterEditorStepLabelItem, 10, 85, 119, 15, nullptr,
     nullptr},
    {kADMTextEditType, 0, 0, 0, kPlotterEditorStepItem, 100, 100, 114, 20, PlotterDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorMediaSizeLabelString, 0, 0, kPlotterEditorMediaSizeLabelItem, 10, 85, 143, 15,
     nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kPlotterEditorMediaWidthItem, 100, 100, 138, 20, PlotterDlgEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kWidthArrowPicture, kPlotterEditorWidthPictureItem, 200, 20, 137, 20, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kPlotterEditorMediaLengthItem, 100, 100, 162, 20, PlotterDlgEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kLengthArrowPicture, kPlotterEditorLengthPictureItem, 200, 20, 162, 20, nullptr,
     nullptr},
    {kADMTextStaticType, kPlotterEditorProductIdLabelString, 0, 0, kPlotterEditorProductIdLabelItem, 10, 85, 192, 15,
     nullptr, nullptr},
    {kADMTextEditType, 0, 0, 0, kPlotterEditorProductIdItem, 100, 100, 187, 20, PlotterDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorVendorIdLabelString, 0, 0, kPlotterEditorVendorIdLabelItem, 10, 85, 217, 15,
     nullptr, nullptr},
    {kADMTextEditType, 0, 0, 0, kPlotterEditorVendorIdItem, 100, 100, 212, 20, PlotterDlgEditInitProc, nullptr},
    {kADMFrameType, kPlotterEditorPlotterBoxString, 0, 0, kPlotterEditorPlotterBoxItem, 5, 260, 2, 233, nullptr,
     nullptr},
    {kADMTextCheckBoxType, kPlotterEditorSpecialMachineString, 0, 0, kPlotterEditorSpecialMachineItem, 275, 180, 17, 15,
     PlotterDlgPlotterTextCheckBoxInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorStartCommandsLabelString, 0, 0, kPlotterEditorStartCommandsLabelItem, 275, 180,
     35, 15, nullptr, nullptr},
    {kADMTextEditMultiLineType, 0, 0, 0, kPlotterEditorStartCommandsItem, 275, 180, 53, 81,
     PlotterDlgPlotterCmdMultiEditInitProc, nullptr},
    {kADMTextStaticType, kPlotterEditorEndCommandsLabelString, 0, 0, kPlotterEditorEndCommandsLabelItem, 275, 180, 136,
     15, nullptr, nullptr},
    {kADMTextEditMultiLineType, 0, 0, 0, kPlotterEditorEndCommandsItem, 275, 180, 151, 81,
     PlotterDlgPlotterCmdMultiEditInitProc, nullptr},
    {kADMFrameType, kPlotterEditorCommandsBoxString, 0, 0, kPlotterEditorCommandsBoxItem, 270, 190, 2, 233, nullptr,
     nullptr},
};

static const int kPlotterLeftJustified[] = {kPlotterEditorStartCommandsLabelItem, kPlotterEditorEndCommandsLabelItem};
static const EditorForm kPlotterForm = {
    kPlotterDialog,    kPlotterTitleString,   dlgPlotterItem,
    kPlotterItemCount, kPlotterLeftJustified, sizeof kPlotterLeftJustified / sizeof kPlotterLeftJustified[0]};

// The twelve fields the editor shows; the capability bits and the
// environments stay the plotter's own.
static void keepPlotter(Plotter* to, const Plotter* from)
{
    to->PlotterSizeX = from->PlotterSizeX;
    to->PlotterSizeY = from->PlotterSizeY;
    to->PlotterStep = from->PlotterStep;
    memcpy(to->PlotterName, from->PlotterName, sizeof(to->PlotterName));
    memcpy(to->PlotterManufactory, from->PlotterManufactory, sizeof(to->PlotterManufactory));
    to->Language = from->Language;
    to->PlotterOrigin = from->PlotterOrigin;
    to->IsSpecialMachine = from->IsSpecialMachine;
    memcpy(to->PlotterIniString, from->PlotterIniString, sizeof(to->PlotterIniString));
    memcpy(to->PlotterEndString, from->PlotterEndString, sizeof(to->PlotterEndString));
    to->PlotterPID = from->PlotterPID;
    to->PlotterVID = from->PlotterVID;
}

int goPlotter(Plotter* plotter)
{
    return editorEdit(plotter, &g_pltTemp, &kPlotterForm, PlotterPluginInitProc, keepPlotter);
}

ASErr PlotterPluginInitProc(ADMDialogRef dialog)
{
    return editorOpen(dialog, &kPlotterForm, g->machineListLastClickPt.h, g->machineListLastClickPt.v);
}

ASErr PlotterDlgEditInitProc(ADMItemRef item)
{
    switch (sADMItem->GetID(item)) {
    case kPlotterEditorNameItem:
        sADMItem->SetText(item, g_pltTemp.PlotterName);
        break;
    case kPlotterEditorMakerItem:
        sADMItem->SetText(item, g_pltTemp.PlotterManufactory);
        break;
    case kPlotterEditorStepItem:
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetPrecision(item, 5);
        sADMItem->SetMinFloatValue(item, 0.0f);
        sADMItem->SetMaxFloatValue(item, kMaxStepPoints);
        sADMItem->SetFloatValue(item, static_cast<float>(g_pltTemp.PlotterStep * kMillimetreToPoint));
        break;
    case kPlotterEditorMediaWidthItem:
    case kPlotterEditorMediaLengthItem: {
        bool width = sADMItem->GetID(item) == kPlotterEditorMediaWidthItem;
        double size = width ? g_pltTemp.PlotterSizeX : g_pltTemp.PlotterSizeY;
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetMinFloatValue(item, 0.0f);
        sADMItem->SetMaxFloatValue(item, kMaxSizePoints);
        sADMItem->SetSmallIncrement(item, kSizeSmallIncrement);
        sADMItem->SetLargeIncrement(item, kSizeLargeIncrement);
        sADMItem->SetFloatValue(item, static_cast<float>(size * kMillimetreToPoint));
        break;
    }
    case kPlotterEditorProductIdItem:
    case kPlotterEditorVendorIdItem:
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinIntValue(item, 0);
        sADMItem->SetPrecision(item, 0);
        sADMItem->SetIntValue(
            item, sADMItem->GetID(item) == kPlotterEditorProductIdItem ? g_pltTemp.PlotterPID : g_pltTemp.PlotterVID);
        break;
    }
    return kNoErr;
}

// Fills a popup from the menu resource at offset of the language's menus and
// selects the entry at index; an index the menu lacks leaves no selection.
static void fillCodePopup(ADMItemRef item, int offset, int index, const char* outOfRange)
{
    ADMListRef list = sADMItem->GetList(item);
    sADMList->SetMenuID(list, g->pluginRef, g->listMenuIdBase + offset);
    ADMEntryRef entry = index >= 0 ? sADMList->IndexEntry(list, index) : nullptr;
    if (entry == nullptr) {
        sADMBasic->ErrorAlert(outOfRange);
        return;
    }
    sADMEntry->Select(entry, TRUE);
    sADMEntry->Activate(entry, TRUE);
}

ASErr PlotterDlgLanguageListInitProc(ADMItemRef item)
{
    fillCodePopup(item, 0, g_pltTemp.Language,
                  "Function:PlotterDlgLanguageListInitProc \n ErrorMsg: Language Entry Out Of Range!");
    return kNoErr;
}

ASErr PlotterDlgPlotterOriginListInitProc(ADMItemRef item)
{
    fillCodePopup(item, 2, g_pltTemp.PlotterOrigin,
                  "Function: PlotterDlgPlotterOriginListInitProc \n ErrorMsg: Origin Entry Out Of Range!");
    return kNoErr;
}

ASErr PlotterDlgPlotterCmdMultiEditInitProc(ADMItemRef item)
{
    bool start = sADMItem->GetID(item) == kPlotterEditorStartCommandsItem;
    sADMItem->SetText(item, start ? g_pltTemp.PlotterIniString : g_pltTemp.PlotterEndString);
    return kNoErr;
}

ASErr PlotterDlgPlotterTextCheckBoxInitProc(ADMItemRef item)
{
    sADMItem->SetBooleanValue(item, g_pltTemp.IsSpecialMachine != 0);
    return kNoErr;
}

ASErr PlotterDlgButtonInitProc(ADMItemRef item)
{
    return setOkCancelProcs(item, kPlotterEditorOKItem, PlotterDlgOKButtonProc, PlotterDlgCancelButtonProc);
}

// The id of the popup's chosen entry, or keep when none is chosen: a popup
// without a choice must not turn a valid code into -1.
static int32_t chosenCode(ADMItemRef popup, int32_t keep)
{
    ADMEntryRef entry = sADMList->GetActiveEntry(sADMItem->GetList(popup));
    return entry != nullptr ? sADMEntry->GetID(entry) : keep;
}

// OK keeps the values shown, unless one of them would make the library
// file unreadable.
static bool acceptPlotter(ADMDialogRef dialog)
{
    auto field = [dialog](int32_t id) { return sADMDialog->GetItem(dialog, id); };
    Plotter edited = g_pltTemp;
    edited.PlotterSizeX = sADMItem->GetFloatValue(field(kPlotterEditorMediaWidthItem)) * kPointToMillimetre;
    edited.PlotterSizeY = sADMItem->GetFloatValue(field(kPlotterEditorMediaLengthItem)) * kPointToMillimetre;
    edited.PlotterStep = sADMItem->GetFloatValue(field(kPlotterEditorStepItem)) * kPointToMillimetre;
    memset(edited.PlotterName, 0, sizeof edited.PlotterName);
    sADMItem->GetText(field(kPlotterEditorNameItem), edited.PlotterName, sizeof edited.PlotterName);
    sADMItem->GetText(field(kPlotterEditorMakerItem), edited.PlotterManufactory, sizeof edited.PlotterManufactory);
    edited.Language = chosenCode(field(kPlotterEditorLanguageItem), g_pltTemp.Language);
    edited.PlotterOrigin = chosenCode(field(kPlotterEditorOriginItem), g_pltTemp.PlotterOrigin);
    edited.IsSpecialMachine = sADMItem->GetBooleanValue(field(kPlotterEditorSpecialMachineItem)) ? 1 : 0;
    sADMItem->GetText(field(kPlotterEditorStartCommandsItem), edited.PlotterIniString, sizeof edited.PlotterIniString);
    sADMItem->GetText(field(kPlotterEditorEndCommandsItem), edited.PlotterEndString, sizeof edited.PlotterEndString);
    edited.PlotterPID = sADMItem->GetIntValue(field(kPlotterEditorProductIdItem));
    edited.PlotterVID = sADMItem->GetIntValue(field(kPlotterEditorVendorIdItem));

    // The library file keeps the start and end commands between brackets
    // and every name on one line: a "]" or a line break there would make
    // the whole library unreadable, so the dialog stays open instead.
    if (strchr(edited.PlotterIniString, ']') != nullptr || strchr(edited.PlotterEndString, ']') != nullptr) {
        sADMBasic->ErrorAlert("The start and end commands cannot hold \"]\". Please remove it.");
        return false;
    }
    if (editorNameRefused(edited.PlotterName) || editorNameRefused(edited.PlotterManufactory)) return false;
    g_pltTemp = edited;
    return true;
}

ASErr PlotterDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return acceptOnClick(item, notifier, 1, acceptPlotter);
}

ASErr PlotterDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, 2, true);
}
