// A session whose cut model is loaded from SVG shapes given in job
// millimetres (x right, y up from the page's lower left), for the placement and
// hit-test tests.
#pragma once

#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/UndoHistory.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "HostFixture.h"

namespace vt::test {

struct Box {
    double x, y, w, h;
};

class PlacementTest : public HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        initUndoHistory();
    }
    void TearDown() override
    {
        freeUndoHistory();
        if (g) (void)freeData();
        (void)releaseSuites(hostApp().basic());
    }

    // One SVG element per volume (already in job millimetres, y up), on a
    // 1000 x 1000 mm page; every one selected and loaded, volume i from
    // shapes[i].
    void loadShapes(const std::vector<std::string>& shapes)
    {
        std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="1000mm" height="1000mm" viewBox="0 0 1000 1000">)";
        svg += R"svg(<g id="Layer" transform="matrix(1 0 0 -1 0 1000)">)svg";
        // The front-most object is loaded first: the last written.
        for (auto s = shapes.rbegin(); s != shapes.rend(); ++s) svg += *s;
        svg += "</g></svg>";
        std::string error;
        auto doc = host::readSvgText(host::documents(), svg, "job.svg", error);
        ASSERT_TRUE(doc) << error;
        host::Document* d = doc.get();
        host::documents().adopt(std::move(doc));
        for (host::LayerNode* l : d->layers())
            for (host::ArtNode* a : l->root->children) d->setSelected(a, true);
        ASSERT_EQ(loadData(nullptr), kNoErr);
        ASSERT_EQ(g->volumeCount, (int32_t)shapes.size());
    }

    static std::string rect(const Box& b)
    {
        return "<rect x=\"" + std::to_string(b.x) + "\" y=\"" + std::to_string(b.y) + "\" width=\"" +
               std::to_string(b.w) + "\" height=\"" + std::to_string(b.h) + "\" fill=\"#000000\"/>";
    }

    // A 30 x 30 square at (0, 0) perforated by the first n of its pieces of
    // 15 mm, which run round it counter-clockwise from its corner: a group
    // holding the source first and then the pieces as they were made (the
    // front-most child is written last).
    static std::string perforatedSquare(int n)
    {
        const char* pieces[8] = {"M0,0 H15",   "M15,0 H30", "M30,0 V15", "M30,15 V30",
                                 "M30,30 H15", "M15,30 H0", "M0,30 V15", "M0,15 V0"};
        std::string svg = R"(<g data-tag-TAG_OF_DOT_CUT="10">)";
        for (int i = n - 1; i >= 0; i--)
            svg += std::string(R"(<path data-tag-TAG_OF_DOT_CUT=")") + (i % 2 ? "0" : "1") + R"(" d=")" + pieces[i] +
                   R"(" fill="none" stroke="#ff0000"/>)";
        return svg + R"(<path d="M0,0 H30 V30 H0 Z" fill="#000000"/></g>)";
    }

    // Rectangles; since the job's origin is the lower left of them all, put
    // one at (0, 0) to keep the figures as written.
    void loadRects(const std::vector<Box>& boxes)
    {
        std::vector<std::string> shapes;
        for (const Box& b : boxes) shapes.push_back(rect(b));
        loadShapes(shapes);
    }

    static void selectOnly(std::vector<int> which)
    {
        for (int32_t i = 0; i < g->volumeCount; i++) g->volumes[i].flags &= ~(uint32_t)kVolumeSelected;
        for (int i : which) g->volumes[i].flags |= kVolumeSelected;
    }

    static double left(int i) { return g->volumes[i].rect[0]; }
    static double top(int i) { return g->volumes[i].rect[1]; }
    static double right(int i) { return g->volumes[i].rect[2]; }
    static double bottom(int i) { return g->volumes[i].rect[3]; }
};

}  // namespace vt::test
