// Generated cut jobs for the benchmarks and the output-stability tests: N
// closed curves of cubic segments in several layers, optionally gathered into
// groups, written as SVG text. Nothing here depends on the platform's maths
// library: every coordinate is an exact binary fraction printed with four
// decimals, so one shape gives the same bytes on every machine.
#pragma once

#include <string>

namespace vt::bench {

struct JobShape {
    int curves = 1000;        // in the whole job
    int layers = 4;           // top-level groups of the file
    int groupsPerLayer = 0;   // 0: the curves lie loose in their layer, each one a top-level object
    int segments = 12;        // cubic segments per curve (at most 12)
};

// Curves go to the layers in turn by blocks (the first curves / layers to the
// first layer, ...), and inside a layer to its groups the same way. Within a
// layer or group the curves have sizes of a shuffled order, all different for
// up to 4096 curves (so their areas differ); fills cycle through three colours.
std::string generateJob(const JobShape& shape);

// Writes the job to a file; false when the file cannot be written.
bool writeJob(const JobShape& shape, const std::string& path);

// The points of a job of this shape: every coordinate pair of its path data
// (anchors and handles).
long jobPoints(const JobShape& shape);

}  // namespace vt::bench
