// The geometry records the cut model is built from. The geometry library owns
// them (Math/Bezier.h); until that header is part of the tree this file gives
// the same records with the same layout and field names, so code written
// against either one compiles unchanged.
#pragma once

#include <stdint.h>

#if __has_include("Math/Bezier.h")
#include "Math/Bezier.h"
#else
// One cubic Bezier segment: degree (always 3), then P0 (start), P1, P2
// (handles) and P3 (end); P[i][0] is x, P[i][1] is y.
struct bezier_stru {
    int32_t degree;
    double P[4][2];
};

// One path: a heap array of segments and its count. The holder frees it.
struct UDT_PolyBezier {
    bezier_stru* bezier;
    int32_t count;
};
#endif
