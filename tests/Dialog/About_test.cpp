// The About dialog, in process and through vantorel-host scripts.
#include <cairo.h>

#include <algorithm>

#include "Common/PluginGlobals.h"
#include "Host/DejaVuReference.h"
#include "Dialog/About.h"
#include "App/HostRun.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

class AboutTest : public test::HostTest {};

TEST_F(AboutTest, OKEndsTheDialogWithOne)
{
    startSession();
    Toolkit::get().queueDialog("About Dialog", {[](Driver& user, std::string& error) {
                                   auto* d = user.dialog();
                                   EXPECT_EQ(d->resourceId, 16050);
                                   EXPECT_EQ(d->title, "About Vantorel");
                                   EXPECT_EQ(d->width(), 500);
                                   EXPECT_EQ(d->height(), 120);
                                   EXPECT_EQ(d->items.size(), 6u);
                                   EXPECT_EQ(d->item(kAboutLogoItem)->picture, 1071);
                                   EXPECT_EQ(d->item(kAboutRightsItem)->text, "All rights reserved.");
                                   return user.click(kAboutOKItem, error);
                               }});
    EXPECT_EQ(session().about(), kNoErr);
    ASSERT_EQ(Toolkit::get().modalLog.size(), 1u);
    EXPECT_EQ(Toolkit::get().modalLog[0].result, 1);
    EXPECT_TRUE(Toolkit::get().failures.empty());
}

TEST_F(AboutTest, AboutAnswersSuccessEvenWhenNobodyAnswersTheDialog)
{
    startSession();
    EXPECT_EQ(session().about(), kNoErr);
    EXPECT_EQ(Toolkit::get().modalLog.at(0).result, 2);
}

// The About dialog's four text lines in each language: each has ink; a line
// of plain ASCII (English, the product name) is drawn exactly as DejaVu Sans
// Condensed alone draws it, a Japanese line is not.
TEST_F(AboutTest, JapaneseTextsAreDrawnWithTheFallbackFontAndEnglishOnesAsBefore)
{
    for (const char* language : {"English", "Japanese"}) {
        test::writeFile(pluginFolder() + "/Ardo_Config.txt", std::string("Language=") + language + "\n");
        makeSession();
        startSession();
        int japaneseLines = 0;
        Toolkit::get().queueDialog(kAboutDialog.name, {[&](Driver& user, std::string& error) {
                                       for (ASInt32 id : {kAboutNameItem, kAboutPurposeItem, kAboutMakerItem, kAboutRightsItem}) {
                                           auto* item = user.dialog()->item(id);
                                           const auto& drawn = item->raster;
                                           EXPECT_GT(test::inkIn(drawn, 0, 0, drawn.width(), drawn.height()), 30)
                                               << language << " item " << id;
                                           host::toolkit::Raster alone;
                                           test::drawWithDejaVuAlone(alone, item->width(), item->height(),
                                                                     kADMBackgroundColor, kADMTextColor, item->text, 2, 11);
                                           bool ascii = std::all_of(item->text.begin(), item->text.end(),
                                                                    [](char c) { return (c & 0x80) == 0; });
                                           int differing = test::differingPixels(drawn, alone);
                                           if (ascii) {
                                               EXPECT_EQ(differing, 0) << language << " item " << id;
                                           } else {
                                               ++japaneseLines;
                                               EXPECT_GT(differing, 30) << language << " item " << id;
                                           }
                                       }
                                       return user.click(kAboutOKItem, error);
                                   }});
        EXPECT_EQ(session().about(), kNoErr);
        EXPECT_EQ(japaneseLines, std::string(language) == "Japanese" ? 3 : 0) << language;
        EXPECT_TRUE(Toolkit::get().failures.empty());
        stopSession();
    }
}

// ---- vantorel-host run ----

using test::RunResult;

RunResult runScript(const test::TempDir& dir, const std::string& script)
{
    test::writeFile(dir.file("session.vts"), script);
    return test::host(dir, "run '" + dir.file("session.vts") + "'");
}

