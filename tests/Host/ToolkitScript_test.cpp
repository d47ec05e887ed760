// Script commands acting on dialogs in process: a floating palette chosen by
// name, typing in units, checks, and redraws driven by time.
#include "HostFixture.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"

using namespace vt;

namespace {

class ToolkitScriptTest : public test::HostTest {};

int g_draws = 0;

// Like the output preview while it plays: every draw asks for the next one.
ASErr drawAgain(ADMItemRef item, ADMDrawerRef)
{
    ++g_draws;
    host::suiteTable<ADMItemSuite>().Invalidate(item);
    return kNoErr;
}

TEST_F(ToolkitScriptTest, AFloatingDialogIsDrivenBySelectDialog)
{
    startSession();
    auto& D = host::suiteTable<ADMDialogSuite>();
    auto& I = host::suiteTable<ADMItemSuite>();
    ADMDialogRef palette = D.Create(session().plugin(), "Split Dialog", 146, kADMFloatingDialogStyle, nullptr, nullptr, 0);
    ADMRect r{28, 70, 48, 170};
    ADMItemRef width = I.Create(palette, 4, kADMSpinEditType, &r, nullptr, nullptr, 0);
    I.SetUnits(width, kADMMillimeterUnits);
    ADMItemRef check = I.Create(palette, 8, kADMTextCheckBoxType, &r, nullptr, nullptr, 0);
    ADMRect f{5, 175, 140, 275};
    ADMItemRef legend = I.Create(palette, 14, kADMFrameType, &f, nullptr, nullptr, 0);
    I.SetDrawProc(legend, drawAgain);
    g_draws = 0;

    std::string error;
    ASSERT_TRUE(runScript("select-dialog \"Split Dialog\"\n"
                    "type 4 12\n"
                    "expect-text 4 \"12.00 mm\"\n"
                    "type 4 \"1 in\"\n"
                    "expect-text 4 \"25.40 mm\"\n"
                    "click 8\n"
                    "expect-state 8 on active shown\n"
                    "wait 10 5\n"
                    "save-picture split.png\n",
                    error))
        << error;
    EXPECT_FLOAT_EQ(I.GetFloatValue(width), 72.0f);
    EXPECT_TRUE(I.GetBooleanValue(check));
    EXPECT_GE(g_draws, 5);
    EXPECT_LE(g_draws, 12);  // one draw per pass: a redraw loop never runs away
    EXPECT_TRUE(std::filesystem::exists(dir_.file("split.png")));

    EXPECT_FALSE(runScript("select-dialog \"Split Dialog\"\nexpect-state 8 off\n", error));
    EXPECT_EQ(error, "line 2: expect-state: item 8 is not off");
    EXPECT_FALSE(runScript("click 8\n", error));
    EXPECT_NE(error.find("no dialog to act on"), std::string::npos);
    D.Destroy(palette);
}

TEST_F(ToolkitScriptTest, FileAndColourAnswersAndTheScreenAreQueued)
{
    startSession();
    std::string error;
    ASSERT_TRUE(runScript("answer-file out.hpgl\nanswer-file --cancel\nanswer-color 65535 0 0\nscreen 800 600\n", error))
        << error;
    auto& tk = host::toolkit::Toolkit::get();
    ASSERT_EQ(tk.fileAnswers.size(), 2u);
    EXPECT_EQ(*tk.fileAnswers[0], dir_.file("out.hpgl"));
    EXPECT_FALSE(tk.fileAnswers[1].has_value());
    EXPECT_EQ(tk.colorAnswers.front()->red, 65535);
    EXPECT_EQ(tk.screen.right, 800);
    EXPECT_FALSE(runScript("screen 10 10\n", error));
    EXPECT_FALSE(runScript("end-dialog\n", error));
    EXPECT_EQ(error, "line 1: end-dialog: end-dialog without dialog");
}

}  // namespace

