#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Items of the About dialog.
enum {
    kAboutOKItem = 1,
    kAboutNameItem = 2,     // the plug-in's name
    kAboutPurposeItem = 3,  // what it does
    kAboutMakerItem = 4,    // who made it
    kAboutRightsItem = 5,
    kAboutLogoItem = 7
};
enum { kAboutItemCount = 6 };

// Runs the modal About dialog; returns its modal result.
VT_NODISCARD ASErr goAbout(SPInterfaceMessage* message);

VT_NODISCARD ASErr AboutPluginInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr AboutDlgOkButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr AboutDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr AboutDlgLogoInitProc(ADMItemRef item);

extern const Item_Control_arg dlgAboutItem[kAboutItemCount];
