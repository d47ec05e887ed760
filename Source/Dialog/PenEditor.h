// The pen editor: name, pressure, velocity, knife offset and acceleration
// level of one pen.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/PlotterRecords.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the pen editor.
enum {
    kPenEditorOKItem = 1,
    kPenEditorCancelItem = 2,
    kPenEditorNameLabelItem = 3,
    kPenEditorNameItem = 4,
    kPenEditorPressureLabelItem = 5,
    kPenEditorPressureItem = 6,
    kPenEditorPressureUnitItem = 7,
    kPenEditorVelocityLabelItem = 8,
    kPenEditorVelocityItem = 9,
    kPenEditorVelocityUnitItem = 10,
    kPenEditorExtraLabelItem = 11,
    kPenEditorExtraItem = 12,  // the knife offset, mm
    kPenEditorLevelLabelItem = 13,
    kPenEditorLevelItem = 14  // the acceleration level popup
};
enum { kPenItemCount = 14 };

// Edits a copy of pen; OK copies back the name, the three values and the
// flag bits. 1 for OK, 0 for Cancel or a null record, any other modal result
// unchanged. The levels offered follow the acceleration group of the plotter
// selected in the setup dialog.
int goPen(Pen* pen);

VT_NODISCARD ASErr PenPluginInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PenDlgEditInitProc(ADMItemRef item);
VT_NODISCARD ASErr PenDlgButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PenDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PenDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// The editor's item table; goPen shifts its labels and fields by
// pen_lan_ver_adjust before every open.
extern Item_Control_arg dlgPenItem[kPenItemCount];

// Layout shift for languages with longer labels (0 for every language so far).
extern int pen_lan_ver_adjust;
