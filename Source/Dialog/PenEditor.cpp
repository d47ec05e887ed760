// The pen editor. Pressure and velocity are shown as they are, the knife
// offset in millimetres through the toolkit's points; the acceleration level
// lives in bits 4-7 of PenReserved and only the levels the plotter's group
// can send are offered.
#include "Dialog/PenEditor.h"

#include <algorithm>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Dialog/EditorCommon.h"
#include "Dialog/PlotterSetup.h"

int pen_lan_ver_adjust = 0;

static Pen g_pnTemp;

static const int32_t kLevelMask = 0xF0;
static const int kMaxLevel = 4;

Item_Control_arg dlgPenItem[kPenItemCount] = {
    {kADMTextPushButtonType, kPenEditorOKString, 0, 0, kPenEditorOKItem, 10, 100, 125, 21, PenDlgButtonInitProc,
     nullptr},
    {kADMTextPushButtonType, kPenEditorCancelString, 0, 0, kPenEditorCancelItem, 120, 100, 125, 21,
     PenDlgButtonInitProc, nullptr},
    {kADMTextStaticType, kPenEditorNameLabelString, 0, 0, kPenEditorNameLabelItem, 10, 55, 17, 15, nullptr, nullptr},
    {kADMTextEditType, 0, 0, 0, kPenEditorNameItem, 70, 110, 12, 20, PenDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPenEditorPressureLabelString, 0, 0, kPenEditorPressureLabelItem, 10, 55, 37, 15, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kPenEditorPressureItem, 70, 110, 32, 20, PenDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPenEditorPressureUnitString, 0, 0, kPenEditorPressureUnitItem, 180, 40, 37, 15, nullptr,
     nullptr},
    {kADMTextStaticType, kPenEditorVelocityLabelString, 0, 0, kPenEditorVelocityLabelItem, 10, 55, 57, 15, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kPenEditorVelocityItem, 70, 110, 52, 20, PenDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPenEditorVelocityUnitString, 0, 0, kPenEditorVelocityUnitItem, 180, 40, 57, 15, nullptr,
     nullptr},
    {kADMTextStaticType, kPenEditorExtraLabelString, 0, 0, kPenEditorExtraLabelItem, 10, 55, 77, 15, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kPenEditorExtraItem, 70, 110, 72, 20, PenDlgEditInitProc, nullptr},
    {kADMTextStaticType, kPenEditorLevelLabelString, 0, 0, kPenEditorLevelLabelItem, 10, 55, 97, 15, nullptr, nullptr},
    {kADMPopupListType, 0, 0, 0, kPenEditorLevelItem, 70, 110, 92, 20, PenDlgEditInitProc, nullptr},
};

static const int kPenLeftJustified[] = {kPenEditorPressureUnitItem, kPenEditorVelocityUnitItem};
static const EditorForm kPenForm = {kPenDialog,        kPenTitleString,
                                    dlgPenItem,        kPenItemCount,
                                    kPenLeftJustified, sizeof kPenLeftJustified / sizeof kPenLeftJustified[0]};

// The limits, steps and defaults stay the pen's own.
static void keepPen(Pen* to, const Pen* from)
{
    to->Pressure = from->Pressure;
    to->Extra = from->Extra;
    to->Velocity = from->Velocity;
    to->PenReserved = from->PenReserved;
    memcpy(to->PenName, from->PenName, sizeof(to->PenName));
}

int goPen(Pen* pen)
{
    for (int i = 0; i < kPenItemCount; ++i) {
        Item_Control_arg& row = dlgPenItem[i];
        switch (row.itemId) {
        case kPenEditorNameLabelItem:
        case kPenEditorPressureLabelItem:
        case kPenEditorVelocityLabelItem:
        case kPenEditorExtraLabelItem:
        case kPenEditorLevelLabelItem:
            row.width = 55 + pen_lan_ver_adjust;
            break;
        case kPenEditorNameItem:
        case kPenEditorPressureItem:
        case kPenEditorVelocityItem:
        case kPenEditorExtraItem:
        case kPenEditorLevelItem:
            row.x = 70 + pen_lan_ver_adjust;
            row.width = 110 - pen_lan_ver_adjust;
            break;
        }
    }
    return editorEdit(pen, &g_pnTemp, &kPenForm, PenPluginInitProc, keepPen);
}

ASErr PenPluginInitProc(ADMDialogRef dialog)
{
    return editorOpen(dialog, &kPenForm, g->penListLastClickPt.h - 117, g->penListLastClickPt.v - 92);
}

// The acceleration group of the plotter selected in the setup dialog (0 when
// none is selected).
static int32_t selectedPlotterGroup()
{
    if (g_Plotter == nullptr || g_iCurrentPlotter < 0 || g_iCurrentPlotter >= g_iPlotterNum) return 0;
    return g_Plotter[g_iCurrentPlotter].PlotterReserved & kPlotterAccelerationMask;
}

