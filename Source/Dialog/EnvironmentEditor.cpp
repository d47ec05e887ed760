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
    {kADMTextPushButtonType, kEnvironmentEditorOKString, 0, 0, kEnvironmentEditorOKItem, 10, 100, 43, 21,
     EnvironmentDlgButtonInitProc, nullptr},
    {kADMTextPushButtonType, kEnvironmentEditorCancelString, 0, 0, kEnvironmentEditorCancelItem, 120, 100, 43, 21,
     EnvironmentDlgButtonInitProc, nullptr},
    {kADMTextStaticType, kEnvironmentEditorNameLabelString, 0, 0, kEnvironmentEditorNameLabelItem, 10, 80, 17, 15,
     nullptr, nullptr},
    {kADMTextEditType, 0, 0, 0, kEnvironmentEditorNameItem, 95, 115, 12, 20, EnvironmentDlgTextEditInitProc, nullptr},
};

static const EditorForm kEnvironmentForm = {
    kEnvironmentDialog, kEnvironmentTitleString, dlgEnvironmentItem, kEnvironmentItemCount, nullptr, 0};

// The pens and the current mark stay the environment's own.
static void keepEnvironment(Environment* to, const Environment* from)
{
    memcpy(to->EnvironmentName, from->EnvironmentName, sizeof(to->EnvironmentName));
}

int goEnvironment(Environment* environment)
{
    // The layout shift is applied once per open so that a language chosen
    // later still lays the dialog out from the same base.
    dlgEnvironmentItem[2].width = 80 + env_lan_ver_adjust;
    dlgEnvironmentItem[3].x = 95 + env_lan_ver_adjust;
    dlgEnvironmentItem[3].width = 115 - env_lan_ver_adjust;
    return editorEdit(environment, &g_envTemp, &kEnvironmentForm, EnvironmentPluginInitProc, keepEnvironment);
}

ASErr EnvironmentPluginInitProc(ADMDialogRef dialog)
{
    return editorOpen(dialog, &kEnvironmentForm, g->envListLastClickPt.h - 117, g->envListLastClickPt.v - 50);
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
