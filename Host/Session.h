// One session of the stand-in host with the plug-in loaded: start-up, the
// application-started notification, messages, shut-down.
#pragma once

#include <memory>
#include <string>

#include "Host.h"

namespace vt::host {

struct SessionOptions {
    HostOptions host;
    std::string modulePath;            // the plug-in module to dlopen, or
    PluginMainProc linkedMain = nullptr;  // an entry point linked into this program (tests)
};

// Per-user default places: the preference file and the plug-in folder.
std::string defaultPrefsPath();
std::string defaultPluginFolder();
std::string defaultResourcesDir();

class Session {
public:
    explicit Session(SessionOptions options);
    ~Session();  // shuts the plug-in down when still running

    Host& host() { return *host_; }
    SPPlugin* plugin() { return plugin_; }

    // Loads the plug-in, sends "Startup" and, when that succeeds and
    // applicationStarted is set, the application-started notification (which
    // makes the plug-in open its palettes). Returns the first error.
    ASErr start(bool applicationStarted = true);
    ASErr about();
    ASErr unload();
    ASErr reload();
    ASErr shutdown();
    bool running() const { return running_; }
    const std::string& error() const { return error_; }

    // Sends an interface or access message with a bare message record.
    ASErr sendBasic(const char* caller, const char* selector);

private:
    SessionOptions options_;
    std::unique_ptr<Host> host_;
    SPPlugin* plugin_ = nullptr;
    bool running_ = false;
    std::string error_;
};

}  // namespace vt::host
