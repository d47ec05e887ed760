// The "AI Real Math Suite": rectangles and matrices of real numbers.
#include <algorithm>
#include <cmath>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct RealMathOps {
    using Suite = AIRealMathSuite;

    static void AIRealRectUnion(const AIRealRect* a, const AIRealRect* b, AIRealRect* r)
    {
        if (!a || !b || !r) return;
        *r = AIRealRect{std::min(a->left, b->left), std::max(a->top, b->top), std::max(a->right, b->right),
                        std::min(a->bottom, b->bottom)};
    }

    static AIBoolean AIRealRectIntersect(const AIRealRect* a, const AIRealRect* b, AIRealRect* r)
    {
        if (!a || !b) return 0;
        AIRealRect x{std::max(a->left, b->left), std::min(a->top, b->top), std::min(a->right, b->right),
                     std::max(a->bottom, b->bottom)};
        bool meet = x.left <= x.right && x.bottom <= x.top;
        if (r) *r = meet ? x : AIRealRect{0, 0, 0, 0};
        return meet;
    }

    static AIBoolean AIRealRectOverlap(const AIRealRect* a, const AIRealRect* b)
    {
        return AIRealRectIntersect(a, b, nullptr);
    }

    static void AIRealRectInset(AIRealRect* r, AIReal h, AIReal v)
    {
        if (!r) return;
        r->left += h;
        r->right -= h;
        r->top -= v;
        r->bottom += v;
    }

    static AIBoolean AIRealPointInAIRealRect(const AIRealPoint* p, const AIRealRect* r)
    {
        if (!p || !r) return 0;
        AIReal lo = std::min(r->bottom, r->top), hi = std::max(r->bottom, r->top);
        return p->h >= r->left && p->h <= r->right && p->v >= lo && p->v <= hi;
    }

    static AIBoolean AIRealRectInAIRealRect(const AIRealRect* a, const AIRealRect* b)
    {
        if (!a || !b) return 0;
        AIReal aLow = std::min(a->bottom, a->top), aHigh = std::max(a->bottom, a->top);
        AIReal bLow = std::min(b->bottom, b->top), bHigh = std::max(b->bottom, b->top);
        return a->left >= b->left && a->right <= b->right && aLow >= bLow && aHigh <= bHigh;
    }

    static void AIRealMatrixSetIdentity(AIRealMatrix* m)
    {
        if (m) *m = AIRealMatrix{1, 0, 0, 1, 0, 0};
    }

    static void AIRealMatrixSetTranslate(AIRealMatrix* m, AIReal tx, AIReal ty)
    {
        if (m) *m = AIRealMatrix{1, 0, 0, 1, tx, ty};
    }

    static void AIRealMatrixSetScale(AIRealMatrix* m, AIReal sx, AIReal sy)
    {
        if (m) *m = AIRealMatrix{sx, 0, 0, sy, 0, 0};
    }

    static void AIRealMatrixSetRotate(AIRealMatrix* m, AIReal angle)
    {
        if (!m) return;
        AIReal c = static_cast<AIReal>(std::cos(angle)), s = static_cast<AIReal>(std::sin(angle));
        *m = AIRealMatrix{c, s, -s, c, 0, 0};
    }

    static void AIRealMatrixConcatTranslate(AIRealMatrix* m, AIReal tx, AIReal ty)
    {
        if (!m) return;
        m->tx += tx;
        m->ty += ty;
    }

    static void AIRealMatrixXformPoint(const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out)
    {
        if (!m || !in || !out) return;
        double x = in->h, y = in->v;
        *out = {static_cast<AIReal>(m->a * x + m->c * y + m->tx), static_cast<AIReal>(m->b * x + m->d * y + m->ty)};
    }
};

SuiteInstaller installer(installOps<RealMathOps>);

}  // namespace
}  // namespace vt::host::docsuites
