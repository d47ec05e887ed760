#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Handlers/Handlers.h"

ASErr addMenu(SPInterfaceMessage* message) { return kNoErr; }
ASErr goMenuItem(AIMenuMessage* message) { return kNoErr; }
ASErr updateMenuItem(AIMenuMessage* message) { return kNoErr; }
