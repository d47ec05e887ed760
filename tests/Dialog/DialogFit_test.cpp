// Every text of every dialog and palette of the plug-in can be read whole, in
// each of its five languages: each is opened as a user would, on values as
// long as a sign maker meets (positions past a metre, a selection whose
// values differ, a 50 m roll), and `expect-fits` measures every text it shows
// in the toolkit's fonts against the room its item gives it.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "HostFixture.h"
#include "USB/FakeBus.h"
#include "USB/FakeCutter.h"

using namespace vt;

namespace {

// Two layers of one rectangle each, in two colours: 20 x 10 mm at the
// origin and 30 x 20 mm 1.1 m to its right.
const char* kJob = R"(<svg xmlns="http://www.w3.org/2000/svg" width="1200mm" height="100mm" viewBox="0 0 1200 100">
  <g id="Lettering in vinyl"><rect x="0" y="90" width="20" height="10" fill="#c01c28"/></g>
  <g id="Frame"><rect x="1100" y="80" width="30" height="20" fill="#1c71d8"/></g>
</svg>)";

// The walk through every dialog. The bundled 24-inch cutter is made current
// through the setup dialog (its first plotter and environment), so the pens
// are its own ("60 Degree Blade"); a fake cutter answers the device panel.
const char* kWalk = R"(# The setup dialog, its three editors (the plotter's on the longest name
# of the library, each on its largest values) and its error box.
dialog "Plotter Dialog"
  expect-fits
  type 12 10
  type 14 65535
  type 16 65535
  type 19 65535
  type 21 65535
  expect-fits
  click 2
end-dialog
dialog "Environment Dialog"
  expect-fits
  click 2
end-dialog
dialog "Pen Dialog"
  expect-fits
  type 6 99999
  type 9 99999
  type 12 99
  expect-fits
  click 2
end-dialog
dialog "Error Message Dialog"
  expect-fits
  click 1
end-dialog
dialog "Plotter Setup Dialog"
  expect-fits
  double-click 3 50 90
  expect-fits
  double-click 32 50 10
  double-click 34 50 10
  click 1
  press 3 10 10
  release 10 10
  press 32 10 10
  release 10 10
  expect-fits
  click 1
end-dialog
select-dialog "PreProcess Plot"
click 3
expect-dialog "Plotter Setup Dialog" 1
dialog "About Dialog"
  expect-fits
  click 1
end-dialog
about

# Plot Out on a job arranged to long values. One volume on its largest
# scale, rotation and fit precision; on as many copies as the media takes,
# ten metres apart (only the copy fields are read: no size holds such a
# job); as wide and long as the roll (only the size fields). Then copied and
# spaced apart from the other, so that the two differ, both selected, moved
# past a metre across and 23 m along the roll; the dialogs it opens; the
# layout at its smallest size.
open job.svg
select all
dialog "AutoGroupSpace Dialog"
  expect-fits
  type 4 100
  type 7 100
  expect-fits
  click 2
end-dialog
dialog "Preview Option Dialog"
  expect-fits
  click 2
end-dialog
dialog "ColorLayer Dialog"
  expect-fits
  type 10 "VS10;"
  expect-fits
  click 2
end-dialog
dialog "Preview Dialog"
  click 3
  wait 0 50
  expect-fits
  click 12
end-dialog
dialog "Plot Out Dialog"
  expect-fits
  click 13
  click 51
  double-click 55 100 10
  press 61 40 508
  release 40 508
  type 20 99.99
  type 18 -359.99
  type 40 10
  expect-fits
  type 20 1
  type 22 1
  type 18 0
  type 29 999
  type 31 999
  type 33 9999.99
  type 35 9999.99
  expect-fits 29
  expect-fits 31
  expect-fits 33
  expect-fits 35
  type 29 1
  type 31 1
  type 33 3
  type 35 3
  type 24 50000
  type 25 50000
  expect-fits 24
  expect-fits 25
  type 20 1
  type 22 1
  type 29 3
  type 33 12.5
  click 68
  press 61 2 2
  drag 614 540
  release 614 540
  type 2 1234.56
  type 4 23456.78
  type 18 -123.45
  hover 61 300 300
  expect-fits
  click 26
  click 71
  click 54
  expect-fits
  resize 840 587
  expect-fits
  click 74
end-dialog
dialog "Plot Out Dialog"
  expect-fits
  click 8
  type 9 50000
  expect-fits
  click 2
end-dialog
menu "Plot Out Menu"

# The command palette and the dialogs of its buttons, each on its longest
# values; the device panel after a read, on its largest values.
dialog "Plot Out Dialog"
  expect-fits
  click 1
  type 3 -1000
  type 5 1000
  expect-fits
  click 7
end-dialog
dialog "OffsetSize Dialog"
  expect-fits
  type 4 100
  expect-fits
  click 2
end-dialog
dialog "RipSetting Dialog"
  expect-fits
  type 4 100
  type 6 100
  type 9 100
  type 11 100
  expect-fits
  click 2
end-dialog
dialog "MAKE_DoT_CUt_Dialog"
  expect-fits
  type 2 100
  type 5 100
  expect-fits
  click 8
end-dialog
dialog "AASSetting Dialog"
  expect-fits
  type 3 50
  type 5 2
  type 7 50
  click 9
  type 11 600
  type 13 600
  click 15
  type 17 10
  type 19 10
  type 21 100
  expect-fits
  click 25
end-dialog
dialog "VLCD Dialog"
  expect-fits
  click 2
  expect-fits
  type 17 99999
  type 68 -10
  type 70 -10
  type 53 9999.99
  type 56 9999.99
  type 62 9999.99
  type 64 9999.99
  expect-fits
  click 100
end-dialog
select-dialog "PreProcess Plot"
expect-fits
click 14
click 8
click 9
click 4
click 13
click 15

# The split palette, with and without its guide-grid options.
click 10
select-dialog "Split Dialog"
expect-fits
type 4 100
type 6 100
type 8 100
type 10 100
expect-fits
click 17
type 19 1000
type 21 1000
expect-fits
)";

// The language, as the language file names it.
class DialogFit : public test::HostTest, public ::testing::WithParamInterface<const char*> {
protected:
    void TearDown() override { host::usb::setBus(nullptr); }
};

TEST_P(DialogFit, EveryTextOfEveryDialogFitsItsItem)
{
    const char* language = GetParam();
    test::writeFile(pluginFolder() + "/Ardo_Config.txt", std::string("Language=") + language + "\n");
    test::writeFile(dir_.file("job.svg"), kJob);
    startSession();
    // The bundled 24-inch cutter's ids.
    host::usb::installFakeCutter(dir_.file("cutter.bin"), 31248, 257);
    std::string error;
    EXPECT_TRUE(runScript(kWalk, error)) << language << ": " << error << "\n" << scriptOutput_.str();
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogFit,
                         ::testing::Values("English", "Chinese(PRC)", "Chinese(ROC)", "Japanese", "Korea"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name;
                             for (const char* c = info.param; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

}  // namespace
