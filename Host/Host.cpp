#include "Host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "OutputFile.h"

#include "Suites/SuiteTables.h"

namespace fs = std::filesystem;

namespace vt::host {

Host* Host::current_ = nullptr;

void Host::noHostRunning() { throw std::logic_error("no host is running"); }

// ---- The basic suite ---------------------------------------------------------

static ASErr basicAcquireSuite(const char* name, ASInt32 version, const void** suite)
{
    return Host::current().registry().acquire(name, version, suite);
}

static ASErr basicReleaseSuite(const char* name, ASInt32 version)
{
    return Host::current().registry().release(name, version);
}

static ASBoolean basicIsEqual(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr) return a == b;
    return std::strcmp(a, b) == 0;
}

static ASErr basicAllocateBlock(size_t size, void** block)
{
    if (block == nullptr) return kSPBadParameterError;
    *block = Host::current().allocateBlock(size);
    return *block ? kNoErr : kSPOutOfMemoryError;
}

static ASErr basicFreeBlock(void* block)
{
    return Host::current().freeBlock(block) ? kNoErr : kSPBadParameterError;
}

static ASErr basicReallocateBlock(void* block, size_t size, void** newBlock)
{
    return unimplementedResult<ASErr>(kSPBasicSuite, "ReallocateBlock");
}

static ASErr basicUndefined() { return kSPUnimplementedError; }

// ---- The host ----------------------------------------------------------------

Host::Host(HostOptions options) : options_(std::move(options)), prefs_(options_.prefsPath)
{
    if (current_ != nullptr) throw std::logic_error("a host is already running");
    previous_ = current_;
    current_ = this;

    if (prefs_.failed())
        reportProblem(prefs_.error());
    else if (!prefs_.error().empty())
        out() << "vantorel-host: " << prefs_.error() << "\n";  // kept aside: nothing is lost
    seedPluginFolder();
    strings_.setFolder(options_.pluginFolder + "/Strings");

    basic_.AcquireSuite = basicAcquireSuite;
    basic_.ReleaseSuite = basicReleaseSuite;
    basic_.IsEqual = basicIsEqual;
    basic_.AllocateBlock = basicAllocateBlock;
    basic_.FreeBlock = basicFreeBlock;
    basic_.ReallocateBlock = basicReallocateBlock;
    basic_.Undefined = basicUndefined;

    runSuiteInstallers();
#define VT_REGISTER_SUITE(Type) registry_.add(k##Type, k##Type##Version, &suiteTable<Type>());
    VT_ALL_SUITES(VT_REGISTER_SUITE)
#undef VT_REGISTER_SUITE
}

Host::~Host()
{
    savePrefs();
    // Services go in the reverse order of their creation: later ones may
    // hold on to earlier ones.
    for (auto it = serviceOrder_.rbegin(); it != serviceOrder_.rend(); ++it) {
        lastServiceType_ = nullptr;
        services_.erase(*it);
    }
    lastServiceType_ = nullptr;
    for (void* block : blocks_) std::free(block);
    current_ = previous_;
}

std::ostream& Host::out() { return options_.out ? *options_.out : std::cout; }

void Host::reportProblem(const std::string& text)
{
    problems_.push_back(text);
    out() << "vantorel-host: " << text << "\n";
}

void Host::savePrefs()
{
    // A save that keeps failing is reported once for each new reason, not
    // after every message.
    if (!prefs_.save() && std::find(problems_.begin(), problems_.end(), prefs_.error()) == problems_.end())
        reportProblem(prefs_.error());
}

void Host::settlePreferences(bool runWorked)
{
    if (runWorked) {
        if (prefs_.changesUnsaved())
            reportProblem("the preferences changed in this run were not saved: " + prefs_.path() + " is read-only");
        return;
    }
    if (prefs_.undoChanges())
        out() << "vantorel-host: the run failed; the preferences were left as they were before it\n";
    else if (prefs_.failed() && std::find(problems_.begin(), problems_.end(), prefs_.error()) == problems_.end())
        reportProblem(prefs_.error());
}

namespace {

// Copies a bundled file into the plug-in folder whole or not at all: another
// run seeding the same new folder at the same time never sees half a file,
// and the copy that comes second leaves the first in place.
void seedFile(const std::string& from, const std::string& to, std::error_code& error)
{
    std::string text, why;
    if (readWholeFile(from, text, why, kSvgFileLimit, "a bundled file") != ReadStatus::Read) {
        error = std::make_error_code(std::errc::io_error);
        return;
    }
    std::string temp;
    int fd = createTemporaryBeside(to, 0666, temp);
    if (fd < 0) {
        error = std::error_code(errno, std::generic_category());
        return;
    }
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        data += n;
        left -= static_cast<size_t>(n);
    }
    int written = left == 0 && ::fsync(fd) == 0 ? 0 : (errno != 0 ? errno : EIO);
    if (::close(fd) != 0 && written == 0) written = errno;
    if (written == 0 && ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    if (written == 0 && errno != EEXIST) written = errno;
    ::unlink(temp.c_str());
    if (written != 0) error = std::error_code(written, std::generic_category());
}

}  // namespace

