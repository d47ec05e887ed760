#include "JobGenerator.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace vt::bench {
namespace {

// A twelve-lobed flower about 12 mm across: anchor, in handle, out handle, in
// thousandths of a millimetre.
const int kFlower[12][6] = {
    {6000, 0, 6000, -1152, 6000, 1152},          {4070, 2350, 4521, 1569, 3619, 3131},
    {3000, 5196, 3998, 4620, 2002, 5772},        {0, 4700, 902, 4700, -902, 4700},
    {-3000, 5196, -2002, 5772, -3998, 4620},     {-4070, 2350, -3619, 3131, -4521, 1569},
    {-6000, 0, -6000, 1152, -6000, -1152},       {-4070, -2350, -4521, -1569, -3619, -3131},
    {-3000, -5196, -3998, -4620, -2002, -5772},  {0, -4700, -902, -4700, 902, -4700},
    {3000, -5196, 2002, -5772, 3998, -4620},     {4070, -2350, 3619, -3131, 4521, -1569},
};

const long kColumns = 24;
const double kCell = 25.0;  // mm; a curve grows to at most 24 mm across
// A page no longer than 50 m: the host refuses pages beyond the 100 m a cutter
// can reach. Jobs of up to 48,000 curves keep 24 columns (and the bytes they
// always had); larger ones grow wider instead of longer.
const long kMaxRows = 2000;

long columnsFor(long curves) { return std::max(kColumns, (curves + kMaxRows - 1) / kMaxRows); }
const char* const kFills[3] = {"#c03030", "#3060c0", "#208040"};

int clampSegments(int n) { return n < 2 ? 2 : n > 12 ? 12 : n; }

// Appends one number with four decimals (exact: the values are binary
// fractions of at most twelve bits below the point, rounded the same way by
// every correct printf).
void put(std::string& out, double v)
{
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%.4f", v);
    out.append(buf, static_cast<size_t>(n));
}

void pair(std::string& out, double x, double y)
{
    put(out, x);
    out += ',';
    put(out, y);
}

// Where the curves or shapes of a job go: cells this wide, so many to a row.
struct Grid {
    long columns;
    double cell;        // mm
    double margin = 0;  // mm from the square's edges to the first cell
};

// As many columns as rows, filling the square within the margin.
Grid squareGrid(long items, double square, double margin)
{
    long columns = 1;
    while (columns * columns < items) ++columns;
    return Grid{columns, (square - 2 * margin) / columns, margin};
}

void curve(std::string& out, long index, const Grid& grid, int sizeStep, int segments, const char* fill)
{
    long columns = grid.columns;
    double cx = grid.margin + (index % columns) * grid.cell + grid.cell / 2;
    double cy = grid.margin + (index / columns) * grid.cell + grid.cell / 2;
    // Scale (4096 + k) / 4096: exact in binary, and strictly growing.
    double s = (4096 + sizeStep % 4096) / 4096.0 / 1000.0;
    auto x = [&](int v) { return cx + v * s; };
    auto y = [&](int v) { return cy + v * s; };
    out += "<path id=\"c";
    out += std::to_string(index);
    // Styled the way drawing programs export their paths.
    out += "\" style=\"fill:";
    out += fill;
    out += ";fill-opacity:1;fill-rule:nonzero;stroke:none\" d=\"M";
    pair(out, x(kFlower[0][0]), y(kFlower[0][1]));
    for (int j = 1; j <= segments; ++j) {
        const int* a = kFlower[j - 1];
        const int* b = kFlower[j == segments ? 0 : j];
        out += j == 1 ? "C" : " ";
        pair(out, x(a[4]), y(a[5]));
        out += ' ';
        pair(out, x(b[2]), y(b[3]));
        out += ' ';
        pair(out, x(b[0]), y(b[1]));
    }
    out += "Z\"/>\n";
}

// Side side (0 to 3) of shape shape: from one corner of a square to the
// next, its inner points wobbling out and in by an eighth of its half-size.
void polyline(std::string& out, long shape, int side, const Grid& grid, int segments)
{
    long columns = grid.columns;
    double cx = (shape % columns) * grid.cell + grid.cell / 2;
    double cy = (shape / columns) * grid.cell + grid.cell / 2;
    // Half-sizes of a shuffled order between 0.2 and 0.4 cells.
    double h = grid.cell * (0.2 + 0.2 * ((shape * 1543) % 4096) / 4096.0);
    static const int kCorner[5][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
    double ax = cx + kCorner[side][0] * h, ay = cy + kCorner[side][1] * h;
    double bx = cx + kCorner[side + 1][0] * h, by = cy + kCorner[side + 1][1] * h;
    // Outwards across the side (the square runs anticlockwise).
    double nx = (by - ay) / 16, ny = (ax - bx) / 16;
    out += "<polyline points=\"";
    for (int i = 0; i <= segments; ++i) {
        double t = static_cast<double>(i) / segments, w = i % 2 == 1 && i < segments ? 1.0 : 0.0;
        if (i > 0) out += ' ';
        pair(out, ax + (bx - ax) * t + nx * w, ay + (by - ay) * t + ny * w);
    }
    out += "\"/>\n";
}

}  // namespace

long jobPoints(const JobShape& shape)
{
    int segments = clampSegments(shape.segments);
    return static_cast<long>(shape.curves) * (shape.polylines ? 1 + segments : 1 + 3 * segments);
}

std::string generateJob(const JobShape& shape)
{
    int segments = clampSegments(shape.segments);
    int layers = shape.layers < 1 ? 1 : shape.layers;
    int groups = shape.groupsPerLayer < 0 ? 0 : shape.groupsPerLayer;
    // A polyline job is laid out by its shapes, four paths each.
    long items = shape.polylines ? (shape.curves + 3) / 4 : shape.curves;
    // In a square, the curves' centres keep 12 mm (the largest curve's
    // half-width) from its edges.
    Grid grid = shape.square > 0 ? squareGrid(items, shape.square, shape.polylines ? 0 : 12) : Grid{columnsFor(items), kCell};
    long rows = (items + grid.columns - 1) / grid.columns;
    double width = shape.square > 0 ? shape.square : grid.columns * kCell;
    double height = shape.square > 0 ? shape.square : rows * kCell;
    std::string out;
    out.reserve(static_cast<size_t>(shape.curves) * (90 + 75 * segments) + 512);
    char head[256];
    std::snprintf(head, sizeof head,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%gmm\" height=\"%gmm\" viewBox=\"0 0 %g %g\">\n",
                  width, height, width, height);
    out += head;
    const char* groupStyle = " style=\"fill:none;stroke:#000000;stroke-width:0.25\"";
    long index = 0;
    for (int l = 0; l < layers; ++l) {
        long inLayer = shape.curves / layers + (l < shape.curves % layers ? 1 : 0);
        out += "<g data-name=\"Layer ";
        out += std::to_string(l + 1);
        out += shape.polylines && groups == 0 ? std::string("\"") + groupStyle + ">\n" : std::string("\">\n");
        int parts = groups > 0 ? groups : 1;
        for (int p = 0; p < parts; ++p) {
            long inPart = inLayer / parts + (p < inLayer % parts ? 1 : 0);
            if (groups > 0) {
                out += "<g id=\"group-";
                out += std::to_string(l + 1) + "-" + std::to_string(p + 1);
                out += shape.polylines ? std::string("\"") + groupStyle + ">\n" : std::string("\">\n");
            }
            // Sizes in a shuffled order (1543 is prime to 4096): the rings of
            // a group come to the sort out of order.
            for (long k = 0; k < inPart; ++k, ++index)
                if (shape.polylines)
                    polyline(out, index / 4, static_cast<int>(index % 4), grid, segments);
                else
                    curve(out, index, grid, static_cast<int>((k * 1543) % 4096), segments, kFills[(index / 7) % 3]);
            if (groups > 0) out += "</g>\n";
        }
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}

bool writeJob(const JobShape& shape, const std::string& path)
{
    std::ofstream file(path, std::ios::binary);
    std::string text = generateJob(shape);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace vt::bench
