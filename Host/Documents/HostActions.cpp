#include "Documents/HostActions.h"

#include <algorithm>

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
    for (ArtNode* n : d.allArt()) {
        if (!selected(n)) continue;
        if (n->parent && n->parent->type == kCompoundPathArt) n = n->parent;
        if (n->parent && !n->parent->isLayerGroup && selected(n->parent)) continue;
        if (std::find(roots.begin(), roots.end(), n) == roots.end()) roots.push_back(n);
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
    if (art.type == kPathArt || art.type == kTextFrameArt) return &art.style;
    for (const ArtNode* c : art.children)
        if (c->type == kPathArt) return &c->style;
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
    // A text frame is outlined first: one compound path per character.
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
                path->style = object->style;
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
            for (ArtNode* p : fill->type == kPathArt ? std::vector<ArtNode*>{fill} : fill->children)
                if (s.fillPaint) p->closed = true;
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
    std::vector<ArtNode*> keptText;
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

ASErr mergeSelection(Document& d, std::string& error)
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

    // Front to back, each area loses what lies in front of it; only the
    // areas whose bounds meet it can take anything away.
    std::vector<Polygons> regions(sources.size());
    for (size_t i = 0; i < sources.size(); ++i) {
        ClipperLib::Clipper c;
        bool cut = false;
        for (size_t j = 0; j < i && sources[i].hasBox; ++j)
            if (sources[j].hasBox && sources[j].box.meets(sources[i].box)) {
                c.AddPaths(sources[j].area, ClipperLib::ptClip, true);
                cut = true;
            }
        if (!cut) {
            regions[i] = sources[i].area;
            continue;
        }
        c.AddPaths(sources[i].area, ClipperLib::ptSubject, true);
        c.Execute(ClipperLib::ctDifference, regions[i], ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    }

    // One colour after another, in the order they are first met.
    std::vector<ArtNode*> results;
    std::vector<bool> done(sources.size(), false);
    for (size_t i = 0; i < sources.size(); ++i) {
        if (done[i]) continue;
        Polygons all;
        for (size_t j = i; j < sources.size(); ++j)
            if (!done[j] && sources[j].fill.overprint == sources[i].fill.overprint &&
                sameColor(sources[j].fill.color, sources[i].fill.color)) {
                done[j] = true;
                all.insert(all.end(), regions[j].begin(), regions[j].end());
            }
        for (const areas::Region& r : areas::unionRegions(all))
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
    (void)error;
    return kNoErr;
}

}  // namespace vt::host
