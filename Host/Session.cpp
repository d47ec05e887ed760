#include "Session.h"

#include <cstdlib>
#include <filesystem>

#include <dlfcn.h>

#include "ErrorText.h"

namespace fs = std::filesystem;

namespace vt::host {

static std::string homeDir()
{
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/tmp";
}

std::string defaultPrefsPath()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base = config && *config ? config : homeDir() + "/.config";
    return base + "/vantorel/Vantorel Prefs.json";
}

std::string defaultPluginFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base = data && *data ? data : homeDir() + "/.local/share";
    return base + "/vantorel/Plug-ins/Vantorel";
}

std::string defaultResourcesDir()
{
    const char* env = std::getenv("VANTOREL_RESOURCES");
    if (env && *env) return env;
#ifdef VANTOREL_RESOURCES_DIR
    return VANTOREL_RESOURCES_DIR;
#else
    return {};
#endif
}

Session::Session(SessionOptions options) : options_(std::move(options))
{
    if (!options_.host.prefsPath.empty()) {
        std::error_code ec;
        fs::create_directories(fs::path(options_.host.prefsPath).parent_path(), ec);
    }
    host_ = std::make_unique<Host>(options_.host);
}

Session::~Session()
{
    if (running_) shutdown();
    void* module = plugin_ ? plugin_->module : nullptr;
    host_.reset();
    // The module stays mapped until the host is gone: its code may still be
    // referenced by tables the host kept.
    if (module) dlclose(module);
}

ASErr Session::start(bool applicationStarted)
{
    auto plugin = std::make_unique<SPPlugin>();
    plugin->name = "Vantorel";
    plugin->filePath = options_.host.pluginFolder + "/Vantorel.so";
    if (options_.linkedMain) {
        plugin->main = options_.linkedMain;
    } else {
        plugin->module = dlopen(options_.modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!plugin->module) {
            error_ = std::string("cannot load the plug-in: ") + dlerror();
            return kSPCantAcquirePluginError;
        }
        plugin->main = reinterpret_cast<PluginMainProc>(dlsym(plugin->module, "PluginMain"));
        if (!plugin->main) {
            error_ = "the plug-in has no PluginMain entry point";
            dlclose(plugin->module);
            return kSPCantAcquirePluginError;
        }
    }
    plugin_ = host_->addPlugin(std::move(plugin));

    ASErr error = sendBasic(kSPInterfaceCaller, kSPInterfaceStartupSelector);
    if (error != kNoErr) {
        error_ = "plug-in start-up failed with error " + errorText(error);
        return error;
    }
    running_ = true;
    return applicationStarted ? host_->broadcast(kAIApplicationStartedNotifier) : kNoErr;
}

ASErr Session::sendBasic(const char* caller, const char* selector)
{
    SPInterfaceMessage message{};
    return host_->send(plugin_, caller, selector, &message.d);
}

ASErr Session::about() { return sendBasic(kSPInterfaceCaller, kSPInterfaceAboutSelector); }
ASErr Session::unload()
{
    // A plug-in that holds its own access (its palette is open) stays loaded:
    // the palette's procedures live in its code.
    if (plugin_ == nullptr) {
        error_ = "no plug-in is loaded";
        return kSPBadParameterError;
    }
    if (plugin_->accessCount > 0) {
        error_ = "the plug-in holds its own access (its palette is open) and stays loaded";
        return kSPPluginInUseError;
    }
    return host_->unload(plugin_, error_);
}
ASErr Session::reload()
{
    if (plugin_ == nullptr) {
        error_ = "no plug-in is loaded";
        return kSPBadParameterError;
    }
    return host_->reload(plugin_, error_);
}

ASErr Session::shutdown()
{
    if (!running_) return kNoErr;
    running_ = false;
    return sendBasic(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
}

}  // namespace vt::host
