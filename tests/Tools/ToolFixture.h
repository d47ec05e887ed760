// A session with the plug-in's tools in the toolbox and an empty document, the
// shapes the tool tests draw, and the pointer driven through script lines as
// a user would drive it.
#pragma once

#include <string>
#include <vector>

#include "Documents/Document.h"
#include "HostFixture.h"
#include "Tools/GroupCheckTool.h"
#include "Tools/MarqueeZoom.h"
#include "Tools/SplitTool.h"
#include "Tools/Tools.h"
#include "Dialog/SplitDialog.h"

namespace vt::test {

class ToolTest : public HostTest {
protected:
    void SetUp() override
    {
        startSession();
        // The plug-in's globals outlive a session in the test program.
        g_artSplitGroup = nullptr;
        g_artSplitGuide = nullptr;
        g_artGroupShow = nullptr;
        g_artDragZoom = nullptr;
        doc_ = &host::documents().newDocument();
        doc_->page = AIRealRect{0, 600, 800, 0};
    }
    host::Document& d() { return *doc_; }
    host::ArtNode* root(size_t layer = 0) { return d().layers()[layer]->root; }

    // A closed (or open) polygon of corner anchors, placed at the back of
    // parent (the first layer's group when null).
    host::ArtNode* polygon(const std::vector<AIRealPoint>& points, bool closed = true, host::ArtNode* parent = nullptr)
    {
        host::ArtNode* p = d().newArt(kPathArt);
        for (AIRealPoint q : points) p->segments.push_back(host::cornerSegment(q.h, q.v));
        p->closed = closed;
        p->style = host::defaultPathStyle();
        d().place(p, kPlaceInsideOnBottom, parent ? parent : root());
        return p;
    }
    host::ArtNode* square(float l, float b, float size, host::ArtNode* parent = nullptr)
    {
        return polygon({{l, b}, {l + size, b}, {l + size, b + size}, {l, b + size}}, true, parent);
    }
    host::ArtNode* group(host::ArtNode* parent = nullptr)
    {
        host::ArtNode* g = d().newArt(kGroupArt);
        d().place(g, kPlaceInsideOnBottom, parent ? parent : root());
        return g;
    }

    // Runs script lines; the test fails on a failing line.
    void run(const std::string& lines)
    {
        std::string error;
        ASSERT_TRUE(runScript(lines, error)) << error << "\n" << scriptOutput_.str();
    }

    host::Document* doc_ = nullptr;
};

}  // namespace vt::test
