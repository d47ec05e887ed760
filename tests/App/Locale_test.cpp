// Numbers in files are read and written in the C locale whatever the user's:
// the program run in a locale with a decimal comma reads the plotter library,
// the preferences, the SVG job and its own preview file as it does in the C
// locale, and writes the same library, preferences, plot file, pictures and SVG.
#include "HostRun.h"

namespace {

using vt::test::hostToLog;
using vt::test::readFile;

// Fractions everywhere a number is read: sizes, transforms, path data, arcs,
// radii and stroke widths.
const char* const kJob = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="120.5mm" height="80.25mm" viewBox="0 0 120.5 80.25">
  <g id="Cut" transform="translate(2.5 3.75) rotate(7.5 50 40) scale(1.25)">
    <path d="M10.5,10.25 C20.75,5.5 30.125,15.5 40.5,10.25 A12.5,7.25 12.5 0 1 60.75,30.5 Z" fill="#c01c28"/>
    <circle cx="70.5" cy="40.25" r="9.75" fill="#1c28c0"/>
    <rect x="5.5" y="45.5" width="30.25" height="20.5" rx="3.5" fill="none" stroke="#000" stroke-width="0.75"/>
  </g>
</svg>
)svg";

// The Plot Out dialog's frame, then its preview button: the job written to the
// preview file and replayed from it to the end; then the document saved.
const char* const kSession = R"(open job.svg
select all
dialog "Plot Out Dialog"
  save-picture frame.png 61
  click 71
  click 74
end-dialog
dialog "Preview Dialog"
  click 3
  wait 0 5000
  save-picture replay.png 1
  click 12
end-dialog
menu "Plot Out"
save saved.svg
)";

// What one locale's runs leave: file name to contents.
std::map<std::string, std::string> runIn(const std::string& locale, const std::string& plotter)
{
    vt::test::TempDir dir;
    vt::test::writeFile(dir.file("job.svg"), kJob);
    vt::test::writeFile(dir.file("session.vts"), kSession);
    const std::string commands[] = {
        "setup --plotter '" + plotter + "'",
        "plot '" + dir.file("job.svg") + "' -o '" + dir.file("job.plt") + "'",
        "run '" + dir.file("session.vts") + "'",
    };
    for (const std::string& command : commands)
        EXPECT_EQ(hostToLog(dir, command, "out.txt", locale), 0) << locale << ": " << command << "\n"
                                                                 << readFile(dir.file("out.txt"));
    std::map<std::string, std::string> files;
    for (const char* name : {"prefs.json", "Plug-ins/PlotterSetup.txt", "job.plt", "Plug-ins/~Temp.hpgl", "frame.png",
                             "replay.png", "saved.svg"})
        files[name] = readFile(dir.file(name));
    return files;
}

TEST(DecimalCommaLocale, EveryFileIsReadAndWrittenAsInTheCLocale)
{
    for (const char* plotter : {"Generic 24in Drag Knife", "Generic 15in Desktop Cutter", "Generic 30in Contour Cutter",
                                "Generic 54in Production Cutter"}) {
        SCOPED_TRACE(plotter);
        std::map<std::string, std::string> c = runIn("C", plotter);
        std::map<std::string, std::string> german = runIn(vt::test::kDecimalCommaLocale, plotter);
        EXPECT_NE(c["Plug-ins/PlotterSetup.txt"].find("PlotterStep=0.025000"), std::string::npos);
        for (const auto& [name, text] : c) {
            EXPECT_FALSE(text.empty()) << name;
            EXPECT_TRUE(text == german[name]) << name << " differs in " << vt::test::kDecimalCommaLocale;
        }
    }
}

}  // namespace
