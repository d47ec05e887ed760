// The command writer's reads of the document: the registration-mark text on
// the marks layer and the dot-cut tags of perforation groups and pieces.
#include <cstring>
#include <string>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Documents/Document.h"
#include "HostFixture.h"
#include "PlotOut/PlotOut.h"

using namespace vt;

namespace {

class PlotOutDocumentTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(g->basic), kNoErr);
        doc_ = &host::documents().newDocument();
        g->curPlotter.PlotterStep = 0.025;
        pen_ = Pen();
        pen_.Pressure = 60;
        g->curEnvironment.PenNumber = 1;
        g->curEnvironment.Pens = &pen_;
        stream_ = open_memstream(&buffer_, &size_);
    }
    void TearDown() override
    {
        fclose(stream_);
        free(buffer_);
        g->curEnvironment.Pens = nullptr;
        g->curEnvironment.PenNumber = 0;
        EXPECT_EQ(kNoErr, releaseSuites(g->basic));
    }
    std::string written()
    {
        fflush(stream_);
        return std::string(buffer_, size_);
    }
    host::ArtNode* addGroup(host::ArtNode* parent)
    {
        host::ArtNode* group = doc_->newArt(kGroupArt);
        EXPECT_EQ(doc_->place(group, kPlaceInsideOnBottom, parent), kNoErr);
        return group;
    }

    host::Document* doc_ = nullptr;
    Pen pen_;
    FILE* stream_ = nullptr;
    char* buffer_ = nullptr;
    size_t size_ = 0;
};

TEST_F(PlotOutDocumentTest, RegistrationMarkTextIsTheVeryFirstText)
{
    host::LayerNode* marks = doc_->insertLayer(0, kMarksLayerTitle);
    addGroup(marks->root);  // copies of the art, untagged
    host::ArtNode* marksGroup = addGroup(marks->root);
    marksGroup->setTag(kTagAASSetting, "AS1,2,3;\r\n");
    addGroup(marks->root)->setTag(kTagAASSetting, "second;\r\n");
    strcpy(g->curPlotter.PlotterIniString, "BEGIN");

    ASSERT_EQ(initialPloter(kLanguageHPGL, stream_), kNoErr);
    EXPECT_EQ(written(), "AS1,2,3;\r\nBEGIN\r\nIN;\r\n");
}

TEST_F(PlotOutDocumentTest, NoMarksLayerOrTagSendsNoMarkText)
{
    ASSERT_EQ(initialPloter(kLanguageGPGL, stream_), kNoErr);
    host::LayerNode* marks = doc_->insertLayer(0, kMarksLayerTitle);
    ASSERT_EQ(initialPloter(kLanguageGPGL, stream_), kNoErr);
    addGroup(marks->root);
    ASSERT_EQ(initialPloter(kLanguageGPGL, stream_), kNoErr);
    EXPECT_EQ(written(), "");
}

TEST_F(PlotOutDocumentTest, DotCutVolumeCutsItsPiecesAndNotTheSourcePath)
{
    host::ArtNode* group = addGroup(doc_->layers()[0]->root);
    group->setTag(kTagDotCut, "1");
    Ring rings[3];
    bezier_stru segments[3] = {
        {3, {{0, 0}, {0, 0}, {10, 0}, {10, 0}}},  // the source path
        {3, {{0, 0}, {0, 0}, {2, 0}, {2, 0}}},    // piece on pen 0
        {3, {{2, 0}, {2, 0}, {5, 0}, {5, 0}}},    // the next piece continues it
    };
    for (int i = 0; i < 3; i++) {
        host::ArtNode* path = doc_->newArt(kPathArt);
        ASSERT_EQ(doc_->place(path, kPlaceInsideOnBottom, group), kNoErr);
        if (i > 0)
            path->setTag(kTagDotCut, "0");
        rings[i] = Ring{host::Document::handle(path), 1, 0.0f, &segments[i], 1,
                        uint8_t(i > 0 ? kRingDotCutPiece : kRingDotCutSource), 0.0f, 0.0f};
    }
    Volume v;
    memset(&v, 0, sizeof v);
    v.art = host::Document::handle(group);
    v.rings = rings;
    v.ringCount = 3;
    v.scaleX = v.scaleY = 1;
    v.copiesX = 1;
    v.copiesY = 2;
    v.baseHeight = 1;
    v.gapY = 1;
    v.fitType = 1;
    v.precision = 0.01;
    v.flags = kVolumeVisible;

    ASSERT_EQ(plotVolume(v, kLanguageHPGL, stream_), kNoErr);
    // Each copy forgets where the last piece ended, so its first piece moves.
    EXPECT_EQ(written(),
              "PU1,0;\nPU0,0;\nFS60;\nPU0,0;\r\nPD80,0;\r\n"
              "PU81,0;\nPU80,0;\nFS60;\nPD200,0;\r\n"
              "PU1,80;\nPU0,80;\nFS60;\nPU0,80;\r\nPD80,80;\r\n"
              "PU81,80;\nPU80,80;\nFS60;\nPD200,80;\r\n");
}

}  // namespace

namespace {

TEST_F(PlotOutDocumentTest, DotCutOfAGroupCutsNoneOfTheSourcePaths)
{
    // Dot cut on a group of two paths: the group is the source, both of its
    // paths are rings of the volume ahead of the one piece.
    host::ArtNode* group = addGroup(doc_->layers()[0]->root);
    group->setTag(kTagDotCut, "10");
    host::ArtNode* source = addGroup(group);
    Ring rings[3];
    bezier_stru segments[3] = {
        {3, {{0, 0}, {0, 0}, {10, 0}, {10, 0}}},
        {3, {{0, 5}, {0, 5}, {10, 5}, {10, 5}}},
        {3, {{0, 0}, {0, 0}, {2, 0}, {2, 0}}},
    };
    for (int i = 0; i < 3; i++) {
        host::ArtNode* path = doc_->newArt(kPathArt);
        ASSERT_EQ(doc_->place(path, kPlaceInsideOnBottom, i < 2 ? source : group), kNoErr);
        if (i == 2) path->setTag(kTagDotCut, "0");
        rings[i] = Ring{host::Document::handle(path), 1, 0.0f, &segments[i], 1,
                        uint8_t(i == 2 ? kRingDotCutPiece : kRingDotCutSource), 0.0f, 0.0f};
    }
    Volume v;
    memset(&v, 0, sizeof v);
    v.art = host::Document::handle(group);
    v.rings = rings;
    v.ringCount = 3;
    v.scaleX = v.scaleY = 1;
    v.copiesX = v.copiesY = 1;
    v.fitType = 1;
    v.precision = 0.01;
    v.flags = kVolumeVisible;

    ASSERT_EQ(plotVolume(v, kLanguageHPGL, stream_), kNoErr);
    EXPECT_EQ(written(), "PU1,0;\nPU0,0;\nFS60;\nPU0,0;\r\nPD80,0;\r\n");
}

}  // namespace
