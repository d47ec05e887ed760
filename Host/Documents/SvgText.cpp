// Text: a <text> and its <tspan>s read into a text frame.
#include <string>
#include <vector>

#include "Documents/SvgReading.h"

namespace vt::host::svg {
namespace {

// Runs of white space in text collapse to one blank, as SVG shows them;
// a line neither starts nor ends with one.
std::string collapseBlanks(const std::string& content)
{
    std::string collapsed;
    for (char ch : content) {
        bool blank = ch == ' ' || ch == '\n' || ch == '\t' || ch == '\r';
        if (blank && (collapsed.empty() || collapsed.back() == ' ')) continue;
        collapsed += blank ? ' ' : ch;
    }
    while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
    return collapsed;
}

}  // namespace

// All the character data inside a node of a text (the node's own level
// below the <text> given), in document order; walked without recursion.
// Elements nested deeper than groups may be are refused as groups are.
void Reader::gatherText(const pugi::xml_node& node, int level, std::string& out)
{
    for (pugi::xml_node n = node.first_child(); n;) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) out += n.value();
        if (n.first_child()) {
            if (++level > kMaxGroupDepth)
                fail(n.offset_debug(), describe(n) + ": elements of a text are nested deeper than " +
                                           std::to_string(kMaxGroupDepth) + " levels");
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling() && n != node) {
            n = n.parent();
            --level;
        }
        if (!n || n == node) break;
        n = n.next_sibling();
    }
}

// The lines of a <text>: a <tspan> child placed on its own (by x, y or
// dy) begins a new line unless nothing but blanks came before it; the
// frame's lines end in CR. A first tspan gives the position when the
// text has none.
std::string Reader::textLinesOf(const pugi::xml_node& node, std::string& xText, std::string& yText)
{
    std::vector<std::string> lines(1);
    bool started = false;
    for (pugi::xml_node n = node.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
            lines.back() += n.value();
            started = started || !collapseBlanks(n.value()).empty();
            continue;
        }
        if (n.type() != pugi::node_element) continue;
        bool placed = localName(n) == std::string("tspan") &&
                      (n.attribute("x") || n.attribute("y") || n.attribute("dy"));
        if (placed && started) lines.emplace_back();
        if (placed && !started) {
            if (xText.empty()) xText = n.attribute("x").value();
            if (yText.empty()) yText = n.attribute("y").value();
        }
        started = true;
        gatherText(n, 1, lines.back());
    }
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r" : "") + collapseBlanks(lines[i]);
    return text;
}

void Reader::readText(const pugi::xml_node& node, const Properties& props, ArtNode* parent, const Matrix& m,
                      const Style& style)
{
    std::string xText = node.attribute("x").value(), yText = node.attribute("y").value();
    std::string lines = textLinesOf(node, xText, yText);
    ArtNode* text = doc_->newArt(kTextFrameArt);
    double x = toUserUnits(xText, 0), y = toUserUnits(yText, 0);
    text->textFrame->origin = placed(node, m, Point{x, y});
    text->textFrame->fontSize = static_cast<AIReal>(style.fontSize * m.scale());
    checkLength(node, "font size", text->textFrame->fontSize);
    text->textFrame->fontFamily = std::string(style.fontFamily);
    text->textFrame->text = lines;
    text->style = pathStyle(node, style, m);
    finishArt(node, props, text, parent);
}

}  // namespace vt::host::svg
