#include "Documents/HostActions.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "Documents/Areas.h"
#include "Documents/TextLayout.h"

namespace vt::host {

using areas::Polygons;

namespace {

bool selected(const ArtNode* n) { return (n->attrs & kArtSelected) != 0; }

// The art the user selected: selected objects whose parent is not (a path
// inside a compound path stands for its compound path), in tree order.
std::vector<ArtNode*> selectionRoots(const Document& d)
{
    std::vector<ArtNode*> roots;
    std::unordered_set<const ArtNode*> seen;
    for (ArtNode* n : d.allArt()) {
        if (!selected(n)) continue;
        if (n->parent && n->parent->type == kCompoundPathArt) n = n->parent;
        if (n->parent && !n->parent->isLayerGroup && selected(n->parent)) continue;
        if (seen.insert(n).second) roots.push_back(n);
    }
    return roots;
}

// The selected objects of the roots' trees that an action works on, front to
// back: groups are entered.
void collectObjects(ArtNode* n, std::vector<ArtNode*>& out)
{
    if (!selected(n) && !(n->type == kCompoundPathArt && std::any_of(n->children.begin(), n->children.end(), selected)))
        return;
    if (n->type == kGroupArt) {
        for (ArtNode* c : n->children) collectObjects(c, out);
        return;
    }
    if (n->type == kPathArt || n->type == kCompoundPathArt || n->type == kTextFrameArt) out.push_back(n);
}

std::vector<ArtNode*> selectedObjects(const Document& d)
{
    std::vector<ArtNode*> out;
    for (ArtNode* root : selectionRoots(d)) collectObjects(root, out);
    return out;
}

const AIPathStyle* styleOf(const ArtNode& art)
{
    if (art.type == kPathArt || art.type == kTextFrameArt) return &art.style.get();
    for (const ArtNode* c : art.children)
        if (c->type == kPathArt) return &c->style.get();
    return nullptr;
}

AIPathStyle areaStyle(const AIFillStyle& fill)
{
    AIPathStyle style = defaultPathStyle();
    style.fillPaint = 1;
    style.fill = fill;
    style.strokePaint = 0;
    style.evenodd = 0;
    return style;
}

void setStyleDeep(ArtNode* n, const AIPathStyle& style)
{
    if (n->type == kPathArt) n->style = style;
    for (ArtNode* c : n->children) setStyleDeep(c, style);
}

void disposeAll(Document& d, std::vector<ArtNode*>& nodes)
{
    for (ArtNode* n : nodes) d.dispose(n);
    nodes.clear();
}

// The areas an object expands to, front-most first, detached.
bool expandObject(Document& d, ArtNode* object, const ExpandOptions& options, std::vector<ArtNode*>& pieces,
                  std::string& error)
{
    // A text frame is outlined first: one compound path per character, styled
    // below with the text's style as every piece is.
    std::vector<ArtNode*> shapes;
    if (object->type == kTextFrameArt) {
        TextLayout layout;
        if (!layoutText(*object, layout, error)) return false;
        for (const GlyphShape& glyph : layout.glyphs) {
            ArtNode* compound = d.newArt(kCompoundPathArt);
            for (const auto& contour : glyph.contours) {
                ArtNode* path = d.newArt(kPathArt);
                path->segments = contour;
                path->closed = true;
                d.place(path, kPlaceInsideOnBottom, compound);
            }
            shapes.push_back(compound);
        }
    } else {
        shapes.push_back(object);
    }
    const AIPathStyle* style = styleOf(*object);
    std::vector<ArtNode*> strokes, fills;
    for (ArtNode* shape : shapes) {
        bool strokeAsArea = style && style->strokePaint && style->stroke.width > 0 && options.strokes;
        if (strokeAsArea) {
            ClipperLib::PolyTree tree;
            areas::strokeArea(*shape, *style, tree);
            AIFillStyle fill{style->stroke.color, style->stroke.overprint};
            for (const areas::Region& r : areas::regionsOf(tree)) strokes.push_back(areas::artOfRegion(d, r, areaStyle(fill)));
        }
        bool keepStroke = style && style->strokePaint && !strokeAsArea;
        if (style && (style->fillPaint || keepStroke)) {
            ArtNode* fill = shape == object ? d.duplicate(object) : shape;
            AIPathStyle s = *style;
            if (!keepStroke) s.strokePaint = 0;
            setStyleDeep(fill, s);
            if (s.fillPaint && fill->type == kPathArt) fill->closed = true;
            if (s.fillPaint && fill->type != kPathArt)
                for (ArtNode* p : fill->children) p->closed = true;
            fills.push_back(fill);
        } else if (shape != object) {
            d.dispose(shape);
        }
    }
    pieces.insert(pieces.end(), strokes.begin(), strokes.end());
    pieces.insert(pieces.end(), fills.begin(), fills.end());
    return true;
}

bool sameColor(const AIColor& a, const AIColor& b)
{
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case kGrayColor: return a.c.g.gray == b.c.g.gray;
    case kFourColor:
        return a.c.f.cyan == b.c.f.cyan && a.c.f.magenta == b.c.f.magenta && a.c.f.yellow == b.c.f.yellow &&
               a.c.f.black == b.c.f.black;
    case kThreeColor: return a.c.rgb.red == b.c.rgb.red && a.c.rgb.green == b.c.rgb.green && a.c.rgb.blue == b.c.rgb.blue;
    case kCustomColor: return a.c.c.color == b.c.c.color && a.c.c.tint == b.c.c.tint;
    case kPattern: return a.c.p.pattern == b.c.p.pattern;
    case kGradient: return a.c.b.gradient == b.c.b.gradient;
    default: return true;
    }
}

}  // namespace

