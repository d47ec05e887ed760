// The plotter setup dialog: the library of plotters, their environments and
// pens, the choice of the current plotter and environment, and import and
// export of single plotters.
#pragma once

#include "AllSuites.h"
#include "Core/PlotterRecords.h"

// Runs the modal "Plotter Setup Dialog"; returns its result (1 OK, 2 Cancel).
ASErr goPlotterSetup();

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

ASErr PlotterSetupDialogInitProc(ADMDialogRef dialog);
ASErr PlotterSetupDlgMachineListListInitProc(ADMItemRef item);
ASErr PlotterSetupDlgMachineListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgMachineListListNotifyProc(ADMEntryRef entry, ADMNotifierRef notifier);
ASBoolean PlotterSetupDlgMachineListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
ASErr PlotterSetupDlgMachineListButtonInitProc(ADMItemRef item);
ASErr PlotterSetupDlgMachineNewButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgMachineDelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgMachineLoadButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgMachineSaveButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgEnvironmentListListInitProc(ADMItemRef item);
ASErr PlotterSetupDlgEnvironmentListItemProc(ADMItemRef item, ADMNotifierRef notifier);
ASBoolean PlotterSetupDlgEnvironmentListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
ASErr PlotterSetupDlgEnvironmentListListProc(ADMEntryRef entry, ADMNotifierRef notifier);
ASErr PlotterSetupDlgEnvironmenListButtonInitProc(ADMItemRef item);
ASErr PlotterSetupDlgEnvironmentNewButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgEnvironmentDelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgPenListListInitProc(ADMItemRef item);
ASErr PlotterSetupDlgPenListItemProc(ADMItemRef item, ADMNotifierRef notifier);
ASBoolean PlotterSetupDlgPenListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
ASErr PlotterSetupDlgPenListListProc(ADMEntryRef entry, ADMNotifierRef notifier);
ASErr PlotterSetupDlgPenListButtonInitProc(ADMItemRef item);
ASErr PlotterSetupDlgPenNewButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgPenDelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgDialogButtonInitProc(ADMItemRef item);
ASErr PlotterSetupDlgOkButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterSetupDlgStaticTextInitProc(ADMItemRef item);
ASErr PlotterSetupDlgPlotterSetupStaticTextProc(ADMItemRef item, ADMNotifierRef notifier);
