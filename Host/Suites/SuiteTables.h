// Every suite's function table lives here, one per suite type. Each table
// starts with every operation answering "not implemented"; the files that
// implement a suite fill in their operations from an installer that runs when
// a host is created.
#pragma once

#include <type_traits>

#include "AllSuites.h"

namespace vt::host {

// Reports a call of an operation nobody implemented (once per operation).
void reportUnimplemented(const char* suite, const char* operation);

template <typename R>
R unimplementedResult(const char* suite, const char* operation)
{
    reportUnimplemented(suite, operation);
    if constexpr (std::is_void_v<R>) {
        return;
    } else if constexpr (std::is_same_v<R, ASErr>) {
        return kSPUnimplementedError;
    } else {
        return R{};
    }
}

template <typename Suite>
Suite stubSuite();

template <typename Suite>
Suite& suiteTable()
{
    static Suite table = stubSuite<Suite>();
    return table;
}

// Registers a function that fills in suite operations. Define one per file:
//   static vt::host::SuiteInstaller installer([] { auto& s = suiteTable<AIFooSuite>(); s.Op = ...; });
struct SuiteInstaller {
    explicit SuiteInstaller(void (*install)());
};

void runSuiteInstallers();

}  // namespace vt::host
