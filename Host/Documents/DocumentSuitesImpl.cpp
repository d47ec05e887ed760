// The document suites: art tree, paths, styles, layers, matching art, tags,
// custom colours, the document and its view, transforms, shapes, hit tests,
// Bezier helpers and real-number geometry.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "Documents/Document.h"
#include "Suites/SuiteTables.h"

namespace vt::host {
namespace {

Document* doc() { return currentDocument(); }

ArtNode* artOf(AIArtHandle h)
{
    Document* d = doc();
    return d ? d->art(h) : nullptr;
}

ArtNode* pathOf(AIArtHandle h, ASErr& err)
{
    ArtNode* n = artOf(h);
    err = !n ? ASErr(kBadArtErr) : n->type != kPathArt ? ASErr(kWrongArtTypeErr) : ASErr(kNoErr);
    return err ? nullptr : n;
}

LayerNode* layerOf(AILayerHandle h)
{
    Document* d = doc();
    return d ? d->layer(h) : nullptr;
}

// ---- Art --------------------------------------------------------------------------------

ASErr newArt(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArtOut)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (type < kGroupArt || type > kOtherArt) return kBadParameterErr;
    ArtNode* prepNode = nullptr;
    if (paintOrder != kPlaceAboveAll && paintOrder != kPlaceBelowAll) {
        prepNode = d->art(prep);
        if (!prepNode) return kBadArtErr;
    }
    ArtNode* node = d->newArt(type);
    ASErr err = d->place(node, paintOrder, prepNode);
    if (err) {
        d->dispose(node);
        return err;
    }
    if (newArtOut) *newArtOut = Document::handle(node);
    return kNoErr;
}

ASErr disposeArt(AIArtHandle art)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (n->isLayerGroup) return kBadParameterErr;  // a layer goes with DeleteLayer
    doc()->dispose(n);
    return kNoErr;
}

ASErr reorderArt(AIArtHandle art, int16_t paintOrder, AIArtHandle prep)
{
    Document* d = doc();
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    ArtNode* p = d->art(prep);
    if (!p && paintOrder != kPlaceAboveAll && paintOrder != kPlaceBelowAll) return kBadArtErr;
    return d->place(n, paintOrder, p);
}

ASErr duplicateArt(AIArtHandle art, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArtOut)
{
    Document* d = doc();
    ArtNode* n = artOf(art);
    if (!n || n->isLayerGroup) return kBadArtErr;
    ArtNode* p = d->art(prep);
    if (!p && paintOrder != kPlaceAboveAll && paintOrder != kPlaceBelowAll) return kBadArtErr;
    ArtNode* copy = d->duplicate(n);
    ASErr err = d->place(copy, paintOrder, p);
    if (err) {
        d->dispose(copy);
        return err;
    }
    if (newArtOut) *newArtOut = Document::handle(copy);
    return kNoErr;
}

ASErr getFirstArtOfLayer(AILayerHandle layer, AIArtHandle* art)
{
    LayerNode* l = layerOf(layer);
    if (!l || !art) return kBadLayerErr;
    *art = Document::handle(l->root);
    return kNoErr;
}

ASErr getLayerOfArt(AIArtHandle art, AILayerHandle* layer)
{
    ArtNode* n = artOf(art);
    if (!n || !layer) return kBadArtErr;
    *layer = Document::handle(n->layer);
    return kNoErr;
}

ASErr getArtType(AIArtHandle art, int16_t* type)
{
    ArtNode* n = artOf(art);
    if (!n || !type) return kBadArtErr;
    *type = n->type;
    return kNoErr;
}

ASErr getArtUserAttr(AIArtHandle art, int32_t whichAttr, int32_t* attr)
{
    ArtNode* n = artOf(art);
    if (!n || !attr) return kBadArtErr;
    *attr = n->attrs & whichAttr;
    return kNoErr;
}

ASErr setArtUserAttr(AIArtHandle art, int32_t whichAttr, int32_t attr)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (whichAttr & kArtSelected) doc()->setSelected(n, (attr & kArtSelected) != 0);
    int32_t rest = whichAttr & ~kArtSelected;
    n->attrs = (n->attrs & ~rest) | (attr & rest);
    return kNoErr;
}

