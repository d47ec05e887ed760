#include "Core/FakeHostSuites.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>


std::vector<FakePreferenceWrite> FakeHostSuites::writes;
std::string FakeHostSuites::failKey;

static void fakeGetIndexString(SPPluginRef, ASInt32, ASInt32 index, char* buffer, ASInt32 maxLength)
{
    const char* text = index == 69 ? "New Plotter"
                       : index == 70 ? "New Maker"
                       : index == 71 ? "New Environment"
                       : index == 72 ? "New Pen"
                                     : "";
    snprintf(buffer, (size_t)maxLength, "%s", text);
}

static ASErr record(const char* prefix, const char* key, char type, const std::string& text, double number)
{
    if (FakeHostSuites::failKey == key) return 'FAIL';
    FakeHostSuites::writes.push_back({prefix, key, type, text, number});
    return 0;
}

static ASErr fakePutBoolean(const char* p, const char* k, AIBoolean v) { return record(p, k, 'b', "", v); }
static ASErr fakePutInteger(const char* p, const char* k, ASInt32 v) { return record(p, k, 'i', "", v); }
static ASErr fakePutReal(const char* p, const char* k, double v) { return record(p, k, 'r', "", v); }
static ASErr fakePutString(const char* p, const char* k, const char* v) { return record(p, k, 's', v, 0); }

static ADMBasicSuite s_basic;
static AIPreferenceSuite s_preference;

FakeHostSuites::FakeHostSuites()
{
    memset(&s_basic, 0, sizeof(s_basic));
    memset(&s_preference, 0, sizeof(s_preference));
    s_basic.GetIndexString = fakeGetIndexString;
    s_preference.PutBooleanPreference = fakePutBoolean;
    s_preference.PutIntegerPreference = fakePutInteger;
    s_preference.PutRealPreference = fakePutReal;
    s_preference.PutStringPreference = fakePutString;
    sADMBasic = &s_basic;
    sAIPreference = &s_preference;
    writes.clear();
    failKey.clear();
}

FakeHostSuites::~FakeHostSuites()
{
    sADMBasic = nullptr;
    sAIPreference = nullptr;
}
