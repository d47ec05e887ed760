// A preview picture's steps and points packed into one block: every point
// read back as stored, whether the picture's points fit in 8 or 16 bits from
// their corner or not.
#include "Core/PackedPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

PictureStep step(PictureStepKind kind, uint32_t count, bool closed, bool repeated)
{
    PictureStep s;
    s.count = count;
    s.kind = kind;
    s.closed = closed;
    s.markerRepeated = repeated;
    return s;
}

// Reads every point back both ways the preview reads them: one by one, and
// as runs (each run starting at every point once).
void expectPoints(const PackedPicture& p, const std::vector<ViewPoint>& want)
{
    ASSERT_EQ(p.pointCount(), want.size());
    for (size_t i = 0; i < want.size(); i++) {
        ViewPoint got = p.point(i);
        EXPECT_TRUE(got == want[i]) << "point " << i << ": " << got.h << ", " << got.v;
    }
    for (size_t first = 0; first < want.size(); first++) {
        size_t seen = 0;
        p.forPoints(first, want.size() - first, [&](size_t i, ViewPoint q) {
            EXPECT_EQ(i, seen++);
            EXPECT_TRUE(q == want[first + i]) << "run from " << first << ", point " << i;
        });
        EXPECT_EQ(seen, want.size() - first);
    }
}

TEST(PackedPictureTest, EveryPointReadsBackAsStoredInBytesWordsOrFullWidth)
{
    const int32_t lo = INT32_MIN, hi = INT32_MAX;
    const int b1 = 1, b2 = 2, b4 = 4;  // bytes a coordinate takes
    struct Row {
        const char* shows;
        std::vector<ViewPoint> points;
        int bytes;
    } rows[] = {
        {"no points", {}, b1},
        {"one point at the least pixel", {{lo, lo}}, b1},
        {"one point at the greatest pixel", {{hi, hi}}, b1},
        {"a ring about the origin", {{-3, 5}, {4, -2}, {0, 0}, {-3, 5}}, b1},
        {"255 pixels across and up, the corner below zero", {{-200, 100}, {55, -155}, {-200, -155}, {55, 100}}, b1},
        {"256 pixels across", {{-1, 0}, {255, 255}}, b2},
        {"256 pixels up", {{0, 255}, {255, -1}}, b2},
        {"65,535 pixels across and up, the corner below zero",
         {{-40000, 100}, {25535, -65435}, {-40000, -65435}, {25535, 100}},
         b2},
        {"the corner not a point of its own", {{7, 65542}, {65542, 7}}, b2},
        {"65,536 pixels across", {{-1, 0}, {65535, 65535}}, b4},
        {"65,536 pixels up", {{0, 65535}, {65535, -1}}, b4},
        {"from the least pixel to the greatest", {{lo, hi}, {hi, lo}, {0, 0}, {-1, 1}}, b4},
        {"at the least pixel, 255 across", {{lo, lo}, {lo + 255, lo + 1}}, b1},
        {"at the greatest pixel, 65,535 up", {{hi, hi - 65535}, {hi - 3, hi}}, b2},
    };
    for (const Row& row : rows) {
        // Packed as the box is sought, and as it is told by the maker that
        // found it (its corners, or any pair of points for no points).
        ViewPoint low{-9, 9}, high{9, -9};
        for (size_t i = 0; i < row.points.size(); i++) {
            const ViewPoint& q = row.points[i];
            low = i == 0 ? q : ViewPoint{std::min(low.h, q.h), std::min(low.v, q.v)};
            high = i == 0 ? q : ViewPoint{std::max(high.h, q.h), std::max(high.v, q.v)};
        }
        for (bool told : {false, true}) {
            SCOPED_TRACE(std::string(row.shows) + (told ? ", box told" : ", box sought"));
            PackedPicture p;
            if (told)
                p.assign(nullptr, 0, row.points.data(), row.points.size(), low, high);
            else
                p.assign(nullptr, 0, row.points.data(), row.points.size());
            EXPECT_EQ((int)p.width(), row.bytes);
            EXPECT_EQ(p.byteCount(), row.points.size() * 2 * row.bytes) << "two coordinates a point, nothing more";
            EXPECT_EQ(p.stepCount(), 0u);
            expectPoints(p, row.points);
        }
    }
}

TEST(PackedPictureTest, StepsKeepTheirFieldsBesideThePointsAndANewPictureReplacesTheOld)
{
    const std::vector<PictureStep> steps = {
        step(kStepLines, 3, true, false),
        step(kStepLinePiece, 2, false, true),
        step(kStepArcPiece, kPictureStepMostPoints, true, true),
        step(kStepArcPiece, 0, false, false),
    };
    const std::vector<ViewPoint> wide = {{0, 0}, {100000, -5}, {3, 3}};
    const std::vector<ViewPoint> words = {{12, -9}, {13, -9}, {13, -8}, {12, -9}, {500, 400}};
    const std::vector<ViewPoint> bytes = {{12, -9}, {13, -9}, {13, -8}, {12, -9}, {-40, 30}};
    PackedPicture p;
    for (const std::vector<ViewPoint>* points : {&wide, &bytes, &words, &wide}) {
        SCOPED_TRACE(points == &wide ? "wide" : points == &words ? "words" : "bytes");
        p.assign(steps.data(), steps.size(), points->data(), points->size());
        ASSERT_EQ(p.stepCount(), steps.size());
        EXPECT_EQ(p.byteCount(), 4 * steps.size() + 2 * points->size() * (points == &wide ? 4 : points == &words ? 2 : 1));
        for (size_t k = 0; k < steps.size(); k++) {
            SCOPED_TRACE(k);
            EXPECT_EQ(p.step(k).kind, steps[k].kind);
            EXPECT_EQ(p.step(k).count, steps[k].count);
            EXPECT_EQ(p.step(k).closed, steps[k].closed);
            EXPECT_EQ(p.step(k).markerRepeated, steps[k].markerRepeated);
        }
        expectPoints(p, *points);
    }
    p.clear();
    EXPECT_EQ(p.stepCount(), 0u);
    EXPECT_EQ(p.pointCount(), 0u);
    EXPECT_EQ(p.byteCount(), 0u);
}

}  // namespace
