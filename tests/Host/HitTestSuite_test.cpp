// The hit test as the start-point tool reads it: anchors by their index, a
// curve by the anchor it runs to (0 for the closing curve), the point found
// on the curve where the pointer is; and anchors inserted into a path.
#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

#include "Documents/Document.h"
#include "Host.h"
#include "Suites/SuiteTables.h"

using namespace vt;

namespace {

class HitTestSuite : public ::testing::Test {
protected:
    HitTestSuite()
    {
        host::HostOptions options;
        options.out = &out_;
        host_ = std::make_unique<host::Host>(options);
        host::documents().newDocument();
        // A square (0,0) (100,0) (100,100) (0,100), closed.
        EXPECT_EQ(host::suiteTable<AIShapeConstructionSuite>().NewRect(100, 0, 0, 100, false, &square_), kNoErr);
        host::Document* d = host::currentDocument();
        host::ArtNode* n = d->art(square_);
        n->segments = {host::cornerSegment(0, 0), host::cornerSegment(100, 0), host::cornerSegment(100, 100),
                       host::cornerSegment(0, 100)};
    }
    AIToolHitData hit(AIRealPoint p)
    {
        auto& h = host::suiteTable<AIHitTestSuite>();
        AIHitRef ref = nullptr;
        AIToolHitData data{};
        EXPECT_EQ(h.HitTest(square_, &p, kAllNoFillRequest, &ref), kNoErr);
        EXPECT_EQ(h.GetHitData(ref, &data), kNoErr);
        EXPECT_EQ(h.ReleaseHitRef(ref), kNoErr);
        return data;
    }

    std::ostringstream out_;
    std::unique_ptr<host::Host> host_;
    AIArtHandle square_ = nullptr;
};

TEST_F(HitTestSuite, ACurveIsNamedByTheAnchorItRunsTo)
{
    struct Row {
        const char* shows;
        AIRealPoint at;
        int32_t type, segment;
        float x, y;
    } rows[] = {
        {"an anchor by its index", {100.5f, 99}, kAnchorHitType, 2, 100, 100},
        {"the bottom side runs to anchor 1", {37.3f, 1.5f}, kSegmentHitType, 1, 37.3f, 0},
        {"the right side runs to anchor 2", {99, 61.7f}, kSegmentHitType, 2, 100, 61.7f},
        {"the closing side runs to anchor 0", {0.5f, 42}, kSegmentHitType, 0, 0, 42},
        {"nothing in the middle", {50, 50}, kNothingHitType, 0, 0, 0},
    };
    for (const Row& r : rows) {
        AIToolHitData d = hit(r.at);
        EXPECT_EQ(d.type, r.type) << r.shows;
        if (r.type == kNothingHitType) {
            EXPECT_FALSE(d.hit) << r.shows;
            continue;
        }
        EXPECT_EQ(d.segment, r.segment) << r.shows;
        EXPECT_NEAR(d.point.h, r.x, 1e-3) << r.shows;
        EXPECT_NEAR(d.point.v, r.y, 1e-3) << r.shows;
    }
}

TEST_F(HitTestSuite, AnchorsAreInsertedAfterTheOneNamed)
{
    auto& path = host::suiteTable<AIPathSuite>();
    const AIPathSegment extra[2] = {host::cornerSegment(50, 0), host::cornerSegment(0, 50)};
    EXPECT_EQ(path.InsertPathSegments(square_, 0, 1, &extra[0]), kNoErr);
    EXPECT_EQ(path.InsertPathSegments(square_, 4, 1, &extra[1]), kNoErr);
    EXPECT_EQ(path.InsertPathSegments(square_, 6, 1, extra), kBadSegmentRangeErr);
    EXPECT_EQ(path.InsertPathSegments(square_, -2, 1, extra), kBadSegmentRangeErr);
    const auto& s = host::currentDocument()->art(square_)->segments;
    ASSERT_EQ(s.size(), 6u);
    const float xs[] = {0, 50, 100, 100, 0, 0}, ys[] = {0, 0, 0, 100, 100, 50};
    for (size_t i = 0; i < s.size(); ++i) {
        EXPECT_EQ(s[i].p.h, xs[i]) << i;
        EXPECT_EQ(s[i].p.v, ys[i]) << i;
    }
}

}  // namespace
