// The output preview in process: "~Temp.hpgl" in the plug-in's folder is
// replayed in the Preview Dialog, driven by queued answers as a user (or a
// script) would drive it; the drawing is checked by the recorded QuickDraw
// calls of the frame and by the pixels of its saved picture.
#include "Dialog/OutputPreview.h"

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/Texts.h"
#include "HostFixture.h"
#include "PlotOut/PlotOut.h"
#include "Script/Script.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

const std::string ETX = "\x03";

class OutputPreviewTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        // As inside the Plot Out dialog's button: the host's suites are held.
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        g->curPlotter.PlotterStep = 0.025;
        g->arcAngleUnit = 0.0001;
        setLanguage(kLanguageHPGL);
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }
    void setLanguage(int language) { g->curPlotter.Language = language; }
    std::string previewFile() const { return pluginFolder() + "/" + kPreviewFileName; }
    void writePreview(const std::string& bytes) { test::writeFile(previewFile(), bytes); }

    // Writes a job with the command writer into the preview file.
    void writeJob(const std::function<void(int language, FILE* file)>& body)
    {
        FILE* file = fopen(previewFile().c_str(), "w");
        ASSERT_NE(file, nullptr);
        int language = g->curPlotter.Language;
        EXPECT_EQ(kNoErr, initialPloter(language, file));
        body(language, file);
        EXPECT_EQ(kNoErr, endOfPlotOut(language, file));
        fclose(file);
    }

    // Opens the preview; inside runs with the open dialog.
    int open(const std::function<void(Driver&)>& inside)
    {
        Toolkit::get().queueDialog(kPreviewDialog.name, {[inside](Driver& user, std::string&) {
                                       inside(user);
                                       return true;
                                   }});
        return goOutputPreview(nullptr);
    }

    static void click(Driver& user, ASInt32 id, int times = 1)
    {
        for (int i = 0; i < times; i++) {
            std::string error;
            EXPECT_TRUE(user.click(id, error)) << error;
        }
    }
    // The lines drawn into the frame since the last call: "h0 v0 h1 v1 color=0xRRGGBB".
    static std::vector<std::string> newLines(Driver& user)
    {
        Item* frame = user.dialog()->item(kPreviewFrameItem);
        std::vector<std::string> lines;
        for (const auto& call : frame->calls)
            if (call.rfind("QD LineTo ", 0) == 0) lines.push_back(call.substr(10));
        frame->calls.clear();
        return lines;
    }
    static std::vector<std::string> listTexts(Driver& user)
    {
        std::vector<std::string> texts;
        for (const auto& e : user.dialog()->item(kPreviewListItem)->list->entries) texts.push_back(e->text);
        return texts;
    }
};

using Lines = std::vector<std::string>;

