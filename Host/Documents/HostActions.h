// The host's own actions on the selection of a document, played through the
// action manager: expand (fills and strokes become areas) and merge (areas of
// one colour united, each trimmed by what lies in front of it).
#pragma once

#include <string>

#include "Documents/Document.h"

namespace vt::host {

struct ExpandOptions {
    bool objects = true;  // text frames are outlined and expanded too
    bool strokes = true;  // strokes become areas of their colour
};

// Each selected path, compound path and text frame (groups are entered)
// becomes, in its place and selected, a group of closed areas: its fill, and
// its stroke as an area of the stroke's colour. Nothing changes on an error.
ASErr expandSelection(Document& document, const ExpandOptions& options, std::string& error);

// The selected filled paths and compound paths (groups are entered), front to
// back, each lose what lies in front of them; the areas of one fill colour
// are united. Each region with its holes becomes one compound path (a path
// when it has none), filled, unstroked and selected, in the place of the
// front-most of them; the sources go, and groups they leave empty with them.
ASErr mergeSelection(Document& document);

}  // namespace vt::host
