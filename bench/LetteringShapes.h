// The pieces the lettering benchmarks build their letters from: straight
// segments, quarter circles and rings of them, in millimetres.
#pragma once

#include <stdlib.h>
#include <string.h>

#include <utility>
#include <vector>

#include "Core/CutModelRecords.h"

inline bezier_stru straight(double x1, double y1, double x2, double y2)
{
    bezier_stru b = {3, {{x1, y1}, {x1, y1}, {x2, y2}, {x2, y2}}};
    return b;
}

// A quarter circle about (cx, cy) from direction q to q + 1 (0 right, 1 up,
// 2 left, 3 down); reversed runs the other way.
inline bezier_stru quarter(double cx, double cy, double r, int q, bool reversed = false)
{
    const double k = 0.5522847498;
    static const double d[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    const double* s = d[q % 4];
    const double* e = d[(q + 1) % 4];
    bezier_stru b = {3, {{cx + r * s[0], cy + r * s[1]},
                         {cx + r * (s[0] + k * e[0]), cy + r * (s[1] + k * e[1])},
                         {cx + r * (e[0] + k * s[0]), cy + r * (e[1] + k * s[1])},
                         {cx + r * e[0], cy + r * e[1]}}};
    if (reversed) {
        std::swap(b.P[0][0], b.P[3][0]);
        std::swap(b.P[0][1], b.P[3][1]);
        std::swap(b.P[1][0], b.P[2][0]);
        std::swap(b.P[1][1], b.P[2][1]);
    }
    return b;
}

// A path ring holding a heap copy of the segments (the caller frees them).
inline Ring ringOf(const std::vector<bezier_stru>& segments)
{
    Ring ring;
    memset(&ring, 0, sizeof ring);
    ring.kind = kRingPath;
    ring.count = (int32_t)segments.size();
    ring.beziers = (bezier_stru*)malloc(sizeof(bezier_stru) * segments.size());
    memcpy(ring.beziers, segments.data(), sizeof(bezier_stru) * segments.size());
    return ring;
}
