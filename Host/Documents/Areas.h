// Art as areas, for the host's expand and merge actions: paths flattened to
// polygons, fills and strokes as polygon sets (Clipper), and polygon sets
// turned back into closed paths.
#pragma once

#include <polyclipping/clipper.hpp>

#include <vector>

#include "Documents/Document.h"

namespace vt::host::areas {

using Polygon = ClipperLib::Path;
using Polygons = ClipperLib::Paths;

// Clipper works in whole numbers: a thousand units to the point.
constexpr double kUnitsPerPoint = 1000.0;
// Curves are flattened until no point of a curve lies farther than 0.01 mm
// from its polygon.
constexpr double kFlatness = 0.01 * 72.0 / 25.4;

// The paths of a path (itself) or of a compound path (its children).
std::vector<const ArtNode*> pathsOf(const ArtNode& art);

// The polygon of one path, its curves flattened; an open path is not closed.
Polygon flatten(const ArtNode& path);

// What a path or compound path fills, by its fill rule (an open path is
// closed by its chord), as polygons that do not overlap.
Polygons fillArea(const ArtNode& art);

// What the stroke of a path or compound path covers: each path stroked with
// the style's width, join, cap and miter limit. A polygon tree keeps each
// outline with its holes.
void strokeArea(const ArtNode& art, const AIPathStyle& style, ClipperLib::PolyTree& area);

// An outline with the holes directly inside it.
struct Region {
    Polygon outer;
    Polygons holes;
};
// Every outline of a polygon tree, islands inside holes being outlines of
// their own, in the tree's order.
std::vector<Region> regionsOf(const ClipperLib::PolyNode& tree);

// New detached art holding a region: a closed path, or a compound path of the
// outline then its holes when it has any; every path takes the style.
ArtNode* artOfRegion(Document& document, const Region& region, const AIPathStyle& style);

// Bounds of polygons in Clipper units; false for none.
struct Box {
    ClipperLib::cInt left, bottom, right, top;
    bool meets(const Box& o) const { return left <= o.right && o.left <= right && bottom <= o.top && o.bottom <= top; }
};
bool boxOf(const Polygons& polygons, Box& box);

}  // namespace vt::host::areas
