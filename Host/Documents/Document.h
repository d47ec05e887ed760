// The host's documents: layers in order, each with one root group, and the art
// tree below them (groups, paths, compound paths, text frames, other art),
// with styles, string tags, the selection, the page and the view.
//
// Handles given to the plug-in are numbers, never addresses: every object gets
// a fresh number from a counter that lives as long as the host, so a handle of
// disposed art (or of art of a closed document) is never given out again and
// looking it up fails cleanly instead of touching freed memory.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "AllSuites.h"

namespace vt::host {

struct LayerNode;
struct ArtNode;

// The children of a group or compound path, front-most first: a doubly linked
// list threaded through the children (ArtNode::next and ArtNode::prior), so
// that the first and last child, a sibling either way and the parent are each
// one step away, and putting art in or taking it out costs the same wherever it
// goes, however many children a group has. Reads like a container; only
// Document links and unlinks. Copying a node never copies its place in a
// tree: a copied list starts empty.
class ArtChildren {
public:
    class iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = ArtNode*;
        using difference_type = std::ptrdiff_t;
        using pointer = ArtNode* const*;
        // By value: a reverse iterator reads through a copy of its base,
        // which a reference into the copy would outlive.
        using reference = ArtNode*;

        iterator() = default;
        iterator(ArtNode* node, const ArtChildren* list) : node_(node), list_(list) {}
        ArtNode* operator*() const { return node_; }
        iterator& operator++();
        iterator operator++(int)
        {
            iterator old = *this;
            ++*this;
            return old;
        }
        iterator& operator--();  // from end(): the last child
        iterator operator--(int)
        {
            iterator old = *this;
            --*this;
            return old;
        }
        bool operator==(const iterator& o) const { return node_ == o.node_; }
        bool operator!=(const iterator& o) const { return node_ != o.node_; }

    private:
        ArtNode* node_ = nullptr;
        const ArtChildren* list_ = nullptr;
    };
    using const_iterator = iterator;
    using reverse_iterator = std::reverse_iterator<iterator>;

    ArtChildren() = default;
    ArtChildren(const ArtChildren&) {}
    ArtChildren& operator=(const ArtChildren&) { return *this; }

    iterator begin() const { return iterator(first_, this); }
    iterator end() const { return iterator(nullptr, this); }
    reverse_iterator rbegin() const { return reverse_iterator(end()); }
    reverse_iterator rend() const { return reverse_iterator(begin()); }
    bool empty() const { return first_ == nullptr; }
    size_t size() const { return count_; }
    ArtNode* front() const { return first_; }
    ArtNode* back() const { return last_; }

private:
    friend class Document;
    ArtNode* first_ = nullptr;
    ArtNode* last_ = nullptr;
    size_t count_ = 0;
};

// What a text frame holds besides what all art holds: its text, the baseline
// start of the text, its size and font.
struct TextFrame {
    std::string text;
    AIRealPoint origin{0, 0};
    AIReal fontSize = 12;
    std::string fontFamily;
};

// An object in a block of its own that is copied with its owner: fields only
// some kinds of art use are held apart from the node, so that each of the many
// paths of a job carries a pointer in their place.
template <typename T>
class HeldApart {
public:
    HeldApart() = default;
    HeldApart(const HeldApart& other) : held_(other.held_ ? std::make_unique<T>(*other.held_) : nullptr) {}
    HeldApart& operator=(const HeldApart& other)
    {
        held_ = other.held_ ? std::make_unique<T>(*other.held_) : nullptr;
        return *this;
    }
    HeldApart(HeldApart&&) noexcept = default;
    HeldApart& operator=(HeldApart&&) noexcept = default;

    void make() { held_ = std::make_unique<T>(); }
    explicit operator bool() const { return held_ != nullptr; }
    T* operator->() const { return held_.get(); }
    T& operator*() const { return *held_; }

private:
    std::unique_ptr<T> held_;
};

// A path's anchors with their handles. Most paths of a large job are straight
// polylines, every handle on its anchor: such a path keeps its anchors alone,
// a third of the room of whole segments. The first segment written with a
// handle off its anchor (or not a corner) turns the path to whole segments.
// Either way every read gives back, bit for bit, the segment last written
// there. Segments are read by value: write them back with set().
class PathSegments {
public:
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = AIPathSegment;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = const AIPathSegment;

