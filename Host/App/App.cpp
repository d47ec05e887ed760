#include "App.h"

#include <iostream>

#include "ErrorText.h"
#include "OutputFile.h"

namespace vt::app {

std::vector<Command>& commands()
{
    static std::vector<Command> list;
    return list;
}

CommandRegistrar::CommandRegistrar(std::function<void(CLI::App&, GlobalOptions&)> add)
{
    commands().push_back({std::move(add)});
}

host::SessionOptions sessionOptions(const GlobalOptions& options)
{
    host::SessionOptions s;
    s.host.prefsPath = options.prefsPath.empty() ? host::defaultPrefsPath() : options.prefsPath;
    s.host.pluginFolder = options.pluginFolder.empty() ? host::defaultPluginFolder() : options.pluginFolder;
    s.host.resourcesDir = options.resourcesDir.empty() ? host::defaultResourcesDir() : options.resourcesDir;
    s.modulePath = options.modulePath.empty() ? std::string(VANTOREL_MODULE_PATH) : options.modulePath;
    return s;
}

bool protectOwnFiles(const GlobalOptions& options, const std::vector<std::pair<std::string, std::string>>& inputs)
{
    host::SessionOptions session = sessionOptions(options);
    host::forgetOwnFiles();
    host::protectOwnFile(session.host.prefsPath, "the preference file");
    host::protectOwnFolder(session.host.pluginFolder, "the plug-in's folder");
    host::protectOwnFile(session.modulePath, "the plug-in module");
    for (const auto& input : inputs) host::protectOwnFile(input.first, input.second);
    if (options.fakeCutterFile.empty()) return true;
    std::string refused;
    if (host::checkOutputTarget(host::outputTarget(options.fakeCutterFile), refused)) return true;
    std::cerr << "vantorel-host: --fake-cutter: " << refused << "\n";
    return false;
}

bool startSession(host::Session& session)
{
    ASErr error = session.start();
    if (error != kNoErr) {
        std::cerr << "vantorel-host: " << (session.error().empty() ? "start-up failed" : session.error())
                  << " (error " << errorText(error) << ")\n";
        return false;
    }
    return true;
}

int finishSession(host::Session& session, int status)
{
    ASErr shutdown = session.shutdown();
    if (status == 0 && shutdown != kNoErr) {
        std::cerr << "vantorel-host: plug-in shut-down failed with error " << errorText(shutdown) << "\n";
        status = 1;
    }
    host::Host& host = session.host();
    if (status == 0) host.settlePreferences(true);
    if (status == 0 && !host.problems().empty()) status = 1;
    if (status != 0) host.settlePreferences(false);
    return status;
}

}  // namespace vt::app
