// Small stand-ins for the host suites the plotter library calls: ADM Basic's
// GetIndexString and the typed preference calls, which record every write in
// order, and can be told to fail one key. Installed into sADMBasic /
// sAIPreference for one test and removed again; tests that need the real host
// use the stand-in host's fixture instead.
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
