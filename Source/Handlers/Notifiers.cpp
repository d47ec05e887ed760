#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
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

// The two floating palettes are made once the application has started. Until
// the toolkit can build them this leaves both handles null, which every user
// of the palettes checks.
ASErr createADMDialog()
{
    return kNoErr;
}
