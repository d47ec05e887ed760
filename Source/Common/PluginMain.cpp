#include "SPSuites.h"
extern "C" __attribute__((visibility("default"))) ASErr PluginMain(const char*, const char*, void*) { return 0; }
