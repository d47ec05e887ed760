// The dot-cut dialog: what it shows, what OK stores and cuts, what Cancel
// keeps, and the pens when the preferences hold none.
#include <functional>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/DotCut.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/DotCutDialog.h"
#include "DocumentFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using namespace vt::host;
using host::toolkit::Dialog;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

using test::kMM;

class DotCutDialogTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        if (HasFatalFailure()) return;
        g->dotCutThroughLength = 3000;
        g->dotCutHalfCutLength = 2000;
        g->dotCutThroughPen = 1;
        g->dotCutHalfCutPen = 0;
    }

    // A current plotter whose environment has the pens named.
    void pens(std::vector<std::string> names)
    {
        test::CurrentPlotterPrefs current;
        Pen blade = current.pens.front();
        current.pens.clear();
        for (const std::string& name : names) {
            Pen p = blade;
            snprintf(p.PenName, sizeof p.PenName, "%s", name.c_str());
            current.pens.push_back(p);
        }
        current.environment.PenNumber = int32_t(names.size());
        current.put(hostApp().prefs());
    }
    ArtNode* line(double millimetres)
    {
        ArtNode* p = doc_->newArt(kPathArt);
        p->segments = {cornerSegment(0, 0), cornerSegment(float(millimetres * kMM), 0)};
        p->style = defaultPathStyle();
        doc_->place(p, kPlaceBelowAll, nullptr);
        doc_->setSelected(p, true);
        return p;
    }
    static std::string chosen(Driver& user, int32_t id)
    {
        const host::toolkit::Entry* e = user.dialog()->item(id)->list->active();
        return e ? e->text : "(none)";
    }
    // Opens the dialog through goMakeDotCut, running the actions in it.
    int32_t run(std::function<bool(Driver&, std::string&)> actions)
    {
        Toolkit::get().queueDialog(kDotCutDialog.name, {std::move(actions)});
        return goMakeDotCut();
    }
};

TEST_F(DotCutDialogTest, ShowsTheLengthsInMillimetresAndThePensOfThePreferences)
{
    pens({"Half cut", "Knife", "Pounce"});
    std::vector<std::string> seen;
    std::string title;
    run([&](Driver& user, std::string& error) {
        Dialog* d = user.dialog();
        title = d->title;
        EXPECT_EQ(d->width(), kDotCutDialog.width);
        EXPECT_EQ(d->height(), kDotCutDialog.height);
        for (int32_t id : {kDotCutThroughLengthItem, kDotCutHalfCutLengthItem})
            seen.push_back(d->item(id)->displayText());
        for (int32_t id : {kDotCutThroughPenItem, kDotCutHalfCutPenItem})
            seen.push_back(chosen(user, id));
        EXPECT_EQ(d->item(kDotCutThroughPenItem)->list->entries.size(), 3u);
        return user.click(kDotCutCancelItem, error);
    });
    EXPECT_EQ(title, "Dot Cut");
    EXPECT_EQ(seen, (std::vector<std::string>{"30.00 mm", "20.00 mm", "Knife", "Half cut"}));
}

TEST_F(DotCutDialogTest, OKStoresRoundedHundredthsAndThePensThenCutsTheSelection)
{
    pens({"Half cut", "Knife", "Pounce"});
    struct Row {
        const char* typed;
        int32_t stored;
    } rows[] = {{"2.5 mm", 250}, {"3 mm", 300}, {"0.004 mm", 0}, {"0.006 mm", 1}, {"1 in", 2540}};
    for (const Row& row : rows) {
        int32_t result = run([&](Driver& user, std::string& error) {
            return user.type(kDotCutThroughLengthItem, row.typed, error) &&
                   user.type(kDotCutHalfCutLengthItem, "2 mm", error) && user.click(kDotCutCancelItem, error);
        });
        EXPECT_EQ(result, kDotCutCancelled) << row.typed;
        EXPECT_EQ(g->dotCutThroughLength, 3000) << row.typed << ": Cancel keeps the length";
        result = run([&](Driver& user, std::string& error) {
            return user.type(kDotCutThroughLengthItem, row.typed, error) && user.click(kDotCutOKItem, error);
        });
        EXPECT_EQ(result, kDotCutConfirmed) << row.typed;
        EXPECT_EQ(g->dotCutThroughLength, row.stored) << row.typed;
        g->dotCutThroughLength = 3000;
    }

    ArtNode* source = line(10);

    int32_t result = run([&](Driver& user, std::string& error) {
        return user.type(kDotCutThroughLengthItem, "3 mm", error) && user.type(kDotCutHalfCutLengthItem, "2 mm", error) &&
               user.choose(kDotCutThroughPenItem, "Pounce", error) && user.choose(kDotCutHalfCutPenItem, "Knife", error) &&
               user.click(kDotCutOKItem, error);
    });
    EXPECT_EQ(result, kDotCutConfirmed);
    EXPECT_EQ(g->dotCutThroughLength, 300);
    EXPECT_EQ(g->dotCutHalfCutLength, 200);
    EXPECT_EQ(g->dotCutThroughPen, 2);
    EXPECT_EQ(g->dotCutHalfCutPen, 1);
    ArtNode* group = source->parent;
    ASSERT_EQ(group->type, kGroupArt);
    ASSERT_NE(group->tag(kTagDotCut), nullptr);
    EXPECT_EQ(*group->tag(kTagDotCut), "21");
    EXPECT_EQ(group->children.size(), 1u + 4u) << "10 mm: 3 2 3 2";
}