TEST_F(OutputPreviewTest, FourHPGLCommandsDrawAGreenLineAlongTheFrameBottom)
{
    writePreview("SP2;\r\nPU0,0;\r\nPD1000,0;\r\nPD1000,500;\r\n");
    int result = open([](Driver& user) {
        auto* d = user.dialog();
        EXPECT_EQ(d->resourceId, kPreviewDialog.resource);
        EXPECT_EQ(d->title, "Output Preview");
        EXPECT_EQ(d->width(), 732);
        EXPECT_EQ(d->height(), 630);
        EXPECT_EQ(d->bounds.left, 512 - 366);
        EXPECT_EQ(d->bounds.top, 384 - 315);
        EXPECT_EQ(d->items.size(), 13u);
        EXPECT_EQ(d->item(kPreviewSliderItem)->maxValue, 4.0f);
        EXPECT_EQ(d->item(kPreviewPlayItem)->tip, "Play");
        EXPECT_EQ(d->item(kPreviewListItem)->list->entryHeight, 20) << "one command a row of 20 pixels";
        newLines(user);
        click(user, kPreviewStepForwardItem, 2);
        EXPECT_EQ(newLines(user), Lines{});
        click(user, kPreviewStepForwardItem);
        // Zoom 0.485: (0, 0) lies at (left + 10, top + 536) of the frame at (221, 2).
        EXPECT_EQ(newLines(user), Lines{"231 538 716 538 color=0x00FF00"});
        click(user, kPreviewStepForwardItem);
        EXPECT_EQ(newLines(user), Lines{"716 538 716 295 color=0x00FF00"});
        EXPECT_EQ(listTexts(user), (Lines{"SP2;", "PU0,0;", "PD1000,0;", "PD1000,500;"}));
        auto& entries = user.dialog()->item(kPreviewListItem)->list->entries;
        EXPECT_TRUE(entries.back()->selected && entries.back()->active);
        EXPECT_FALSE(entries.front()->selected);
        EXPECT_EQ(user.dialog()->item(kPreviewSliderItem)->value, 4.0f);
        click(user, kPreviewCloseItem);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Toolkit::get().modalLog.back().name, kPreviewDialog.name);
    EXPECT_TRUE(Toolkit::get().failures.empty());
}

struct ColourCase {
    const char* name;
    int language;
    std::string penSelect;
    const char* colour;
};

class OutputPreviewColour : public OutputPreviewTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(OutputPreviewColour, ThePenSelectColoursTheFollowingLines)
{
    const ColourCase& c = GetParam();
    setLanguage(c.language);
    writeJob([&](int language, FILE* file) {
        fputs(c.penSelect.c_str(), file);
        EXPECT_EQ(kNoErr, movePen(0, 0, language, file));
        EXPECT_EQ(kNoErr, drawPen(100, 100, language, file));
    });
    open([&](Driver& user) {
        click(user, kPreviewStepBackItem);  // the complete picture
        Lines lines = newLines(user);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(std::string("color=") + c.colour), std::string::npos) << lines[0];
    });
}

