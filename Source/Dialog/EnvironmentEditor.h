// The environment editor: a small modal dialog that renames one environment.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/PlotterRecords.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the environment editor.
enum {
    kEnvironmentEditorOKItem = 1,
    kEnvironmentEditorCancelItem = 2,
    kEnvironmentEditorNameLabelItem = 3,
    kEnvironmentEditorNameItem = 4
};
enum { kEnvironmentItemCount = 4 };

// Edits a copy of environment; OK copies the name back. 1 for OK, 0 for
// Cancel or a null record, any other modal result unchanged.
int goEnvironment(Environment* environment);

VT_NODISCARD ASErr EnvironmentPluginInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr EnvironmentDlgTextEditInitProc(ADMItemRef item);
VT_NODISCARD ASErr EnvironmentDlgButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr EnvironmentDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr EnvironmentDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// The editor's item table; goEnvironment shifts its label and field by
// env_lan_ver_adjust before every open.
extern Item_Control_arg dlgEnvironmentItem[kEnvironmentItemCount];

// Layout shift for languages with longer labels (0 for every language so far).
extern int env_lan_ver_adjust;
