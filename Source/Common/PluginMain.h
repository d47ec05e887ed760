// The plug-in's entry point and life cycle.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

extern "C" VT_NODISCARD __attribute__((visibility("default"))) ASErr PluginMain(const char* caller,
                                                                                 const char* selector, void* message);

VT_NODISCARD ASErr StartupPlugin(SPInterfaceMessage* message);
VT_NODISCARD ASErr ShutdownPlugin(SPInterfaceMessage* message);
VT_NODISCARD ASErr AboutPlugin(SPInterfaceMessage* message);
VT_NODISCARD ASErr UnloadPlugin(SPAccessMessage* message);
VT_NODISCARD ASErr ReloadPlugin(SPAccessMessage* message);
VT_NODISCARD ASErr handlePluginCaller(const char* caller, const char* selector, void* message);
VT_NODISCARD ASErr pluginStartup(SPInterfaceMessage* message);

// Handlers of callers the plug-in registers nothing for; they answer success.
VT_NODISCARD ASErr doAction(void* message);
VT_NODISCARD ASErr goAnnotator(void* message);
VT_NODISCARD ASErr goGetFormatParms(void* message);
VT_NODISCARD ASErr goFileFormat(void* message);
VT_NODISCARD ASErr goCheckFormat(void* message);
VT_NODISCARD ASErr goTimer(void* message);
VT_NODISCARD ASErr repeatTransform(void* message);
VT_NODISCARD ASErr goNotifyEdits(void* message);
VT_NODISCARD ASErr goUpdateResultArt(void* message);
VT_NODISCARD ASErr toolOptions(AIToolMessage* message);
VT_NODISCARD ASErr addAnnotator(SPInterfaceMessage* message);
VT_NODISCARD ASErr addTimers(SPInterfaceMessage* message);
VT_NODISCARD ASErr reloadPluginSuiteFunctions(SPAccessMessage* message);
VT_NODISCARD ASErr unloadPluginSuiteFunctions(SPAccessMessage* message);
