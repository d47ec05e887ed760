// vantorel-host setup --plotter NAME [--environment NAME]: chooses the current
// plotter through the plug-in's own Plotter Setup dialog.
#include <iostream>

#include "App.h"
#include "ErrorText.h"
#include "Host.h"

namespace vt::app {
namespace {

const char* const kPrefix = "Korvel-Ulmaren";

int runSetup(const GlobalOptions& options, const std::string& plotter, const std::string& environment)
{
    if (!protectOwnFiles(options, {})) return 1;
    host::Session session(sessionOptions(options));
    if (!startSession(session)) return finishSession(session, 1);
    std::string error;
    bool ok = choosePlotter(session, plotter, environment, error);
    if (ok) {
        auto& prefs = session.host().prefs();
        std::string chosenEnvironment;
        ASInt32 pens = 0;
        prefs.getString(kPrefix, "EnvironmentName", &chosenEnvironment);
        prefs.getInteger(kPrefix, "EnvironmentPenNum", &pens);
        std::cout << "current plotter: " << plotter << "; environment: " << chosenEnvironment << "; pens: " << pens
                  << "\n";
    }
    if (!ok) std::cerr << "vantorel-host setup: " << error << "\n";
    return finishSession(session, ok ? 0 : 1);
}

CommandRegistrar setup([](CLI::App& app, GlobalOptions& options) {
    auto* command =
        app.add_subcommand("setup", "choose the current plotter (and environment) through the Plotter Setup dialog");
    static std::string plotter;
    static std::string environment;
    command->add_option("--plotter", plotter, "the plotter's name, as in the plotter library")->required();
    command->add_option("--environment", environment, "the environment's name (default: the plotter's first)");
    command->callback([&options] { options.exitCode = runSetup(options, plotter, environment); });
});

}  // namespace
}  // namespace vt::app
