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
//   SuiteInstaller installer(installOps<FooOps, BarOps>);
struct SuiteInstaller {
    explicit SuiteInstaller(void (*install)());
};

// A suite's operations are written as the static functions of one struct that
// names its suite, each function named after the operation it implements:
//   struct FooOps {
//       using Suite = AIFooSuite;
//       static ASErr GetBar(int32_t* bar) { ... }
//   };
// installOps, generated from the suite's list of operations, sets in the
// suite's table every operation the struct has; the others keep answering
// "not implemented". A function whose parameters differ from the
// operation's does not compile.
#define VT_INSTALL_OP(ret, name, params)                                              \
    {                                                                                 \
        auto has = [](auto* impl) -> decltype(+std::remove_pointer_t<decltype(impl)>::name) { \
            return +std::remove_pointer_t<decltype(impl)>::name;                      \
        };                                                                            \
        if constexpr (std::is_invocable_v<decltype(has), Impl*>)                      \
            s.name = has(static_cast<Impl*>(nullptr));                                \
    }

#define VT_DEFINE_INSTALL_OPS(Type)       \
    template <typename Impl>              \
    void installOpsInto(Type& s, Impl*)   \
    {                                     \
        (void)s;                          \
        VT_OPS_##Type(VT_INSTALL_OP)      \
    }

VT_ALL_SUITES(VT_DEFINE_INSTALL_OPS)

#undef VT_DEFINE_INSTALL_OPS
#undef VT_INSTALL_OP

template <typename... Impl>
void installOps()
{
    (installOpsInto(suiteTable<typename Impl::Suite>(), static_cast<Impl*>(nullptr)), ...);
}

void runSuiteInstallers();

}  // namespace vt::host