        const_iterator() = default;
        const_iterator(const PathSegments* list, size_t at) : list_(list), at_(at) {}
        reference operator*() const { return (*list_)[at_]; }
        reference operator[](difference_type n) const { return (*list_)[at_ + n]; }
        const_iterator& operator++() { ++at_; return *this; }
        const_iterator operator++(int) { const_iterator old = *this; ++at_; return old; }
        const_iterator& operator--() { --at_; return *this; }
        const_iterator operator--(int) { const_iterator old = *this; --at_; return old; }
        const_iterator& operator+=(difference_type n) { at_ += n; return *this; }
        const_iterator& operator-=(difference_type n) { at_ -= n; return *this; }
        const_iterator operator+(difference_type n) const { return const_iterator(list_, at_ + n); }
        friend const_iterator operator+(difference_type n, const const_iterator& i) { return i + n; }
        const_iterator operator-(difference_type n) const { return const_iterator(list_, at_ - n); }
        difference_type operator-(const const_iterator& o) const
        {
            return static_cast<difference_type>(at_) - static_cast<difference_type>(o.at_);
        }
        bool operator==(const const_iterator& o) const { return at_ == o.at_; }
        bool operator!=(const const_iterator& o) const { return at_ != o.at_; }
        bool operator<(const const_iterator& o) const { return at_ < o.at_; }
        bool operator>(const const_iterator& o) const { return at_ > o.at_; }
        bool operator<=(const const_iterator& o) const { return at_ <= o.at_; }
        bool operator>=(const const_iterator& o) const { return at_ >= o.at_; }

    private:
        const PathSegments* list_ = nullptr;
        size_t at_ = 0;
    };
    using iterator = const_iterator;

    PathSegments() = default;
    PathSegments(std::initializer_list<AIPathSegment> segments) { assign(segments.begin(), segments.size()); }
    PathSegments(const std::vector<AIPathSegment>& segments) { assign(segments.data(), segments.size()); }
    PathSegments& operator=(std::initializer_list<AIPathSegment> segments)
    {
        assign(segments.begin(), segments.size());
        return *this;
    }
    PathSegments& operator=(const std::vector<AIPathSegment>& segments)
    {
        assign(segments.data(), segments.size());
        return *this;
    }

    size_t size() const { return whole_ ? whole_->size() : anchors_.size(); }
    bool empty() const { return size() == 0; }
    // Returned const, so that a write into the copy fails to compile
    // instead of being lost.
    const AIPathSegment operator[](size_t i) const
    {
        if (whole_) return (*whole_)[i];
        AIPathSegment s{};
        s.p = s.in = s.out = anchors_[i];
        s.corner = 1;
        return s;
    }
    const AIPathSegment front() const { return (*this)[0]; }
    const AIPathSegment back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }
    std::vector<AIPathSegment> toVector() const { return std::vector<AIPathSegment>(begin(), end()); }
    // Whether the path keeps its anchors alone.
    bool anchorsOnly() const { return !whole_; }

    // count segments from first on into out.
    void read(size_t first, size_t count, AIPathSegment* out) const;
    void assign(const AIPathSegment* segments, size_t count);
    void reserve(size_t count);
    void push_back(const AIPathSegment& segment);
    void set(size_t i, const AIPathSegment& segment);
    // count segments read from first on, put in front of segment `at`.
    void insert(size_t at, const AIPathSegment* first, size_t count);
    // New segments are copies of fill.
    void resize(size_t count, const AIPathSegment& fill);
    void clear();
    // Moves every point, anchors and handles alike, through f. A handle that
    // lay on its anchor lies on it still: f gives the same point for the
    // same bits.
    template <typename F>
    void transformPoints(F f)
    {
        for (AIRealPoint& p : anchors_) p = f(p);
        if (whole_)
            for (AIPathSegment& s : *whole_) {
                s.p = f(s.p);
                s.in = f(s.in);
                s.out = f(s.out);
            }
    }

