// Generated cut jobs for the benchmarks and the output-stability tests: N
// closed curves of cubic segments (or open polylines) in several layers,
// optionally gathered into groups, written as SVG text. Nothing here depends
// on the platform's maths library: every coordinate is made by IEEE
// arithmetic alone and printed with four decimals, so one shape gives the
// same bytes on every machine.
#pragma once

#include <string>

namespace vt::bench {

struct JobShape {
    int curves = 1000;        // in the whole job
    int layers = 4;           // top-level groups of the file
    int groupsPerLayer = 0;   // 0: the curves lie loose in their layer, each one a top-level object
    int segments = 12;        // cubic segments per curve (at most 12)
    // 0: the curves (12 to 24 mm across) lie along the roll in 25 mm cells,
    // 24 columns wide (wider beyond 48,000 curves). Else their centres fill a
    // square this many millimetres wide, a grid of as many columns as rows,
    // the curves keeping their sizes (so overlapping where the cells are
    // small): wholly in the Plot Out preview's first view when the square is
    // 500 mm.
    double square = 0;
    // Open paths of straight segments in place of the closed curves, as
    // another program exports a drawing: <polyline> elements without ids or
    // styles of their own, the style (a black stroke, no fill) on the group
    // that holds them (the layer, or its groups when there are any). Four
    // paths make the four wobbly sides of one square shape, 0.4 to 0.8 of
    // its cell wide; segments per path.
    bool polylines = false;
};

// Curves go to the layers in turn by blocks (the first curves / layers to the
// first layer, ...), and inside a layer to its groups the same way. Within a
// layer or group the curves have sizes of a shuffled order, all different for
// up to 4096 curves (so their areas differ); fills cycle through three colours.
// Polylines go the same way, four to a shape.
std::string generateJob(const JobShape& shape);

// Writes the job to a file; false when the file cannot be written.
bool writeJob(const JobShape& shape, const std::string& path);

// The points of a job of this shape: every coordinate pair of its path data
// (anchors and handles, or the polylines' points).
long jobPoints(const JobShape& shape);

}  // namespace vt::bench
