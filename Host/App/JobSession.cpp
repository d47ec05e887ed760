// What the commands that run a job through the Plot Out dialog share: the
// SVG opened and selected, the current plotter made sure of, the dialog
// opened from the plug-in's menu and its outcome reported.
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "App.h"
#include "Core/PlotterLibrary.h"
#include "Dialog/PlotOutDialog.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "Menus/Menus.h"
#include "OutputFile.h"

namespace vt::app {
namespace {

const char* languageName(int language)
{
    static const char* const names[] = {"HPGL", "GPGL", "MGL_IC1", "DMGL"};
    return language >= 0 && language < 4 ? names[language] : "unknown language";
}

const char* const kPlotterPrefsPrefix = "Korvel-Ulmaren";

// Why the plug-in greys Plot Out, in the words of the preference entries: it
// refuses a current plotter that is incomplete, or whose language, step, media
// size or pens no job can be cut with (as its library refuses such a plotter).
std::string whyThePlotterIsRefused(const host::Preferences& prefs)
{
    std::string name;
    prefs.getString(kPlotterPrefsPrefix, "PlotterName", &name);
    auto said = [&name](const std::string& problem) {
        return "the current plotter" + (name.empty() ? std::string() : " \"" + name + "\"") + " in the preferences " +
               problem + "; choose one with --plotter NAME";
    };
    int32_t language = 0;
    if (prefs.getInteger(kPlotterPrefsPrefix, "PlotterLanguage", &language) && (language < 0 || language > 3))
        return said("cannot be used: PlotterLanguage is " + std::to_string(language) +
                    ", not one of 0 (HPGL) to 3 (DMGL)");
    auto number = [](double value) {
        std::ostringstream text;
        text << value;
        return text.str();
    };
    const std::pair<const char*, double> lengths[] = {
        {"PlotterStep", kPlotterLargestStep}, {"PlotterSizeX", kPlotterLargestMediaSize}, {"PlotterSizeY", kPlotterLargestMediaSize}};
    for (const auto& [key, largest] : lengths) {
        double value = 0;
        if (!prefs.getReal(kPlotterPrefsPrefix, key, &value)) continue;
        if (!std::isfinite(value)) return said(std::string("cannot be used: ") + key + " is not a finite number");
        if (value <= 0) return said(std::string("cannot be used: ") + key + " is " + number(value) + ", not above 0");
        if (value > largest * (1.0 + 1e-6))
            return said(std::string("cannot be used: ") + key + " is " + number(value) + ", more than " +
                        number(largest) + " mm");
    }
    int32_t pens = 0;
    prefs.getInteger(kPlotterPrefsPrefix, "EnvironmentPenNum", &pens);
    for (int32_t i = 0; i < pens && i < kMaxPenCount; ++i)
        for (const char* key : {"PenPressure-", "PenVelocity-", "PenExtra-"}) {
            double value = 0;
            std::string entry = key + std::to_string(i);
            if (prefs.getReal(kPlotterPrefsPrefix, entry, &value) && !(std::isfinite(value) && value >= 0))
                return said("cannot be used: " + entry + " is " + number(value) + ", below 0");
        }
    return said("is incomplete");
}

}  // namespace

FileIdentity identityOf(const std::string& path)
{
    FileIdentity id;
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.modified = st.st_mtim;
    return id;
}

bool sameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.exists == b.exists && a.device == b.device && a.inode == b.inode &&
           a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
}

bool jobOutputTarget(const std::string& given, std::string& output)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(given, ec);
    if (ec) {
        std::cerr << "vantorel-host: cannot write " << given << ": " << ec.message() << "\n";
        return false;
    }
    output = host::outputTarget(absolute.string());
    std::string refused;
    if (!host::checkOutputTarget(output, refused)) {
        std::cerr << "vantorel-host: " << refused << "\n";
        return false;
    }
    return true;
}

