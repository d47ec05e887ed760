// The simple modal error message box: a title, an alert icon, the message
// and an OK button, centred on the main screen.
#include "Dialog/ErrorMessageDialog.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/ItemControl.h"

// The caller's texts, valid while the box is open.
static const char* g_title = nullptr;
static const char* g_msg = nullptr;

int ErrorMessageDialog(const char* title, const char* message)
{
    g_title = title;
    g_msg = message;
    int result = runModalDialog(kErrorMessageDialog, ErrorMessageDialogInitProc);
    g_title = nullptr;
    g_msg = nullptr;
    return result;
}

ASErr ErrorMessageDialogInitProc(ADMDialogRef dialog)
{
    ADMRect screen;
    sADMBasic->GetScreenDimensions(&screen);
    int screenWidth = screen.right - screen.left;
    int screenHeight = screen.bottom - screen.top;
    ADMRect bounds;
    BoundsSet(&bounds, (screenWidth - kErrorMessageDialog.width) / 2, kErrorMessageDialog.width,
              (screenHeight - kErrorMessageDialog.height) / 2, kErrorMessageDialog.height);
    sADMDialog->SetBoundsRect(dialog, &bounds);
    sADMDialog->SetText(dialog, g_title ? g_title : "");

    ADMRect rect;
    BoundsSet(&rect, 97, 75, 75, 21);
    ADMItemRef ok = sADMItem->Create(dialog, kErrorMessageOKItem, kADMTextPushButtonType, &rect, nullptr, nullptr, 0);
    if (ok != nullptr) {
        sADMItem->SetText(ok, "OK");
        sADMItem->SetNotifyProc(ok, ErrorMessageDialogOKButtonProc);
    }
    // The icon and the message share their id; the toolkit keeps both items.
    BoundsSet(&rect, 8, 32, 8, 32);
    ADMItemRef icon = sADMItem->Create(dialog, kErrorMessageIconItem, kADMTextStaticType, &rect, nullptr, nullptr, 0);
    if (icon != nullptr) sADMItem->SetPictureID(icon, kAlertIconPicture);
    BoundsSet(&rect, 45, 205, 8, 60);
    ADMItemRef text = sADMItem->Create(dialog, kErrorMessageTextItem, kADMTextStaticType, &rect, nullptr, nullptr, 0);
    if (text != nullptr) sADMItem->SetText(text, g_msg ? g_msg : "");
    return kNoErr;
}

ASErr ErrorMessageDialogOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, 0, true);
}
