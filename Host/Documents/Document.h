// The host's documents: layers in order, each with one root group, and the art
// tree below them (groups, paths, compound paths, text frames, other art),
// with styles, string tags, the selection, the page and the view.
//
// Handles given to the plug-in are numbers, never addresses: every object gets
// a fresh number from a counter that lives as long as the host, so a handle of
// disposed art (or of art of a closed document) is never given out again and
// looking it up fails cleanly instead of touching freed memory.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "AllSuites.h"

namespace vt::host {

struct LayerNode;

struct ArtNode {
    uintptr_t id = 0;
    int16_t type = kUnknownArt;
    ArtNode* parent = nullptr;
    std::vector<ArtNode*> children;  // first = front-most
    LayerNode* layer = nullptr;
    bool isLayerGroup = false;
    int32_t attrs = 0;
    std::string name;  // the SVG id

    // Paths.
    std::vector<AIPathSegment> segments;
    bool closed = false;
    bool guide = false;
    AIPathStyle style{};

    // Text frames: the baseline start of the text, its size and font.
    std::string text;
    AIRealPoint textOrigin{0, 0};
    AIReal fontSize = 12;
    std::string fontFamily;

    // String tags, kept in the order they were first set.
    std::vector<std::pair<std::string, std::string>> tags;

    const std::string* tag(const std::string& tagName) const;
    void setTag(const std::string& tagName, const std::string& value);
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
    void setSelected(ArtNode* node, bool selected);

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
    void setLayer(ArtNode* node, LayerNode* layer);
    void forget(ArtNode* node);

    Documents& store_;
    std::unordered_map<uintptr_t, std::unique_ptr<ArtNode>> art_;
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

}  // namespace vt::host
