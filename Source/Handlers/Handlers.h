// Handlers of host messages: menus, tools, notifiers, and the cut settings
// read at start-up and written at shutdown.
#pragma once

#include "AllSuites.h"

ASErr addMenu(SPInterfaceMessage* message);
ASErr goMenuItem(AIMenuMessage* message);
ASErr updateMenuItem(AIMenuMessage* message);

ASErr addTool(SPInterfaceMessage* message);
ASErr toolTrackCursor(AIToolMessage* message);
ASErr toolMouseDown(AIToolMessage* message);
ASErr toolMouseDrag(AIToolMessage* message);
ASErr toolMouseUp(AIToolMessage* message);
ASErr toolSelect(AIToolMessage* message);
ASErr toolDeselect(AIToolMessage* message);

ASErr addNotifiers(SPInterfaceMessage* message);
ASErr goNotifier(AINotifierMessage* message);
ASErr createADMDialog();

ASErr GetArdoSettings();
ASErr pluginShutdown();
ASErr GetLanguageIndex();
