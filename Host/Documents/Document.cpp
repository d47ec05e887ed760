// The host's documents and the geometry of their art.
#include "Documents/Document.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Documents/TextLayout.h"
#include "Host.h"

namespace vt::host {

// ---- Tags -----------------------------------------------------------------------------

const ArtNode::TagList& ArtNode::tags() const
{
    static const TagList none;
    return tags_ ? *tags_ : none;
}

const std::string* ArtNode::tag(const std::string& tagName) const
{
    for (const auto& t : tags())
        if (t.first == tagName) return &t.second;
    return nullptr;
}

void ArtNode::setTag(const std::string& tagName, const std::string& value)
{
    if (!tags_) tags_.make();
    for (auto& t : *tags_)
        if (t.first == tagName) {
            t.second = value;
            return;
        }
    tags_->emplace_back(tagName, value);
}

bool ArtNode::removeTag(const std::string& tagName)
{
    if (!tags_) return false;
    auto it = std::find_if(tags_->begin(), tags_->end(), [&](const auto& t) { return t.first == tagName; });
    if (it == tags_->end()) return false;
    tags_->erase(it);
    return true;
}

// ---- Children ------------------------------------------------------------------------

ArtChildren::iterator& ArtChildren::iterator::operator++()
{
    node_ = node_->next;
    return *this;
}

ArtChildren::iterator& ArtChildren::iterator::operator--()
{
    node_ = node_ ? node_->prior : list_->last_;
    return *this;
}

// ---- Handles ---------------------------------------------------------------------------
// A handle is the object's number shifted left, so that a null handle (0) is
// never valid and small integers passed by mistake are not either.

namespace {
uintptr_t idOf(const void* handle) { return reinterpret_cast<uintptr_t>(handle) >> 4; }
template <typename H>
H handleOf(uintptr_t id) { return reinterpret_cast<H>(id << 4); }
}  // namespace

Document::Document(Documents& store) : store_(store) {}
Document::~Document() = default;

ArtNode* Document::art(AIArtHandle handle) const
{
    uintptr_t id = idOf(handle);
    if (id < firstArtId_ || id - firstArtId_ >= art_.size()) return nullptr;
    return art_[id - firstArtId_].get();
}

LayerNode* Document::layer(AILayerHandle handle) const
{
    auto it = layerStore_.find(idOf(handle));
    return it == layerStore_.end() ? nullptr : it->second.get();
}

CustomColorEntry* Document::customColor(AICustomColorHandle handle) const
{
    auto it = customColors_.find(idOf(handle));
    return it == customColors_.end() ? nullptr : it->second.get();
}

AIArtHandle Document::handle(const ArtNode* node) { return node ? handleOf<AIArtHandle>(node->id) : nullptr; }
AILayerHandle Document::handle(const LayerNode* layer) { return layer ? handleOf<AILayerHandle>(layer->id) : nullptr; }
AICustomColorHandle Document::handle(const CustomColorEntry* color)
{
    return color ? handleOf<AICustomColorHandle>(color->id) : nullptr;
}

// ---- Layers ------------------------------------------------------------------------------

LayerNode* Document::insertLayer(int index, const std::string& title)
{
    auto layer = std::make_unique<LayerNode>();
    layer->id = store_.nextId();
    layer->title = title;
    // Layer colours cycle the way a user sees them in a layers list.
    static const AIRGBColor kColors[] = {{0x4f4f, 0x8080, 0xffff}, {0xffff, 0x4f4f, 0x4f4f},
                                         {0x4f4f, 0xffff, 0x4f4f}, {0x4f4f, 0x4f4f, 0xffff},
                                         {0xffff, 0xffff, 0x4f4f}, {0xffff, 0x4f4f, 0xffff}};
    layer->color = kColors[layerStore_.size() % 6];
    ArtNode* root = newArt(kGroupArt);
    root->isLayerGroup = true;
    root->layer = layer.get();
    layer->root = root;
    LayerNode* raw = layer.get();
    layerStore_.emplace(raw->id, std::move(layer));
    if (index < 0 || index > static_cast<int>(layers_.size())) index = static_cast<int>(layers_.size());
    layers_.insert(layers_.begin() + index, raw);
    current_ = raw;
    return raw;
}

int Document::layerIndex(const LayerNode* layer) const
{
    for (size_t i = 0; i < layers_.size(); ++i)
        if (layers_[i] == layer) return static_cast<int>(i);
    return -1;
}

void Document::deleteLayer(LayerNode* layer)
{
    int index = layerIndex(layer);
    if (index < 0) return;
    dispose(layer->root);
    layers_.erase(layers_.begin() + index);
    if (current_ == layer) current_ = layers_.empty() ? nullptr : layers_.front();
    layerStore_.erase(layer->id);
}

LayerNode* Document::layerByTitle(const std::string& title) const
{
    for (LayerNode* l : layers_)
        if (l->title == title) return l;
    return nullptr;
}

// ---- Art ----------------------------------------------------------------------------------

// ---- Path segments ------------------------------------------------------------

bool PathSegments::onAnchor(const AIPathSegment& segment)
{
    // Bits, not values: a handle at -0 on an anchor at 0 is kept as it came.
    return segment.corner == 1 && std::memcmp(&segment.in, &segment.p, sizeof segment.p) == 0 &&
           std::memcmp(&segment.out, &segment.p, sizeof segment.p) == 0;
}

void PathSegments::makeWhole()
{
    if (whole_) return;
    whole_.make();
    whole_->reserve(anchors_.capacity());
    for (size_t i = 0; i < anchors_.size(); ++i) whole_->push_back(cornerSegment(anchors_[i].h, anchors_[i].v));
    std::vector<AIRealPoint>().swap(anchors_);
}

void PathSegments::read(size_t first, size_t count, AIPathSegment* out) const
{
    if (whole_) {
        std::copy_n(whole_->begin() + static_cast<std::ptrdiff_t>(first), count, out);
        return;
    }
    const AIRealPoint* anchor = anchors_.data() + first;
    for (size_t i = 0; i < count; ++i) {
        out[i].p = out[i].in = out[i].out = anchor[i];
        out[i].corner = 1;
    }
}

void PathSegments::assign(const AIPathSegment* segments, size_t count)
{
    clear();
    if (std::all_of(segments, segments + count, onAnchor)) {
        anchors_.reserve(count);
        for (size_t i = 0; i < count; ++i) anchors_.push_back(segments[i].p);
    } else {
        makeWhole();
        whole_->assign(segments, segments + count);
    }
}

void PathSegments::reserve(size_t count)
{
    if (whole_)
        whole_->reserve(count);
    else
        anchors_.reserve(count);
}

void PathSegments::push_back(const AIPathSegment& segment)
{
    if (!whole_ && onAnchor(segment)) {
        anchors_.push_back(segment.p);
        return;
    }
    makeWhole();
    whole_->push_back(segment);
}

void PathSegments::set(size_t i, const AIPathSegment& segment)
{
    if (!whole_ && onAnchor(segment)) {
        anchors_[i] = segment.p;
        return;
    }
    makeWhole();
    (*whole_)[i] = segment;
}

void PathSegments::insert(size_t at, const AIPathSegment* first, size_t count)
{
    if (!whole_ && std::all_of(first, first + count, onAnchor)) {
        std::vector<AIRealPoint> points;
        points.reserve(count);
        for (size_t i = 0; i < count; ++i) points.push_back(first[i].p);
        anchors_.insert(anchors_.begin() + static_cast<std::ptrdiff_t>(at), points.begin(), points.end());
        return;
    }
    makeWhole();
    whole_->insert(whole_->begin() + static_cast<std::ptrdiff_t>(at), first, first + count);
}

void PathSegments::resize(size_t count, const AIPathSegment& fill)
{
    if (count > size() && !onAnchor(fill)) makeWhole();
    if (whole_)
        whole_->resize(count, fill);
    else
        anchors_.resize(count, fill.p);
}

void PathSegments::clear()
{
    std::vector<AIRealPoint>().swap(anchors_);
    whole_ = HeldApart<std::vector<AIPathSegment>>();
}

// ---- Shared styles ----------------------------------------------------------------

const AIPathStyle& SharedPathStyle::zeroStyle()
{
    static const AIPathStyle zero{};
    return zero;
}

SharedPathStyle& SharedPathStyle::operator=(const AIPathStyle& style)
{
    // Bytes alike are values alike: a path sharing a block reads back the
    // very bytes it was given. Styles alike but for padding merely miss
    // sharing.
    auto same = [&style](const AIPathStyle& held) { return std::memcmp(&held, &style, sizeof style) == 0; };
    if (held_ && same(*held_)) return *this;
    // The few styles last made, one of which a new path most often has:
    // a job's art is read (or made) path after path with the default style
    // first, then its own.
    thread_local std::shared_ptr<AIPathStyle> recent[4];
    thread_local size_t next = 0;
    for (const auto& r : recent)
        if (r && same(*r)) {
            held_ = r;
            return *this;
        }
    held_ = std::make_shared<AIPathStyle>(style);
    recent[next] = held_;
    next = (next + 1) % std::size(recent);
    return *this;
}

AIPathStyle& SharedPathStyle::edit()
{
    // One owner and no one else (the recent styles hold a share too): write
    // in place; else a copy of its own first.
    if (!held_)
        held_ = std::make_shared<AIPathStyle>(zeroStyle());
    else if (held_.use_count() > 1)
        held_ = std::make_shared<AIPathStyle>(*held_);
    return *held_;
}

AIPathSegment cornerSegment(AIReal x, AIReal y)
{
    AIPathSegment s{};
    s.p = s.in = s.out = AIRealPoint{x, y};
    s.corner = 1;
    return s;
}

AIPathStyle defaultPathStyle()
{
    // New paths are outlines: no fill, a black stroke of one point.
    AIPathStyle style{};
    style.fillPaint = 0;
    style.fill.color.kind = kNoneColor;
    style.strokePaint = 1;
    style.stroke.color.kind = kGrayColor;
    style.stroke.color.c.g.gray = 1.0f;
    style.stroke.width = 1.0f;
    style.stroke.miterLimit = 4.0f;
    return style;
}

ArtNode* Document::newArt(int16_t type)
{
    auto node = std::make_unique<ArtNode>();
    node->id = store_.nextId();
    node->type = type;
    node->style = defaultPathStyle();
    if (type == kTextFrameArt) node->textFrame.make();
    ArtNode* raw = node.get();
    if (art_.empty() && firstArtId_ == 0) firstArtId_ = raw->id;
    size_t slot = raw->id - firstArtId_;
    if (slot >= art_.size()) art_.resize(slot + 1);
    art_[slot] = std::move(node);
    return raw;
}

void Document::detach(ArtNode* node)
{
    ArtNode* parent = node->parent;
    if (!parent) return;
    ArtChildren& list = parent->children;
    (node->prior ? node->prior->next : list.first_) = node->next;
    (node->next ? node->next->prior : list.last_) = node->prior;
    --list.count_;
    node->parent = node->next = node->prior = nullptr;
}

void Document::link(ArtNode* parent, ArtNode* node, ArtNode* before)
{
    ArtChildren& list = parent->children;
    ArtNode* after = before ? before->prior : list.last_;
    node->parent = parent;
    node->next = before;
    node->prior = after;
    (after ? after->next : list.first_) = node;
    (before ? before->prior : list.last_) = node;
    ++list.count_;
}

void Document::setLayer(ArtNode* node, LayerNode* layer)
{
    // Everything inside a node is on the node's layer, so a subtree already
    // there needs no walk.
    if (node->layer == layer) return;
    node->layer = layer;
    for (ArtNode* c : node->children) setLayer(c, layer);
}

static bool isContainer(const ArtNode* n) { return n->type == kGroupArt || n->type == kCompoundPathArt; }

static bool contains(const ArtNode* ancestor, const ArtNode* node)
{
    for (const ArtNode* n = node; n; n = n->parent)
        if (n == ancestor) return true;
    return false;
}

ASErr Document::place(ArtNode* node, int16_t paintOrder, ArtNode* prep)
{
    ArtNode* parent = nullptr;
    ArtNode* before = nullptr;  // the child the node goes in front of; null: at the back
    switch (paintOrder) {
    case kPlaceAbove:
    case kPlaceBelow:
        if (!prep || !prep->parent) return kBadArtErr;
        parent = prep->parent;
        before = paintOrder == kPlaceAbove ? prep : prep->next;
        break;
    case kPlaceInsideOnTop:
    case kPlaceInsideOnBottom:
        if (!prep) return kBadArtErr;
        if (!isContainer(prep)) return kWrongArtTypeErr;
        parent = prep;
        before = paintOrder == kPlaceInsideOnTop ? prep->children.front() : nullptr;
        break;
    case kPlaceAboveAll:
    case kPlaceBelowAll:
        // There is no current layer only once the last one is deleted: the
        // art needs a layer again, and the new one becomes the current one.
        if (!current_) insertLayer(0, "Layer 1");
        parent = current_->root;
        before = paintOrder == kPlaceAboveAll ? parent->children.front() : nullptr;
        break;
    default:
        return kBadPaintOrderErr;
    }
    if (node->isLayerGroup || contains(node, parent)) return kBadParameterErr;
    if (parent->type == kCompoundPathArt && node->type != kPathArt) return kWrongArtTypeErr;
    if (prep == node && (paintOrder == kPlaceAbove || paintOrder == kPlaceBelow)) return kNoErr;  // stays put
    // Placed next to itself: the place is beside the node once it is taken out.
    if (before == node) before = node->next;
    detach(node);
    link(parent, node, before);
    setLayer(node, parent->layer);
    return kNoErr;
}

void Document::forget(ArtNode* node)
{
    // Each child is gone once forgotten: step to the next one first.
    for (ArtNode* c = node->children.front(); c;) {
        ArtNode* next = c->next;
        forget(c);
        c = next;
    }
    art_[node->id - firstArtId_].reset();
}

void Document::dispose(ArtNode* node)
{
    detach(node);
    forget(node);
}

ArtNode* Document::duplicate(const ArtNode* node)
{
    ArtNode* copy = newArt(node->type);
    uintptr_t id = copy->id;
    *copy = *node;  // the copy's children stay empty: links are never copied
    copy->id = id;
    copy->parent = copy->next = copy->prior = nullptr;
    copy->isLayerGroup = false;
    for (const ArtNode* c : node->children) link(copy, duplicate(c), nullptr);
    return copy;
}

void Document::setSelected(ArtNode* node, bool selected)
{
    if (selected && (node->attrs & kArtHidden)) return;
    if (selected)
        node->attrs |= kArtSelected;
    else
        node->attrs &= ~kArtSelected;
    for (ArtNode* c : node->children) setSelected(c, selected);
}

size_t Document::selectAll()
{
    size_t count = 0;
    for (LayerNode* l : layers_)
        for (ArtNode* a : l->root->children)
            if (!artHidden(a)) {
                setSelected(a, true);
                ++count;
            }
    return count;
}

// Hidden by itself, or by having only hidden members.
static bool hiddenWhole(const ArtNode* node)
{
    if (node->attrs & kArtHidden) return true;
    if (node->children.empty()) return false;
    for (const ArtNode* c : node->children)
        if (!hiddenWhole(c)) return false;
    return true;
}

bool artHidden(const ArtNode* node)
{
    if (node->layer && !node->layer->visible) return true;
    for (const ArtNode* a = node->parent; a && !a->isLayerGroup; a = a->parent)
        if (a->attrs & kArtHidden) return true;
    return hiddenWhole(node);
}

CustomColorEntry* Document::newCustomColor(const std::string& name, const AICustomColor& color)
{
    auto entry = std::make_unique<CustomColorEntry>();
    entry->id = store_.nextId();
    entry->name = name;
    entry->color = color;
    CustomColorEntry* raw = entry.get();
    customColors_.emplace(raw->id, std::move(entry));
    customColorOrder_.push_back(raw);
    return raw;
}

CustomColorEntry* Document::customColorByName(const std::string& name) const
{
    for (CustomColorEntry* c : customColorOrder_)
        if (c->name == name) return c;
    return nullptr;
}

static void collect(ArtNode* node, std::vector<ArtNode*>& out)
{
    out.push_back(node);
    for (ArtNode* c : node->children) collect(c, out);
}

std::vector<ArtNode*> Document::allArt() const
{
    std::vector<ArtNode*> out;
    for (LayerNode* l : layers_)
        for (ArtNode* c : l->root->children) collect(c, out);
    return out;
}

Document& Documents::newDocument()
{
    current_ = std::make_unique<Document>(*this);
    current_->insertLayer(0, "Layer 1");
    return *current_;
}

Documents& documents() { return Host::current().service<Documents>(); }
Document* currentDocument() { return Host::exists() ? documents().current() : nullptr; }

// ---- Geometry ------------------------------------------------------------------------------

size_t pathBezierCount(const ArtNode* path)
{
    size_t n = path->segments.size();
    if (n == 0) return 0;
    return path->closed ? n : n - 1;
}

AIRealBezier pathBezier(const ArtNode* path, size_t i)
{
    const auto& s = path->segments;
    const AIPathSegment& a = s[i];
    const AIPathSegment& b = s[(i + 1) % s.size()];
    return AIRealBezier{a.p, a.out, b.in, b.p};
}

void bezierPoint(const AIRealBezier& b, double t, double& x, double& y)
{
    double s = 1 - t;
    double w0 = s * s * s, w1 = 3 * s * s * t, w2 = 3 * s * t * t, w3 = t * t * t;
    x = w0 * b.p0.h + w1 * b.p1.h + w2 * b.p2.h + w3 * b.p3.h;
    y = w0 * b.p0.v + w1 * b.p1.v + w2 * b.p2.v + w3 * b.p3.v;
}

double bezierLength(const AIRealBezier& b)
{
    // Chords over 64 steps: far below a plotter step for sign-sized curves.
    double length = 0, px, py;
    bezierPoint(b, 0, px, py);
    for (int i = 1; i <= 64; ++i) {
        double x, y;
        bezierPoint(b, i / 64.0, x, y);
        length += std::hypot(x - px, y - py);
        px = x;
        py = y;
    }
    return length;
}

// Extremes of one coordinate of a cubic: the ends and the roots of the derivative.
static void cubicRange(double p0, double p1, double p2, double p3, double& lo, double& hi)
{
    lo = std::min(p0, p3);
    hi = std::max(p0, p3);
    double a = -p0 + 3 * p1 - 3 * p2 + p3, b = 2 * (p0 - 2 * p1 + p2), c = p1 - p0;
    double roots[2];
    int n = 0;
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12) roots[n++] = -c / b;
    } else {
        double d = b * b - 4 * a * c;
        if (d >= 0) {
            double sq = std::sqrt(d);
            roots[n++] = (-b + sq) / (2 * a);
            roots[n++] = (-b - sq) / (2 * a);
        }
    }
    for (int i = 0; i < n; ++i) {
        double t = roots[i];
        if (t <= 0 || t >= 1) continue;
        double s = 1 - t;
        double v = s * s * s * p0 + 3 * s * s * t * p1 + 3 * s * t * t * p2 + t * t * t * p3;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
}

