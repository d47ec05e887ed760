// vantorel-host run SCRIPT: a scripted session.
#include <filesystem>
#include <iostream>

#include "App.h"
#include "ErrorText.h"
#include "OutputFile.h"
#include "Script/Script.h"

namespace vt::app {
namespace {

int runScriptFile(const GlobalOptions& options, const std::string& scriptPath)
{
    std::string text, error;
    host::ReadStatus read = host::readWholeFile(scriptPath, text, error, host::kScriptFileLimit, "a script");
    if (read != host::ReadStatus::Read) {
        std::cerr << "vantorel-host: "
                  << (read == host::ReadStatus::Missing ? "cannot read " + scriptPath + ": no such file" : error)
                  << "\n";
        return 2;
    }

    if (!protectOwnFiles(options, {{scriptPath, "the script being run"}})) return 1;
    host::Session session(sessionOptions(options));
    if (!startSession(session)) return finishSession(session, 1);
    host::ScriptContext context{session, std::cout,
                                std::filesystem::absolute(scriptPath).parent_path().string()};
    bool ok = host::runScript(context, text, error);
    if (!ok) std::cerr << "vantorel-host: " << scriptPath << ": " << error << "\n";
    return finishSession(session, ok ? 0 : 1);
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