private:
    static bool onAnchor(const AIPathSegment& segment);
    void makeWhole();

    // The anchors alone, empty once the path holds whole segments; those are
    // held apart, so that a polyline carries a pointer in their place.
    std::vector<AIRealPoint> anchors_;
    HeldApart<std::vector<AIPathSegment>> whole_;
};

// A path's style, shared by the paths that have the same one: most paths of
// a job have one of a few styles, a hundred bytes each. Written through
// edit() or by assignment, a path's style is its own again first (copy on
// write), so a write never shows in another path.
class SharedPathStyle {
public:
    SharedPathStyle() = default;
    SharedPathStyle& operator=(const AIPathStyle& style);
    const AIPathStyle& get() const { return held_ ? *held_ : zeroStyle(); }
    operator const AIPathStyle&() const { return get(); }
    const AIPathStyle* operator->() const { return &get(); }
    AIPathStyle& edit();
    // Whether two paths hold the very same block (tests).
    bool sharedWith(const SharedPathStyle& other) const { return held_ && held_ == other.held_; }

private:
    static const AIPathStyle& zeroStyle();
    // Null: every field zero, as a style made with {} is.
    std::shared_ptr<AIPathStyle> held_;
};

// Fields in falling order of alignment: a path's node is one of tens of
// thousands in a large job.
struct ArtNode {
    uintptr_t id = 0;
    ArtNode* parent = nullptr;
    ArtChildren children;     // first = front-most
    ArtNode* next = nullptr;  // the sibling behind this one, or null
    ArtNode* prior = nullptr; // the sibling in front of this one, or null
    LayerNode* layer = nullptr;
    std::string name;  // the SVG id

    // Paths.
    PathSegments segments;
    SharedPathStyle style;

    // Text frames only: made with the frame (Document::newArt), null in any
    // other kind of art.
    HeldApart<TextFrame> textFrame;

    int32_t attrs = 0;
    int16_t type = kUnknownArt;
    // Bits, so that the node fits a smaller block.
    bool isLayerGroup : 1;
    bool closed : 1;  // paths
    bool guide : 1;   // paths

    ArtNode() : isLayerGroup(false), closed(false), guide(false) {}

    using TagList = std::vector<std::pair<std::string, std::string>>;
    // String tags, kept in the order they were first set.
    const TagList& tags() const;
    const std::string* tag(const std::string& tagName) const;
    void setTag(const std::string& tagName, const std::string& value);
    // False when the art has no such tag.
    bool removeTag(const std::string& tagName);

private:
    // Held apart: most art has none.
    HeldApart<TagList> tags_;
};

struct LayerNode {
    uintptr_t id = 0;
    std::string title;
    AIRGBColor color{0x4f4f, 0x8080, 0xffff};
    bool visible = true;
    ArtNode* root = nullptr;
};

struct CustomColorEntry {
    uintptr_t id = 0;
    std::string name;
    AICustomColor color{};
};

class Documents;

class Document {
public:
    explicit Document(Documents& store);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Lookups; null for anything that is not a live object of this document.
    ArtNode* art(AIArtHandle handle) const;
    LayerNode* layer(AILayerHandle handle) const;
    CustomColorEntry* customColor(AICustomColorHandle handle) const;
    static AIArtHandle handle(const ArtNode* node);
    static AILayerHandle handle(const LayerNode* layer);
    static AICustomColorHandle handle(const CustomColorEntry* color);

    // Layers, index 0 the top one.
    const std::vector<LayerNode*>& layers() const { return layers_; }
    LayerNode* currentLayer() const { return current_; }
    void setCurrentLayer(LayerNode* layer) { current_ = layer; }
    // index: position in the list, 0 = top; -1 = below all (the end).
    LayerNode* insertLayer(int index, const std::string& title);
    int layerIndex(const LayerNode* layer) const;
    void deleteLayer(LayerNode* layer);
    LayerNode* layerByTitle(const std::string& title) const;

    // Art. newArt makes a detached object; place() puts it in the tree.
    ArtNode* newArt(int16_t type);
    ASErr place(ArtNode* node, int16_t paintOrder, ArtNode* prep);
    void dispose(ArtNode* node);
    ArtNode* duplicate(const ArtNode* node);
    // Selects or deselects the art and everything inside it. Hidden art is
    // never selected (the user cannot see it to pick it): selecting leaves
    // it, and what it holds, as it was.
    void setSelected(ArtNode* node, bool selected);
    // Select All: selects every top-level object of every layer that the
    // user can see (artHidden below); returns how many were selected.
    size_t selectAll();

