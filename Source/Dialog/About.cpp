// The About dialog: the plug-in's name, what it does, who made it, a logo and OK.
#include "Dialog/About.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"

const Item_Control_arg dlgAboutItem[kAboutItemCount] = {
    {kADMTextPushButtonType, kAboutOKString, 0, 0, kAboutOKItem, 355, 100, 5, 21, AboutDlgOkButtonInitProc, nullptr},
    {kADMTextStaticType, kAboutNameString, 0, 0, kAboutNameItem, 75, 225, 12, 15, nullptr, nullptr},
    {kADMTextStaticType, kAboutPurposeString, 0, 0, kAboutPurposeItem, 75, 325, 34, 15, nullptr, nullptr},
    {kADMTextStaticType, kAboutMakerString, 0, 0, kAboutMakerItem, 75, 325, 56, 15, nullptr, nullptr},
    {kADMTextStaticType, kAboutRightsString, 0, 0, kAboutRightsItem, 75, 325, 78, 15, nullptr, nullptr},
    {kADMPictureStaticType, 0, 0, kAboutLogoPicture, kAboutLogoItem, 0, 70, 0, 100, AboutDlgLogoInitProc, nullptr},
};

ASErr goAbout(SPInterfaceMessage* message)
{
    return sADMDialog->Modal(message->d.self, kAboutDialog.name, kAboutDialog.resource, kADMModalDialogStyle,
                             AboutPluginInitProc, nullptr, 0);
}

ASErr AboutPluginInitProc(ADMDialogRef dialog)
{
    // The last step: a refused item has already been reported and the box
    // closed, and there is nothing left to skip.
    (void)setUpDialog(dialog, kAboutDialog, kAboutTitleString, dlgAboutItem, kAboutItemCount);
    return kNoErr;
}

ASErr AboutDlgOkButtonInitProc(ADMItemRef item) { return useNotifyProc(item, AboutDlgOKButtonProc); }

ASErr AboutDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, 1, true);
}

ASErr AboutDlgLogoInitProc(ADMItemRef item) { return kNoErr; }
