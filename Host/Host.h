// The stand-in host application: one instance per session. It owns the suite
// registry, the preferences, the plug-in folder and every service the suites
// reach; suite functions find it through Host::current().
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeindex>
#include <vector>

#include "AllSuites.h"
#include "Preferences.h"
#include "StringLists.h"
#include "SuiteRegistry.h"

// The host's record of a loaded plug-in; the plug-in sees only SPPluginRef.
struct SPPlugin {
    std::string name;
    std::string filePath;  // the plug-in's file, inside the plug-in folder
    PluginMainProc main = nullptr;
    void* globals = nullptr;  // kept by the host between messages
    void* module = nullptr;   // dlopen handle when loaded from a file
    int accessCount = 0;
    bool unloaded = false;    // between "Unload" and "Reload": its globals are with the host
};

namespace vt::host {

struct HostOptions {
    std::string prefsPath;      // empty: preferences live only in memory
    std::string pluginFolder;   // the plug-in's own folder (string lists, library, language file)
    std::string resourcesDir;   // seeds the plug-in folder; empty: no seeding
    std::ostream* out = nullptr;  // what the host reports; null: standard output
};

struct AlertRecord {
    std::string kind;  // "message", "error", ...
    std::string text;
};

class Host {
public:
    explicit Host(HostOptions options);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The running host (a logic_error when none is). Asked for at every call
    // a plug-in makes, several times in a drawing call: read in place.
    static Host& current()
    {
        if (current_ == nullptr) noHostRunning();
        return *current_;
    }
    static bool exists() { return current_ != nullptr; }

    SuiteRegistry& registry() { return registry_; }
    Preferences& prefs() { return prefs_; }
    StringLists& strings() { return strings_; }
    SPBasicSuite* basic() { return &basic_; }
    const std::string& pluginFolder() const { return options_.pluginFolder; }
    std::ostream& out();

    // Plug-ins loaded in this session.
    SPPlugin* addPlugin(std::unique_ptr<SPPlugin> plugin);
    std::vector<std::unique_ptr<SPPlugin>>& plugins() { return plugins_; }

    // Notifiers registered by plug-ins, and their delivery.
    struct Notifier {
        SPPlugin* plugin;
        std::string name;
        std::string type;
        bool active = true;
    };
    AINotifierHandle addNotifier(SPPlugin* plugin, const std::string& name, const std::string& type);
    Notifier* notifier(AINotifierHandle handle);
    const std::vector<std::unique_ptr<Notifier>>& notifiers() const { return notifiers_; }
    // Sends "AI Notifier"/"AI Notify" to every active notifier of that type.
    ASErr broadcast(const std::string& type, void* notifyData = nullptr);

    // Memory blocks handed out through the blocks suite and the basic suite.
    void* allocateBlock(size_t size);
    bool freeBlock(void* block);
    size_t liveBlocks() const { return blocks_.size(); }

    // Problems the host itself meets (a file that cannot be read or written,
    // a failed save of the preferences): each is printed as
    // "vantorel-host: TEXT" and recorded, and a program that met any ends with
    // a failing status.
    void reportProblem(const std::string& text);
    const std::vector<std::string>& problems() const { return problems_; }

    // Alerts shown to the user. Nothing waits for a person: each alert is
    // recorded and reported.
    void alert(const std::string& kind, const std::string& text);
    const std::vector<AlertRecord>& alerts() const { return alerts_; }

    // Ends a run's preferences: a run that failed leaves them as they were
    // when it began (and says so when it had changed them); one that worked
    // keeps its changes, and reports those that could not be saved.
    void settlePreferences(bool runWorked);

    // Sends a message to a plug-in the way the host does: fills the message
    // head, calls the entry point, keeps the globals the plug-in hands back,
    // and saves changed preferences afterwards. A plug-in that was unloaded
    // is reloaded first, as a host does before it calls one.
    ASErr send(SPPlugin* plugin, const char* caller, const char* selector, SPMessageData* message);
    // "Unload" and "Reload" in their order: an unloaded plug-in is not
    // unloaded again, a loaded one is not reloaded (its globals would be
    // handed back from nowhere). Refused with kSPBadParameterError and why.
    ASErr unload(SPPlugin* plugin, std::string& why);
    ASErr reload(SPPlugin* plugin, std::string& why);

    // Services of later subsystems (documents, toolkit, ...) hang off the host
    // by type and live as long as it does.
    template <typename T>
    T& service()
    {
        // Drawing asks for the toolkit on every call; the last service found
        // is kept at hand.
        if (lastServiceType_ == &typeid(T)) return *static_cast<T*>(lastService_);
        auto key = std::type_index(typeid(T));
        auto it = services_.find(key);
        if (it == services_.end()) {
            auto holder = std::make_shared<T>();
            it = services_.emplace(key, std::static_pointer_cast<void>(holder)).first;
            serviceOrder_.push_back(key);
        }
        lastServiceType_ = &typeid(T);
        lastService_ = it->second.get();
        return *static_cast<T*>(it->second.get());
    }

private:
    [[noreturn]] static void noHostRunning();
    static Host* current_;
    void seedPluginFolder();
    void savePrefs();

    HostOptions options_;
    SuiteRegistry registry_;
    Preferences prefs_;
    StringLists strings_;
    SPBasicSuite basic_{};
    std::vector<std::unique_ptr<SPPlugin>> plugins_;
    std::vector<std::unique_ptr<Notifier>> notifiers_;
    std::set<void*> blocks_;
    std::vector<AlertRecord> alerts_;
    std::vector<std::string> problems_;
    std::map<std::type_index, std::shared_ptr<void>> services_;
    std::vector<std::type_index> serviceOrder_;
    const std::type_info* lastServiceType_ = nullptr;
    void* lastService_ = nullptr;
    Host* previous_ = nullptr;
};

// The application contexts plug-ins pushed and have not popped yet: none
// once a plug-in is back from what it did.
size_t pushedAppContexts();

}  // namespace vt::host
