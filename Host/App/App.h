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

struct Command {
    std::function<void(CLI::App&, GlobalOptions&)> add;
};
std::vector<Command>& commands();
struct CommandRegistrar {
    explicit CommandRegistrar(std::function<void(CLI::App&, GlobalOptions&)> add);
};

}  // namespace vt::app
