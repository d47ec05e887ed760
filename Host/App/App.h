// The commands of vantorel-host. Each command adds itself to the command line
// and runs a session through the host library.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Session.h"
#include "Toolkit/Toolkit.h"

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

// Makes the program's own files known before any work (the preference file,
// the plug-in's folder and module, and inputs: pairs of a path and what it is,
// "the job being cut"), so that no output replaces one of them. False, having
// said why, when the fake cutter's record (--fake-cutter) would.
bool protectOwnFiles(const GlobalOptions& options, const std::vector<std::pair<std::string, std::string>>& inputs);

// Starts a session: loads the plug-in, start-up, application started. On
// failure prints why and returns false.
bool startSession(host::Session& session);

// Shuts the plug-in down and gives the program's exit status: status when it
// is already a failure; else 1 when the shut-down failed or the host met a
// problem in the session (a file it could not read or write, preferences not
// saved; each was reported as it happened); else 0. A run that fails leaves
// the preferences as they were when it began.
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

// ---- A job through the Plot Out dialog (plot, preview) ----

// Opens an SVG file as the current document and selects its top-level art,
// saying so on standard output. False with a clear error when the file cannot
// be read or holds nothing to cut.
bool openJob(const std::string& path, std::string& error);

// Makes sure the preferences hold the current plotter a job needs. With no
// plotter named, a current plotter already in the preferences stays;
// otherwise the named one (or the current one with another environment) is
// chosen through the plug-in's own Plotter Setup dialog, as a user would.
bool ensureCurrentPlotter(host::Session& session, std::string name, const std::string& environment,
                          std::string& error);

// Starts the session, opens the job and makes sure of the current plotter;
// false, having said why on standard error, when one of them fails.
bool startJob(host::Session& session, const std::string& job, const std::string& plotter,
              const std::string& environment);

// Chooses Plot Out from the plug-in's menu with the actions queued for its
// dialog; outcome says how the dialog went. False (with error) when the
// plug-in has no Plot Out menu item.
bool driveJobPlotOut(std::vector<host::toolkit::DialogAction> actions, host::toolkit::ModalOutcome& outcome,
                     std::string& error);

// False, with every reason on standard error, when the Plot Out dialog did
// not open (the current plotter in the preferences is then said to be
// incomplete or named with the value that cannot be used), an action in it
// failed or an error alert was shown. A message alert is a warning: said, and
// no failure.
bool plotOutDialogWorked(host::Session& session, const host::toolkit::ModalOutcome& outcome);

// An output of a job (-o OUT) as the path that is really replaced (a link is
// followed), checked before any work: a folder or a device is never replaced,
// and a path the system cannot take is said at once. False, having said why
// on standard error, when it cannot be written.
bool jobOutputTarget(const std::string& given, std::string& output);

// Which file stands at a path: a new output replaces it (another file at the
// path afterwards), a failed one leaves it as it was.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    struct timespec modified {};
};
FileIdentity identityOf(const std::string& path);
bool sameFile(const FileIdentity& a, const FileIdentity& b);

struct Command {
    std::function<void(CLI::App&, GlobalOptions&)> add;
};
std::vector<Command>& commands();
struct CommandRegistrar {
    explicit CommandRegistrar(std::function<void(CLI::App&, GlobalOptions&)> add);
};

}  // namespace vt::app
