#include "Common/PluginGlobals.h"

// Defined apart from the entry point, so that the cut model and the other
// parts that use the record link without the handlers and dialogs.
PluginGlobals* g = nullptr;
