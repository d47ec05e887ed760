// Every picture a dialog of the plug-in shows is shipped: each picture id of
// the item tables has its "Resources/Pictures/<id>.png" no larger than its
// item, each one the dialogs set while they run is there too (driven through
// every dialog built), and every rendered picture has the vector source it is
// made from. A dialog added later with a picture nobody drew fails here.
#include <cairo.h>

#include <filesystem>
#include <set>

#include "Dialog/About.h"
#include "Dialog/ItemControl.h"
#include "Dialog/OutputPreview.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PreProcessDialog.h"
#include "HostFixture.h"
#include "Toolkit/Paint.h"
#include "Toolkit/Toolkit.h"

using namespace vt;
using host::toolkit::Toolkit;
namespace fs = std::filesystem;

namespace {

const std::string kResources = VANTOREL_SOURCE_DIR "/Resources";

struct ItemTable {
    const char* dialog;
    const Item_Control_arg* rows;
    int count;
};

// The item tables the dialogs export. The plotter setup dialog and its
// editors keep theirs to themselves; their pictures are checked by driving
// them below.
const ItemTable kTables[] = {
    {"About Dialog", dlgAboutItem, kAboutItemCount},
    {"Plot Out Dialog", dlgPlotOutItem, kPlotOutItemCount},
    {"Preview Dialog", dlgPreviewItem, kPreviewItemCount},
    {kPreProcessDialog.name, dlgPreProcessItem, kPreProcessItemCount},
};

// Width and height of a PNG file; false when it cannot be read as one.
bool pngSize(const std::string& path, int& w, int& h)
{
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        w = cairo_image_surface_get_width(s);
        h = cairo_image_surface_get_height(s);
    }
    cairo_surface_destroy(s);
    return ok;
}

std::string picture(ASInt32 id) { return kResources + "/Pictures/" + std::to_string(id) + ".png"; }

TEST(DialogPictures, EveryPictureOfTheItemTablesIsShippedAndFitsItsItem)
{
    for (const ItemTable& table : kTables)
        for (int i = 0; i < table.count; ++i) {
            const Item_Control_arg& row = table.rows[i];
            if (row.pictureId == 0) continue;
            SCOPED_TRACE(std::string(table.dialog) + ", item " + std::to_string(row.itemId) + ", picture " +
                         std::to_string(row.pictureId));
            if (row.pictureId < 0) {
                EXPECT_TRUE(host::toolkit::hasBuiltInPicture(row.pictureId)) << "not a picture of the toolkit";
                continue;
            }
            int w = 0, h = 0;
            ASSERT_TRUE(pngSize(picture(row.pictureId), w, h)) << "no picture " << picture(row.pictureId);
            EXPECT_LE(w, row.width);
            EXPECT_LE(h, row.height);
        }
}

TEST(DialogPictures, EveryRenderedPictureAndCursorHasItsSource)
{
    for (const char* kind : {"Pictures", "Cursors"}) {
        std::set<std::string> pngs, sources;
        for (const auto& e : fs::directory_iterator(kResources + "/" + kind))
            if (e.path().extension() == ".png") pngs.insert(e.path().stem().string());
        for (const auto& e : fs::directory_iterator(kResources + "/" + kind + "/src"))
            if (e.path().extension() == ".svg") sources.insert(e.path().stem().string());
        EXPECT_EQ(pngs, sources) << kind << ": run scripts/render-pictures.sh after changing a source";
        EXPECT_FALSE(pngs.empty());
    }
}

using DialogPicturesDriven = test::HostTest;

TEST_F(DialogPicturesDriven, EveryPictureTheBuiltDialogsShowIsShipped)
{
    startSession();
    std::string error;
    // Each dialog is drawn whole (save-picture) in the states reached, so a
    // picture missing from the plug-in folder is noted by the toolkit.
    // The setup dialog with its three editors and its error box: entries
    // checked and not, then a current plotter chosen.
    ASSERT_TRUE(runScript(R"(dialog "Plotter Dialog"
  click 2
end-dialog
dialog "Environment Dialog"
  click 2
end-dialog
dialog "Pen Dialog"
  click 2
end-dialog
dialog "Error Message Dialog"
  save-picture error.png
  click 1
end-dialog
dialog "Plotter Setup Dialog"
  double-click 3 50 10
  double-click 32 50 10
  double-click 34 50 10
  click 1
  press 3 10 10
  release 10 10
  press 32 10 10
  release 10 10
  save-picture setup.png
  click 1
end-dialog
menu "Plotter Setup"
expect-dialog "Plotter Setup Dialog" 1
)",
                    error))
        << error << "\n" << scriptOutput_.str();
    // Plot Out with its output preview, then About.
    ASSERT_TRUE(runScript("open \"" VANTOREL_SOURCE_DIR R"(/samples/open-sign.svg"
select all
dialog "Preview Dialog"
  click 3
  wait 0 20
  save-picture preview.png
  click 12
end-dialog
dialog "Plot Out Dialog"
  click 71
  save-picture plotout.png
  click 74
end-dialog
menu "Plot Out"
dialog "About Dialog"
  save-picture about.png
  click 1
end-dialog
about
)",
                    error))
        << error << "\n" << scriptOutput_.str();
    // Pens deleted until the list is empty: Delete shows its greyed picture.
    ASSERT_TRUE(runScript(R"(dialog "Plotter Setup Dialog"
  click 46
  click 46
  expect-state 46 disabled
  save-picture emptied.png
  click 2
end-dialog
menu "Plotter Setup"
)",
                    error))
        << error << "\n" << scriptOutput_.str();

    Toolkit& tk = Toolkit::get();
    // The drive reached the pictures set while the dialogs run, not only
    // those of the tables.
    for (ASInt32 id : {1004, 1005, 1080, 1071, 1043, 1044, 1054, 1002, ASInt32(kADMDeleteEntryDisabledPictureID)})
        EXPECT_EQ(tk.pictureIds.count(id), 1u) << id;
    for (ASInt32 id : tk.pictureIds) {
        EXPECT_TRUE(tk.hasPicture(id)) << "picture " << id << " is not in the plug-in folder";
        if (id > 0) {
            EXPECT_TRUE(fs::exists(picture(id))) << picture(id);
        }
    }
    EXPECT_TRUE(tk.missingPictures.empty()) << "drawn as a labelled box: " << *tk.missingPictures.begin();
    // The plug-in folder got the pictures, not their sources.
    EXPECT_TRUE(fs::exists(pluginFolder() + "/Pictures/1043.png"));
    EXPECT_FALSE(fs::exists(pluginFolder() + "/Pictures/src"));
}

}  // namespace