TEST_F(DotCutDialogTest, CancelAndALengthOfZeroLeaveTheDocumentAlone)
{
    pens({"Half cut", "Knife"});
    ArtNode* source = line(10);
    ArtNode* layerRoot = doc_->layers().front()->root;
    EXPECT_EQ(run([](Driver& user, std::string& error) {
                  return user.type(kDotCutThroughLengthItem, "3 mm", error) && user.click(kDotCutCancelItem, error);
              }),
              kDotCutCancelled);
    EXPECT_EQ(source->parent, layerRoot);
    EXPECT_EQ(g->dotCutThroughLength, 3000);

    EXPECT_EQ(run([](Driver& user, std::string& error) {
                  return user.type(kDotCutThroughLengthItem, "0 mm", error) && user.click(kDotCutOKItem, error);
              }),
              kDotCutConfirmed);
    EXPECT_EQ(g->dotCutThroughLength, 0) << "the length typed is kept";
    EXPECT_EQ(source->parent, layerRoot) << "but nothing is cut";

    EXPECT_EQ(run([](Driver& user, std::string& error) {
                  return user.type(kDotCutThroughLengthItem, "-2 mm", error) && user.click(kDotCutOKItem, error);
              }),
              kDotCutConfirmed);
    EXPECT_EQ(g->dotCutThroughLength, 0) << "no length below 0";
}

TEST_F(DotCutDialogTest, WithoutPensThePopupsAreEmptyAndOKKeepsThePensChosenBefore)
{
    struct Row {
        const char* shows;
        std::vector<std::string> pens;  // empty: no current plotter at all
        bool plotter;
    } rows[] = {
        {"no current plotter", {}, false},
        {"a plotter whose first pen has no name", {""}, true},
    };
    for (const Row& row : rows) {
        if (row.plotter) pens(row.pens);
        g->dotCutThroughPen = 1;
        g->dotCutHalfCutPen = 0;
        size_t entries = 99;
        EXPECT_EQ(run([&](Driver& user, std::string& error) {
                      entries = user.dialog()->item(kDotCutThroughPenItem)->list->entries.size();
                      return user.type(kDotCutThroughLengthItem, "4 mm", error) && user.click(kDotCutOKItem, error);
                  }),
                  kDotCutConfirmed)
            << row.shows;
        EXPECT_EQ(entries, 0u) << row.shows;
        EXPECT_EQ(g->dotCutThroughLength, 400) << row.shows;
        EXPECT_EQ(g->dotCutThroughPen, 1) << row.shows;
        EXPECT_EQ(g->dotCutHalfCutPen, 0) << row.shows;
    }
}

TEST_F(DotCutDialogTest, APenPastTheListChoosesTheFirstPen)
{
    pens({"Half cut", "Knife"});
    // Just past the last pen, far past it, and before the first.
    for (int32_t stored : {2, 7, -1}) {
        SCOPED_TRACE("pen " + std::to_string(stored));
        g->dotCutThroughPen = stored;
        std::string shown;
        run([&](Driver& user, std::string& error) {
            shown = chosen(user, kDotCutThroughPenItem);
            return user.click(kDotCutOKItem, error);
        });
        EXPECT_EQ(shown, "Half cut");
        EXPECT_EQ(g->dotCutThroughPen, 0);
    }
}

}  // namespace
