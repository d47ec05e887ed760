#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Handlers/Handlers.h"

ASErr addTool(SPInterfaceMessage* message) { return kNoErr; }
ASErr toolTrackCursor(AIToolMessage* message) { return kNoErr; }
ASErr toolMouseDown(AIToolMessage* message) { return kNoErr; }
ASErr toolMouseDrag(AIToolMessage* message) { return kNoErr; }
ASErr toolMouseUp(AIToolMessage* message) { return kNoErr; }
ASErr toolSelect(AIToolMessage* message) { return kNoErr; }
ASErr toolDeselect(AIToolMessage* message) { return kNoErr; }
