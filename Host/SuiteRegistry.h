// The host's table of suites, keyed by name and version.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "ASTypes.h"

namespace vt::host {

class SuiteRegistry {
public:
    void add(const std::string& name, int32_t version, const void* suite);

    ASErr acquire(const char* name, int32_t version, const void** suite);
    ASErr release(const char* name, int32_t version);

    // What tests look at: how often each suite was acquired and released, and
    // how many acquisitions are still open.
    int acquireCount(const std::string& name) const;
    int releaseCount(const std::string& name) const;
    int openCount(const std::string& name) const;
    int totalOpen() const;
    size_t size() const { return suites_.size(); }

    // Make the next acquisitions of a suite fail with the given error, as a host
    // missing that suite would.
    void failAcquire(const std::string& name, ASErr error = kSPSuiteNotFoundError);
    void clearFailures() { failures_.clear(); }

private:
    struct Counts {
        int acquired = 0;
        int released = 0;
    };
    std::map<std::pair<std::string, int32_t>, const void*> suites_;
    std::map<std::string, Counts> counts_;
    std::map<std::string, ASErr> failures_;
};

}  // namespace vt::host
