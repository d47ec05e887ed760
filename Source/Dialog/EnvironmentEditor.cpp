// The environment editor. It works on a private copy and gives back only the
// name, so the environment's pens and its current mark stay as they were.
#include "Dialog/EnvironmentEditor.h"

#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/EditorCommon.h"
#include "Dialog/ItemControl.h"

int env_lan_ver_adjust = 0;

static Environment g_envTemp;

Item_Control_arg dlgEnvironmentItem[kEnvironmentItemCount] = {
    {kADMTextPushButtonType, 503, 0, 0, kEnvironmentEditorOKItem, 10, 100, 43, 21, EnvironmentDlgButtonInitProc,
     nullptr},
    {kADMTextPushButtonType, 504, 0, 0, kEnvironmentEditorCancelItem, 120, 100, 43, 21, EnvironmentDlgButtonInitProc,
     nullptr},
    {kADMTextStaticType, 502, 0, 0, kEnvironmentEditorNameLabelItem, 10, 80, 17, 15, nullptr, nullptr},
    {kADMTextEditType, 0, 0, 0, kEnvironmentEditorNameItem, 95, 115, 12, 20, EnvironmentDlgTextEditInitProc, nullptr},
};

int goEnvironment(Environment* environment)
{
    if (environment == nullptr) return 0;
    g_envTemp = *environment;
    // The layout shift is applied once per open so that a language chosen
    // later still lays the dialog out from the same base.
    dlgEnvironmentItem[2].width = 80 + env_lan_ver_adjust;
    dlgEnvironmentItem[3].x = 95 + env_lan_ver_adjust;
    dlgEnvironmentItem[3].width = 115 - env_lan_ver_adjust;
    int result = sADMDialog->Modal(g->pluginRef, kEnvironmentDialogName, kEnvironmentDialogResource,
                                   kADMModalDialogStyle, EnvironmentPluginInitProc, nullptr, 0);
    if (result == 1) {
        memcpy(environment->EnvironmentName, g_envTemp.EnvironmentName, sizeof(environment->EnvironmentName));
        return 1;
    }
    return result == 2 ? 0 : result;
}

ASErr EnvironmentPluginInitProc(ADMDialogRef dialog)
{
    editorPlace(dialog, g->envListLastClickPt.h - 117, g->envListLastClickPt.v - 50, kEnvironmentDialogWidth,
                kEnvironmentDialogHeight, 501);
    if (loadDialogItems(dlgEnvironmentItem, kEnvironmentItemCount, dialog) != 1) return kNoErr;
    editorJustify(dialog, dlgEnvironmentItem, kEnvironmentItemCount, nullptr, 0);
    return kNoErr;
}

ASErr EnvironmentDlgTextEditInitProc(ADMItemRef item)
{
    sADMItem->SetText(item, g_envTemp.EnvironmentName);
    return kNoErr;
}

ASErr EnvironmentDlgButtonInitProc(ADMItemRef item)
{
    return setOkCancelProcs(item, kEnvironmentEditorOKItem, EnvironmentDlgOKButtonProc, EnvironmentDlgCancelButtonProc);
}

// OK keeps the name typed, unless it cannot be stored.
static bool acceptEnvironment(ADMDialogRef dialog)
{
    char name[sizeof g_envTemp.EnvironmentName];
    sADMItem->GetText(sADMDialog->GetItem(dialog, kEnvironmentEditorNameItem), name, sizeof name);
    if (editorNameRefused(name)) return false;
    memcpy(g_envTemp.EnvironmentName, name, sizeof name);
    return true;
}

ASErr EnvironmentDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return acceptOnClick(item, notifier, 1, acceptEnvironment);
}

ASErr EnvironmentDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, 2, true);
}
