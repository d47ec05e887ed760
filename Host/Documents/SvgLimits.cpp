// The limits a drawing must keep to be read: finite numbers within a cutter's
// reach, transforms that keep the art, well-formed XML; and the refusal that
// names the file, the line and column and the element.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Documents/SvgReading.h"
#include "Documents/XmlText.h"

namespace vt::host::svg {

[[noreturn]] void Reader::fail(ptrdiff_t offset, const std::string& what)
{
    int line = 1, column = 1;
    auto count = [&](char ch) {
        if (ch == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    };
    if (source_) {
        for (ptrdiff_t i = 0; i < offset && i < static_cast<ptrdiff_t>(source_->size()); ++i) count((*source_)[i]);
    } else if (FILE* file = std::fopen(name_.c_str(), "rb")) {
        // The parsed copy has been cut up in place: the file tells where the fault is.
        int ch;
        for (ptrdiff_t i = 0; i < offset && (ch = std::fgetc(file)) != EOF; ++i) count(static_cast<char>(ch));
        std::fclose(file);
    }
    throw SvgError{name_ + ":" + std::to_string(line) + ":" + std::to_string(column) + " (offset " +
                   std::to_string(offset) + "): " + what};
}

// pugixml takes a '<' inside an attribute value, which XML forbids and
// every other XML program refuses. (Text in UTF-16 or UTF-32, which pugixml
// reads too, is not looked at byte by byte.)
void Reader::refuseWhatXmlForbids(const char* text, size_t size)
{
    bool wide = std::memchr(text, 0, std::min<size_t>(size, 4)) != nullptr ||
                (size >= 2 && (static_cast<unsigned char>(text[0]) & 0xFE) == 0xFE);
    size_t at = wide ? std::string::npos : lessThanInAttributeValue(text, size);
    if (at != std::string::npos)
        fail(static_cast<ptrdiff_t>(at), "not well-formed XML: a '<' inside an attribute value (write it &lt;)");
}

// A transform, alone or with its parents', must keep the art finite and
// must not flatten it to a line or a point (a zero scale): either would
// cut nothing real.
void Reader::checkMatrix(const pugi::xml_node& node, const Matrix& m)
{
    double det = m.a * m.d - m.b * m.c;
    bool finite = std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
                  std::isfinite(m.e) && std::isfinite(m.f) && std::isfinite(det);
    if (finite && det != 0 && std::fpclassify(det) != FP_SUBNORMAL) return;
    std::string what = node.attribute("transform") ? " \"" + std::string(node.attribute("transform").value()) + "\""
                                                   : "";
    fail(node.offset_debug(), describe(node) + ": the transform" + what +
                                  (finite ? " has a zero scale: it flattens the art to nothing"
                                          : " is not finite (with its parents' transforms)"));
}

// An element as a message names it: its tag and, when it has one, its id.
std::string describe(const pugi::xml_node& node)
{
    std::string text = std::string("<") + node.name();
    if (pugi::xml_attribute id = node.attribute("id")) text += std::string(" id=\"") + id.value() + "\"";
    return text + ">";
}

// A document coordinate must be finite and within the reach of a cutter;
// checked before it is narrowed to the document's single precision.
AIRealPoint Reader::placed(const pugi::xml_node& node, const Matrix& m, Point p)
{
    double x, y;
    m.apply(p.x, p.y, x, y);
    double far = std::max(std::fabs(x), std::fabs(y));
    if (!std::isfinite(far))  // an infinity, or what arithmetic on one gives
        fail(node.offset_debug(), describe(node) + ": a point lies too far from the page origin to be held as a "
                                                   "number, beyond the 100 m a cutter can reach");
    if (far > kMaxReach) {
        char metres[64];
        std::snprintf(metres, sizeof metres, "%.6g", far * (25.4 / 72000.0));
        fail(node.offset_debug(), describe(node) + ": a point lies " + metres +
                                      " m from the page origin, beyond the 100 m a cutter can reach");
    }
    return AIRealPoint{static_cast<AIReal>(x), static_cast<AIReal>(y)};
}

// A length (a stroke width, a font size) must be a finite number.
void Reader::checkLength(const pugi::xml_node& node, const char* name, double value)
{
    if (!std::isfinite(value) || std::fabs(value) > kMaxReach)
        fail(node.offset_debug(), describe(node) + ": the " + name + " is " +
                                      (std::isfinite(value) ? "beyond the 100 m a cutter can reach"
                                                            : "not a finite number"));
}

}  // namespace vt::host::svg