    CustomColorEntry* newCustomColor(const std::string& name, const AICustomColor& color);
    CustomColorEntry* customColorByName(const std::string& name) const;
    const std::vector<CustomColorEntry*>& customColors() const { return customColorOrder_; }

    // Every art object of the tree (layer groups left out), in tree order:
    // layers from the top one, each group before its children.
    std::vector<ArtNode*> allArt() const;

    AIRealRect page{0, 841.8898f, 595.2756f, 0};  // A4 portrait
    AIReal zoom = 1.0f;
    AIRealPoint center{297.6378f, 420.9449f};
    std::string fileName;

private:
    void detach(ArtNode* node);
    // Links a detached node into parent's children in front of `before`
    // (null: at the back).
    static void link(ArtNode* parent, ArtNode* node, ArtNode* before);
    void setLayer(ArtNode* node, LayerNode* layer);
    void forget(ArtNode* node);

    Documents& store_;
    // The art by id: a slot for each id from the first one this document
    // gave art on (ids rise), null where the id is no live art of this
    // document (disposed art, a layer's or a colour's id).
    std::vector<std::unique_ptr<ArtNode>> art_;
    uintptr_t firstArtId_ = 0;
    std::unordered_map<uintptr_t, std::unique_ptr<LayerNode>> layerStore_;
    std::unordered_map<uintptr_t, std::unique_ptr<CustomColorEntry>> customColors_;
    std::vector<LayerNode*> layers_;
    std::vector<CustomColorEntry*> customColorOrder_;
    LayerNode* current_ = nullptr;
};

// The session's documents: at most one open, the current one. Hangs off the
// host as a service (Host::service<Documents>()).
class Documents {
public:
    Document* current() const { return current_.get(); }
    Document& newDocument();  // replaces any open document; one layer "Layer 1"
    void adopt(std::unique_ptr<Document> document) { current_ = std::move(document); }
    void close() { current_.reset(); }
    uintptr_t nextId() { return ++lastId_; }

private:
    std::unique_ptr<Document> current_;
    uintptr_t lastId_ = 0;
};

Documents& documents();  // of the current host
Document* currentDocument();

// Whether the user sees nothing of the art: it is hidden (kArtHidden), lies
// inside hidden art or on a hidden layer, or is a group or compound path all
// of whose members are hidden. Hidden art is kept and saved like any other;
// it is only never selected, so it is never cut.
bool artHidden(const ArtNode* node);

// ---- Geometry of art --------------------------------------------------------------

// Bounds of painted art; false when the art paints nothing (an empty group,
// a path without anchors).
bool artBounds(const ArtNode* node, bool withStroke, AIRealRect& bounds);
// Signed area, counter-clockwise positive, closing chord included.
double pathArea(const ArtNode* path);
// The cubic from anchor i to the next one (anchor 0 after the last).
AIRealBezier pathBezier(const ArtNode* path, size_t i);
size_t pathBezierCount(const ArtNode* path);
void bezierPoint(const AIRealBezier& b, double t, double& x, double& y);
double bezierLength(const AIRealBezier& b);
void transformArt(ArtNode* node, const AIRealMatrix& m, AIReal lineScale, bool scaleLines);

// Anchor whose handles lie on it.
AIPathSegment cornerSegment(AIReal x, AIReal y);
AIPathStyle defaultPathStyle();

// Copies text of at most size - 1 bytes, cut on a UTF-8 character boundary,
// always terminated (nothing written when size is 0).
void copyUtf8(char* dst, size_t size, const std::string& src);

// Grows a box (y upwards: top above bottom) to take in another; the first one
// taken in, while `have` is false, is the box.
template <typename Box>
void uniteBoxes(Box& box, const Box& other, bool& have)
{
    if (!have) {
        box = other;
        have = true;
        return;
    }
    box.left = std::min(box.left, other.left);
    box.right = std::max(box.right, other.right);
    box.top = std::max(box.top, other.top);
    box.bottom = std::min(box.bottom, other.bottom);
}

}  // namespace vt::host
