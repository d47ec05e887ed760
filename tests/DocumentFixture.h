// A new document in a started session, with the plug-in's suites held while
// a test makes art and runs the plug-in's operations on it.
#pragma once

#include <vector>

#include "Common/Suites.h"
#include "Documents/Document.h"
#include "HostFixture.h"

namespace vt::test {

// Points in a millimetre, as the document measures art.
constexpr double kMM = 2.8346458;

// The children of an art, front to back.
inline std::vector<host::ArtNode*> kids(const host::ArtNode* n)
{
    std::vector<host::ArtNode*> v;
    for (host::ArtNode* c : n->children) v.push_back(c);
    return v;
}

// A point of a cubic segment of a closed contour of anchors.
inline AIRealPoint pointOnContour(const std::vector<AIPathSegment>& contour, size_t i, double t)
{
    const AIPathSegment &a = contour[i], &b = contour[(i + 1) % contour.size()];
    const double u = 1 - t;
    const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
    const AIRealPoint p[4] = {a.p, a.out, b.in, b.p};
    double x = 0, y = 0;
    for (int k = 0; k < 4; ++k) x += w[k] * p[k].h, y += w[k] * p[k].v;
    return AIRealPoint{static_cast<AIReal>(x), static_cast<AIReal>(y)};
}

class DocumentTest : public HostTest {
protected:
    // A fixture that sets more up first checks HasFatalFailure(): nothing is
    // there to set when the suites could not be had.
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        doc_ = &host::documents().newDocument();
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }

    host::Document& d() { return *doc_; }
    host::ArtNode* root() { return d().layers().front()->root; }

    host::Document* doc_ = nullptr;
};

}  // namespace vt::test