ASErr expandSelection(Document& d, const ExpandOptions& options, std::string& error)
{
    std::vector<ArtNode*> objects = selectedObjects(d);
    std::vector<std::pair<ArtNode*, std::vector<ArtNode*>>> plans;
    for (ArtNode* object : objects) {
        if (object->type == kTextFrameArt && !options.objects) continue;
        std::vector<ArtNode*> pieces;
        if (!expandObject(d, object, options, pieces, error)) {
            disposeAll(d, pieces);
            for (auto& plan : plans) disposeAll(d, plan.second);
            return kNoFontErr;
        }
        plans.emplace_back(object, std::move(pieces));
    }
    for (auto& [object, pieces] : plans) {
        ArtNode* group = d.newArt(kGroupArt);
        d.place(group, kPlaceAbove, object);
        for (ArtNode* piece : pieces) d.place(piece, kPlaceInsideOnBottom, group);
        d.dispose(object);
        d.setSelected(group, true);
    }
    return kNoErr;
}

ASErr mergeSelection(Document& d)
{
    struct Source {
        ArtNode* art;
        Polygons area;
        areas::Box box;
        bool hasBox;
        AIFillStyle fill;
    };
    std::vector<Source> sources;
    for (ArtNode* object : selectedObjects(d)) {
        if (object->type == kTextFrameArt) continue;
        const AIPathStyle* style = styleOf(*object);
        if (!style || !style->fillPaint) continue;  // an area without fill has nothing to merge
        Source s{object, areas::fillArea(*object), {}, false, style->fill};
        s.hasBox = areas::boxOf(s.area, s.box);
        sources.push_back(std::move(s));
    }
    if (sources.empty()) return kNoErr;

    // Which areas' bounds meet: a sweep over the bounds sorted by their left
    // side, so that a job of many separate objects costs no pair test for
    // each pair.
    std::vector<size_t> byLeft;
    for (size_t i = 0; i < sources.size(); ++i)
        if (sources[i].hasBox) byLeft.push_back(i);
    std::sort(byLeft.begin(), byLeft.end(), [&](size_t a, size_t b) {
        return sources[a].box.left != sources[b].box.left ? sources[a].box.left < sources[b].box.left : a < b;
    });
    std::vector<std::vector<size_t>> meets(sources.size());
    for (size_t k = 0; k < byLeft.size(); ++k) {
        const areas::Box& a = sources[byLeft[k]].box;
        for (size_t m = k + 1; m < byLeft.size() && sources[byLeft[m]].box.left <= a.right; ++m)
            if (a.meets(sources[byLeft[m]].box)) {
                meets[byLeft[k]].push_back(byLeft[m]);
                meets[byLeft[m]].push_back(byLeft[k]);
            }
    }
    for (auto& m : meets) std::sort(m.begin(), m.end());

    // What an area keeps of itself: it loses what lies in front of it, and
    // only the areas whose bounds meet it can take anything away. Worked out
    // only for the areas that cut into another colour.
    std::vector<Polygons> regions(sources.size());
    std::vector<bool> hasRegion(sources.size(), false);
    auto regionOf = [&](size_t i) -> const Polygons& {
        if (hasRegion[i]) return regions[i];
        hasRegion[i] = true;
        ClipperLib::Clipper c;
        bool cut = false;
        for (size_t j : meets[i]) {
            if (j >= i) break;
            c.AddPaths(sources[j].area, ClipperLib::ptClip, true);
            cut = true;
        }
        if (!cut) return regions[i] = sources[i].area;
        c.AddPaths(sources[i].area, ClipperLib::ptSubject, true);
        c.Execute(ClipperLib::ctDifference, regions[i], ClipperLib::pftNonZero, ClipperLib::pftNonZero);
        return regions[i];
    };

    // A point ends in the colour of the front-most area over it. So the
    // areas of one colour are united, less what the areas of other colours
    // keep of themselves over them. This is done for one group of areas
    // whose bounds meet (directly or through others) at a time: areas apart
    // from each other cannot join, and one union of everything, or a union
    // of pieces already cut to fit edge to edge, would cost far more.
    auto sameFill = [&](size_t a, size_t b) {
        return sources[a].fill.overprint == sources[b].fill.overprint && sameColor(sources[a].fill.color, sources[b].fill.color);
    };
    std::vector<ArtNode*> results;
    std::vector<bool> done(sources.size(), false);
    std::vector<size_t> cutBy(sources.size(), SIZE_MAX);  // the group an area was last added to as a cut
    for (size_t i = 0; i < sources.size(); ++i) {
        if (done[i]) continue;
        ClipperLib::Clipper c;
        std::vector<size_t> stack{i};
        done[i] = true;
        bool cut = false;
        while (!stack.empty()) {
            size_t k = stack.back();
            stack.pop_back();
            c.AddPaths(sources[k].area, ClipperLib::ptSubject, true);
            for (size_t m : meets[k]) {
                if (sameFill(m, i)) {
                    if (!done[m]) {
                        done[m] = true;
                        stack.push_back(m);
                    }
                } else if (cutBy[m] != i) {
                    cutBy[m] = i;
                    c.AddPaths(regionOf(m), ClipperLib::ptClip, true);
                    cut = true;
                }
            }
        }
        ClipperLib::PolyTree tree;
        c.Execute(cut ? ClipperLib::ctDifference : ClipperLib::ctUnion, tree, ClipperLib::pftNonZero,
                  ClipperLib::pftNonZero);
        for (const areas::Region& r : areas::regionsOf(tree))
            results.push_back(areas::artOfRegion(d, r, areaStyle(sources[i].fill)));
    }

    ArtNode* place = sources.front().art;
    int16_t order = kPlaceAbove;
    for (ArtNode* r : results) {
        d.place(r, order, place);
        d.setSelected(r, true);
        place = r;
        order = kPlaceBelow;
    }
    for (Source& s : sources) {
        ArtNode* parent = s.art->parent;
        d.dispose(s.art);
        // A group the merge emptied goes too.
        while (parent && !parent->isLayerGroup && parent->type == kGroupArt && parent->children.empty()) {
            ArtNode* up = parent->parent;
            d.dispose(parent);
            parent = up;
        }
    }
    return kNoErr;
}

}  // namespace vt::host