namespace {

// expect-glyphs names the first character no font holds, as U+XXXX, with the
// item (or list entry) that shows it.
TEST_F(ToolkitScriptTest, ExpectGlyphsNamesTheFirstCharacterNoFontHolds)
{
    startSession();
    auto& D = host::suiteTable<ADMDialogSuite>();
    auto& I = host::suiteTable<ADMItemSuite>();
    auto& L = host::suiteTable<ADMListSuite>();
    auto& E = host::suiteTable<ADMEntrySuite>();
    ADMDialogRef palette = D.Create(session().plugin(), "Split Dialog", 146, kADMFloatingDialogStyle, nullptr, nullptr, 0);
    D.SetText(palette, "パネルに分割");
    ADMRect r{0, 0, 20, 200};
    I.SetText(I.Create(palette, 2, kADMTextStaticType, &r, nullptr, nullptr, 0), "플로터 설정 刻绘机 繪圖機\nX: ");
    ADMItemRef popup = I.Create(palette, 3, kADMPopupListType, &r, nullptr, nullptr, 0);
    ADMListRef list = I.GetList(popup);
    E.SetText(L.InsertEntry(list, 0), "中央");
    ADMEntryRef second = L.InsertEntry(list, 1);
    E.SetText(second, "左下");

    std::string error;
    EXPECT_TRUE(runScript("select-dialog \"Split Dialog\"\nexpect-glyphs\nexpect-glyphs 3\n", error)) << error;

    E.SetText(second, "左\xEE\x80\x80");  // a private-use character
    EXPECT_FALSE(runScript("select-dialog \"Split Dialog\"\nexpect-glyphs\n", error));
    EXPECT_EQ(error, "line 2: expect-glyphs: U+E000 in entry 2 of item 3 (\"左\xEE\x80\x80\") has no glyph in the "
                     "toolkit's fonts");
    EXPECT_TRUE(runScript("select-dialog \"Split Dialog\"\nexpect-glyphs 2\n", error)) << "only item 2: " << error;
    D.SetText(palette, "\xEE\x80\x80");
    EXPECT_FALSE(runScript("select-dialog \"Split Dialog\"\nexpect-glyphs\n", error));
    EXPECT_NE(error.find("U+E000 in the title"), std::string::npos) << error;
    EXPECT_FALSE(runScript("select-dialog \"Split Dialog\"\nexpect-glyphs 9\n", error));
    EXPECT_NE(error.find("no item 9"), std::string::npos) << error;
    D.Destroy(palette);
}

}  // namespace

namespace {

ASErr drawRedCorner(ADMItemRef, ADMDrawerRef drawer)
{
    auto& Dr = host::suiteTable<ADMDrawerSuite>();
    ADMRect corner{0, 0, 10, 10};
    Dr.SetColor(drawer, 0xFF0000FF);
    Dr.FillRect(drawer, &corner);
    return kNoErr;
}

// expect-pixel reads an item's picture (or the dialog's) at a point.
TEST_F(ToolkitScriptTest, ExpectPixelChecksTheColourAtAPoint)
{
    startSession();
    auto& D = host::suiteTable<ADMDialogSuite>();
    auto& I = host::suiteTable<ADMItemSuite>();
    ADMDialogRef palette = D.Create(session().plugin(), "Split Dialog", 146, kADMFloatingDialogStyle, nullptr, nullptr, 0);
    ADMRect r{20, 30, 70, 130};
    I.SetDrawProc(I.Create(palette, 5, kADMFrameType, &r, nullptr, nullptr, 0), drawRedCorner);

    std::string error;
    EXPECT_TRUE(runScript("select-dialog \"Split Dialog\"\nexpect-pixel 5 3 4 FF0000\nexpect-pixel 5 40 40 ffffff\n"
                          "expect-pixel 0 33 24 0xFF0000\n",
                          error))
        << error;
    struct Row {
        const char* line;
        const char* error;
    } rows[] = {
        {"expect-pixel 5 40 40 FF0000", "line 2: expect-pixel: item 5 has FFFFFF at (40, 40), not FF0000"},
        {"expect-pixel 5 100 10 FF0000", "line 2: expect-pixel: (100, 10) lies outside item 5"},
        {"expect-pixel 5 3 4 red", "line 2: expect-pixel: \"red\" is not a colour RRGGBB"},
        {"expect-pixel 9 3 4 FF0000", "line 2: expect-pixel: \"Split Dialog\" has no item 9"},
        {"expect-pixel 5 3 FF0000", "line 2: expect-pixel: expects 4 argument(s), got 3"},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(runScript(std::string("select-dialog \"Split Dialog\"\n") + row.line + "\n", error)) << row.line;
        EXPECT_EQ(error, row.error);
    }
    D.Destroy(palette);
}

}  // namespace