template <typename F>
ASErr relative(AIArtHandle art, AIArtHandle* out, F pick)
{
    ArtNode* n = artOf(art);
    if (!n || !out) return kBadArtErr;
    *out = Document::handle(pick(n));
    return kNoErr;
}

ASErr getArtParent(AIArtHandle art, AIArtHandle* parent)
{
    return relative(art, parent, [](ArtNode* n) { return n->parent; });
}

ASErr getArtFirstChild(AIArtHandle art, AIArtHandle* child)
{
    return relative(art, child, [](ArtNode* n) { return n->children.empty() ? nullptr : n->children.front(); });
}

ASErr getArtLastChild(AIArtHandle art, AIArtHandle* child)
{
    return relative(art, child, [](ArtNode* n) { return n->children.empty() ? nullptr : n->children.back(); });
}

ArtNode* siblingAt(ArtNode* n, int step)
{
    if (!n->parent) return nullptr;
    auto& c = n->parent->children;
    auto i = std::find(c.begin(), c.end(), n) - c.begin() + step;
    return i < 0 || i >= static_cast<long>(c.size()) ? nullptr : c[i];
}

ASErr getArtSibling(AIArtHandle art, AIArtHandle* sibling)
{
    return relative(art, sibling, [](ArtNode* n) { return siblingAt(n, 1); });
}

ASErr getArtPriorSibling(AIArtHandle art, AIArtHandle* sibling)
{
    return relative(art, sibling, [](ArtNode* n) { return siblingAt(n, -1); });
}

ASErr getArtBounds(AIArtHandle art, AIRealRect* bounds)
{
    ArtNode* n = artOf(art);
    if (!n || !bounds) return kBadArtErr;
    if (!artBounds(n, true, *bounds)) *bounds = AIRealRect{0, 0, 0, 0};
    return kNoErr;
}

AIBoolean validArt(AIArtHandle art) { return artOf(art) != nullptr; }

ASErr getArtName(AIArtHandle art, char* name, size_t size)
{
    ArtNode* n = artOf(art);
    if (!n || !name) return kBadArtErr;
    copyUtf8(name, size, n->name);
    return kNoErr;
}

ASErr setArtName(AIArtHandle art, const char* name)
{
    ArtNode* n = artOf(art);
    if (!n || !name) return kBadArtErr;
    n->name = name;
    return kNoErr;
}

// ---- Paths ---------------------------------------------------------------------------------

ASErr getPathSegmentCount(AIArtHandle path, int32_t* count)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (!count) return kBadParameterErr;
    *count = static_cast<int32_t>(n->segments.size());
    return kNoErr;
}

ASErr setPathSegmentCount(AIArtHandle path, int32_t count)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (count < 0 || count > 1000000) return kBadParameterErr;
    n->segments.resize(count, cornerSegment(0, 0));
    return kNoErr;
}

ASErr segmentRange(ArtNode* n, int32_t first, int32_t count)
{
    if (first < 0 || count < 0 || static_cast<size_t>(first) + count > n->segments.size()) return kBadSegmentRangeErr;
    return kNoErr;
}

ASErr getPathSegments(AIArtHandle path, int32_t segNumber, int32_t count, AIPathSegment* segments)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if ((err = segmentRange(n, segNumber, count))) return err;
    if (count && !segments) return kBadParameterErr;
    std::copy_n(n->segments.begin() + segNumber, count, segments);
    return kNoErr;
}

ASErr setPathSegments(AIArtHandle path, int32_t segNumber, int32_t count, const AIPathSegment* segments)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if ((err = segmentRange(n, segNumber, count))) return err;
    if (count && !segments) return kBadParameterErr;
    std::copy_n(segments, count, n->segments.begin() + segNumber);
    return kNoErr;
}

ASErr getPathClosed(AIArtHandle path, AIBoolean* closed)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (!closed) return kBadParameterErr;
    *closed = n->closed;
    return kNoErr;
}

ASErr setPathClosed(AIArtHandle path, AIBoolean closed)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    n->closed = closed != 0;
    return kNoErr;
}

