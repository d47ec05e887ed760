#include "HostFixture.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Common/Suites.h"
#include "Script/Script.h"

namespace vt::test {

namespace {
ADMItemSuite* g_realItems = nullptr;
ADMItemSuite g_refusingItems;
int g_creations = 0;
int g_refuseFrom = 0;

ADMItemRef refusingCreate(ADMDialogRef dialog, ASInt32 id, const char* type, const ADMRect* bounds,
                          ADMItemInitProc initProc, ADMUserData userData, ASInt32 options)
{
    if (++g_creations >= g_refuseFrom) return nullptr;
    return g_realItems->Create(dialog, id, type, bounds, initProc, userData, options);
}
}  // namespace

RefuseItems::RefuseItems(int from)
{
    g_realItems = sADMItem;
    g_refusingItems = *sADMItem;
    g_refusingItems.Create = refusingCreate;
    g_creations = 0;
    g_refuseFrom = from;
    sADMItem = &g_refusingItems;
}

RefuseItems::~RefuseItems()
{
    sADMItem = g_realItems;
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("cannot make a temporary folder");
    path_ = made;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void limitAddressSpace(size_t room)
{
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = room > 0 ? pages * static_cast<size_t>(sysconf(_SC_PAGESIZE)) + room : limit.rlim_max;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_cur > limit.rlim_max) limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_AS, &limit);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

void HostTest::makeSession()
{
    host::SessionOptions options;
    options.host.prefsPath = prefsPath();
    options.host.pluginFolder = pluginFolder();
    options.host.resourcesDir = VANTOREL_SOURCE_DIR "/Resources";
    options.host.out = &hostOutput_;
    options.linkedMain = PluginMain;
    session_ = std::make_unique<host::Session>(options);
}

void HostTest::startSession(bool applicationStarted)
{
    if (!session_) makeSession();
    ASSERT_EQ(session_->start(applicationStarted), kNoErr) << session_->error();
}

bool HostTest::runScript(const std::string& text, std::string& error)
{
    host::ScriptContext context{*session_, scriptOutput_, dir_.path()};
    return host::runScript(context, text, error);
}

DecimalCommaLocale::DecimalCommaLocale()
{
    const char* previous = setlocale(LC_ALL, nullptr);
    previous_ = previous ? previous : "C";
    EXPECT_NE(setlocale(LC_ALL, kDecimalCommaLocale), nullptr)
        << "the locale " << kDecimalCommaLocale << " is not installed: run scripts/deps.sh";
    char probe[8];
    snprintf(probe, sizeof probe, "%.1f", 2.5);
    EXPECT_STREQ(probe, "2,5") << "the locale in force writes a decimal comma";
}

DecimalCommaLocale::~DecimalCommaLocale() { setlocale(LC_ALL, previous_.c_str()); }

namespace {
// The host runs in its user's locale. The programs the tests start run in the
// C locale whatever the developer's, so that they print the messages the tests
// expect; the tests of another locale name it for their child.
const bool kChildrenInTheCLocale = setenv("LC_ALL", "C", 1) == 0;
}  // namespace

}  // namespace vt::test
