// The commands of vantorel-host. Each command adds itself to the command line
// and runs a session through the host library.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Session.h"

namespace vt::app {

struct GlobalOptions {
    std::string prefsPath;
    std::string pluginFolder;
    std::string modulePath;
    std::string resourcesDir;
    std::string fakeCutterFile;  // --fake-cutter: what was sent to the fake cutter
    int exitCode = 0;
};

// Fills in the defaults of the global options and makes the session options.
host::SessionOptions sessionOptions(const GlobalOptions& options);

// Starts a session: loads the plug-in, start-up, application started. On
// failure prints why and returns false.
bool startSession(host::Session& session);

// Shuts the plug-in down and gives the program's exit status: status when it
// is already a failure; else 1 when the shut-down failed or the host met a
// problem in the session (a file it could not read or write, preferences not
// saved; each was reported as it happened); else 0.
int finishSession(host::Session& session, int status);

// Chooses the current plotter as a user would: opens the plug-in's Plotter
// Setup dialog and, through the toolkit's scripted driver, checks the plotter
// named plotter and its environment named environment (empty: the plotter's
// first environment), then presses OK. On success the preferences hold that
// plotter, environment and its pens. False with a clear error when a name is
// not in the library or the dialog does not accept the choice.
bool choosePlotter(host::Session& session, const std::string& plotter, const std::string& environment,
                   std::string& error);

// How the host asks the running plug-in to open its Plotter Setup dialog
// (the host's menu road: the plug-in's "Plotter Setup" menu item). Replaceable
// so that in-process tests can open it the same way the menu does.
using PlotterSetupOpener = std::function<bool(host::Session& session, std::string& error)>;
PlotterSetupOpener& plotterSetupOpener();

struct Command {
    std::function<void(CLI::App&, GlobalOptions&)> add;
};
std::vector<Command>& commands();
struct CommandRegistrar {
    explicit CommandRegistrar(std::function<void(CLI::App&, GlobalOptions&)> add);
};

}  // namespace vt::app
