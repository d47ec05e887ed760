#pragma once

#include "AllSuites.h"
#include "Dialog/ItemControl.h"

// Runs the modal About dialog; returns its modal result.
ASErr goAbout(SPInterfaceMessage* message);

ASErr AboutPluginInitProc(ADMDialogRef dialog);
ASErr AboutDlgOkButtonInitProc(ADMItemRef item);
ASErr AboutDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr AboutDlgLogoInitProc(ADMItemRef item);

extern const Item_Control_arg dlgAboutItem[];
extern const int kAboutItemCount;
