// SVG in and out for the host's documents.
//
// Reading: every top-level <g> is a layer (titled by inkscape:label, data-name
// or id); shapes loose at the top level go to a layer "Layer 1". All SVG
// shapes and path commands are read, arcs become cubics, transforms are applied,
// a <path> of several subpaths becomes a compound path, <text> a text frame.
// Sizes become points with y growing upwards: the page is the viewBox (or the
// width and height) scaled to points, its lower-left corner at (0, 0).
// String tags travel as data-tag-NAME attributes (percent-encoded as
// data-vt-tag-NAME when XML cannot hold the value); colour kinds that SVG lacks
// (gray, CMYK, custom) travel in data-vt-fill / data-vt-stroke beside an
// equivalent RGB colour, so a saved document reopens as it was.
#pragma once

#include <memory>
#include <string>

#include "Documents/Document.h"

namespace vt::host {

// Reads an SVG file or text. On failure returns null and sets error to a
// message naming the file and the line and column of the fault.
std::unique_ptr<Document> readSvgFile(Documents& store, const std::string& path, std::string& error);
std::unique_ptr<Document> readSvgText(Documents& store, const std::string& text, const std::string& name,
                                      std::string& error);

std::string writeSvgText(const Document& document);
// Written to a temporary file beside the target, then renamed over it.
bool writeSvgFile(const Document& document, const std::string& path, std::string& error);

}  // namespace vt::host