static size_t utf8Length(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

bool artBounds(const ArtNode* node, bool withStroke, AIRealRect& bounds)
{
    bool have = false;
    switch (node->type) {
    case kPathArt: {
        const auto& s = node->segments;
        if (s.empty()) return false;
        double l = s[0].p.h, r = l, b = s[0].p.v, t = b;
        size_t count = pathBezierCount(node);
        for (size_t i = 0; i < count; ++i) {
            const AIPathSegment& from = s[i];
            const AIPathSegment& to = i + 1 < s.size() ? s[i + 1] : s[0];
            double lo, hi;
            cubicRange(from.p.h, from.out.h, to.in.h, to.p.h, lo, hi);
            l = std::min(l, lo);
            r = std::max(r, hi);
            cubicRange(from.p.v, from.out.v, to.in.v, to.p.v, lo, hi);
            b = std::min(b, lo);
            t = std::max(t, hi);
        }
        double grow = withStroke && node->style->strokePaint ? node->style->stroke.width / 2.0 : 0.0;
        bounds = AIRealRect{static_cast<AIReal>(l - grow), static_cast<AIReal>(t + grow),
                            static_cast<AIReal>(r + grow), static_cast<AIReal>(b - grow)};
        return true;
    }
    case kTextFrameArt: {
        if (layoutBounds(*node, bounds)) return true;
        // Without a font at all: an average advance of 0.6 em, ascent 0.8 em
        // and descent 0.2 em from the baseline.
        const TextFrame& f = *node->textFrame;
        double w = 0.6 * f.fontSize * utf8Length(f.text);
        bounds = AIRealRect{f.origin.h, f.origin.v + 0.8f * f.fontSize, static_cast<AIReal>(f.origin.h + w),
                            f.origin.v - 0.2f * f.fontSize};
        return true;
    }
    default:
        for (const ArtNode* c : node->children) {
            AIRealRect r;
            if (artBounds(c, withStroke, r)) uniteBoxes(bounds, r, have);
        }
        return have;
    }
}

// Area under one cubic by Green's theorem: the integrand x y' - y x' is a
// polynomial of degree 5, so three-point Gauss-Legendre is exact. The
// cubic's weights and its derivative's at each node are worked out once (by
// the same expressions as at any t, so the area is the same to the last
// bit): Plot Out measures every path of a job when it opens.
struct AreaNode {
    double weight;     // the node's weight, halved for the integrand's 1/2
    double point[4];   // of the control points, at the node
    double slope[3];   // of the control points' differences, at the node
};

static AreaNode areaNode(double node, double weight)
{
    double t = 0.5 * (node + 1), s = 1 - t;
    return AreaNode{weight * 0.5, {s * s * s, 3 * s * s * t, 3 * s * t * t, t * t * t}, {s * s, 2 * s * t, t * t}};
}

// The sum runs over the curves with the same operations, in the same order,
// as one curve after another; each curve's differences of control points are
// taken once (in the points' own precision, as before) rather than at every
// node, and its points widened to double once.
static double bezierArea(const AreaNode (&nodes)[3], const AIRealPoint& p0, const AIRealPoint& p1,
                         const AIRealPoint& p2, const AIRealPoint& p3)
{
    const double x0 = p0.h, x1 = p1.h, x2 = p2.h, x3 = p3.h;
    const double y0 = p0.v, y1 = p1.v, y2 = p2.v, y3 = p3.v;
    const AIReal ex0 = p1.h - p0.h, ex1 = p2.h - p1.h, ex2 = p3.h - p2.h;
    const AIReal ey0 = p1.v - p0.v, ey1 = p2.v - p1.v, ey2 = p3.v - p2.v;
    double sum = 0;
    for (const AreaNode& n : nodes) {
        const double* w = n.point;
        double x = w[0] * x0 + w[1] * x1 + w[2] * x2 + w[3] * x3;
        double y = w[0] * y0 + w[1] * y1 + w[2] * y2 + w[3] * y3;
        const double* d = n.slope;
        double dx = 3 * (d[0] * ex0 + d[1] * ex1 + d[2] * ex2);
        double dy = 3 * (d[0] * ey0 + d[1] * ey1 + d[2] * ey2);
        sum += n.weight * (x * dy - y * dx);
    }
    return 0.5 * sum;
}

double pathArea(const ArtNode* path)
{
    static const AreaNode nodes[3] = {areaNode(-0.7745966692414834, 5.0 / 9.0), areaNode(0.0, 8.0 / 9.0),
                                      areaNode(0.7745966692414834, 5.0 / 9.0)};
    const auto& s = path->segments;
    if (s.size() < 2) return 0;
    double area = 0;
    // Curve i runs from anchor i to the next; a closed path's last back to the first.
    size_t count = pathBezierCount(path);
    for (size_t i = 0; i < count; ++i) {
        const AIPathSegment& a = s[i];
        const AIPathSegment& b = i + 1 < s.size() ? s[i + 1] : s[0];
        area += bezierArea(nodes, a.p, a.out, b.in, b.p);
    }
    if (!path->closed) {
        const AIRealPoint& a = s.back().p;
        const AIRealPoint& b = s.front().p;
        area += 0.5 * (double(a.h) * b.v - double(b.h) * a.v);
    }
    return area;
}

static AIRealPoint apply(const AIRealMatrix& m, AIRealPoint p)
{
    double x = p.h, y = p.v;
    return AIRealPoint{static_cast<AIReal>(m.a * x + m.c * y + m.tx), static_cast<AIReal>(m.b * x + m.d * y + m.ty)};
}

void transformArt(ArtNode* node, const AIRealMatrix& m, AIReal lineScale, bool scaleLines)
{
    node->segments.transformPoints([&m](AIRealPoint p) { return apply(m, p); });
    if (node->type == kTextFrameArt) {
        TextFrame& f = *node->textFrame;
        f.origin = apply(m, f.origin);
        f.fontSize *= static_cast<AIReal>(std::sqrt(std::fabs(double(m.a) * m.d - double(m.b) * m.c)));
    }
    if (scaleLines && node->type == kPathArt) {
        // Assigned whole, so that paths scaled alike share their new style.
        AIPathStyle style = node->style;
        style.stroke.width *= lineScale;
        node->style = style;
    }
    for (ArtNode* c : node->children) transformArt(c, m, lineScale, scaleLines);
}

void copyUtf8(char* dst, size_t size, const std::string& src)
{
    if (!dst || size == 0) return;
    size_t n = std::min(src.size(), size - 1);
    // Step back over continuation bytes so a character is never cut in half.
    if (n < src.size())
        while (n > 0 && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80) --n;
    std::memcpy(dst, src.data(), n);
    dst[n] = 0;
}

}  // namespace vt::host
