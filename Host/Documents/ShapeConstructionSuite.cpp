// The "AI Shape Construction Suite": rectangles, rounded rectangles and ovals as
// closed paths above all other art.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

ASErr newShape(std::vector<AIPathSegment> segs, AIBoolean reversed, AIArtHandle* out)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!out) return kBadParameterErr;
    if (reversed) {
        std::reverse(segs.begin(), segs.end());
        for (auto& s : segs) std::swap(s.in, s.out);
    }
    ArtNode* n = d->newArt(kPathArt);
    n->segments = std::move(segs);
    n->closed = true;
    d->place(n, kPlaceAboveAll, nullptr);
    *out = Document::handle(n);
    return kNoErr;
}

// Quarter ellipse arcs as cubics: handle length kappa times the radius.
const double kKappa = 0.5522847498307936;

struct ShapeConstructionOps {
    using Suite = AIShapeConstructionSuite;

    static ASErr NewRect(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed, AIArtHandle* out)
    {
        return newShape({cornerSegment(left, top), cornerSegment(left, bottom), cornerSegment(right, bottom),
                         cornerSegment(right, top)},
                        reversed, out);
    }

    static ASErr NewRoundedRect(AIReal top, AIReal left, AIReal bottom, AIReal right, AIReal hr, AIReal vr,
                                AIBoolean reversed, AIArtHandle* out)
    {
        if (top < bottom) std::swap(top, bottom);
        if (right < left) std::swap(left, right);
        hr = std::clamp(hr, 0.0f, (right - left) / 2);
        vr = std::clamp(vr, 0.0f, (top - bottom) / 2);
        if (hr <= 0 || vr <= 0) return NewRect(top, left, bottom, right, reversed, out);
        // Smooth anchors: the arcs run on through them.
        auto seg = [](AIReal x, AIReal y, AIReal ix, AIReal iy, AIReal ox, AIReal oy) {
            return AIPathSegment{{x, y}, {ix, iy}, {ox, oy}, 0};
        };
        AIReal kh = static_cast<AIReal>(hr * kKappa), kv = static_cast<AIReal>(vr * kKappa);
        // Counter-clockwise from the top of the left side.
        std::vector<AIPathSegment> s = {
            seg(left, top - vr, left, top - vr + kv, left, top - vr),
            seg(left, bottom + vr, left, bottom + vr, left, bottom + vr - kv),
            seg(left + hr, bottom, left + hr - kh, bottom, left + hr, bottom),
            seg(right - hr, bottom, right - hr, bottom, right - hr + kh, bottom),
            seg(right, bottom + vr, right, bottom + vr - kv, right, bottom + vr),
            seg(right, top - vr, right, top - vr, right, top - vr + kv),
            seg(right - hr, top, right - hr + kh, top, right - hr, top),
            seg(left + hr, top, left + hr, top, left + hr - kh, top),
        };
        // Where the straight sides have no length, two anchors fall together: keep one.
        std::vector<AIPathSegment> merged;
        for (const auto& x : s) {
            if (!merged.empty() && merged.back().p.h == x.p.h && merged.back().p.v == x.p.v) {
                merged.back().out = x.out;
                continue;
            }
            merged.push_back(x);
        }
        if (merged.size() > 1 && merged.back().p.h == merged.front().p.h && merged.back().p.v == merged.front().p.v) {
            merged.front().in = merged.back().in;
            merged.pop_back();
        }
        return newShape(merged, reversed, out);
    }

    static ASErr NewOval(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed, AIArtHandle* out)
    {
        return NewRoundedRect(top, left, bottom, right, std::fabs(right - left) / 2, std::fabs(top - bottom) / 2,
                              reversed, out);
    }
};

SuiteInstaller installer(installOps<ShapeConstructionOps>);

}  // namespace
}  // namespace vt::host::docsuites
