// Runs vantorel-host as a user would, with its preferences and plug-in folder
// in a test's own folder, and gathers what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "HostFixture.h"

namespace vt::test {

struct RunResult {
    int status = -1;
    std::string output;
};

// locale: the locale the program runs in (the C locale unless named), given
// as a user gives it, through LANG with no LC_ variable above it.
inline RunResult host(const TempDir& dir, const std::string& command, const std::string& locale = "C")
{
    std::string line = "env -u LC_ALL -u LC_NUMERIC -u LC_CTYPE -u LC_MESSAGES LANG='" + locale + "' '" +
                       VANTOREL_HOST_EXE + "' --prefs '" + dir.file("prefs.json") + "' --plugin-folder '" +
                       dir.file("Plug-ins") + "' --resources '" + VANTOREL_SOURCE_DIR + "/Resources' --module '" +
                       VANTOREL_MODULE_PATH + "' " + command + " 2>&1";
    RunResult r;
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return r;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) r.output += buffer;
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Runs the host with what it prints kept in the test's folder (out.txt unless
// named), so a test that makes several runs can show the failing one's words.
inline int hostToLog(const TempDir& dir, const std::string& command, const std::string& log = "out.txt",
                     const std::string& locale = "C")
{
    RunResult r = host(dir, command, locale);
    writeFile(dir.file(log), r.output);
    return r.status;
}

}  // namespace vt::test
