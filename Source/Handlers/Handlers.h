// Handlers of host messages: menus, tools, notifiers, and the cut settings
// read at start-up and written at shutdown.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

VT_NODISCARD ASErr addMenu(SPInterfaceMessage* message);
VT_NODISCARD ASErr goMenuItem(AIMenuMessage* message);
VT_NODISCARD ASErr updateMenuItem(AIMenuMessage* message);

VT_NODISCARD ASErr addTool(SPInterfaceMessage* message);
// Destroys the tools' icons (at shutdown, or when registering the tools failed).
void releaseToolIcons();
VT_NODISCARD ASErr toolTrackCursor(AIToolMessage* message);
VT_NODISCARD ASErr toolMouseDown(AIToolMessage* message);
VT_NODISCARD ASErr toolMouseDrag(AIToolMessage* message);
VT_NODISCARD ASErr toolMouseUp(AIToolMessage* message);
VT_NODISCARD ASErr toolSelect(AIToolMessage* message);
VT_NODISCARD ASErr toolDeselect(AIToolMessage* message);

VT_NODISCARD ASErr addNotifiers(SPInterfaceMessage* message);
VT_NODISCARD ASErr goNotifier(AINotifierMessage* message);
VT_NODISCARD ASErr createADMDialog();

// The registration-mark settings as every session starts with them.
void setMarkDefaults();

VT_NODISCARD ASErr GetArdoSettings();
VT_NODISCARD ASErr pluginShutdown();
VT_NODISCARD ASErr GetLanguageIndex();
