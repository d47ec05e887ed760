// vantorel-host plot JOB.svg -o OUT: the main job. The SVG becomes the
// current document, its top-level art is selected, a current plotter is made
// sure of, and then the plug-in does the rest as it would for a person: Plot
// Out from its menu, "output to a file" (or to the cutter) in the Plot Out
// dialog, the save dialog answered with OUT, and the dialog closed.
#include <strings.h>

#include <filesystem>
#include <iostream>
#include <new>

#include "App.h"
#include "Dialog/PlotOutDialog.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "ErrorText.h"
#include "Menus/Menus.h"
#include "Toolkit/Driver.h"

namespace fs = std::filesystem;

namespace vt::app {
namespace {

struct PlotArgs {
    std::string job;
    std::string output;
    std::string plotter;
    std::string environment;
    bool usb = false;
    bool byColour = false;
};

const char* languageName(int language)
{
    static const char* const names[] = {"HPGL", "GPGL", "MGL_IC1", "DMGL"};
    return language >= 0 && language < 4 ? names[language] : "unknown language";
}

const char* const kPlotterPrefsPrefix = "Korvel-Ulmaren";

// Makes sure the preferences hold the current plotter the job needs. With no
// plotter named, a current plotter already in the preferences stays;
// otherwise the named one (or the current one with another environment) is
// chosen through the plug-in's own Plotter Setup dialog, as a user would.
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

int plot(const GlobalOptions& options, const PlotArgs& a)
{
    if (a.usb == !a.output.empty()) {
        std::cerr << "vantorel-host: plot needs either -o OUT or --usb\n";
        return 2;
    }
    host::Session session(sessionOptions(options));
    if (!startSession(session)) return 1;

    std::string error;
    auto document = host::readSvgFile(host::documents(), a.job, error);
    if (!document) {
        std::cerr << "vantorel-host: " << error << "\n";
        return 1;
    }
    host::Document* d = document.get();
    host::documents().adopt(std::move(document));
    size_t selected = 0;
    for (host::LayerNode* l : d->layers())
        for (host::ArtNode* art : l->root->children) {
            d->setSelected(art, true);
            ++selected;
        }
    std::cout << "opened " << a.job << ": " << d->layers().size() << " layer(s), " << selected
              << " top-level object(s) selected\n";
    if (selected == 0) {
        std::cerr << "vantorel-host: " << a.job << ": nothing to cut (the drawing holds no art)\n";
        return 1;
    }

    if (!ensureCurrentPlotter(session, a.plotter, a.environment, error)) {
        std::cerr << "vantorel-host: " << error << "\n";
        return 1;
    }

    host::MenuItem* plotOut = host::menus().find("Plot Out Menu", error);
    if (!plotOut) {
        std::cerr << "vantorel-host: the plug-in has no Plot Out menu item (" << error << ")\n";
        return 1;
    }

    using host::toolkit::Driver;
    auto& tk = host::toolkit::Toolkit::get();
    std::string output = a.output.empty() ? std::string() : fs::absolute(a.output).string();
    if (!output.empty()) {
        std::error_code ec;
        fs::remove(output, ec);  // so that a file left from an earlier run cannot pass for this one
        tk.fileAnswers.push_back(output);
    }
    std::vector<host::toolkit::DialogAction> actions;
    if (a.byColour)
        actions.push_back([](Driver& user, std::string& e) { return user.click(kPlotOutCutByColorItem, e); });
    actions.push_back([&a](Driver& user, std::string& e) {
        std::cout << (a.usb ? "Plot Out: sending to the cutter\n" : "Plot Out: writing to a file\n");
        return user.click(a.usb ? kPlotOutUSBOutputItem : kPlotOutFileOutputItem, e);
    });
    actions.push_back([](Driver& user, std::string& e) { return user.click(kPlotOutExitItem, e); });

    std::cout << "menu: " << host::menus().pathOf(plotOut) << "\n";
    host::toolkit::ModalOutcome plotOutDialog =
        tk.driveModal(kPlotOutDialogName, std::move(actions), [plotOut](std::string& e) {
            host::menus().choose(plotOut, e);
            return e.empty();
        });
    tk.fileAnswers.clear();

    bool failed = false;
    if (!plotOutDialog.openError.empty()) {
        std::cerr << "vantorel-host: " << plotOutDialog.openError << ": the current plotter is incomplete\n";
        failed = true;
    }
    for (const std::string& text : plotOutDialog.alerts) {
        std::cerr << "vantorel-host: " << text << "\n";
        failed = true;
    }
    for (const std::string& f : plotOutDialog.failures) {
        std::cerr << "vantorel-host: " << f << "\n";
        failed = true;
    }
    if (!failed && !plotOutDialog.opened) {
        std::cerr << "vantorel-host: the Plot Out dialog did not open\n";
        failed = true;
    }
    if (!failed && !output.empty() && !fs::exists(output)) {
        std::cerr << "vantorel-host: nothing was written to " << output << "\n";
        failed = true;
    }
    ASErr shutdown = session.shutdown();
    if (failed) return 1;
    if (shutdown != kNoErr) {
        std::cerr << "vantorel-host: plug-in shut-down failed with error " << errorText(shutdown) << "\n";
        return 1;
    }
    if (!output.empty()) {
        std::error_code ec;
        std::cout << "wrote " << a.output << " (" << fs::file_size(output, ec) << " bytes)\n";
    } else {
        std::cout << "sent the job to the cutter";
        if (!options.fakeCutterFile.empty()) std::cout << " (recorded in " << options.fakeCutterFile << ")";
        std::cout << "\n";
    }
    return 0;
}

CommandRegistrar plotCommand([](CLI::App& app, GlobalOptions& options) {
    static PlotArgs args;
    auto* command = app.add_subcommand("plot", "plot an SVG job through the Plot Out dialog to a file or the cutter");
    command->add_option("JOB", args.job, "the SVG file to cut")->required()->check(CLI::ExistingFile);
    command->add_option("-o,--output", args.output, "the plot file to write");
    command->add_flag("--usb", args.usb, "send the job to the cutter over USB instead of writing a file");
    command->add_option("--plotter", args.plotter, "the plotter of the library to cut with (made the current one)");
    command->add_option("--environment", args.environment, "the plotter's environment (default: its current or first)");
    command->add_flag("--by-colour,--by-color", args.byColour, "cut colour by colour instead of layer by layer");
    command->callback([&options] {
        try {
            options.exitCode = plot(options, args);
        } catch (const std::bad_alloc&) {
            // The host's own structures ran out of memory mid-job: said, never a crash.
            std::cerr << "vantorel-host: not enough memory for this job\n";
            options.exitCode = 1;
        }
    });
});

}  // namespace
}  // namespace vt::app
