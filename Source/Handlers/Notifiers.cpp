#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PreProcessDialog.h"
#include "Dialog/SplitDialog.h"
#include "Handlers/Handlers.h"

ASErr addNotifiers(SPInterfaceMessage* message)
{
    return sNotifier->AddNotifier(g->pluginRef, "PluginStartNotifier", kAIApplicationStartedNotifier,
                                  &g->startNotifier);
}

ASErr goNotifier(AINotifierMessage* message)
{
    if (message->notifier == g->startNotifier) return createADMDialog();
    return kNoErr;
}

// The floating palettes are made once the application has started; a palette
// the toolkit cannot make stays null, which every user of the palettes checks.
ASErr createADMDialog()
{
    g->preProcessPanel = createPalette(kPreProcessDialog, kADMTabbedFloatingDialogStyle, PreProcessDlgInit);
    // The split palette waits hidden until the split tool is chosen.
    g->splitPanel = createPalette(kSplitDialog, kADMFloatingDialogStyle, SplitPluginInitProc);
    if (g->splitPanel != NULL) sADMDialog->Show(g->splitPanel, FALSE);
    return kNoErr;
}
