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
    AIToolHitData hit(AIRealPoint p, int32_t request = kAllNoFillRequest) { return hitIn(square_, p, request); }
    AIToolHitData hitIn(AIArtHandle art, AIRealPoint p, int32_t request)
    {
        auto& h = host::suiteTable<AIHitTestSuite>();
        AIHitRef ref = nullptr;
        AIToolHitData data{};
        EXPECT_EQ(h.HitTest(art, &p, request, &ref), kNoErr);
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

    // An anchor taken off the path is gone from the hit test, its handles too.
    ASSERT_EQ(host::suiteTable<AIPathSuite>().SetPathSegmentCount(square_, 3), kNoErr);
    for (int32_t request : {kSegInOutRequest, kAllNoFillRequest})
        EXPECT_EQ(hit({0.5f, 99.5f}, request).type, kNothingHitType) << "where the removed anchor was";
}

TEST_F(HitTestSuite, WhatIsHitIsWhatTheRequestAsksFor)
{
    // The square's bottom side bows out: its first anchor's out handle lies
    // below it at (30, -40), the second's in handle at (70, -40). Filled, with a
    // notch cut into its top: (40, 100) (50, 60) (60, 100).
    host::ArtNode* n = host::currentDocument()->art(square_);
    std::vector<AIPathSegment> s = n->segments.toVector();
    s[0].out = {30, -40};
    s[1].in = {70, -40};
    s.insert(s.begin() + 3, {host::cornerSegment(60, 100), host::cornerSegment(50, 60), host::cornerSegment(40, 100)});
    n->segments = s;
    n->style.edit().fillPaint = 1;
    struct Row {
        const char* shows;
        AIRealPoint at;
        int32_t request, type, segment;
    } rows[] = {
        {"two points from an anchor", {102, 100}, kSegInOutRequest, kAnchorHitType, 2},
        {"a little more than two", {102.1f, 100}, kSegInOutRequest, kNothingHitType, 0},
        {"a handle, when handles are asked for", {31, -41}, kSegInOutRequest, kHandleHitType, 0},
        {"the other handle of the curve", {70, -39}, kAllNoFillRequest, kHandleHitType, 1},
        {"a handle, when only curves are asked for", {31, -41}, kSegmentRequest, kNothingHitType, 0},
        {"the bowed curve, below the straight line", {50, -30}, kSegmentRequest, kSegmentHitType, 1},
        {"a curve, when only handles are asked for", {50, -30}, kSegInOutRequest, kNothingHitType, 0},
        {"inside, fills asked for", {20, 50}, kAllHitRequest, kFillHitType, 0},
        {"inside the bow", {50, -10}, kAllHitRequest, kFillHitType, 0},
        {"inside, fills not asked for", {20, 50}, kAllNoFillRequest, kNothingHitType, 0},
        {"in the notch: outside", {50, 90}, kAllHitRequest, kNothingHitType, 0},
        {"beside the square", {150, 50}, kAllHitRequest, kNothingHitType, 0},
    };
    for (const Row& r : rows) {
        AIToolHitData d = hit(r.at, r.request);
        EXPECT_EQ(d.type, r.type) << r.shows;
        EXPECT_EQ(d.hit != 0, r.type != kNothingHitType) << r.shows;
        if (r.type == kAnchorHitType || r.type == kHandleHitType || r.type == kSegmentHitType) {
            EXPECT_EQ(d.segment, r.segment) << r.shows;
        }
    }
    n->style.edit().fillPaint = 0;
    EXPECT_EQ(hit({20, 50}, kAllHitRequest).type, kNothingHitType) << "an unfilled inside is no hit";
}

// In a group, the first member under the pointer is hit: a text frame by its
// box, a path by its anchors; a member under the pointer elsewhere, or hidden,
// does not stand in the way.
TEST_F(HitTestSuite, AGroupIsHitInTheMemberUnderThePointer)
{
    host::Document* d = host::currentDocument();
    host::ArtNode* group = d->newArt(kGroupArt);
    ASSERT_EQ(d->place(group, kPlaceAboveAll, nullptr), kNoErr);
    host::ArtNode* text = d->newArt(kTextFrameArt);
    text->textFrame->text = "Hi";
    text->textFrame->fontSize = 40;
    text->textFrame->fontFamily = "DejaVu Sans";
    text->textFrame->origin = AIRealPoint{300, 300};
    ASSERT_EQ(d->place(text, kPlaceInsideOnTop, group), kNoErr);
    host::ArtNode* path = d->newArt(kPathArt);
    path->segments = {host::cornerSegment(500, 100), host::cornerSegment(600, 100), host::cornerSegment(600, 200)};
    path->closed = true;
    path->style.edit().fillPaint = 1;
    ASSERT_EQ(d->place(path, kPlaceInsideOnBottom, group), kNoErr);
    // A filled square behind the path, around it.
    host::ArtNode* back = d->newArt(kPathArt);
    back->segments = {host::cornerSegment(480, 80), host::cornerSegment(620, 80), host::cornerSegment(620, 220),
                      host::cornerSegment(480, 220)};
    back->closed = true;
    back->style.edit().fillPaint = 1;
    ASSERT_EQ(d->place(back, kPlaceInsideOnBottom, group), kNoErr);
    AIArtHandle groupHandle = host::Document::handle(group);
    AIRealRect box{};
    ASSERT_EQ(host::suiteTable<AIArtSuite>().GetArtBounds(host::Document::handle(text), &box), kNoErr);
    struct Row {
        const char* shows;
        AIRealPoint at;
        bool hidden;
        int32_t type;
        const host::ArtNode* art;
    } rows[] = {
        {"the text's box", {310, 310}, false, kFillHitType, text},
        {"the top left corner of the text's box", {box.left, box.top}, false, kFillHitType, text},
        {"the bottom right corner of the text's box", {box.right, box.bottom}, false, kFillHitType, text},
        {"just above the text's box", {box.left + 1, box.top + 0.01f}, false, kNothingHitType, nullptr},
        {"just right of the text's box", {box.right + 0.01f, box.bottom + 1}, false, kNothingHitType, nullptr},
        {"the path's corner, past the text", {600.5f, 199}, false, kAnchorHitType, path},
        {"beside them all", {450, 150}, false, kNothingHitType, nullptr},
        {"inside the path, the square behind it", {590, 120}, false, kFillHitType, path},
        {"inside the square only", {490, 150}, false, kFillHitType, back},
        {"a hidden text's box", {310, 310}, true, kNothingHitType, nullptr},
        {"the path's corner, past a hidden text", {600.5f, 199}, true, kAnchorHitType, path},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.shows);
        text->attrs = r.hidden ? kArtHidden : 0;
        AIToolHitData got = hitIn(groupHandle, r.at, kAllHitRequest);
        EXPECT_EQ(got.type, r.type);
        EXPECT_EQ(got.hit != 0, r.art != nullptr);
        if (r.art) {
            EXPECT_EQ(got.object, host::Document::handle(r.art));
        }
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
