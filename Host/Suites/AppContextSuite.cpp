// The "AI Context Suite": a plug-in that acts outside a host message (a
// palette's button) pushes the application's context first and pops it after.
// The stand-in host has a single document context, so a context is only a
// mark on a stack that must be popped in the order it was pushed.
#include <vector>

#include "Host.h"
#include "Suites/SuiteTables.h"

namespace vt::host {
namespace {

struct AppContexts {
    std::vector<uintptr_t> stack;
    uintptr_t last = 0;
};

AppContexts& contexts() { return Host::current().service<AppContexts>(); }

struct AppContextOps {
    using Suite = AIAppContextSuite;

    static ASErr PushAppContext(SPPluginRef plugin, AIAppContextHandle* appContext)
    {
        if (plugin == nullptr || appContext == nullptr) return kSPBadParameterError;
        AppContexts& c = contexts();
        c.stack.push_back(++c.last);
        *appContext = reinterpret_cast<AIAppContextHandle>(c.last);
        return kNoErr;
    }

    static ASErr PopAppContext(AIAppContextHandle appContext)
    {
        AppContexts& c = contexts();
        if (c.stack.empty() || c.stack.back() != reinterpret_cast<uintptr_t>(appContext)) return kSPBadParameterError;
        c.stack.pop_back();
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<AppContextOps>);

}  // namespace

size_t pushedAppContexts() { return Host::exists() ? contexts().stack.size() : 0; }
}  // namespace vt::host
