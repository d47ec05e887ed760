// A stand-in host session with the plug-in linked into the test program, in a
// fresh temporary folder: preference file, plug-in folder seeded from the
// bundled resources.
#pragma once

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Common/PluginMain.h"
#include "Session.h"

namespace vt::test {

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
// The names in a folder, sorted: what a writer left behind.
std::vector<std::string> filesIn(const std::string& folder);

// A locale that writes a decimal comma; scripts/deps.sh installs it.
constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";

// Sets kDecimalCommaLocale for the test program while it lives; the test fails
// when the locale is not installed.
class DecimalCommaLocale {
public:
    DecimalCommaLocale();
    ~DecimalCommaLocale();
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

private:
    std::string previous_;
};

// While it lives, the plug-in's item suite refuses to make items from the
// n-th creation on (counting from 1), as a toolkit short of resources would.
// The suites must be acquired (acquireSuites) for its whole life.
class RefuseItems {
public:
    explicit RefuseItems(int from);
    ~RefuseItems();
    RefuseItems(const RefuseItems&) = delete;
    RefuseItems& operator=(const RefuseItems&) = delete;
};

// Memory running out, for a child process of a death test: the address space
// is made to end `room` bytes above what the process has mapped now, or (with
// room 0) is given back whole. The address sanitizer reserves far more
// address space than the process uses, so no limit can make memory run out
// under it: tests that use this are built only without it
// (VANTOREL_ADDRESS_LIMIT_WORKS).
void limitAddressSpace(size_t room);
#if !defined(__SANITIZE_ADDRESS__)
#define VANTOREL_ADDRESS_LIMIT_WORKS 1
#endif

class HostTest : public ::testing::Test {
protected:
    // Creates the session without starting it.
    void makeSession();
    // Creates (when needed) and starts the session; fails the test on error.
    // Without applicationStarted the host never reports that the application
    // has started, so the plug-in opens no palette.
    void startSession(bool applicationStarted = true);
    void stopSession() { session_.reset(); }
    void TearDown() override
    {
        if (session_) {
            EXPECT_EQ(host::pushedAppContexts(), 0u) << "an application context is left pushed";
        }
    }

    // Runs the text of a script in this session, as `vantorel-host run` does;
    // relative paths are taken from the test's folder.
    bool runScript(const std::string& text, std::string& error);

    host::Session& session() { return *session_; }
    host::Host& hostApp() { return session_->host(); }
    std::string prefsPath() const { return dir_.file("prefs.json"); }
    std::string pluginFolder() const { return dir_.file("Plug-ins"); }

    TempDir dir_;
    std::ostringstream hostOutput_;  // what the host reported
    std::ostringstream scriptOutput_;  // what scripts run by runScript printed
    std::unique_ptr<host::Session> session_;
};

}  // namespace vt::test
