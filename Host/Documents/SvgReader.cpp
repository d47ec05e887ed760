// Reading SVG files into the host's documents: the page, layers and groups,
// the walk over the elements, and the file itself.
#include <pugixml.hpp>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <sstream>

#include "Documents/Svg.h"
#include "Documents/SvgReading.h"
#include "Documents/XmlText.h"
#include "OutputFile.h"

namespace vt::host {
namespace svg {
namespace {

// Length of the root's width/height in points (CSS: 96 px to the inch).
std::optional<double> rootLengthPt(const pugi::xml_attribute& attr)
{
    if (!attr) return std::nullopt;
    Text text = attr.value();
    if (text.find('%') != Text::npos) return std::nullopt;
    Scanner s(attr.value());
    double v;
    if (!s.number(v) || v <= 0) return std::nullopt;
    return toUserUnits(text, v) * 72.0 / 96.0;
}

// Shapes, text and the groups that hold them; anything else (defs,
// metadata, title, style, images ...) is not read.
Tag tagOf(const pugi::xml_node& n)
{
    static const struct {
        const char* name;
        Tag tag;
    } kTags[] = {{"path", Tag::kPath},       {"g", Tag::kGroup},        {"rect", Tag::kRect},
                 {"circle", Tag::kCircle},   {"ellipse", Tag::kEllipse}, {"line", Tag::kLine},
                 {"polyline", Tag::kPolyline}, {"polygon", Tag::kPolygon}, {"text", Tag::kText},
                 {"a", Tag::kGroup},         {"switch", Tag::kGroup}};
    const char* name = localName(n);
    for (const auto& t : kTags)
        if (std::strcmp(name, t.name) == 0) return t.tag;
    return Tag::kOther;
}

// The same point to the bit: placed the same, whatever the matrix.
bool samePoint(const Point& a, const Point& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// An anchor is a corner unless its handles lie on one line through it.
bool isCorner(const SubPath::Anchor& a)
{
    // A handle on its anchor (every anchor of straight lines) makes a corner.
    if (samePoint(a.in, a.p) || samePoint(a.out, a.p)) return true;
    double ix = a.in.x - a.p.x, iy = a.in.y - a.p.y, ox = a.out.x - a.p.x, oy = a.out.y - a.p.y;
    double li = std::hypot(ix, iy), lo = std::hypot(ox, oy);
    if (li < 1e-9 || lo < 1e-9) return true;
    // Smooth when the handles point in opposite directions.
    return (ix * ox + iy * oy) / (li * lo) > -0.9999;
}

}  // namespace

const char* localName(const pugi::xml_node& n)
{
    const char* name = n.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_parse_result Reader::parse(const std::string& text)
{
    refuseWhatXmlForbids(text.data(), text.size());
    return xml_.load_buffer(text.data(), text.size(), pugi::parse_default);
}

pugi::xml_parse_result Reader::parseInPlace(char* buffer, size_t size)
{
    try {
        refuseWhatXmlForbids(buffer, size);
    } catch (...) {
        pugi::get_memory_deallocation_function()(buffer);  // not yet pugixml's
        throw;
    }
    return xml_.load_buffer_inplace_own(buffer, size, pugi::parse_default);
}

std::unique_ptr<Document> Reader::read(const pugi::xml_parse_result& result)
{
    if (!result) fail(result.offset, std::string("not well-formed XML: ") + result.description());
    pugi::xml_node root = xml_.document_element();
    if (std::strcmp(localName(root), "svg") != 0) fail(root.offset_debug(), "the root element is not <svg>");
    setUpPage(root);
    readCustomColors(root);
    Style style;
    applyStyle(root, styleProperties(root), style);
    // The SVG draws its first child first (at the back); layers are kept
    // top first, so each new layer goes above the ones read before.
    LayerNode* loose = nullptr;
    for (pugi::xml_node child : root.children()) {
        if (child.type() != pugi::node_element) continue;
        Tag tag = tagOf(child);
        if (std::strcmp(localName(child), "g") == 0) {
            LayerNode* layer = doc_->insertLayer(0, layerTitle(child));
            loose = nullptr;
            Properties props = styleProperties(child);
            readLayerAttributes(child, props, *layer);
            Style s = style;
            applyStyle(child, props, s);
            Matrix m = root_ * transformOf(child);
            checkMatrix(child, m);
            readChildren(child, layer->root, m, s, 1);
            continue;
        }
        if (tag == Tag::kOther) continue;
        if (!loose) {
            std::string title = "Layer 1";
            for (int i = 2; doc_->layerByTitle(title); ++i) title = "Layer " + std::to_string(i);
            loose = doc_->insertLayer(0, title);
        }
        readElement(child, loose->root, root_, style, 0);
    }
    if (doc_->layers().empty()) doc_->insertLayer(0, "Layer 1");
    doc_->setCurrentLayer(doc_->layers().front());
    doc_->fileName = name_;
    return std::move(doc_);
}

void Reader::setUpPage(const pugi::xml_node& root)
{
    double minX = 0, minY = 0, vbW = 0, vbH = 0;
    bool haveViewBox = false;
    if (pugi::xml_attribute vb = root.attribute("viewBox")) {
        Scanner s(vb.value());
        haveViewBox = s.number(minX) && s.number(minY) && s.number(vbW) && s.number(vbH) && vbW > 0 && vbH > 0;
        if (!haveViewBox) fail(root.offset_debug(), "bad viewBox \"" + std::string(vb.value()) + "\"");
    }
    std::optional<double> w = rootLengthPt(root.attribute("width")), h = rootLengthPt(root.attribute("height"));
    if (!haveViewBox) {
        // Without a viewBox user units are CSS pixels.
        vbW = w ? *w * 96.0 / 72.0 : 800;
        vbH = h ? *h * 96.0 / 72.0 : 600;
    }
    double widthPt = w ? *w : (h ? *h * vbW / vbH : vbW * 0.75);
    double heightPt = h ? *h : (w ? *w * vbH / vbW : vbH * 0.75);
    for (double v : {minX, minY, vbW, vbH, widthPt, heightPt})
        if (!std::isfinite(v) || std::fabs(v) > kMaxReach)
            fail(root.offset_debug(), describe(root) + ": the page size or viewBox is " +
                                          (std::isfinite(v) ? "beyond the 100 m a cutter can reach"
                                                            : "not a finite number"));
    // The page is kept in single precision: one too small to hold there
    // would be saved as a page of no size, which no reader takes back.
    if (!(static_cast<AIReal>(widthPt) > 0 && static_cast<AIReal>(heightPt) > 0))
        fail(root.offset_debug(), describe(root) + ": the page size is too small to hold anything");
    double sx = widthPt / vbW, sy = heightPt / vbH;
    // y flips: the top of the viewBox is the top of the page.
    root_ = Matrix{sx, 0, 0, -sy, -minX * sx, (minY + vbH) * sy};
    doc_->page = AIRealRect{0, static_cast<AIReal>(heightPt), static_cast<AIReal>(widthPt), 0};
    doc_->center = AIRealPoint{static_cast<AIReal>(widthPt / 2), static_cast<AIReal>(heightPt / 2)};
}

void Reader::readCustomColors(const pugi::xml_node& root)
{
    // data-vt-custom-N="NAME|cmyk C M Y K" or "NAME|rgb R G B"
    for (int i = 0;; ++i) {
        pugi::xml_attribute a = root.attribute(("data-vt-custom-" + std::to_string(i)).c_str());
        if (!a) break;
        std::string v = a.value();
        size_t bar = v.rfind('|');
        if (bar == std::string::npos) fail(root.offset_debug(), "bad custom colour \"" + v + "\"");
        std::istringstream in(v.substr(bar + 1));
        in.imbue(std::locale::classic());
        std::string kind;
        in >> kind;
        AICustomColor c{};
        double x[4] = {0, 0, 0, 0};
        if (kind == "cmyk" && in >> x[0] >> x[1] >> x[2] >> x[3]) {
            c.kind = kCustomFourColor;
            c.c.f = {AIReal(x[0]), AIReal(x[1]), AIReal(x[2]), AIReal(x[3])};
        } else if (kind == "rgb" && in >> x[0] >> x[1] >> x[2]) {
            c.kind = kCustomThreeColor;
            c.c.rgb = {AIReal(x[0]), AIReal(x[1]), AIReal(x[2])};
        } else if (kind == "lab" && in >> x[0] >> x[1] >> x[2]) {
            c.kind = kCustomLabColor;
            c.c.lab = {AIReal(x[0]), AIReal(x[1]), AIReal(x[2])};
        } else {
            fail(root.offset_debug(), "bad custom colour \"" + v + "\"");
        }
        doc_->newCustomColor(v.substr(0, bar), c);
    }
}

std::string Reader::layerTitle(const pugi::xml_node& g)
{
    for (const char* a : {"inkscape:label", "data-name", "id"})
        if (pugi::xml_attribute attr = g.attribute(a)) return attr.value();
    return "Layer " + std::to_string(doc_->layers().size() + 1);
}

void Reader::readLayerAttributes(const pugi::xml_node& g, const Properties& props, LayerNode& layer)
{
    if (pugi::xml_attribute c = g.attribute("data-vt-layer-color")) {
        unsigned r, gg, b;
        if (std::sscanf(c.value(), "%u %u %u", &r, &gg, &b) == 3)
            layer.color = AIRGBColor{uint16_t(r), uint16_t(gg), uint16_t(b)};
    }
    if (props.is(kDisplayProperty, "none") || props.is(kVisibilityProperty, "hidden")) layer.visible = false;
    readTags(g, *layer.root);
}

Matrix Reader::transformOf(const pugi::xml_node& node)
{
    pugi::xml_attribute t = node.attribute("transform");
    if (!t) return Matrix{};
    size_t bad;
    Matrix m = parseTransform(t.value(), bad);
    if (bad != std::string::npos)
        fail(node.offset_debug(), "bad transform \"" + std::string(t.value()) + "\" at character " +
                                      std::to_string(bad + 1));
    checkMatrix(node, m);
    return m;
}

void Reader::applyStyle(const pugi::xml_node& node, const Properties& props, Style& style)
{
    auto get = [&](Property k) -> const Text* {
        const Text* v = props.get(k);
        return v && *v == "inherit" ? nullptr : v;
    };
    if (auto v = get(kFillProperty)) {
        style.fill = *v;
        style.fillKind = Text();
    }
    if (auto v = get(kStrokeProperty)) {
        style.stroke = *v;
        style.strokeKind = Text();
    }
    if (pugi::xml_attribute a = node.attribute("data-vt-fill")) style.fillKind = a.value();
    if (pugi::xml_attribute a = node.attribute("data-vt-stroke")) style.strokeKind = a.value();
    if (auto v = get(kStrokeWidthProperty)) style.strokeWidth = toUserUnits(*v, style.strokeWidth, 1);
    if (auto v = get(kFillRuleProperty)) style.fillRule = *v;
    if (auto v = get(kFontSizeProperty)) style.fontSize = toUserUnits(*v, style.fontSize, style.fontSize);
    if (auto v = get(kFontFamilyProperty)) style.fontFamily = *v;
    if (auto v = get(kLineCapProperty)) style.lineCap = *v;
    if (auto v = get(kLineJoinProperty)) style.lineJoin = *v;
    if (auto v = get(kMiterLimitProperty)) style.miterLimit = toUserUnits(*v, style.miterLimit);
    checkLength(node, "stroke width", style.strokeWidth);
    checkLength(node, "font size", style.fontSize);
    checkLength(node, "stroke miter limit", style.miterLimit);
}

// The tag of the element with this id ("linearGradient", "pattern" ...),
// empty when none has it. The first in the file wins, as a search from
// the top finds it; the ids are gathered once, on the first reference.
std::string Reader::kindOf(Text id)
{
    if (id.empty()) {
        // Matches the first node without an id.
        pugi::xml_node n = xml_.find_node([](pugi::xml_node x) { return *x.attribute("id").value() == 0; });
        return n ? n.name() : "";
    }
    if (!idsIndexed_) {
        for (pugi::xml_node n = xml_.first_child(); n;) {
            if (pugi::xml_attribute a = n.attribute("id")) ids_.emplace(a.value(), n);
            if (n.first_child()) {
                n = n.first_child();
                continue;
            }
            while (n && !n.next_sibling()) n = n.parent();
            if (n) n = n.next_sibling();
        }
        idsIndexed_ = true;
    }
    auto it = ids_.find(id);
    return it == ids_.end() ? "" : it->second.name();
}

AIPathStyle Reader::pathStyle(const pugi::xml_node& node, const Style& s, const Matrix& m)
{
    AIPathStyle style = defaultPathStyle();
    Paint fill, stroke;
    std::function<std::string(Text)> kindOf = [this](Text id) { return this->kindOf(id); };
    if (!parsePaint(s.fill, kindOf, fill))
        fail(node.offset_debug(), "unknown fill colour \"" + std::string(s.fill) + "\"");
    if (!parsePaint(s.stroke, kindOf, stroke))
        fail(node.offset_debug(), "unknown stroke colour \"" + std::string(s.stroke) + "\"");
    if (fill.on && !s.fillKind.empty() && !parseKindPaint(std::string(s.fillKind), *doc_, fill))
        fail(node.offset_debug(), "bad data-vt-fill \"" + std::string(s.fillKind) + "\"");
    if (stroke.on && !s.strokeKind.empty() && !parseKindPaint(std::string(s.strokeKind), *doc_, stroke))
        fail(node.offset_debug(), "bad data-vt-stroke \"" + std::string(s.strokeKind) + "\"");
    style.fillPaint = fill.on;
    style.fill.color = fill.color;
    style.strokePaint = stroke.on && s.strokeWidth > 0;
    style.stroke.color = stroke.color;
    style.stroke.width = static_cast<AIReal>(s.strokeWidth * m.scale());
    style.stroke.cap = s.lineCap == "round" ? 1 : s.lineCap == "square" ? 2 : 0;
    style.stroke.join = s.lineJoin == "round" ? 1 : s.lineJoin == "bevel" ? 2 : 0;
    style.stroke.miterLimit = static_cast<AIReal>(s.miterLimit);
    style.evenodd = s.fillRule == "evenodd";
    return style;
}

// data-tag-NAME holds the value as it is; data-vt-tag-NAME a value XML
// cannot hold, percent-encoded.
void Reader::readTags(const pugi::xml_node& node, ArtNode& art)
{
    static const char kPrefix[] = "data-tag-", kEncodedPrefix[] = "data-vt-tag-";
    const size_t prefixLength = sizeof kPrefix - 1, encodedLength = sizeof kEncodedPrefix - 1;
    for (pugi::xml_attribute a : node.attributes()) {
        const char* n = a.name();
        if (std::strncmp(n, kPrefix, prefixLength) == 0 && n[prefixLength] != 0) {
            art.setTag(n + prefixLength, a.value());
        } else if (std::strncmp(n, kEncodedPrefix, encodedLength) == 0 && n[encodedLength] != 0) {
            std::string value;
            if (!percentDecode(a.value(), value))
                fail(node.offset_debug(), describe(node) + ": " + n + " is not percent-encoded: a '%' without two "
                                                                      "hexadecimal digits after it");
            art.setTag(n + encodedLength, value);
        }
    }
}

void Reader::finishArt(const pugi::xml_node& node, const Properties& props, ArtNode* art, ArtNode* parent)
{
    art->name = node.attribute("id").value();
    readTags(node, *art);
    if (props.is(kDisplayProperty, "none") || props.is(kVisibilityProperty, "hidden")) art->attrs |= kArtHidden;
    if (node.attribute("data-vt-locked").as_bool()) art->attrs |= kArtLocked;
    // Later SVG elements paint over earlier ones: each goes on top.
    doc_->place(art, kPlaceInsideOnTop, parent);
}

// depth: the number of groups around the children (a layer is the first).
void Reader::readChildren(const pugi::xml_node& node, ArtNode* parent, const Matrix& m, const Style& style,
                          int depth)
{
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element) readElement(child, parent, m, style, depth);
}

void Reader::readElement(const pugi::xml_node& node, ArtNode* parent, const Matrix& parentMatrix,
                         const Style& parentStyle, int depth)
{
    Tag tag = tagOf(node);
    if (tag == Tag::kOther) return;  // defs, metadata, title, style, images ...
    Properties props = styleProperties(node);
    Style style = parentStyle;
    applyStyle(node, props, style);
    Matrix m = parentMatrix * transformOf(node);
    checkMatrix(node, m);
    if (tag == Tag::kGroup) {
        if (depth >= kMaxGroupDepth)
            fail(node.offset_debug(), describe(node) + ": groups are nested deeper than " +
                                          std::to_string(kMaxGroupDepth) + " levels");
        ArtNode* group = doc_->newArt(kGroupArt);
        finishArt(node, props, group, parent);
        readChildren(node, group, m, style, depth + 1);
        return;
    }
    if (tag == Tag::kText) {
        readText(node, props, parent, m, style);
        return;
    }
    std::vector<SubPath> subpaths = shapeOutline(node, tag);
    // A lone moveto draws nothing.
    subpaths.erase(std::remove_if(subpaths.begin(), subpaths.end(),
                                  [](const SubPath& s) { return s.anchors.size() < 2; }),
                   subpaths.end());
    if (subpaths.empty()) return;
    AIPathStyle ps = pathStyle(node, style, m);
    bool compound = subpaths.size() > 1 || node.attribute("data-vt-compound").as_bool();
    bool guide = node.attribute("data-vt-guide").as_bool();
    ArtNode* holder = compound ? doc_->newArt(kCompoundPathArt) : nullptr;
    if (holder) finishArt(node, props, holder, parent);
    for (const SubPath& sp : subpaths) {
        ArtNode* path = doc_->newArt(kPathArt);
        path->closed = sp.closed;
        path->style = ps;
        path->guide = guide;
        path->segments.reserve(sp.anchors.size());
        for (const auto& a : sp.anchors) {
            AIPathSegment seg{};
            // Straight lines have their handles on their anchors: such a
            // handle is the anchor placed once.
            seg.p = placed(node, m, a.p);
            seg.in = samePoint(a.in, a.p) ? seg.p : placed(node, m, a.in);
            seg.out = samePoint(a.out, a.p) ? seg.p : placed(node, m, a.out);
            seg.corner = isCorner(a);
            path->segments.push_back(seg);
        }
        if (holder) {
            doc_->place(path, kPlaceInsideOnBottom, holder);
        } else {
            finishArt(node, props, path, parent);
        }
    }
}

}  // namespace svg

using svg::Reader;
using svg::SvgError;

std::unique_ptr<Document> readSvgText(Documents& store, const std::string& text, const std::string& name,
                                      std::string& error)
{
    try {
        Reader reader(store, name, &text);
        return reader.read(reader.parse(text));
    } catch (const SvgError& e) {
        error = e.message;
    } catch (const std::bad_alloc&) {
        error = name + ": not enough memory to read the drawing";
    }
    return nullptr;
}

std::unique_ptr<Document> readSvgFile(Documents& store, const std::string& path, std::string& error)
{
    // The file goes straight into the one buffer pugixml parses in place: no
    // other copy of it is ever held. What stops the reading is said in the
    // system's words (no such file, permission denied, a folder).
    auto cannotRead = [&](int code) {
        error = "cannot read " + path + ": " + (code == ENOENT ? std::string("no such file") : std::strerror(code));
        return nullptr;
    };
    // Only a regular file of at most kSvgFileLimit is read: a pipe is never
    // waited on, a device never read without end.
    size_t fileSize = 0;
    ReadStatus status;
    int fd = openRegularFile(path, kSvgFileLimit, "an SVG file", fileSize, status, error);
    if (fd < 0) {
        if (status == ReadStatus::Missing) return cannotRead(ENOENT);
        return nullptr;
    }
    FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        int code = errno;
        ::close(fd);
        return cannotRead(code);
    }
    auto allocate = pugi::get_memory_allocation_function();
    auto release = pugi::get_memory_deallocation_function();
    size_t size = 0, capacity = 0;
    char* buffer = nullptr;
    int readError = 0;
    for (;;) {
        if (size == capacity) {
            // The file is read in one piece of its size; one that grows meanwhile, by halves.
            size_t wanted = capacity + capacity / 2;
            if (capacity == 0 && fileSize > 0) wanted = fileSize + 1;  // one more to see the end
            wanted = std::max<size_t>(wanted, 4096);
            char* grown = static_cast<char*>(allocate(wanted));
            if (!grown) {
                release(buffer);
                std::fclose(file);
                error = path + ": not enough memory to read the drawing";
                return nullptr;
            }
            if (size) std::memcpy(grown, buffer, size);
            release(buffer);
            buffer = grown;
            capacity = wanted;
        }
        errno = 0;
        size_t got = std::fread(buffer + size, 1, capacity - size, file);
        size += got;
        if (size > kSvgFileLimit) {
            release(buffer);
            std::fclose(file);
            error = "cannot read " + path + ": it is larger than the " + sizeText(kSvgFileLimit) + " an SVG file may be";
            return nullptr;
        }
        if (got == 0) {
            if (std::ferror(file)) readError = errno != 0 ? errno : EIO;
            break;
        }
    }
    std::fclose(file);
    if (readError != 0) {
        release(buffer);
        return cannotRead(readError);
    }
    try {
        std::unique_ptr<Reader> reader;
        try {
            reader = std::make_unique<Reader>(store, path, nullptr);
        } catch (...) {
            release(buffer);  // not yet pugixml's
            throw;
        }
        return reader->read(reader->parseInPlace(buffer, size));
    } catch (const SvgError& e) {
        error = e.message;
    } catch (const std::bad_alloc&) {
        error = path + ": not enough memory to read the drawing";
    }
    return nullptr;
}

}  // namespace vt::host
