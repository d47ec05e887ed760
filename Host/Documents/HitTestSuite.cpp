// The "AI Hit Test Suite": what lies under a point of the artboard: an anchor,
// a handle, a segment or a filled inside, within two points.
#include <algorithm>
#include <cmath>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct HitRecord {
    AIToolHitData data;
};

const double kHitTolerance = 2.0;

bool hitPath(ArtNode* n, AIRealPoint p, int32_t request, AIToolHitData& hit)
{
    const auto& s = n->segments;
    for (size_t i = 0; i < s.size(); ++i) {
        if (std::hypot(s[i].p.h - p.h, s[i].p.v - p.v) <= kHitTolerance) {
            hit = AIToolHitData{1, kAnchorHitType, static_cast<int32_t>(i), 0, s[i].p, Document::handle(n)};
            return true;
        }
    }
    if (request & (kSegInOutRequest | kAllNoFillRequest | kAllHitRequest)) {
        for (size_t i = 0; i < s.size(); ++i)
            for (AIRealPoint h : {s[i].in, s[i].out})
                if (std::hypot(h.h - p.h, h.v - p.v) <= kHitTolerance) {
                    hit = AIToolHitData{1, kHandleHitType, static_cast<int32_t>(i), 0, h, Document::handle(n)};
                    return true;
                }
    }
    if (request & (kSegmentRequest | kAllNoFillRequest | kAllHitRequest)) {
        for (size_t i = 0; i < pathBezierCount(n); ++i) {
            AIRealBezier b = pathBezier(n, i);
            double best = 1e30, bestT = 0;
            for (int k = 0; k <= 200; ++k) {
                double x, y;
                bezierPoint(b, k / 200.0, x, y);
                double dist = std::hypot(x - p.h, y - p.v);
                if (dist < best) best = dist, bestT = k / 200.0;
            }
            // The nearest point lies within a sample of the best one; narrow
            // it down so that the point given back lies on the curve where
            // the pointer is, not up to half a sample away.
            double lo = std::max(0.0, bestT - 1 / 200.0), hi = std::min(1.0, bestT + 1 / 200.0);
            auto distanceAt = [&](double t) {
                double x, y;
                bezierPoint(b, t, x, y);
                return std::hypot(x - p.h, y - p.v);
            };
            for (int k = 0; k < 40; ++k) {
                double a = lo + (hi - lo) / 3, c = hi - (hi - lo) / 3;
                if (distanceAt(a) <= distanceAt(c)) hi = c; else lo = a;
            }
            if (distanceAt((lo + hi) / 2) < best) {
                bestT = (lo + hi) / 2;
                best = distanceAt(bestT);
            }
            if (best <= kHitTolerance) {
                double x, y;
                bezierPoint(b, bestT, x, y);
                // A curve is named by the anchor it runs to (0 for the closing
                // curve of a closed path), as the host's hit data does.
                int32_t end = static_cast<int32_t>((i + 1) % s.size());
                hit = AIToolHitData{1, kSegmentHitType, end, static_cast<AIReal>(bestT),
                                    {static_cast<AIReal>(x), static_cast<AIReal>(y)}, Document::handle(n)};
                return true;
            }
        }
    }
    if ((request & kAllHitRequest) && n->closed && n->style->fillPaint) {
        // Even-odd crossing count over a flattened outline.
        int crossings = 0;
        for (size_t i = 0; i < pathBezierCount(n); ++i) {
            AIRealBezier b = pathBezier(n, i);
            double px, py;
            bezierPoint(b, 0, px, py);
            for (int k = 1; k <= 32; ++k) {
                double x, y;
                bezierPoint(b, k / 32.0, x, y);
                if ((py > p.v) != (y > p.v) && p.h < px + (p.v - py) * (x - px) / (y - py)) ++crossings;
                px = x;
                py = y;
            }
        }
        if (crossings & 1) {
            hit = AIToolHitData{1, kFillHitType, 0, 0, p, Document::handle(n)};
            return true;
        }
    }
    return false;
}

bool hitArt(ArtNode* n, AIRealPoint p, int32_t request, AIToolHitData& hit)
{
    if (n->attrs & kArtHidden) return false;
    if (n->type == kPathArt) return hitPath(n, p, request, hit);
    if (n->type == kTextFrameArt) {
        AIRealRect r;
        if (artBounds(n, false, r) && p.h >= r.left && p.h <= r.right && p.v >= r.bottom && p.v <= r.top) {
            hit = AIToolHitData{1, kFillHitType, 0, 0, p, Document::handle(n)};
            return true;
        }
        return false;
    }
    for (ArtNode* c : n->children)
        if (hitArt(c, p, request, hit)) return true;
    return false;
}

struct HitTestOps {
    using Suite = AIHitTestSuite;

    static ASErr HitTest(AIArtHandle art, const AIRealPoint* point, int32_t request, AIHitRef* hit)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (!point || !hit) return kBadParameterErr;
        auto* record = new HitRecord{};
        hitArt(n, *point, request, record->data);
        *hit = reinterpret_cast<AIHitRef>(record);
        return kNoErr;
    }

    static ASErr GetHitData(AIHitRef hit, AIToolHitData* data)
    {
        if (!hit || !data) return kBadParameterErr;
        *data = reinterpret_cast<HitRecord*>(hit)->data;
        return kNoErr;
    }

    static ASErr ReleaseHitRef(AIHitRef hit)
    {
        delete reinterpret_cast<HitRecord*>(hit);
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<HitTestOps>);

}  // namespace
}  // namespace vt::host::docsuites
