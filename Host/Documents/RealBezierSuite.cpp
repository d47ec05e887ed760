// The "AI Real Bezier Suite": points, halves, lengths and bounds of one cubic
// Bezier.
#include <algorithm>
#include <cmath>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

// Length and the parameter at a length walk the same chords, as many as the
// flatness asks for: a chord of a cubic strays from the curve by at most an
// eighth of its second derivative's bound times the step squared. So the
// parameter at the whole length is the end, and a length measured on a part
// adds up with the rest.
int chordSteps(const AIRealBezier& b, AIReal flatness)
{
    auto second = [](AIRealPoint a, AIRealPoint m, AIRealPoint c) {
        return std::hypot(double(a.h) - 2.0 * m.h + c.h, double(a.v) - 2.0 * m.v + c.v);
    };
    double bound = 6.0 * std::max(second(b.p0, b.p1, b.p2), second(b.p1, b.p2, b.p3));
    double flat = flatness > 0 ? flatness : 0.01;
    double steps = std::ceil(std::sqrt(bound / (8.0 * flat)));
    if (!(steps >= 1)) return 1;
    return int(std::min(steps, 4096.0));
}

// Walks those chords from the curve's start, giving each one's parameters at
// its ends, its start point and its length, until `chord` answers true.
template <typename Chord>
void walkChords(const AIRealBezier& b, AIReal flatness, Chord chord)
{
    int steps = chordSteps(b, flatness);
    double px, py;
    bezierPoint(b, 0, px, py);
    for (int i = 1; i <= steps; ++i) {
        double x, y;
        bezierPoint(b, double(i) / steps, x, y);
        if (chord(double(i - 1) / steps, double(i) / steps, px, py, std::hypot(x - px, y - py))) return;
        px = x;
        py = y;
    }
}

struct RealBezierOps {
    using Suite = AIRealBezierSuite;

    static void Evaluate(const AIRealBezier* b, AIReal t, AIRealPoint* p)
    {
        if (!b || !p) return;
        double x, y;
        bezierPoint(*b, t, x, y);
        *p = {static_cast<AIReal>(x), static_cast<AIReal>(y)};
    }

    static void Divide(const AIRealBezier* b, AIReal t, AIRealBezier* b1, AIRealBezier* b2)
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

    static AIReal Length(const AIRealBezier* b, AIReal flatness)
    {
        if (!b) return 0;
        double sum = 0;
        walkChords(*b, flatness, [&](double, double, double, double, double d) {
            sum += d;
            return false;
        });
        return static_cast<AIReal>(sum);
    }

    static AIReal TAtLength(const AIRealBezier* b, AIReal length, AIReal total, AIReal flatness)
    {
        if (!b || total <= 0 || length <= 0) return 0;
        if (length >= total) return 1;
        double sum = 0, t = 1;
        walkChords(*b, flatness, [&](double t0, double t1, double px, double py, double d) {
            if (sum + d >= length && d > 0) {
                // Inside the chord the curve is as good as straight, but its speed
                // is not even: halve the chord's parameters until the distance
                // from the chord's start is the length still wanted.
                double want = length - sum, lo = t0, hi = t1;
                for (int k = 0; k < 40; ++k) {
                    double mid = (lo + hi) / 2, mx, my;
                    bezierPoint(*b, mid, mx, my);
                    if (std::hypot(mx - px, my - py) < want)
                        lo = mid;
                    else
                        hi = mid;
                }
                t = (lo + hi) / 2;
                return true;
            }
            sum += d;
            return false;
        });
        return static_cast<AIReal>(t);
    }

    static void Bounds(const AIRealBezier* b, AIRealRect* bounds)
    {
        if (!b || !bounds) return;
        ArtNode tmp;
        tmp.type = kPathArt;
        AIPathSegment a = cornerSegment(b->p0.h, b->p0.v), z = cornerSegment(b->p3.h, b->p3.v);
        a.out = b->p1;
        z.in = b->p2;
        tmp.segments = {a, z};
        tmp.style.edit().strokePaint = 0;
        artBounds(&tmp, false, *bounds);
    }
};

SuiteInstaller installer(installOps<RealBezierOps>);

}  // namespace
}  // namespace vt::host::docsuites