INSTANTIATE_TEST_SUITE_P(
    PenNumbers, OutputPreviewColour,
    ::testing::Values(ColourCase{"NoPenSelectIsBlack", kLanguageHPGL, "", "0x000000"},
                      ColourCase{"HPGLPen3IsBlue", kLanguageHPGL, "SP3;\r\n", "0x0000FF"},
                      ColourCase{"GPGLPen4IsRed", kLanguageGPGL, "J4" + ETX + "\r\n", "0xFF0000"},
                      ColourCase{"HPGLPen5IsYellow", kLanguageHPGL, "SP5;\r\n", "0xFFFF00"},
                      ColourCase{"MGLPen2IsGreen", kLanguageMGL_IC1, "SP2;\r\n", "0x00FF00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputPreviewTest, InitialiseAndToolBlockCommandsCountAsStepsButDrawNothing)
{
    writePreview("IN;\r\nSP1;\r\nVS30\nFS8\nAS0.2;\nTO0.25;\nPA;\r\nPU0,0;\r\nPD100,100;\r\n");
    open([](Driver& user) {
        EXPECT_EQ(user.dialog()->item(kPreviewSliderItem)->maxValue, 9.0f);
        newLines(user);
        click(user, kPreviewStepForwardItem, 8);
        EXPECT_EQ(newLines(user), Lines{});
        EXPECT_EQ(listTexts(user).size(), 8u);
        EXPECT_EQ(listTexts(user)[6], "PA;");
        click(user, kPreviewStepForwardItem);
        EXPECT_EQ(newLines(user).size(), 1u);
    });
}

TEST_F(OutputPreviewTest, StepBackFromTheOpeningShowsAllAndStepForwardFromThereBlanks)
{
    writePreview("PU0,0;\r\nPD1000,0;\r\nPD1000,500;\r\n");
    open([](Driver& user) {
        newLines(user);
        click(user, kPreviewStepBackItem);
        EXPECT_EQ(newLines(user).size(), 2u);
        EXPECT_EQ(listTexts(user).size(), 3u);
        click(user, kPreviewStepForwardItem);
        EXPECT_EQ(newLines(user), Lines{});
        EXPECT_TRUE(listTexts(user).empty());
        EXPECT_EQ(user.dialog()->item(kPreviewFrameItem)->raster.pixel(252, 536), 0xFFFFFF);
        // From the blank frame each step forward draws its own command only:
        // the start nothing, the move nothing, each draw its one line.
        for (const char* line : {"", "", "231 538 716 538 color=0x000000", "716 538 716 295 color=0x000000"}) {
            click(user, kPreviewStepForwardItem);
            EXPECT_EQ(newLines(user), *line ? Lines{line} : Lines{});
        }
    });
}

TEST_F(OutputPreviewTest, StepsBackPastTheStartComeRoundToTheWholeJob)
{
    writePreview("PU0,0;\r\nPD1000,0;\r\nPD1000,500;\r\n");
    open([](Driver& user) {
        Item* frame = user.dialog()->item(kPreviewFrameItem);
        // The lines are drawn in the dialog's coordinates: the level one along
        // y 538 from x 231 to 716, the upright one up x 716 to y 295.
        auto at = [frame](int x, int y) { return frame->raster.pixel(x - frame->bounds.left, y - frame->bounds.top); };
        for (int k = 0; k < 3; ++k) click(user, kPreviewStepBackItem);
        EXPECT_EQ(at(716, 400), 0xFFFFFF) << "the upright line is gone";
        EXPECT_EQ(at(500, 538), 0xFFFFFF) << "and the level one";
        click(user, kPreviewStepBackItem);
        click(user, kPreviewStepBackItem);
        EXPECT_EQ(at(500, 538), 0x000000) << "round again: the level line";
        EXPECT_EQ(at(716, 400), 0x000000) << "and the upright one";
    });
}

TEST_F(OutputPreviewTest, TheSliderShowsTheJobUpToTheStepItIsSetTo)
{
    writePreview("PU0,0;\r\nPD1000,0;\r\nPD1000,500;\r\n");
    open([](Driver& user) {
        Item* frame = user.dialog()->item(kPreviewFrameItem);
        auto at = [frame](int x, int y) { return frame->raster.pixel(x - frame->bounds.left, y - frame->bounds.top); };
        Item* slider = user.dialog()->item(kPreviewSliderItem);
        ASSERT_EQ(slider->maxValue, 3.0f);
        struct Row {
            int step;
            bool level, upright;  // the lines shown
        } rows[] = {{2, true, false}, {1, false, false}, {2, true, false}, {0, false, false}};
        for (const Row& row : rows) {
            // Pressed where the step lies along the slider (a pixel on, for rounding).
            const int w = slider->width();
            ADMPoint p{static_cast<ASInt16>(row.step == 0 ? 0 : row.step * w / 3 + 1), 5};
            std::string error;
            ASSERT_TRUE(user.press(kPreviewSliderItem, p, 0, error) && user.release(p, 0, error)) << error;
            Toolkit::get().updatePass();
            EXPECT_EQ(at(500, 538), row.level ? 0x000000 : 0xFFFFFF) << "at step " << row.step;
            EXPECT_EQ(at(716, 400), row.upright ? 0x000000 : 0xFFFFFF) << "at step " << row.step;
        }
    });
}

// The pause of one animation step, read off the virtual tick clock: one
// redraw pass of a playing preview waits the interval once.
uint32_t stepTicks(Driver& user)
{
    uint32_t before = Toolkit::get().ticks;
    user.wait(0, 1);
    return Toolkit::get().ticks - before;
}

TEST_F(OutputPreviewTest, FasterAndSlowerKeepThePauseBetweenFiveAndTwentyFiveTicks)
{
    std::string job;
    for (int i = 0; i < 60; i++) job += "PD" + std::to_string(i * 10) + ",0;\r\n";
    writePreview(job);
    open([](Driver& user) {
        click(user, kPreviewFasterItem, 5);  // from wherever an earlier opening left it, down to 5
        click(user, kPreviewSlowerItem);     // the starting pause
        click(user, kPreviewPlayItem);
        EXPECT_EQ(stepTicks(user), 10u);
        click(user, kPreviewFasterItem);
        EXPECT_EQ(stepTicks(user), 5u);
        click(user, kPreviewFasterItem);
        EXPECT_EQ(stepTicks(user), 5u);
        click(user, kPreviewSlowerItem, 2);  // 10, 15
        EXPECT_EQ(stepTicks(user), 15u);
        click(user, kPreviewSlowerItem);
        EXPECT_EQ(stepTicks(user), 20u);
        click(user, kPreviewSlowerItem);
        EXPECT_EQ(stepTicks(user), 25u);
        click(user, kPreviewSlowerItem);
        EXPECT_EQ(stepTicks(user), 25u);
        click(user, kPreviewPauseItem);
        EXPECT_EQ(stepTicks(user), 0u);
    });
    // The pause is kept for the next opening.
    open([](Driver& user) {
        click(user, kPreviewPlayItem);
        EXPECT_EQ(stepTicks(user), 25u);
    });
}

TEST_F(OutputPreviewTest, PlayRunsToTheEndAndStopsWithThePictureComplete)
{
    writePreview("PU0,0;\r\nPD1000,0;\r\nPD1000,500;\r\nPD0,500;\r\n");
    open([](Driver& user) {
        newLines(user);
        click(user, kPreviewPlayItem);
        user.wait(0, 100);
        EXPECT_EQ(newLines(user).size(), 3u);
        EXPECT_EQ(listTexts(user).size(), 4u);
        EXPECT_EQ(stepTicks(user), 0u);  // no longer playing
        // A redraw the host asks for shows the whole job again.
        Toolkit::get().invalidate(user.dialog()->item(kPreviewFrameItem));
        user.wait(0, 1);
        EXPECT_EQ(newLines(user).size(), 3u);
    });
}

TEST_F(OutputPreviewTest, LoopPlayStartsAgainAfterTheLastCommand)
{
    writePreview("PU0,0;\r\nPD1000,0;\r\n");
    open([](Driver& user) {
        newLines(user);
        click(user, kPreviewLoopItem);
        user.wait(0, 10);
        EXPECT_GE(newLines(user).size(), 2u);  // drawn more than once
        EXPECT_GT(stepTicks(user), 0u);        // still playing
        click(user, kPreviewStopItem);
        EXPECT_TRUE(listTexts(user).empty());
        EXPECT_EQ(stepTicks(user), 0u);
    });
}

TEST_F(OutputPreviewTest, AReplayFromTheStartBeginsAtTheOriginWithPenOne)
{
    // The first command draws from wherever the pen is: the origin, in black.
    writePreview("PD1000,0;\r\nSP4;\r\nPU0,500;\r\nPD1000,500;\r\n");
    for (int opening = 0; opening < 2; opening++) {
        open([](Driver& user) {
            newLines(user);
            click(user, kPreviewStepBackItem);  // all of it
            Lines all = newLines(user);
            ASSERT_EQ(all.size(), 2u);
            EXPECT_EQ(all[0], "231 538 716 538 color=0x000000");
            EXPECT_NE(all[1].find("0xFF0000"), std::string::npos);
            click(user, kPreviewStepBackItem);  // all but the last, drawn again from the start
            EXPECT_EQ(newLines(user), Lines{"231 538 716 538 color=0x000000"});
        });
    }
}

TEST_F(OutputPreviewTest, AnyJobExtentOpensAndPlaysWithoutDividingByZeroOrWrapping)
{
    // The frame is 505 x 546 pixels at (221, 2); the job fills it less 10
    // pixels all round, (0, 0) at its lower left (231, 538).
    struct Row {
        const char* job;
        Lines drawn;
    } rows[] = {
        {"", {}},
        {"IN;\r\n", {}},
        {"PU0,0;\r\nPD0,0;\r\n", {"231 538 231 538 color=0x000000"}},
        {"PU0,0;\r\nPD0,300;\r\n", {"231 538 231 12 color=0x000000"}},
        {"PU0,0;\r\nPD300,0;\r\n", {"231 538 716 538 color=0x000000"}},
        // Taller than the frame's shape: the height decides, 526 pixels for 1000 steps.
        {"PU0,0;\r\nPD0,1000;\r\nPD500,1000;\r\n", {"231 538 231 12 color=0x000000", "231 12 494 12 color=0x000000"}},
        // Points beyond what the extent can hold lie some 113000 pixels out:
        // they stay out at the edge of the pixel range rather than wrapping
        // round into the frame.
        {"PU0,0;\r\nPD1000000000000,0;\r\nPD-1000000000000,0;\r\n",
         {"231 538 32767 538 color=0x000000", "32767 538 -32768 538 color=0x000000"}},
    };
    for (const Row& row : rows) {
        writePreview(row.job);
        open([&](Driver& user) {
            newLines(user);
            click(user, kPreviewPlayItem);
            user.wait(0, 20);
            EXPECT_EQ(newLines(user), row.drawn) << row.job;
        });
    }
}

TEST_F(OutputPreviewTest, ATitleLongerThanItsBufferIsCutToFitIt)
{
    // A translated list may hold any length of text; the title buffer holds 255 bytes.
    test::writeFile(pluginFolder() + "/Strings/StringList-" + std::to_string(g->stringListId) + ".txt",
                    std::to_string(kOutputPreviewTitleString) + "\t" + std::string(300, 'T') + "\n");
    hostApp().strings().setFolder(pluginFolder() + "/Strings");
    writePreview("PU0,0;\r\nPD1000,0;\r\n");
    std::string title;
    open([&](Driver& user) { title = user.dialog()->title; });
    EXPECT_EQ(title, std::string(255, 'T'));
}

TEST_F(OutputPreviewTest, NoFileNoDialog)
{
    // The file is missing, or the plug-in lies deeper than the host can say.
    const std::string installed = g->pluginRef->filePath;
    for (bool folderKnown : {true, false}) {
        SCOPED_TRACE(folderKnown ? "no file" : "no folder");
        writePreview("PU0,0;\r\nPD1000,0;\r\n");
        if (folderKnown)
            std::remove(previewFile().c_str());
        else
            g->pluginRef->filePath = "/" + std::string(2 * kSPMaxPathLength, 'd') + "/Vantorel.so";
        EXPECT_EQ(goOutputPreview(nullptr), 0);
        g->pluginRef->filePath = installed;
        EXPECT_TRUE(Toolkit::get().modalLog.empty());
    }
}

TEST_F(OutputPreviewTest, WriterQuarterTurnsReplayAsQuarterTurns)
{
    struct Case {
        int language;
        const char* expected;  // the arc text the writer made
    };
    for (Case c : {Case{kLanguageHPGL, "PD;AA0,0,90.000000;"}, Case{kLanguageGPGL, "] 400,400,0,900000"},
                   Case{kLanguageMGL_IC1, "] 400,400,0,15708"}}) {
        setLanguage(c.language);
        writeJob([](int language, FILE* file) {
            EXPECT_EQ(kNoErr, movePen(400, 0, language, file));
            EXPECT_EQ(kNoErr, drawArcPen(0, 0, 0.0, 1.57079632675, 10.0, language, file, 1));
        });
        ASSERT_NE(test::readFile(previewFile()).find(c.expected), std::string::npos) << c.expected;
        open([](Driver& user) {
            newLines(user);
            click(user, kPreviewStepBackItem);
            Lines lines = newLines(user);
            ASSERT_GT(lines.size(), 10u);
            // Extent 400 x 400 steps: zoom 485 / 400; the arc ends straight above the origin.
            int h0, v0, h1, v1;
            std::sscanf(lines.front().c_str(), "%d %d", &h0, &v0);
            std::sscanf(lines.back().c_str(), "%*d %*d %d %d", &h1, &v1);
            EXPECT_NEAR(h0, 231 + 485, 1);
            EXPECT_EQ(v0, 538);
            EXPECT_EQ(h1, 231);
            EXPECT_NEAR(v1, 538 - 485, 1);
            for (const std::string& line : lines) {
                int h, v;
                std::sscanf(line.c_str(), "%*d %*d %d %d", &h, &v);
                EXPECT_TRUE(h >= 231 && v <= 538) << line;  // the quarter above and right of the centre
            }
        });
    }
}

// ---- The road from the Plot Out dialog: a written job, a queued script ----

long pixelOf(const std::string& png, int x, int y)
{
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return -2;
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    uint32_t v;
    std::memcpy(&v, data + y * cairo_image_surface_get_stride(s) + x * 4, 4);
    cairo_surface_destroy(s);
    return v & 0xFFFFFF;
}

const char* const kLanguageNames[] = {"HPGL", "GPGL", "MGL_IC1", "DMGL"};

class OutputPreviewRoad : public OutputPreviewTest, public ::testing::WithParamInterface<int> {};

TEST_P(OutputPreviewRoad, AQueuedScriptPlaysTheWrittenJobToTheEndAndSavesTheFrame)
{
    setLanguage(GetParam());
    // A 100 x 50 mm rectangle, pen 1, with a half circle on its top edge.
    writeJob([](int language, FILE* file) {
        fputs(language == kLanguageGPGL ? ("J1" + ETX + "\r\n").c_str() : "SP1;\r\n", file);
        EXPECT_EQ(kNoErr, movePen(0, 0, language, file));
        EXPECT_EQ(kNoErr, drawPen(4000, 0, language, file));
        EXPECT_EQ(kNoErr, drawPen(4000, 2000, language, file));
        EXPECT_EQ(kNoErr, drawArcPen(2000, 2000, 0.0, 3.1415926535, 50.0, language, file, 1));
        EXPECT_EQ(kNoErr, drawPen(0, 0, language, file));
    });

    // The script's lines are queued for the dialog now, as a script queues
    // them before the command that opens it; the checks of the end of a
    // script run once the dialog has been used.
    std::ostringstream out;
    host::ScriptContext context{session(), out, dir_.path()};
    std::istringstream script(R"(dialog "Preview Dialog"
  expect-title "Output Preview"
  click 3
  wait 0 200
  save-picture frame.png 1
  click 12
end-dialog
)");
    std::string line, error;
    while (std::getline(script, line)) {
        std::vector<std::string> words;
        ASSERT_TRUE(host::splitScriptLine(line, words, error)) << error;
        bool ok = context.capture ? context.capture(words, error) : host::runScriptCommand(context, words, error);
        ASSERT_TRUE(ok) << error;
    }
    EXPECT_EQ(goOutputPreview(nullptr), 0);
    for (auto& check : context.checks) EXPECT_TRUE(check(true, error)) << error;
    EXPECT_NE(out.str().find("picture: frame.png"), std::string::npos) << out.str();
    EXPECT_TRUE(Toolkit::get().modalLog.back().answered);

    // Extent 4000 x 4000 steps (the half circle rises to 4000): zoom 485 / 4000.
    // Frame pixels: the origin at (10, 536), x to the right, y upwards.
    std::string png = dir_.file("frame.png");
    auto at = [&](double x, double y) {
        double zoom = 485.0 / 4000.0;
        return pixelOf(png, 10 + (int)(x * zoom), (int)(546 - y * zoom) - 10);
    };
    EXPECT_EQ(at(2000, 0), 0x000000);     // bottom edge
    EXPECT_EQ(at(4000, 1000), 0x000000);  // right edge
    EXPECT_EQ(at(0, 1000), 0x000000);     // the closing line back to the origin
    EXPECT_EQ(at(2000, 4000), 0x000000);  // the top of the half circle
    EXPECT_EQ(at(2000, 2000), 0xFFFFFF);  // inside
    EXPECT_EQ(at(2000, 1000), 0xFFFFFF);
}

INSTANTIATE_TEST_SUITE_P(Languages, OutputPreviewRoad,
                         ::testing::Values(kLanguageHPGL, kLanguageGPGL, kLanguageMGL_IC1, kLanguageDMGL),
                         [](const auto& info) { return std::string(kLanguageNames[info.param]); });

}  // namespace