ASErr getPathGuide(AIArtHandle path, AIBoolean* guide)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (!guide) return kBadParameterErr;
    *guide = n->guide;
    return kNoErr;
}

ASErr setPathGuide(AIArtHandle path, AIBoolean guide)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    n->guide = guide != 0;
    return kNoErr;
}

ASErr getPathArea(AIArtHandle path, AIReal* area)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (!area) return kBadParameterErr;
    *area = static_cast<AIReal>(pathArea(n));
    return kNoErr;
}

ASErr getPathBezier(AIArtHandle path, int32_t segNumber, AIRealBezier* bezier)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (!bezier) return kBadParameterErr;
    if (segNumber < 0 || static_cast<size_t>(segNumber) >= std::max<size_t>(n->segments.size(), 1) ||
        n->segments.empty())
        return kBadSegmentRangeErr;
    if (!n->closed && static_cast<size_t>(segNumber) + 1 >= n->segments.size()) {
        // The last anchor of an open path starts no curve: a point.
        const AIRealPoint p = n->segments[segNumber].p;
        *bezier = AIRealBezier{p, p, p, p};
        return kNoErr;
    }
    *bezier = pathBezier(n, segNumber);
    return kNoErr;
}

ASErr getPathLength(AIArtHandle path, AIReal* length, AIReal)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (!length) return kBadParameterErr;
    double sum = 0;
    for (size_t i = 0; i < pathBezierCount(n); ++i) sum += bezierLength(pathBezier(n, i));
    *length = static_cast<AIReal>(sum);
    return kNoErr;
}

// ---- Path styles -------------------------------------------------------------------------

const ArtNode* firstPath(const ArtNode* n)
{
    if (n->type == kPathArt) return n;
    for (const ArtNode* c : n->children)
        if (const ArtNode* p = firstPath(c)) return p;
    return nullptr;
}

void setStyleDeep(ArtNode* n, const AIPathStyle& style)
{
    if (n->type == kPathArt) n->style = style;
    for (ArtNode* c : n->children) setStyleDeep(c, style);
}

ASErr getPathStyle(AIArtHandle art, AIPathStyle* style)
{
    ArtNode* n = artOf(art);
    if (!n || !style) return kBadArtErr;
    const ArtNode* p = firstPath(n);
    if (!p) return kWrongArtTypeErr;
    *style = p->style;
    return kNoErr;
}

ASErr setPathStyle(AIArtHandle art, const AIPathStyle* style)
{
    ArtNode* n = artOf(art);
    if (!n || !style) return kBadArtErr;
    if (!firstPath(n)) return kWrongArtTypeErr;
    setStyleDeep(n, *style);
    return kNoErr;
}

// ---- Layers ---------------------------------------------------------------------------------

ASErr countLayers(int32_t* count)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!count) return kBadParameterErr;
    *count = static_cast<int32_t>(d->layers().size());
    return kNoErr;
}

ASErr getNthLayer(int32_t n, AILayerHandle* layer)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!layer || n < 0 || static_cast<size_t>(n) >= d->layers().size()) return kBadLayerErr;
    *layer = Document::handle(d->layers()[n]);
    return kNoErr;
}

ASErr getFirstLayer(AILayerHandle* layer) { return getNthLayer(0, layer); }

ASErr getNextLayer(AILayerHandle layer, AILayerHandle* next)
{
    LayerNode* l = layerOf(layer);
    if (!l || !next) return kBadLayerErr;
    const auto& all = doc()->layers();
    size_t i = doc()->layerIndex(l) + 1;
    *next = i < all.size() ? Document::handle(all[i]) : nullptr;
    return kNoErr;
}

ASErr getCurrentLayer(AILayerHandle* layer)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!layer) return kBadParameterErr;
    *layer = Document::handle(d->currentLayer());
    return kNoErr;
}

ASErr setCurrentLayer(AILayerHandle layer)
{
    LayerNode* l = layerOf(layer);
    if (!l) return kBadLayerErr;
    doc()->setCurrentLayer(l);
    return kNoErr;
}

ASErr getLayerByTitle(AILayerHandle* layer, const char* title)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!layer || !title) return kBadParameterErr;
    LayerNode* l = d->layerByTitle(title);
    *layer = Document::handle(l);
    return l ? ASErr(kNoErr) : ASErr(kBadLayerErr);
}