void Host::seedPluginFolder()
{
    if (options_.pluginFolder.empty()) return;
    std::error_code ec;
    fs::create_directories(options_.pluginFolder, ec);
    if (ec) {
        reportProblem("cannot make the plug-in folder " + options_.pluginFolder + ": " + ec.message());
        return;
    }
    if (options_.resourcesDir.empty() || !fs::is_directory(options_.resourcesDir, ec)) return;
    // Copy only what is missing: the user's own library and language file
    // are never replaced by the bundled ones.
    for (auto it = fs::recursive_directory_iterator(options_.resourcesDir, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code fileError;
        fs::path relative = fs::relative(it->path(), options_.resourcesDir, fileError);
        fs::path target = fs::path(options_.pluginFolder) / relative;
        // The vector sources the pictures are rendered from are not part of
        // the plug-in: only the rendered pictures are.
        if (it->is_directory(fileError) && it->path().filename() == "src") {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_directory(fileError)) {
            fs::create_directories(target, fileError);
        } else if (!fs::exists(target, fileError) && !fileError) {
            seedFile(it->path().string(), target.string(), fileError);
        }
        if (fileError) reportProblem("cannot copy " + it->path().string() + " into the plug-in folder: " +
                                     fileError.message());
    }
}

SPPlugin* Host::addPlugin(std::unique_ptr<SPPlugin> plugin)
{
    plugins_.push_back(std::move(plugin));
    return plugins_.back().get();
}

AINotifierHandle Host::addNotifier(SPPlugin* plugin, const std::string& name, const std::string& type)
{
    notifiers_.push_back(std::make_unique<Notifier>(Notifier{plugin, name, type, true}));
    return reinterpret_cast<AINotifierHandle>(notifiers_.back().get());
}

Host::Notifier* Host::notifier(AINotifierHandle handle)
{
    for (auto& n : notifiers_)
        if (reinterpret_cast<AINotifierHandle>(n.get()) == handle) return n.get();
    return nullptr;
}

ASErr Host::broadcast(const std::string& type, void* notifyData)
{
    ASErr result = kNoErr;
    // Copy the list: a notified plug-in may register further notifiers.
    std::vector<Notifier*> targets;
    for (auto& n : notifiers_)
        if (n->active && n->type == type) targets.push_back(n.get());
    for (Notifier* n : targets) {
        AINotifierMessage message{};
        message.notifier = reinterpret_cast<AINotifierHandle>(n);
        message.type = n->type.c_str();
        message.notifyData = notifyData;
        ASErr error = send(n->plugin, kCallerAINotify, kSelectorAINotify, &message.d);
        if (error != kNoErr && result == kNoErr) result = error;
    }
    return result;
}

void* Host::allocateBlock(size_t size)
{
    // Blocks start zeroed, as a fresh block of a real host may well not be:
    // the plug-in must not rely on it, but garbage helps nobody here.
    void* block = std::calloc(1, size ? size : 1);
    if (block) blocks_.insert(block);
    return block;
}

bool Host::freeBlock(void* block)
{
    if (blocks_.erase(block) == 0) return false;
    std::free(block);
    return true;
}

void Host::alert(const std::string& kind, const std::string& text)
{
    alerts_.push_back({kind, text});
    out() << "alert (" << kind << "): " << text << "\n";
}

ASErr Host::unload(SPPlugin* plugin, std::string& why)
{
    if (plugin == nullptr || plugin->unloaded) {
        why = "the plug-in is unloaded already";
        return kSPBadParameterError;
    }
    SPAccessMessage message{};
    ASErr result = send(plugin, kSPAccessCaller, kSPAccessUnloadSelector, &message.d);
    if (result == kNoErr) plugin->unloaded = true;
    return result;
}

ASErr Host::reload(SPPlugin* plugin, std::string& why)
{
    if (plugin == nullptr || !plugin->unloaded) {
        why = "the plug-in is loaded: it is reloaded only after it was unloaded";
        return kSPBadParameterError;
    }
    plugin->unloaded = false;
    SPAccessMessage message{};
    return send(plugin, kSPAccessCaller, kSPAccessReloadSelector, &message.d);
}

ASErr Host::send(SPPlugin* plugin, const char* caller, const char* selector, SPMessageData* message)
{
    if (plugin == nullptr || plugin->main == nullptr) return kSPBadParameterError;
    if (plugin->unloaded && std::strcmp(caller, kSPAccessCaller) != 0) {
        std::string why;
        ASErr reloaded = reload(plugin, why);
        if (reloaded != kNoErr) return reloaded;
    }
    message->SPCheck = kSPValidSPMessageData;
    message->self = plugin;
    message->globals = plugin->globals;
    message->basic = &basic_;
    ASErr result = plugin->main(caller, selector, message);
    plugin->globals = message->globals;
    savePrefs();
    return result;
}

}  // namespace vt::host
