#include "Suites/SuiteTables.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace vt::host {

#define VT_STUB_FIELD(ret, name, params) \
    s.name = [](auto...) -> ret { return unimplementedResult<ret>(suiteName, #name); };

#define VT_STUB_SUITE(Type)                                   \
    template <>                                               \
    Type stubSuite<Type>()                                    \
    {                                                         \
        static constexpr const char* suiteName = k##Type;     \
        (void)suiteName;                                      \
        Type s{};                                             \
        VT_OPS_##Type(VT_STUB_FIELD) return s;                \
    }

VT_ALL_SUITES(VT_STUB_SUITE)

void reportUnimplemented(const char* suite, const char* operation)
{
    static std::set<std::string> reported;
    std::string key = std::string(suite) + "::" + operation;
    if (reported.insert(key).second)
        std::fprintf(stderr, "vantorel-host: not implemented: \"%s\" %s\n", suite, operation);
}

static std::vector<void (*)()>& installers()
{
    static std::vector<void (*)()> list;
    return list;
}

SuiteInstaller::SuiteInstaller(void (*install)())
{
    installers().push_back(install);
}

void runSuiteInstallers()
{
    static bool done = false;
    if (done) return;
    done = true;
    for (auto install : installers()) install();
}

}  // namespace vt::host
