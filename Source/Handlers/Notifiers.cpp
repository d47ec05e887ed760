#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/PreProcessDialog.h"
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

// The floating palettes are made once the application has started. A palette
// the toolkit cannot make leaves its handle null, which every user of the
// palettes checks.
ASErr createADMDialog()
{
    g->preProcessPanel = sADMDialog->Create(g->pluginRef, kPreProcessDialogName, kPreProcessDialogResource,
                                            kADMTabbedFloatingDialogStyle, PreProcessDlgInit, nullptr, 0);
    return kNoErr;
}
