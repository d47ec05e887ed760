// Basic types, handles and error codes shared by the host and the plug-in.
// These declarations are the whole boundary between the two: the plug-in
// compiles against Host/SDK only.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef int32_t ASErr;
typedef int32_t ASInt32;
typedef uint32_t ASUInt32;
typedef int16_t ASInt16;
typedef uint8_t ASBoolean;
typedef uint8_t AIBoolean;
typedef float AIReal;
typedef double AIDouble;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Host real geometry: points in document points, y growing upwards.
typedef struct _t_ASRealPoint {
    AIReal h;
    AIReal v;
} AIRealPoint;

typedef struct _t_ASRealRect {
    AIReal left;
    AIReal top;
    AIReal right;
    AIReal bottom;
} AIRealRect;

// Integer point, as used by preferences and the dialog toolkit.
typedef struct _t_ASPoint {
    ASInt16 h;
    ASInt16 v;
} ASPoint;
typedef ASPoint AIPoint;

typedef struct _t_AIRealMatrix {
    AIReal a, b, c, d, tx, ty;
} AIRealMatrix;

// Opaque handles. The host gives out values of these types; the plug-in never
// looks inside them.
typedef struct SPPlugin* SPPluginRef;
typedef struct SPAccess* SPAccessRef;
typedef struct ArtObject* AIArtHandle;
typedef struct _t_AILayerOpaque* AILayerHandle;
typedef struct _t_AIMenuItemOpaque* AIMenuItemHandle;
typedef struct _t_AIMenuGroupOpaque* AIMenuGroup;
typedef struct _t_AIToolOpaque* AIToolHandle;
typedef struct _t_AINotifierOpaque* AINotifierHandle;
typedef struct _t_AITimerOpaque* AITimerHandle;
typedef struct _t_AIDocumentViewOpaque* AIDocumentViewHandle;
typedef struct _t_AIDocumentOpaque* AIDocumentHandle;
typedef struct _t_AIHitRefOpaque* AIHitRef;
typedef struct _t_AIAppContextOpaque* AIAppContextHandle;
typedef struct _t_AIActionParamValueOpaque* AIActionParamValueRef;
typedef struct _t_AIUnicodeStringOpaque* AIUnicodeStringRef;
typedef struct _t_AIFilePathOpaque* AIFilePathRef;
typedef void** AIMdMemoryHandle;
typedef void* AICustomColorHandle;
typedef void* AIPatternHandle;

// A file on the platform: a full path in the platform's byte encoding.
#define kSPMaxPathLength 1024
typedef struct SPPlatformFileSpecification {
    char path[kSPMaxPathLength];
} SPPlatformFileSpecification;

// Error codes. 0 is success; host errors are four-character codes.
enum {
    kNoErr = 0,
    kSPNoError = 0,
    kSPUnimplementedError = '!IMP',  // the stand-in host has no such operation yet
    kSPSuiteNotFoundError = 'S!Fd',  // no suite of that name and version
    kSPBadParameterError = 'Parm',
    kSPOutOfMemoryError = '!MEM',
    kSPCantAcquirePluginError = '!Acq',
    kSPPluginInUseError = 'InUs',  // the plug-in holds its own access: it cannot be unloaded
    kAIPreferenceKeyNotFoundError = 'PRFN',  // no such key under the prefix, or a different type
    kCantHappenErr = 'CANT',
    kBadParameterErr = 'PARM',
    kNoDocumentErr = 'DOC?',
    kUserCanceledErr = 'STOP'
};
