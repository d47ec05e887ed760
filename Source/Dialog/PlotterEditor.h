// The plotter editor: name, maker, language, origin, step, media size, USB
// ids, the HPGL arc form and the start and end commands of one plotter.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/PlotterRecords.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the plotter editor.
enum {
    kPlotterEditorOKItem = 1,
    kPlotterEditorCancelItem = 2,
    kPlotterEditorNameLabelItem = 3,
    kPlotterEditorNameItem = 4,
    kPlotterEditorMakerLabelItem = 5,
    kPlotterEditorMakerItem = 6,
    kPlotterEditorOriginLabelItem = 7,
    kPlotterEditorOriginItem = 8,  // popup; entry ids are the origin codes
    kPlotterEditorLanguageLabelItem = 9,
    kPlotterEditorLanguageItem = 10,  // popup; entry ids are the language codes
    kPlotterEditorStepLabelItem = 11,
    kPlotterEditorStepItem = 12,
    kPlotterEditorMediaSizeLabelItem = 13,
    kPlotterEditorMediaWidthItem = 14,
    kPlotterEditorWidthPictureItem = 15,
    kPlotterEditorMediaLengthItem = 16,
    kPlotterEditorLengthPictureItem = 17,
    kPlotterEditorProductIdLabelItem = 18,
    kPlotterEditorProductIdItem = 19,
    kPlotterEditorVendorIdLabelItem = 20,
    kPlotterEditorVendorIdItem = 21,
    kPlotterEditorPlotterBoxItem = 22,
    kPlotterEditorStartCommandsLabelItem = 31,
    kPlotterEditorStartCommandsItem = 32,
    kPlotterEditorEndCommandsLabelItem = 33,
    kPlotterEditorEndCommandsItem = 34,
    kPlotterEditorSpecialMachineItem = 35,  // the HPGL arc form check box
    kPlotterEditorCommandsBoxItem = 36
};
enum { kPlotterItemCount = 28 };

extern const Item_Control_arg dlgPlotterItem[kPlotterItemCount];

// Edits a copy of plotter; OK copies back the twelve fields the dialog shows
// (capability bits and environments stay). 1 for OK, 0 for Cancel or a null
// record, any other modal result unchanged.
int goPlotter(Plotter* plotter);

VT_NODISCARD ASErr PlotterPluginInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PlotterDlgEditInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterDlgLanguageListInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterDlgPlotterOriginListInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterDlgPlotterCmdMultiEditInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterDlgPlotterTextCheckBoxInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterDlgButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotterDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotterDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
