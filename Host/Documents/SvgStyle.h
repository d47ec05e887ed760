// Styles and paint: the properties an element sets (presentation attributes
// and its style attribute), what it inherits, and the colours they name.
#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>

#include "Documents/Document.h"
#include "Documents/SvgNumbers.h"

namespace vt::host::svg {

struct Paint {
    bool on = false;
    AIColor color{};
};

// A fill or stroke value: none, a colour word, #rgb, #rrggbb, rgb(...),
// currentColor, or url(#id) of a gradient or pattern. kindOf(id) names the tag
// of the element with that id, empty when there is none. False for a value
// that is none of these.
bool parsePaint(Text raw, const std::function<std::string(Text)>& kindOf, Paint& paint);

// data-vt-fill / data-vt-stroke: "gray G", "cmyk C M Y K", "custom TINT NAME"
// (a custom colour of doc). False for anything else.
bool parseKindPaint(const std::string& text, Document& doc, Paint& paint);

// Texts are views into the parsed file (or literals), which outlives the read.
struct Style {
    Text fill = "black";
    Text stroke = "none";
    Text fillKind;    // data-vt-fill
    Text strokeKind;  // data-vt-stroke
    double strokeWidth = 1;
    Text fillRule = "nonzero";
    double fontSize = 16;
    Text fontFamily;
    Text lineCap = "butt", lineJoin = "miter";
    double miterLimit = 4;
};

enum Property {
    kFillProperty,
    kStrokeProperty,
    kStrokeWidthProperty,
    kFillRuleProperty,
    kDisplayProperty,
    kFontSizeProperty,
    kFontFamilyProperty,
    kLineCapProperty,
    kLineJoinProperty,
    kMiterLimitProperty,
    kVisibilityProperty,
    kPropertyCount
};

const char* const kPropertyNames[kPropertyCount] = {
    "fill", "stroke", "stroke-width", "fill-rule", "display", "font-size", "font-family", "stroke-linecap",
    "stroke-linejoin", "stroke-miterlimit", "visibility"};

// The style properties of one element: its presentation attributes, over
// which its style attribute wins. Read in one pass over the attributes.
struct Properties {
    Text value[kPropertyCount];
    bool set[kPropertyCount] = {};

    const Text* get(Property p) const { return set[p] ? &value[p] : nullptr; }
    bool is(Property p, Text what) const { return set[p] && value[p] == what; }
    void put(Text key, Text v)
    {
        for (int i = 0; i < kPropertyCount; ++i)
            if (key == kPropertyNames[i]) {
                value[i] = v;
                set[i] = true;
                return;
            }
    }
};

// An element's own properties, read from its attributes.
Properties styleProperties(const pugi::xml_node& node);

}  // namespace vt::host::svg
