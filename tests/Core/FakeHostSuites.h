// Small stand-ins for the host suites the plotter library calls: ADM Basic's
// GetIndexString and the typed preference calls, which record every write in
// order. Installed into sADMBasic / sAIPreference for one test and removed
// again; replace with the stand-in host's fixture once it is available.
#pragma once

#include <string>
#include <vector>

#include "Common/Suites.h"

struct FakePreferenceWrite {
    std::string prefix;
    std::string key;
    char type;  // 'b' boolean, 'i' integer, 'r' real, 's' string
    std::string text;
    double number;
};

struct FakeHostSuites {
    FakeHostSuites();
    ~FakeHostSuites();
    static std::vector<FakePreferenceWrite> writes;
    static std::string failKey;  // a Put of this key answers an error
};

// Temporary file helpers for file tests.
std::string fakeTempDir();
std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& text);