ASErr getLayerTitle(AILayerHandle layer, char* title, size_t size)
{
    LayerNode* l = layerOf(layer);
    if (!l || !title) return kBadLayerErr;
    copyUtf8(title, size, l->title);
    return kNoErr;
}

ASErr setLayerTitle(AILayerHandle layer, const char* title)
{
    LayerNode* l = layerOf(layer);
    if (!l || !title) return kBadLayerErr;
    l->title = title;
    return kNoErr;
}

ASErr insertLayer(AILayerHandle layer, int16_t paintOrder, AILayerHandle* newLayer)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    int index;
    switch (paintOrder) {
    case kPlaceAboveAll: index = 0; break;
    case kPlaceBelowAll: index = -1; break;
    case kPlaceAbove:
    case kPlaceBelow: {
        LayerNode* l = layerOf(layer);
        if (!l) return kBadLayerErr;
        index = d->layerIndex(l) + (paintOrder == kPlaceBelow ? 1 : 0);
        break;
    }
    default: return kBadPaintOrderErr;
    }
    LayerNode* l = d->insertLayer(index, "Layer " + std::to_string(d->layers().size() + 1));
    if (newLayer) *newLayer = Document::handle(l);
    return kNoErr;
}

ASErr deleteLayer(AILayerHandle layer)
{
    LayerNode* l = layerOf(layer);
    if (!l) return kBadLayerErr;
    doc()->deleteLayer(l);
    return kNoErr;
}

ASErr getLayerColor(AILayerHandle layer, AIRGBColor* color)
{
    LayerNode* l = layerOf(layer);
    if (!l || !color) return kBadLayerErr;
    *color = l->color;
    return kNoErr;
}

ASErr setLayerColor(AILayerHandle layer, AIRGBColor color)
{
    LayerNode* l = layerOf(layer);
    if (!l) return kBadLayerErr;
    l->color = color;
    return kNoErr;
}

ASErr getLayerVisible(AILayerHandle layer, AIBoolean* visible)
{
    LayerNode* l = layerOf(layer);
    if (!l || !visible) return kBadLayerErr;
    *visible = l->visible;
    return kNoErr;
}

ASErr setLayerVisible(AILayerHandle layer, AIBoolean visible)
{
    LayerNode* l = layerOf(layer);
    if (!l) return kBadLayerErr;
    l->visible = visible != 0;
    return kNoErr;
}

// ---- Matching art --------------------------------------------------------------------------

ASErr getMatchingArt(const AIMatchingArtSpec* specs, int16_t numSpecs, AIArtHandle*** matches, int32_t* numMatches)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!matches || !numMatches || (numSpecs > 0 && !specs) || numSpecs < 0) return kBadParameterErr;
    *matches = nullptr;
    *numMatches = 0;
    std::vector<AIArtHandle> found;
    for (ArtNode* n : d->allArt()) {
        for (int i = 0; i < numSpecs; ++i) {
            const AIMatchingArtSpec& s = specs[i];
            if ((s.type == kAnyArt || s.type == n->type) && (n->attrs & s.whichAttr) == s.attr) {
                found.push_back(Document::handle(n));
                break;
            }
        }
    }
    if (found.empty()) return kNoErr;
    AIMdMemoryHandle h = nullptr;
    ASErr err = suiteTable<AIMdMemorySuite>().MdMemoryNewHandle(found.size() * sizeof(AIArtHandle), &h);
    if (err) return err;
    std::memcpy(*h, found.data(), found.size() * sizeof(AIArtHandle));
    *matches = reinterpret_cast<AIArtHandle**>(h);
    *numMatches = static_cast<int32_t>(found.size());
    return kNoErr;
}

ASErr getSelectedArt(AIArtHandle*** matches, int32_t* numMatches)
{
    AIMatchingArtSpec spec{kAnyArt, kArtSelected, kArtSelected};
    return getMatchingArt(&spec, 1, matches, numMatches);
}

// ---- Tags -------------------------------------------------------------------------------------

