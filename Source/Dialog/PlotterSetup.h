// The plotter setup dialog: the library of plotters, their environments and
// pens, the choice of the current plotter and environment, and import and
// export of single plotters.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/PlotterRecords.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the plotter setup dialog.
enum {
    kPlotterSetupOKItem = 1,
    kPlotterSetupCancelItem = 2,
    kPlotterSetupPlotterListItem = 3,
    kPlotterSetupNewPlotterItem = 4,
    kPlotterSetupDeletePlotterItem = 5,
    kPlotterSetupLoadPlotterItem = 6,
    kPlotterSetupSavePlotterItem = 7,
    kPlotterSetupPlotterListBoxItem = 8,
    // The selected plotter's values, each after its label.
    kPlotterSetupNameLabelItem = 9,
    kPlotterSetupNameItem = 10,
    kPlotterSetupMakerLabelItem = 11,
    kPlotterSetupMakerItem = 12,
    kPlotterSetupLanguageLabelItem = 13,
    kPlotterSetupLanguageItem = 14,
    kPlotterSetupOriginLabelItem = 15,
    kPlotterSetupOriginItem = 16,
    kPlotterSetupStepLabelItem = 17,
    kPlotterSetupStepItem = 18,
    kPlotterSetupMediaSizeLabelItem = 19,
    kPlotterSetupMediaWidthItem = 20,
    kPlotterSetupWidthPictureItem = 21,
    kPlotterSetupMediaLengthItem = 22,
    kPlotterSetupLengthPictureItem = 23,
    kPlotterSetupUSBIdsLabelItem = 24,
    kPlotterSetupUSBIdsItem = 25,  // product and vendor id
    kPlotterSetupValuesBoxItem = 26,
    // The environments and pens of the selected plotter.
    kPlotterSetupEnvironmentCaptionItem = 31,
    kPlotterSetupEnvironmentListItem = 32,
    kPlotterSetupPenCaptionItem = 33,
    kPlotterSetupPenListItem = 34,
    kPlotterSetupPressureLabelItem = 35,
    kPlotterSetupPressureItem = 36,
    kPlotterSetupVelocityLabelItem = 38,
    kPlotterSetupVelocityItem = 39,
    kPlotterSetupExtraLabelItem = 41,
    kPlotterSetupExtraItem = 42,
    kPlotterSetupNewEnvironmentItem = 43,
    kPlotterSetupDeleteEnvironmentItem = 44,
    kPlotterSetupNewPenItem = 45,
    kPlotterSetupDeletePenItem = 46,
    kPlotterSetupListsBoxItem = 47
};
enum { kPlotterSetupItemCount = 41 };

extern const Item_Control_arg dlgPlotterSetupItem[kPlotterSetupItemCount];

// Runs the modal "Plotter Setup Dialog"; returns its result (1 OK, 2 Cancel).
VT_NODISCARD ASErr goPlotterSetup();

// The library while the dialog is open (null and 0 otherwise), and the index
// of the selected plotter (-1 none); the pen editor reads its acceleration
// group from there.
extern Plotter* g_Plotter;
extern int g_iPlotterNum;
extern int g_iCurrentPlotter;

// Named notifications between the dialog's items.
#define kPlotterChangedNotifier "Plotter Changed Notifier"
#define kEnvironmentChangedNotifier "Environment Changed Notifier"
#define kPenChangedNotifier "Pen Changed Notifier"
#define kCreateNewPlotterNotifier "Create New Plotter"

VT_NODISCARD ASErr PlotterSetupDialogInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PlotterSetupDlgMachineListListInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgMachineListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgMachineListListNotifyProc(ADMEntryRef entry, ADMNotifierRef notifier);
ASBoolean PlotterSetupDlgMachineListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
VT_NODISCARD ASErr PlotterSetupDlgMachineListButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgMachineNewButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgMachineDelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgMachineLoadButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgMachineSaveButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgEnvironmentListListInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgEnvironmentListItemProc(ADMItemRef item, ADMNotifierRef notifier);
ASBoolean PlotterSetupDlgEnvironmentListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
VT_NODISCARD ASErr PlotterSetupDlgEnvironmentListListProc(ADMEntryRef entry, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgEnvironmenListButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgEnvironmentNewButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgEnvironmentDelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgPenListListInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgPenListItemProc(ADMItemRef item, ADMNotifierRef notifier);
ASBoolean PlotterSetupDlgPenListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
VT_NODISCARD ASErr PlotterSetupDlgPenListListProc(ADMEntryRef entry, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgPenListButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgPenNewButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgPenDelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgDialogButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgOkButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterSetupDlgStaticTextInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterSetupDlgPlotterSetupStaticTextProc(ADMItemRef item, ADMNotifierRef notifier);
