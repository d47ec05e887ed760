#include "SuiteRegistry.h"

namespace vt::host {

void SuiteRegistry::add(const std::string& name, int32_t version, const void* suite)
{
    suites_[{name, version}] = suite;
}

ASErr SuiteRegistry::acquire(const char* name, int32_t version, const void** suite)
{
    if (name == nullptr || suite == nullptr) return kSPBadParameterError;
    auto failure = failures_.find(name);
    if (failure != failures_.end()) {
        *suite = nullptr;
        return failure->second;
    }
    auto found = suites_.find({name, version});
    if (found == suites_.end()) {
        *suite = nullptr;
        return kSPSuiteNotFoundError;
    }
    *suite = found->second;
    ++counts_[name].acquired;
    return kNoErr;
}

ASErr SuiteRegistry::release(const char* name, int32_t version)
{
    if (name == nullptr) return kSPBadParameterError;
    if (suites_.find({name, version}) == suites_.end()) return kSPSuiteNotFoundError;
    Counts& counts = counts_[name];
    // Releasing more often than acquiring is a plug-in fault the host refuses.
    if (counts.released >= counts.acquired) return kSPBadParameterError;
    ++counts.released;
    return kNoErr;
}

int SuiteRegistry::acquireCount(const std::string& name) const
{
    auto it = counts_.find(name);
    return it == counts_.end() ? 0 : it->second.acquired;
}

int SuiteRegistry::releaseCount(const std::string& name) const
{
    auto it = counts_.find(name);
    return it == counts_.end() ? 0 : it->second.released;
}

int SuiteRegistry::openCount(const std::string& name) const
{
    return acquireCount(name) - releaseCount(name);
}

int SuiteRegistry::totalOpen() const
{
    int open = 0;
    for (const auto& entry : counts_) open += entry.second.acquired - entry.second.released;
    return open;
}

void SuiteRegistry::failAcquire(const std::string& name, ASErr error)
{
    failures_[name] = error;
}

}  // namespace vt::host
