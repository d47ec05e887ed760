#include "Common/PluginGlobals.h"
#include "Handlers/Handlers.h"
ASErr GetLanguageIndex() { g->stringListId = 17000; g->listMenuIdBase = 500; return kNoErr; }
