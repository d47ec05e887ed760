// What the commands that run a job through the Plot Out dialog share: the
// SVG opened and selected, the current plotter made sure of, the dialog
// opened from the plug-in's menu and its outcome reported.
#include <iostream>

#include "App.h"
#include "Dialog/PlotOutDialog.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "Menus/Menus.h"

namespace vt::app {
namespace {

const char* languageName(int language)
{
    static const char* const names[] = {"HPGL", "GPGL", "MGL_IC1", "DMGL"};
    return language >= 0 && language < 4 ? names[language] : "unknown language";
}

const char* const kPlotterPrefsPrefix = "Korvel-Ulmaren";

}  // namespace

bool openJob(const std::string& path, std::string& error)
{
    auto document = host::readSvgFile(host::documents(), path, error);
    if (!document) return false;
    host::Document* d = document.get();
    host::documents().adopt(std::move(document));
    size_t selected = 0;
    for (host::LayerNode* l : d->layers())
        for (host::ArtNode* art : l->root->children) {
            d->setSelected(art, true);
            ++selected;
        }
    std::cout << "opened " << path << ": " << d->layers().size() << " layer(s), " << selected
              << " top-level object(s) selected\n";
    if (selected == 0) {
        error = path + ": nothing to cut (the drawing holds no art)";
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
    outcome = host::toolkit::Toolkit::get().driveModal(kPlotOutDialogName, std::move(actions),
                                                       [plotOut](std::string& e) {
                                                           host::menus().choose(plotOut, e);
                                                           return e.empty();
                                                       });
    return true;
}

bool plotOutDialogWorked(const host::toolkit::ModalOutcome& outcome)
{
    bool failed = false;
    if (!outcome.openError.empty()) {
        std::cerr << "vantorel-host: " << outcome.openError << ": the current plotter is incomplete\n";
        failed = true;
    }
    for (const std::string& text : outcome.alerts) {
        std::cerr << "vantorel-host: " << text << "\n";
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