bool openJob(const std::string& path, std::string& error)
{
    auto document = host::readSvgFile(host::documents(), path, error);
    if (!document) return false;
    host::Document* d = document.get();
    host::documents().adopt(std::move(document));
    size_t selected = d->selectAll();
    std::cout << "opened " << path << ": " << d->layers().size() << " layer(s), " << selected
              << " top-level object(s) selected\n";
    if (selected == 0) {
        error = path + ": nothing to cut (the drawing holds no art that is not hidden)";
        return false;
    }
    return true;
}

bool ensureCurrentPlotter(host::Session& session, std::string name, const std::string& environment,
                          std::string& error)
{
    host::Preferences& prefs = session.host().prefs();
    std::string current;
    bool haveCurrent = prefs.getString(kPlotterPrefsPrefix, "PlotterName", &current) && !current.empty();
    if (name.empty() && environment.empty() && haveCurrent) {
        std::cout << "plotter: " << current << " (the current plotter)\n";
        return true;
    }
    if (name.empty()) name = current;
    if (name.empty()) {
        error = "no current plotter is set up; name one with --plotter NAME";
        return false;
    }
    if (!choosePlotter(session, name, environment, error)) return false;
    int32_t language = -1;
    std::string environmentName;
    prefs.getInteger(kPlotterPrefsPrefix, "PlotterLanguage", &language);
    prefs.getString(kPlotterPrefsPrefix, "EnvironmentName", &environmentName);
    std::cout << "plotter: " << name << " (" << languageName(language) << "), environment " << environmentName
              << "\n";
    return true;
}

bool startJob(host::Session& session, const std::string& job, const std::string& plotter,
              const std::string& environment)
{
    if (!startSession(session)) return false;
    // Nobody sees the dialogs of a job run from the command line: what they
    // would show is drawn only for the picture asked for, and no record of
    // the drawing calls is kept (only tests read it).
    host::toolkit::Toolkit::get().watched = false;
    host::toolkit::Toolkit::get().callRecordLimit = 0;
    std::string error;
    if (!openJob(job, error) || !ensureCurrentPlotter(session, plotter, environment, error)) {
        std::cerr << "vantorel-host: " << error << "\n";
        return false;
    }
    return true;
}

bool driveJobPlotOut(std::vector<host::toolkit::DialogAction> actions, host::toolkit::ModalOutcome& outcome,
                     std::string& error)
{
    host::MenuItem* plotOut = host::menus().find("Plot Out Menu", error);
    if (!plotOut) {
        error = "the plug-in has no Plot Out menu item (" + error + ")";
        return false;
    }
    std::cout << "menu: " << host::menus().pathOf(plotOut) << "\n";
    outcome =
        host::toolkit::Toolkit::get().driveModal(kPlotOutDialog.name, std::move(actions), [plotOut](std::string& e) {
            host::menus().choose(plotOut, e);
            return e.empty();
        });
    return true;
}

bool plotOutDialogWorked(host::Session& session, const host::toolkit::ModalOutcome& outcome)
{
    bool failed = false;
    if (!outcome.openError.empty()) {
        std::cerr << "vantorel-host: " << outcome.openError << ": " << whyThePlotterIsRefused(session.host().prefs())
                  << "\n";
        failed = true;
    }
    // A message alert is a warning (the job reaching beyond the media, say):
    // it was shown, and the job went out all the same.
    for (size_t i = 0; i < outcome.alerts.size(); ++i) {
        if (i < outcome.alertKinds.size() && outcome.alertKinds[i] == "message") {
            std::cerr << "vantorel-host: warning: " << outcome.alerts[i] << "\n";
            continue;
        }
        std::cerr << "vantorel-host: " << outcome.alerts[i] << "\n";
        failed = true;
    }
    for (const std::string& f : outcome.failures) {
        std::cerr << "vantorel-host: " << f << "\n";
        failed = true;
    }
    if (!failed && !outcome.opened) {
        std::cerr << "vantorel-host: the Plot Out dialog did not open\n";
        failed = true;
    }
    return !failed;
}

}  // namespace vt::app
