// Suites are tables of function pointers acquired by name and version.
//
// Every suite is declared once as a list of operations,
//   #define VT_OPS_AIFooSuite(X) X(ret, Name, (params)) ...
// from which the struct is generated. The host generates from the same list a
// table in which every operation it does not implement answers
// kSPUnimplementedError, so any suite can be acquired from the first day and a
// call that nothing implements yet fails clearly instead of crashing.
#pragma once

#include "ASTypes.h"

#define VT_SUITE_FIELD(ret, name, params) ret(*name) params;
#define VT_DECLARE_SUITE(Type) \
    typedef struct Type {      \
        VT_OPS_##Type(VT_SUITE_FIELD) \
    } Type;
