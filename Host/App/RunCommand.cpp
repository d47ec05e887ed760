// vantorel-host run SCRIPT: a scripted session.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "App.h"
#include "ErrorText.h"
#include "Script/Script.h"

namespace vt::app {
namespace {

int runScriptFile(const GlobalOptions& options, const std::string& scriptPath)
{
    std::ifstream in(scriptPath);
    if (!in) {
        std::cerr << "vantorel-host: cannot read script " << scriptPath << "\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();

    host::Session session(sessionOptions(options));
    if (!startSession(session)) return 1;
    host::ScriptContext context{session, std::cout,
                                std::filesystem::absolute(scriptPath).parent_path().string()};
    std::string error;
    bool ok = host::runScript(context, text.str(), error);
    ASErr shutdown = session.shutdown();
    if (!ok) {
        std::cerr << "vantorel-host: " << scriptPath << ": " << error << "\n";
        return 1;
    }
    if (shutdown != kNoErr) {
        std::cerr << "vantorel-host: plug-in shut-down failed with error " << errorText(shutdown) << "\n";
        return 1;
    }
    return 0;
}

CommandRegistrar run([](CLI::App& app, GlobalOptions& options) {
    auto* command = app.add_subcommand("run", "run a scripted session (see the README for the commands)");
    static std::string script;
    command->add_option("SCRIPT", script, "the script file")->required();
    command->callback([&options] { options.exitCode = runScriptFile(options, script); });
});

CommandRegistrar help([](CLI::App& app, GlobalOptions& options) {
    auto* command = app.add_subcommand("script-help", "list the commands a script can use");
    command->callback([] {
        for (const auto& c : host::scriptCommands()) std::cout << c.usage << "\n";
    });
});

}  // namespace
}  // namespace vt::app