static void setLimits(ADMItemRef item, double minimum, double maximum, double step, double value)
{
    sADMItem->SetMinFloatValue(item, static_cast<float>(minimum));
    sADMItem->SetMaxFloatValue(item, static_cast<float>(maximum));
    sADMItem->SetSmallIncrement(item, static_cast<float>(step));
    sADMItem->SetLargeIncrement(item, static_cast<float>(step));
    sADMItem->SetFloatValue(item, static_cast<float>(value));
}

static void fillLevels(ADMItemRef item)
{
    struct Level {
        int id;
        int text;
    };
    static const Level all[] = {{0, kPenLevelVeryLowString},
                                {1, kPenLevelLowString},
                                {2, kPenLevelMediumString},
                                {3, kPenLevelHighString},
                                {4, kPenLevelVeryHighString}};
    static const Level group40[] = {
        {1, kPenLevelLowString}, {2, kPenLevelMediumString}, {3, kPenLevelHighString}, {4, kPenLevelVeryHighString}};
    static const Level group80[] = {{1, kPenLevelLowString}, {4, kPenLevelVeryHighString}};
    const Level* levels = all;
    int count = 5;
    int32_t group = selectedPlotterGroup();
    if (group == 0x40) {
        levels = group40;
        count = 4;
    } else if (group == 0x80 || group == 0xC0) {
        levels = group80;
        count = 2;
    }
    int level = std::min((g_pnTemp.PenReserved & kLevelMask) >> 4, kMaxLevel);

    ADMListRef list = sADMItem->GetList(item);
    sADMList->RemoveAllEntries(list);
    for (int i = 0; i < count; ++i) {
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        if (entry == nullptr) continue;
        char text[256];
        editorString(levels[i].text, text, sizeof text);
        sADMEntry->SetID(entry, levels[i].id);
        sADMEntry->SetText(entry, text);
        if (levels[i].id == level) {
            sADMEntry->Select(entry, TRUE);
            sADMEntry->Activate(entry, TRUE);
        }
    }
}

ASErr PenDlgEditInitProc(ADMItemRef item)
{
    switch (sADMItem->GetID(item)) {
    case kPenEditorNameItem:
        sADMItem->SetText(item, g_pnTemp.PenName);
        break;
    case kPenEditorPressureItem:
        sADMItem->SetUnits(item, kADMNoUnits);
        setLimits(item, g_pnTemp.minPressure, g_pnTemp.maxPressure, g_pnTemp.stepPressure, g_pnTemp.Pressure);
        break;
    case kPenEditorVelocityItem:
        sADMItem->SetUnits(item, kADMNoUnits);
        setLimits(item, g_pnTemp.minVelocity, g_pnTemp.maxVelocity, g_pnTemp.stepVelocity, g_pnTemp.Velocity);
        break;
    case kPenEditorExtraItem:
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetPrecision(item, 4);
        setLimits(item, g_pnTemp.minExtra * kMillimetreToPoint, g_pnTemp.maxExtra * kMillimetreToPoint,
                  g_pnTemp.stepExtra * kMillimetreToPoint, g_pnTemp.Extra * kMillimetreToPoint);
        break;
    case kPenEditorLevelItem:
        fillLevels(item);
        break;
    }
    return kNoErr;
}

ASErr PenDlgButtonInitProc(ADMItemRef item)
{
    return setOkCancelProcs(item, kPenEditorOKItem, PenDlgOKButtonProc, PenDlgCancelButtonProc);
}

// OK keeps the values shown, unless the name cannot be stored.
static bool acceptPen(ADMDialogRef dialog)
{
    auto field = [dialog](int32_t id) { return sADMDialog->GetItem(dialog, id); };
    char name[sizeof g_pnTemp.PenName];
    sADMItem->GetText(field(kPenEditorNameItem), name, sizeof name);
    if (editorNameRefused(name)) return false;
    g_pnTemp.Pressure = sADMItem->GetFloatValue(field(kPenEditorPressureItem));
    g_pnTemp.Velocity = sADMItem->GetFloatValue(field(kPenEditorVelocityItem));
    g_pnTemp.Extra = sADMItem->GetFloatValue(field(kPenEditorExtraItem)) * kPointToMillimetre;
    memcpy(g_pnTemp.PenName, name, sizeof name);
    // With no level chosen the pen keeps the level it had: storing the id of
    // no entry would set every high bit of the flags.
    ADMEntryRef level = sADMList->GetActiveEntry(sADMItem->GetList(field(kPenEditorLevelItem)));
    if (level != nullptr)
        g_pnTemp.PenReserved = (g_pnTemp.PenReserved & ~kLevelMask) | ((sADMEntry->GetID(level) << 4) & kLevelMask);
    return true;
}

ASErr PenDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return acceptOnClick(item, notifier, 1, acceptPen);
}

ASErr PenDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, 2, true);
}
