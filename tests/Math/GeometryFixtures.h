// Shapes shared by the geometry tests and benchmarks.
#pragma once

#include <math.h>

#include <vector>

#include "Math/Bezier.h"

// Handle length of a cubic quarter circle of unit radius.
static const double kQuarterKappa = 0.5522847498307936;

inline bezier_stru makeBezier(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3)
{
    bezier_stru b;
    b.degree = 3;
    b.P[0][0] = x0; b.P[0][1] = y0;
    b.P[1][0] = x1; b.P[1][1] = y1;
    b.P[2][0] = x2; b.P[2][1] = y2;
    b.P[3][0] = x3; b.P[3][1] = y3;
    return b;
}

inline bezier_stru makeLine(double x0, double y0, double x3, double y3)
{
    return makeBezier(x0, y0, x0, y0, x3, y3, x3, y3);
}

// A closed counter-clockwise circle of four segments, joints on the axes
// through the centre, starting at (cx + r, cy).
inline std::vector<bezier_stru> makeCircle(double cx, double cy, double r)
{
    double k = kQuarterKappa * r;
    return {
        makeBezier(cx + r, cy, cx + r, cy + k, cx + k, cy + r, cx, cy + r),
        makeBezier(cx, cy + r, cx - k, cy + r, cx - r, cy + k, cx - r, cy),
        makeBezier(cx - r, cy, cx - r, cy - k, cx - k, cy - r, cx, cy - r),
        makeBezier(cx, cy - r, cx + k, cy - r, cx + r, cy - k, cx + r, cy),
    };
}
