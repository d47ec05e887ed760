// Path data (the d attribute of a <path>): every command SVG has, read into
// subpaths of anchors with their handles, arcs turned into cubics.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vt::host::svg {

struct Point {
    double x, y;
};

struct SubPath {
    // Anchors with their handles, in user units.
    struct Anchor {
        Point p, in, out;
    };
    std::vector<Anchor> anchors;
    bool closed = false;
};

// The subpaths of path data, in user units. On a fault bad says what is wrong
// and at is the offset where reading stopped; the subpaths read before it are
// returned.
std::vector<SubPath> parsePathData(const char* d, std::string& bad, size_t& at);

}  // namespace vt::host::svg