TEST(AboutScript, AScriptOpensAboutSavesItsPictureAndPressesOK)
{
    test::TempDir dir;
    RunResult r = runScript(dir, R"(# About from the plug-in, answered by the script
dialog "About Dialog"
  expect-title "About Vantorel"
  expect-text 2 Vantorel
  save-picture about.png
  click 1
end-dialog
about
expect-dialog "About Dialog" 1
)");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("picture: about.png"), std::string::npos);
    EXPECT_EQ(r.output.find("not answered"), std::string::npos) << r.output;

    cairo_surface_t* png = cairo_image_surface_create_from_png(dir.file("about.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 500);
    EXPECT_EQ(cairo_image_surface_get_height(png), 120);
    cairo_surface_flush(png);
    const unsigned char* data = cairo_image_surface_get_data(png);
    int stride = cairo_image_surface_get_stride(png);
    auto pixel = [&](int x, int y) {
        uint32_t v;
        std::memcpy(&v, data + y * stride + x * 4, 4);
        return v & 0xFFFFFF;
    };
    // The OK button's edge at its place, and dark text in the first line.
    EXPECT_NE(pixel(355, 5), host::toolkit::rgbOf(kADMBackgroundColor));
    int dark = 0;
    for (int y = 12; y < 27; ++y)
        for (int x = 75; x < 300; ++x) dark += (pixel(x, y) & 0xFF) < 0x60 ? 1 : 0;
    EXPECT_GT(dark, 20);
    cairo_surface_destroy(png);
}

TEST(ErrorBoxScript, AScriptMeetsTheErrorBoxSavesItsPictureAndPressesOK)
{
    // OK in the Plotter Setup dialog with two plotters checked shows the error box.
    test::TempDir dir;
    RunResult r = runScript(dir, R"(dialog "Plotter Setup Dialog"
  press 3 10 10
  release 10 10
  press 3 10 30
  release 10 30
  click 1
  click 2
end-dialog
dialog "Error Message Dialog"
  save-picture error.png
  click 1
end-dialog
menu "Plotter Setup"
expect-dialog "Plotter Setup Dialog" 2
)");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("not answered"), std::string::npos) << r.output;

    cairo_surface_t* png = cairo_image_surface_create_from_png(dir.file("error.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 268);
    EXPECT_EQ(cairo_image_surface_get_height(png), 134);
    cairo_surface_flush(png);
    const unsigned char* data = cairo_image_surface_get_data(png);
    int stride = cairo_image_surface_get_stride(png);
    auto darkIn = [&](int left, int top, int right, int bottom) {
        int dark = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                uint32_t v;
                std::memcpy(&v, data + y * stride + x * 4, 4);
                dark += (v & 0xFF) < 0x60 ? 1 : 0;
            }
        return dark;
    };
    EXPECT_GT(darkIn(45, 8, 250, 21), 20) << "the message's first line";
    EXPECT_GT(darkIn(45, 21, 250, 34), 5) << "a message wider than its box wraps onto a second line";
    EXPECT_GT(darkIn(97, 75, 172, 96), 10) << "the OK button";
    cairo_surface_destroy(png);
}

TEST(AboutScript, AFailingActionOrUnusedAnswersFailTheScript)
{
    test::TempDir dir;
    RunResult r = runScript(dir, "dialog \"About Dialog\"\n  click 9\nend-dialog\nabout\necho after\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("line 4: \"About Dialog\", action 1: click: \"About Dialog\" has no item 9"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("after"), std::string::npos);

    r = runScript(dir, "dialog \"Pen Dialog\"\n  click 1\nend-dialog\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("the answers queued for \"Pen Dialog\" were never used"), std::string::npos) << r.output;

    r = runScript(dir, "dialog \"About Dialog\"\n  click 1\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("has no end-dialog"), std::string::npos) << r.output;

    r = runScript(dir, "about\n");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\"About Dialog\" was not answered; closed as a cancel with result 2"), std::string::npos);
}

}  // namespace