ASErr setTag(AIArtHandle art, const char* name, const char* type, const void* value)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (!name || !*name || !type || std::strcmp(type, "string") != 0 || !value) return kBadParameterErr;
    n->setTag(name, static_cast<const char*>(value));
    return kNoErr;
}

ASErr getTag(AIArtHandle art, const char* name, const char* type, void* value)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (!name || !type || std::strcmp(type, "string") != 0) return kBadParameterErr;
    const std::string* text = n->tag(name);
    if (!text) return kNoSuchTagErr;
    if (value) *static_cast<const char**>(value) = text->c_str();
    return kNoErr;
}

ASErr hasTag(AIArtHandle art, const char* name, AIBoolean* has)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (!name || !has) return kBadParameterErr;
    *has = n->tag(name) != nullptr;
    return kNoErr;
}

ASErr removeTag(AIArtHandle art, const char* name)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (!name) return kBadParameterErr;
    auto& t = n->tags;
    auto it = std::find_if(t.begin(), t.end(), [&](const auto& p) { return p.first == name; });
    if (it == t.end()) return kNoSuchTagErr;
    t.erase(it);
    return kNoErr;
}

// ---- Custom colours -----------------------------------------------------------------------

ASErr newCustomColor(const AICustomColor* color, const char* name, AICustomColorHandle* out)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!color || !name || !out) return kBadParameterErr;
    *out = Document::handle(d->newCustomColor(name, *color));
    return kNoErr;
}

ASErr getCustomColor(AICustomColorHandle h, AICustomColor* color)
{
    Document* d = doc();
    CustomColorEntry* c = d ? d->customColor(h) : nullptr;
    if (!c || !color) return kBadParameterErr;
    *color = c->color;
    return kNoErr;
}

ASErr setCustomColor(AICustomColorHandle h, const AICustomColor* color)
{
    Document* d = doc();
    CustomColorEntry* c = d ? d->customColor(h) : nullptr;
    if (!c || !color) return kBadParameterErr;
    c->color = *color;
    return kNoErr;
}

ASErr getCustomColorName(AICustomColorHandle h, char* name, size_t size)
{
    Document* d = doc();
    CustomColorEntry* c = d ? d->customColor(h) : nullptr;
    if (!c || !name) return kBadParameterErr;
    copyUtf8(name, size, c->name);
    return kNoErr;
}

// ---- Document and view -------------------------------------------------------------------

ASErr getDocumentPageBounds(AIRealRect* bounds)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!bounds) return kBadParameterErr;
    *bounds = d->page;
    return kNoErr;
}

ASErr setDocumentPageBounds(const AIRealRect* bounds)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!bounds) return kBadParameterErr;
    d->page = *bounds;
    return kNoErr;
}

ASErr getDocument(AIDocumentHandle* document)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (document) *document = reinterpret_cast<AIDocumentHandle>(d);
    return kNoErr;
}

ASErr getDocumentFileName(char* name, size_t size)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!name) return kBadParameterErr;
    copyUtf8(name, size, d->fileName);
    return kNoErr;
}

// The one view of the current document; its handle is fixed.
AIDocumentViewHandle const kTheView = reinterpret_cast<AIDocumentViewHandle>(uintptr_t(0x10));

Document* viewDoc(AIDocumentViewHandle view) { return view == nullptr || view == kTheView ? doc() : nullptr; }

ASErr getNthDocumentView(int32_t n, AIDocumentViewHandle* view)
{
    if (!doc()) return kNoDocumentErr;
    if (n != 0 || !view) return kBadParameterErr;
    *view = kTheView;
    return kNoErr;
}

ASErr getViewZoom(AIDocumentViewHandle view, AIReal* zoom)
{
    Document* d = viewDoc(view);
    if (!d) return kNoDocumentErr;
    if (!zoom) return kBadParameterErr;
    *zoom = d->zoom;
    return kNoErr;
}

ASErr setViewZoom(AIDocumentViewHandle view, AIReal zoom)
{
    Document* d = viewDoc(view);
    if (!d) return kNoDocumentErr;
    // The zoom range of a drawing program's view: 3 % to 6400 %.
    if (!(zoom > 0)) return kBadParameterErr;
    d->zoom = std::clamp(zoom, 0.03125f, 64.0f);
    return kNoErr;
}

