// The plug-in's entry point and life cycle.
#pragma once

#include "AllSuites.h"

extern "C" __attribute__((visibility("default"))) ASErr PluginMain(const char* caller, const char* selector,
                                                                    void* message);

ASErr StartupPlugin(SPInterfaceMessage* message);
ASErr ShutdownPlugin(SPInterfaceMessage* message);
ASErr AboutPlugin(SPInterfaceMessage* message);
ASErr UnloadPlugin(SPAccessMessage* message);
ASErr ReloadPlugin(SPAccessMessage* message);
ASErr handlePluginCaller(const char* caller, const char* selector, void* message);
ASErr pluginStartup(SPInterfaceMessage* message);

// Handlers of callers the plug-in registers nothing for; they answer success.
ASErr doAction(void* message);
ASErr goAnnotator(void* message);
ASErr goGetFormatParms(void* message);
ASErr goFileFormat(void* message);
ASErr goCheckFormat(void* message);
ASErr goTimer(void* message);
ASErr repeatTransform(void* message);
ASErr goNotifyEdits(void* message);
ASErr goUpdateResultArt(void* message);
ASErr toolOptions(AIToolMessage* message);
ASErr addAnnotator(SPInterfaceMessage* message);
ASErr addTimers(SPInterfaceMessage* message);
ASErr reloadPluginSuiteFunctions(SPAccessMessage* message);
ASErr unloadPluginSuiteFunctions(SPAccessMessage* message);
