// The "AI Real Bezier Suite": points, halves, lengths and bounds of one cubic
// Bezier.
#include <cmath>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

void bzEvaluate(const AIRealBezier* b, AIReal t, AIRealPoint* p)
{
    if (!b || !p) return;
    double x, y;
    bezierPoint(*b, t, x, y);
    *p = {static_cast<AIReal>(x), static_cast<AIReal>(y)};
}

void bzDivide(const AIRealBezier* b, AIReal t, AIRealBezier* b1, AIRealBezier* b2)
{
    if (!b) return;
    auto mix = [t](AIRealPoint a, AIRealPoint c) {
        return AIRealPoint{a.h + (c.h - a.h) * t, a.v + (c.v - a.v) * t};
    };
    AIRealPoint q0 = mix(b->p0, b->p1), q1 = mix(b->p1, b->p2), q2 = mix(b->p2, b->p3);
    AIRealPoint r0 = mix(q0, q1), r1 = mix(q1, q2), s = mix(r0, r1);
    AIRealBezier left{b->p0, q0, r0, s}, right{s, r1, q2, b->p3};
    if (b1) *b1 = left;
    if (b2) *b2 = right;
}

AIReal bzLength(const AIRealBezier* b, AIReal) { return b ? static_cast<AIReal>(bezierLength(*b)) : 0; }

AIReal bzTAtLength(const AIRealBezier* b, AIReal length, AIReal total, AIReal)
{
    if (!b || total <= 0 || length <= 0) return 0;
    if (length >= total) return 1;
    // Walk fine chords and interpolate inside the chord that reaches the length.
    double sum = 0, px, py;
    bezierPoint(*b, 0, px, py);
    const int steps = 256;
    for (int i = 1; i <= steps; ++i) {
        double x, y;
        bezierPoint(*b, double(i) / steps, x, y);
        double d = std::hypot(x - px, y - py);
        if (sum + d >= length && d > 0) return static_cast<AIReal>((i - 1 + (length - sum) / d) / steps);
        sum += d;
        px = x;
        py = y;
    }
    return 1;
}

void bzBounds(const AIRealBezier* b, AIRealRect* bounds)
{
    if (!b || !bounds) return;
    ArtNode tmp;
    tmp.type = kPathArt;
    AIPathSegment a = cornerSegment(b->p0.h, b->p0.v), z = cornerSegment(b->p3.h, b->p3.v);
    a.out = b->p1;
    z.in = b->p2;
    tmp.segments = {a, z};
    tmp.style.strokePaint = 0;
    artBounds(&tmp, false, *bounds);
}

SuiteInstaller installer([] {
    auto& b = suiteTable<AIRealBezierSuite>();
    b.Evaluate = bzEvaluate;
    b.Divide = bzDivide;
    b.Length = bzLength;
    b.TAtLength = bzTAtLength;
    b.Bounds = bzBounds;
});

}  // namespace
}  // namespace vt::host::docsuites