ASErr getViewCenter(AIDocumentViewHandle view, AIRealPoint* center)
{
    Document* d = viewDoc(view);
    if (!d) return kNoDocumentErr;
    if (!center) return kBadParameterErr;
    *center = d->center;
    return kNoErr;
}

ASErr setViewCenter(AIDocumentViewHandle view, const AIRealPoint* center)
{
    Document* d = viewDoc(view);
    if (!d) return kNoDocumentErr;
    if (!center) return kBadParameterErr;
    d->center = *center;
    return kNoErr;
}

ASErr getViewBounds(AIDocumentViewHandle view, AIRealRect* bounds)
{
    Document* d = viewDoc(view);
    if (!d) return kNoDocumentErr;
    if (!bounds) return kBadParameterErr;
    // A window of 800 x 600 pixels at one point per pixel at 100 %.
    AIReal hw = 400 / d->zoom, hh = 300 / d->zoom;
    *bounds = AIRealRect{d->center.h - hw, d->center.v + hh, d->center.h + hw, d->center.v - hh};
    return kNoErr;
}

// ---- Transforms and shapes ---------------------------------------------------------------

ASErr transformArtOp(AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale, int32_t flags)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (!matrix) return kBadParameterErr;
    if (flags & kTransformObjects) transformArt(n, *matrix, lineScale, (flags & kScaleLines) != 0);
    return kNoErr;
}

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

ASErr newRect(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed, AIArtHandle* out)
{
    return newShape({cornerSegment(left, top), cornerSegment(left, bottom), cornerSegment(right, bottom),
                     cornerSegment(right, top)},
                    reversed, out);
}

// Quarter ellipse arcs as cubics: handle length kappa times the radius.
const double kKappa = 0.5522847498307936;

