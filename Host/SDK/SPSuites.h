// Plug-in architecture: the basic suite, memory blocks, plug-in access and
// the messages of the "SP Interface" and "SP Access" callers.
#pragma once

#include "SuiteDecl.h"

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
    ASErr (*AcquireSuite)(const char* name, ASInt32 version, const void** suite);
    ASErr (*ReleaseSuite)(const char* name, ASInt32 version);
    ASBoolean (*IsEqual)(const char* token1, const char* token2);
    ASErr (*AllocateBlock)(size_t size, void** block);
    ASErr (*FreeBlock)(void* block);
    ASErr (*ReallocateBlock)(void* block, size_t newSize, void** newblock);
    ASErr (*Undefined)(void);
} SPBasicSuite;

// Caller and selector strings of the plug-in life cycle.
#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceShutdownSelector "Shutdown"
#define kSPInterfaceAboutSelector "About"
#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"

// The head of every message the host sends.
typedef struct SPMessageData {
    ASInt32 SPCheck;  // kSPValidSPMessageData when the record is valid
    SPPluginRef self;
    void* globals;
    SPBasicSuite* basic;
    void* reserved;
} SPMessageData;
#define kSPValidSPMessageData 'SPCk'

typedef struct SPInterfaceMessage {
    SPMessageData d;
} SPInterfaceMessage;

typedef struct SPAccessMessage {
    SPMessageData d;
} SPAccessMessage;

// The one entry point of a plug-in module.
typedef ASErr (*PluginMainProc)(const char* caller, const char* selector, void* message);

#define kSPSuitesSuite "SP Suites Suite"
#define kSPSuitesSuiteVersion 2
#define VT_OPS_SPSuitesSuite(X) \
    X(ASErr, AcquireSuite, (const char* name, ASInt32 version, const void** suite)) \
    X(ASErr, ReleaseSuite, (const char* name, ASInt32 version))
VT_DECLARE_SUITE(SPSuitesSuite)

#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2
#define VT_OPS_SPBlocksSuite(X) \
    X(ASErr, AllocateBlock, (size_t size, const char* debugName, void** block)) \
    X(ASErr, FreeBlock, (void* block)) \
    X(ASErr, ReallocateBlock, (void* block, size_t newSize, const char* debugName, void** newblock))
VT_DECLARE_SUITE(SPBlocksSuite)

#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3
#define VT_OPS_SPAccessSuite(X) \
    X(ASErr, AcquirePlugin, (SPPluginRef plugin, SPAccessRef* access)) \
    X(ASErr, ReleasePlugin, (SPAccessRef access))
VT_DECLARE_SUITE(SPAccessSuite)

#define kSPPluginsSuite "SP Plug-ins Suite"
#define kSPPluginsSuiteVersion 4
#define VT_OPS_SPPluginsSuite(X) \
    X(ASErr, GetPluginFileSpecification, (SPPluginRef plugin, SPPlatformFileSpecification* file)) \
    X(ASErr, GetPluginName, (SPPluginRef plugin, const char** name))
VT_DECLARE_SUITE(SPPluginsSuite)
