#include "Dialog/PreProcessTools.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/PreProcessDialog.h"
#include "Tools/ToolNames.h"

static void setRadio(ADMDialogRef dialog, ASInt32 id, bool on)
{
    ADMItemRef radio = sADMDialog->GetItem(dialog, id);
    if (radio != nullptr) sADMItem->SetBooleanValue(radio, on);
}

ASErr ProProcessDlgNotifyProc(ADMDialogRef dialog, ADMNotifierRef notifier)
{
    struct Selected {
        const char* notification;
        ASInt32 radio;
    };
    static const Selected selected[] = {
        {kToolSplitSelectedNotifier, kPreProcessSplitToolItem},
        {kToolStartPointSelectedNotifier, kPreProcessStartPointToolItem},
        {kToolGroupCheckSelectedNotifier, kPreProcessCheckGroupToolItem},
    };
    static const char* const deselected[] = {kToolSplitDeselectedNotifier, kToolStartPointDeselectedNotifier,
                                             kToolGroupCheckDeselectedNotifier};
    for (const Selected& s : selected)
        if (sADMNotifier->IsNotifierType(notifier, s.notification)) setRadio(dialog, s.radio, true);
    for (const char* name : deselected)
        if (sADMNotifier->IsNotifierType(notifier, name))
            for (const Selected& s : selected) setRadio(dialog, s.radio, false);
    sADMDialog->DefaultNotify(dialog, notifier);
    return kNoErr;
}

ASErr ProProcessDlgPictureRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        AIToolHandle tool = nullptr;
        switch (sADMItem->GetID(item)) {
        case kPreProcessSplitToolItem: tool = g->toolSplit; break;
        case kPreProcessStartPointToolItem: tool = g->toolStartPoint; break;
        case kPreProcessCheckGroupToolItem: tool = g->toolCheckGroup; break;
        default: break;
        }
        // The tool, once in hand, sets the radios through its notification.
        if (tool != nullptr) (void)sTool->SetSelectedTool(tool);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