ASErr newRoundedRect(AIReal top, AIReal left, AIReal bottom, AIReal right, AIReal hr, AIReal vr, AIBoolean reversed,
                     AIArtHandle* out)
{
    if (top < bottom) std::swap(top, bottom);
    if (right < left) std::swap(left, right);
    hr = std::clamp(hr, 0.0f, (right - left) / 2);
    vr = std::clamp(vr, 0.0f, (top - bottom) / 2);
    if (hr <= 0 || vr <= 0) return newRect(top, left, bottom, right, reversed, out);
    auto seg = [](AIReal x, AIReal y, AIReal ix, AIReal iy, AIReal ox, AIReal oy) {
        AIPathSegment s{};
        s.p = {x, y};
        s.in = {ix, iy};
        s.out = {ox, oy};
        s.corner = 0;
        return s;
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

ASErr newOval(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed, AIArtHandle* out)
{
    return newRoundedRect(top, left, bottom, right, std::fabs(right - left) / 2, std::fabs(top - bottom) / 2, reversed,
                          out);
}

// ---- Hit tests -------------------------------------------------------------------------------

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
            if (best <= kHitTolerance) {
                double x, y;
                bezierPoint(b, bestT, x, y);
                hit = AIToolHitData{1, kSegmentHitType, static_cast<int32_t>(i), static_cast<AIReal>(bestT),
                                    {static_cast<AIReal>(x), static_cast<AIReal>(y)}, Document::handle(n)};
                return true;
            }
        }
    }
    if ((request & kAllHitRequest) && n->closed && n->style.fillPaint) {
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

ASErr hitTest(AIArtHandle art, const AIRealPoint* point, int32_t request, AIHitRef* hit)
{
    ArtNode* n = artOf(art);
    if (!n) return kBadArtErr;
    if (!point || !hit) return kBadParameterErr;
    auto* record = new HitRecord{};
    hitArt(n, *point, request, record->data);
    *hit = reinterpret_cast<AIHitRef>(record);
    return kNoErr;
}

ASErr getHitData(AIHitRef hit, AIToolHitData* data)
{
    if (!hit || !data) return kBadParameterErr;
    *data = reinterpret_cast<HitRecord*>(hit)->data;
    return kNoErr;
}

ASErr releaseHitRef(AIHitRef hit)
{
    delete reinterpret_cast<HitRecord*>(hit);
    return kNoErr;
}

// ---- Bezier helpers ----------------------------------------------------------------------------

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

// ---- Real math ---------------------------------------------------------------------------------

void rectUnion(const AIRealRect* a, const AIRealRect* b, AIRealRect* r)
{
    if (!a || !b || !r) return;
    *r = AIRealRect{std::min(a->left, b->left), std::max(a->top, b->top), std::max(a->right, b->right),
                    std::min(a->bottom, b->bottom)};
}

AIBoolean rectIntersect(const AIRealRect* a, const AIRealRect* b, AIRealRect* r)
{
    if (!a || !b) return 0;
    AIRealRect x{std::max(a->left, b->left), std::min(a->top, b->top), std::min(a->right, b->right),
                 std::max(a->bottom, b->bottom)};
    bool meet = x.left <= x.right && x.bottom <= x.top;
    if (r) *r = meet ? x : AIRealRect{0, 0, 0, 0};
    return meet;
}

AIBoolean rectOverlap(const AIRealRect* a, const AIRealRect* b) { return rectIntersect(a, b, nullptr); }

void rectInset(AIRealRect* r, AIReal h, AIReal v)
{
    if (!r) return;
    r->left += h;
    r->right -= h;
    r->top -= v;
    r->bottom += v;
}

AIBoolean pointInRect(const AIRealPoint* p, const AIRealRect* r)
{
    if (!p || !r) return 0;
    AIReal lo = std::min(r->bottom, r->top), hi = std::max(r->bottom, r->top);
    return p->h >= r->left && p->h <= r->right && p->v >= lo && p->v <= hi;
}

void matrixIdentity(AIRealMatrix* m)
{
    if (m) *m = AIRealMatrix{1, 0, 0, 1, 0, 0};
}
void matrixTranslate(AIRealMatrix* m, AIReal tx, AIReal ty)
{
    if (m) *m = AIRealMatrix{1, 0, 0, 1, tx, ty};
}
void matrixScale(AIRealMatrix* m, AIReal sx, AIReal sy)
{
    if (m) *m = AIRealMatrix{sx, 0, 0, sy, 0, 0};
}
void matrixRotate(AIRealMatrix* m, AIReal angle)
{
    if (!m) return;
    AIReal c = static_cast<AIReal>(std::cos(angle)), s = static_cast<AIReal>(std::sin(angle));
    *m = AIRealMatrix{c, s, -s, c, 0, 0};
}
void matrixConcatTranslate(AIRealMatrix* m, AIReal tx, AIReal ty)
{
    if (!m) return;
    m->tx += tx;
    m->ty += ty;
}
void matrixXform(const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out)
{
    if (!m || !in || !out) return;
    double x = in->h, y = in->v;
    *out = {static_cast<AIReal>(m->a * x + m->c * y + m->tx), static_cast<AIReal>(m->b * x + m->d * y + m->ty)};
}

SuiteInstaller installer([] {
    auto& a = suiteTable<AIArtSuite>();
    a.NewArt = newArt;
    a.DisposeArt = disposeArt;
    a.ReorderArt = reorderArt;
    a.DuplicateArt = duplicateArt;
    a.GetFirstArtOfLayer = getFirstArtOfLayer;
    a.GetLayerOfArt = getLayerOfArt;
    a.GetArtType = getArtType;
    a.GetArtUserAttr = getArtUserAttr;
    a.SetArtUserAttr = setArtUserAttr;
    a.GetArtParent = getArtParent;
    a.GetArtFirstChild = getArtFirstChild;
    a.GetArtLastChild = getArtLastChild;
    a.GetArtSibling = getArtSibling;
    a.GetArtPriorSibling = getArtPriorSibling;
    a.GetArtBounds = getArtBounds;
    a.ValidArt = validArt;
    a.GetArtName = getArtName;
    a.SetArtName = setArtName;

    auto& p = suiteTable<AIPathSuite>();
    p.GetPathSegmentCount = getPathSegmentCount;
    p.SetPathSegmentCount = setPathSegmentCount;
    p.GetPathSegments = getPathSegments;
    p.SetPathSegments = setPathSegments;
    p.GetPathClosed = getPathClosed;
    p.SetPathClosed = setPathClosed;
    p.GetPathGuide = getPathGuide;
    p.SetPathGuide = setPathGuide;
    p.GetPathArea = getPathArea;
    p.GetPathBezier = getPathBezier;
    p.GetPathLength = getPathLength;

    auto& ps = suiteTable<AIPathStyleSuite>();
    ps.GetPathStyle = getPathStyle;
    ps.SetPathStyle = setPathStyle;

    auto& l = suiteTable<AILayerSuite>();
    l.CountLayers = countLayers;
    l.GetNthLayer = getNthLayer;
    l.GetFirstLayer = getFirstLayer;
    l.GetNextLayer = getNextLayer;
    l.GetCurrentLayer = getCurrentLayer;
    l.SetCurrentLayer = setCurrentLayer;
    l.GetLayerByTitle = getLayerByTitle;
    l.GetLayerTitle = getLayerTitle;
    l.SetLayerTitle = setLayerTitle;
    l.InsertLayer = insertLayer;
    l.DeleteLayer = deleteLayer;
    l.GetLayerColor = getLayerColor;
    l.SetLayerColor = setLayerColor;
    l.GetLayerVisible = getLayerVisible;
    l.SetLayerVisible = setLayerVisible;

    auto& m = suiteTable<AIMatchingArtSuite>();
    m.GetMatchingArt = getMatchingArt;
    m.GetSelectedArt = getSelectedArt;

    auto& t = suiteTable<AITagSuite>();
    t.SetTag = setTag;
    t.GetTag = getTag;
    t.HasTag = hasTag;
    t.RemoveTag = removeTag;

    auto& cc = suiteTable<AICustomColorSuite>();
    cc.NewCustomColor = newCustomColor;
    cc.GetCustomColor = getCustomColor;
    cc.SetCustomColor = setCustomColor;
    cc.GetCustomColorName = getCustomColorName;

    auto& d = suiteTable<AIDocumentSuite>();
    d.GetDocumentPageBounds = getDocumentPageBounds;
    d.SetDocumentPageBounds = setDocumentPageBounds;
    d.GetDocument = getDocument;
    d.GetDocumentFileName = getDocumentFileName;

    auto& v = suiteTable<AIDocumentViewSuite>();
    v.GetNthDocumentView = getNthDocumentView;
    v.GetDocumentViewZoom = getViewZoom;
    v.SetDocumentViewZoom = setViewZoom;
    v.GetDocumentViewCenter = getViewCenter;
    v.SetDocumentViewCenter = setViewCenter;
    v.GetDocumentViewBounds = getViewBounds;

    suiteTable<AITransformArtSuite>().TransformArt = transformArtOp;

    auto& sc = suiteTable<AIShapeConstructionSuite>();
    sc.NewRect = newRect;
    sc.NewRoundedRect = newRoundedRect;
    sc.NewOval = newOval;

    auto& h = suiteTable<AIHitTestSuite>();
    h.HitTest = hitTest;
    h.GetHitData = getHitData;
    h.ReleaseHitRef = releaseHitRef;

    auto& b = suiteTable<AIRealBezierSuite>();
    b.Evaluate = bzEvaluate;
    b.Divide = bzDivide;
    b.Length = bzLength;
    b.TAtLength = bzTAtLength;
    b.Bounds = bzBounds;

    auto& r = suiteTable<AIRealMathSuite>();
    r.AIRealRectUnion = rectUnion;
    r.AIRealRectIntersect = rectIntersect;
    r.AIRealRectOverlap = rectOverlap;
    r.AIRealRectInset = rectInset;
    r.AIRealPointInAIRealRect = pointInRect;
    r.AIRealMatrixSetIdentity = matrixIdentity;
    r.AIRealMatrixSetTranslate = matrixTranslate;
    r.AIRealMatrixSetScale = matrixScale;
    r.AIRealMatrixSetRotate = matrixRotate;
    r.AIRealMatrixConcatTranslate = matrixConcatTranslate;
    r.AIRealMatrixXformPoint = matrixXform;
});

}  // namespace
}  // namespace vt::host
