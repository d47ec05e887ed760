// Arranging a job, end to end: a `vantorel-host run` session on two rectangles
// aligns, undoes, packs, resets and centres them with the Plot Out dialog's
// buttons, writing the job to a file after each; every file cuts the
// rectangles where the buttons put them.
#include <algorithm>
#include <sstream>
#include <vector>

#include "HostRun.h"

namespace {

using vt::test::hostToLog;

struct Rect {
    double left, bottom, right, top;
};

// The box of every outline an HPGL job cuts (each starts with a pen-up move),
// in millimetres, left to right.
std::vector<Rect> cutOutlines(const std::string& hpgl, double step)
{
    std::vector<Rect> outlines;
    std::istringstream in(hpgl);
    std::string line;
    while (std::getline(in, line)) {
        bool up = line.rfind("PU", 0) == 0, down = line.rfind("PD", 0) == 0;
        long x, y;
        if ((!up && !down) || std::sscanf(line.c_str() + 2, "%ld,%ld", &x, &y) != 2) continue;
        double mx = x * step, my = y * step;
        if (up) {
            outlines.push_back(Rect{mx, my, mx, my});
        } else if (!outlines.empty()) {
            Rect& r = outlines.back();
            r = Rect{std::min(r.left, mx), std::min(r.bottom, my), std::max(r.right, mx), std::max(r.top, my)};
        }
    }
    std::sort(outlines.begin(), outlines.end(), [](const Rect& a, const Rect& b) { return a.left < b.left; });
    return outlines;
}

// The session of the README's section on arranging a job.
const char* kSession = R"(open two-rects.svg
select all
answer-file 1-aligned.hpgl
answer-file 2-undone.hpgl
answer-file 3-packed.hpgl
answer-file 4-reset.hpgl
answer-file 5-centred.hpgl
dialog "AutoGroupSpace Dialog"
  expect-title "Auto Group Spacing"
  type 4 "5 mm"
  type 7 "2 mm"
  save-picture gaps.png
  click 1
end-dialog
dialog "Plot Out Dialog"
  click 9
  click 72
  click 69
  click 72
  click 13
  click 72
  click 14
  click 72
  click 5
  click 72
  click 74
end-dialog
menu "Plot Out"
)";

// A 40 x 20 and a 20 x 40 mm rectangle; once loaded, the job's origin is the
// wide one's lower left, and the tall one lies at 80..100 x 10..50.
const char* kTwoRects = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <rect id="wide" x="20" y="60" width="40" height="20" fill="#000000"/>
  <rect id="tall" x="100" y="30" width="20" height="40" fill="#000000"/>
</svg>
)";

TEST(ArrangeSession, EachButtonMovesTheRectanglesInTheJobItWrites)
{
    vt::test::TempDir dir;
    ASSERT_EQ(hostToLog(dir, "setup --plotter 'Generic 24in Drag Knife'"), 0) << vt::test::readFile(dir.file("out.txt"));
    vt::test::writeFile(dir.file("two-rects.svg"), kTwoRects);
    vt::test::writeFile(dir.file("arrange.vts"), kSession);
    ASSERT_EQ(hostToLog(dir, "run '" + dir.file("arrange.vts") + "'"), 0) << vt::test::readFile(dir.file("out.txt"));
    EXPECT_EQ(vt::test::readFile(dir.file("out.txt")).find("alert"), std::string::npos)
        << vt::test::readFile(dir.file("out.txt"));
    EXPECT_FALSE(vt::test::readFile(dir.file("gaps.png")).empty());

    struct Row {
        const char* file;
        const char* what;
        Rect first, second;  // left to right
    } rows[] = {
        {"1-aligned.hpgl", "align right edges (9)", {60, 0, 100, 20}, {80, 10, 100, 50}},
        {"2-undone.hpgl", "undo (69)", {0, 0, 40, 20}, {80, 10, 100, 50}},
        // Widest first, up a column from the lower left, 2 mm apart.
        {"3-packed.hpgl", "auto group (13) with gaps 5 and 2 mm", {0, 0, 40, 20}, {0, 22, 20, 62}},
        {"4-reset.hpgl", "reset (14)", {0, 0, 40, 20}, {80, 10, 100, 50}},
        // The 100 mm wide job centred across the 610 mm media.
        {"5-centred.hpgl", "centre on the board (5)", {255, 0, 295, 20}, {335, 10, 355, 50}},
    };
    const double step = 0.025, tolerance = 2 * step;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<Rect> cut = cutOutlines(vt::test::readFile(dir.file(row.file)), step);
        ASSERT_EQ(cut.size(), 2u) << row.file;
        if (row.first.left == row.second.left)  // side by side in y: keep the lower first
            std::sort(cut.begin(), cut.end(), [](const Rect& a, const Rect& b) { return a.bottom < b.bottom; });
        const Rect* expected[2] = {&row.first, &row.second};
        for (int i = 0; i < 2; i++) {
            EXPECT_NEAR(cut[i].left, expected[i]->left, tolerance) << i;
            EXPECT_NEAR(cut[i].bottom, expected[i]->bottom, tolerance) << i;
            EXPECT_NEAR(cut[i].right, expected[i]->right, tolerance) << i;
            EXPECT_NEAR(cut[i].top, expected[i]->top, tolerance) << i;
        }
    }
}

}  // namespace
