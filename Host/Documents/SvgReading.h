// The SVG reader's walk over a parsed file, shared by the files that hold its
// parts: the element walk and the page (SvgReader.cpp), the limits a drawing
// must keep (SvgLimits.cpp), shapes (SvgShapes.cpp) and text (SvgText.cpp).
// Path data, transforms and styles are parsed on their own, without a file
// (SvgPathData.h, SvgTransform.h, SvgStyle.h).
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Documents/Document.h"
#include "Documents/SvgNumbers.h"
#include "Documents/SvgPathData.h"
#include "Documents/SvgStyle.h"
#include "Documents/SvgTransform.h"

namespace vt::host::svg {

// A refusal: the message names the file, the line and column, and the fault.
struct SvgError {
    std::string message;
};

// Groups nested deeper than this are refused: the reader descends one call
// per level, and a hostile file must not take it past the stack.
constexpr int kMaxGroupDepth = 256;
// No cutter reaches farther than this from the page origin (100 m in points);
// a coordinate beyond it is a mistake or an attack, not a job.
constexpr double kMaxReach = 100000.0 * 72.0 / 25.4;

// What the reader does with an element, from its tag.
enum class Tag { kOther, kGroup, kText, kPath, kRect, kCircle, kEllipse, kLine, kPolyline, kPolygon };

// The name of an element without its namespace prefix.
const char* localName(const pugi::xml_node& n);
// An element as a message names it: its tag and, when it has one, its id.
std::string describe(const pugi::xml_node& node);

class Reader {
public:
    // source: the text read (for the line and column of a fault), or null when
    // the text came from the file `name`, which is then read again to find it.
    Reader(Documents& store, const std::string& name, const std::string* source) : name_(name), source_(source)
    {
        doc_ = std::make_unique<Document>(store);
    }

    // Parses text the caller keeps; pugixml works on its own copy.
    pugi::xml_parse_result parse(const std::string& text);
    // Parses a buffer taken from pugixml's allocator where it lies: pugixml
    // owns it from here on and cuts names and values out of it in place.
    pugi::xml_parse_result parseInPlace(char* buffer, size_t size);
    // The document the parsed file holds; throws SvgError when it is refused.
    std::unique_ptr<Document> read(const pugi::xml_parse_result& result);

private:
    // The page and the walk (SvgReader.cpp).
    void setUpPage(const pugi::xml_node& root);
    void readCustomColors(const pugi::xml_node& root);
    std::string layerTitle(const pugi::xml_node& g);
    void readLayerAttributes(const pugi::xml_node& g, const Properties& props, LayerNode& layer);
    Matrix transformOf(const pugi::xml_node& node);
    void applyStyle(const pugi::xml_node& node, const Properties& props, Style& style);
    std::string kindOf(Text id);
    AIPathStyle pathStyle(const pugi::xml_node& node, const Style& s, const Matrix& m);
    void readTags(const pugi::xml_node& node, ArtNode& art);
    void finishArt(const pugi::xml_node& node, const Properties& props, ArtNode* art, ArtNode* parent);
    void readChildren(const pugi::xml_node& node, ArtNode* parent, const Matrix& m, const Style& style, int depth);
    void readElement(const pugi::xml_node& node, ArtNode* parent, const Matrix& parentMatrix,
                     const Style& parentStyle, int depth);

    // Limits and refusals (SvgLimits.cpp).
    [[noreturn]] void fail(ptrdiff_t offset, const std::string& what);
    void refuseWhatXmlForbids(const char* text, size_t size);
    void checkMatrix(const pugi::xml_node& node, const Matrix& m);
    AIRealPoint placed(const pugi::xml_node& node, const Matrix& m, Point p);
    void checkLength(const pugi::xml_node& node, const char* name, double value);

    // Shapes (SvgShapes.cpp).
    double attr(const pugi::xml_node& node, const char* name, double fallback = 0);
    std::vector<SubPath> shapeOutline(const pugi::xml_node& node, Tag tag);

    // Text (SvgText.cpp).
    void gatherText(const pugi::xml_node& node, int level, std::string& out);
    std::string textLinesOf(const pugi::xml_node& node, std::string& xText, std::string& yText);
    void readText(const pugi::xml_node& node, const Properties& props, ArtNode* parent, const Matrix& m,
                  const Style& style);

    std::string name_;
    const std::string* source_;
    pugi::xml_document xml_;
    std::unique_ptr<Document> doc_;
    Matrix root_;
    std::unordered_map<Text, pugi::xml_node> ids_;
    bool idsIndexed_ = false;
};

}  // namespace vt::host::svg
