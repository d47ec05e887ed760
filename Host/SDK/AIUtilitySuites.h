// Host utility suites: memory, math, preferences, Unicode strings and file paths.
#pragma once

#include "SPSuites.h"

#define kAIMdMemorySuite "AI MdMemory Suite"
#define kAIMdMemorySuiteVersion 1001
#define VT_OPS_AIMdMemorySuite(X) \
    X(ASErr, MdMemoryNewHandle, (size_t size, AIMdMemoryHandle* handle)) \
    X(ASErr, MdMemoryDisposeHandle, (AIMdMemoryHandle handle)) \
    X(ASErr, MdMemoryGetSize, (AIMdMemoryHandle handle, size_t* size)) \
    X(ASErr, MdMemoryResize, (AIMdMemoryHandle handle, size_t newSize))
VT_DECLARE_SUITE(AIMdMemorySuite)

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1001
// Rectangles are {left, top, right, bottom} with top above bottom (y upwards).
#define VT_OPS_AIRealMathSuite(X) \
    X(void, AIRealRectUnion, (const AIRealRect* a, const AIRealRect* b, AIRealRect* result)) \
    /* false and an empty result when they do not meet */ \
    X(AIBoolean, AIRealRectIntersect, (const AIRealRect* a, const AIRealRect* b, AIRealRect* result)) \
    X(AIBoolean, AIRealRectOverlap, (const AIRealRect* a, const AIRealRect* b)) \
    /* moves each side inwards by h (left, right) and v (top, bottom) */ \
    X(void, AIRealRectInset, (AIRealRect* rect, AIReal h, AIReal v)) \
    /* edges included */ \
    X(AIBoolean, AIRealPointInAIRealRect, (const AIRealPoint* p, const AIRealRect* rect)) \
    /* a lies within b, edges included (a rectangle on b's edge is inside) */ \
    X(AIBoolean, AIRealRectInAIRealRect, (const AIRealRect* a, const AIRealRect* b)) \
    X(void, AIRealMatrixSetIdentity, (AIRealMatrix* m)) \
    X(void, AIRealMatrixSetTranslate, (AIRealMatrix* m, AIReal tx, AIReal ty)) \
    X(void, AIRealMatrixSetScale, (AIRealMatrix* m, AIReal sx, AIReal sy)) \
    /* angle in radians, counter-clockwise */ \
    X(void, AIRealMatrixSetRotate, (AIRealMatrix* m, AIReal angle)) \
    X(void, AIRealMatrixConcatTranslate, (AIRealMatrix* m, AIReal tx, AIReal ty)) \
    X(void, AIRealMatrixXformPoint, (const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out))
VT_DECLARE_SUITE(AIRealMathSuite)

#define kAIFixedMathSuite "AI Fixed Math Suite"
#define kAIFixedMathSuiteVersion 1002
#define VT_OPS_AIFixedMathSuite(X)
VT_DECLARE_SUITE(AIFixedMathSuite)

// Typed preferences under a prefix and a key. A Get fails with
// kAIPreferenceKeyNotFoundError when the key is absent or holds another type;
// the caller then keeps its own default.
#define kAIPreferenceSuite "AI Preference Suite"
#define kAIPreferenceSuiteVersion 1004
#define VT_OPS_AIPreferenceSuite(X) \
    X(ASErr, GetBooleanPreference, (const char* prefix, const char* key, AIBoolean* value)) \
    X(ASErr, PutBooleanPreference, (const char* prefix, const char* key, AIBoolean value)) \
    X(ASErr, GetIntegerPreference, (const char* prefix, const char* key, ASInt32* value)) \
    X(ASErr, PutIntegerPreference, (const char* prefix, const char* key, ASInt32 value)) \
    X(ASErr, GetRealPreference, (const char* prefix, const char* key, double* value)) \
    X(ASErr, PutRealPreference, (const char* prefix, const char* key, double value)) \
    /* value receives at most size - 1 bytes and is always terminated */ \
    X(ASErr, GetStringPreference, (const char* prefix, const char* key, char* value, size_t size)) \
    X(ASErr, PutStringPreference, (const char* prefix, const char* key, const char* value)) \
    X(ASErr, GetPointPreference, (const char* prefix, const char* key, AIPoint* value)) \
    X(ASErr, PutPointPreference, (const char* prefix, const char* key, const AIPoint* value)) \
    X(ASErr, RemovePreference, (const char* prefix, const char* key))
VT_DECLARE_SUITE(AIPreferenceSuite)

// Unicode strings are held by the host; the plug-in reaches them through the
// ai::UnicodeString wrapper (IAIUnicodeString.h). Text crosses as UTF-8.
#define kAIUnicodeStringSuite "AI Unicode String Suite"
#define kAIUnicodeStringSuiteVersion 1005
#define VT_OPS_AIUnicodeStringSuite(X) \
    X(ASErr, Initialize, (AIUnicodeStringRef* str, const char* utf8)) \
    X(ASErr, Copy, (AIUnicodeStringRef src, AIUnicodeStringRef* dst)) \
    X(ASErr, Destroy, (AIUnicodeStringRef str)) \
    X(ASErr, GetUTF8Length, (AIUnicodeStringRef str, size_t* length)) \
    X(ASErr, GetUTF8, (AIUnicodeStringRef str, char* buffer, size_t size))
VT_DECLARE_SUITE(AIUnicodeStringSuite)

// File paths, reached through the ai::FilePath wrapper (IAIFilePath.h).
#define kAIFilePathSuite "AI File Path Suite"
#define kAIFilePathSuiteVersion 1001
#define VT_OPS_AIFilePathSuite(X) \
    X(ASErr, NewFromPlatformSpec, (const SPPlatformFileSpecification* spec, AIFilePathRef* path)) \
    X(ASErr, NewFromUTF8, (const char* utf8, AIFilePathRef* path)) \
    X(ASErr, Copy, (AIFilePathRef src, AIFilePathRef* dst)) \
    X(ASErr, Destroy, (AIFilePathRef path)) \
    X(ASErr, GetFullPath, (AIFilePathRef path, AIUnicodeStringRef* full)) \
    X(ASErr, GetParent, (AIFilePathRef path, AIFilePathRef* parent)) \
    X(ASErr, GetFileName, (AIFilePathRef path, AIUnicodeStringRef* name)) \
    X(ASErr, AddComponent, (AIFilePathRef path, const char* component)) \
    X(ASErr, GetPlatformSpec, (AIFilePathRef path, SPPlatformFileSpecification* spec))
VT_DECLARE_SUITE(AIFilePathSuite)
