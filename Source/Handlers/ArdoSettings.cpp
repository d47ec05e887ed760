// The cut settings kept in the host preferences under "Vantorel": read at
// start-up, written back at shutdown.
#include <stddef.h>
#include <stdint.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Handlers/Handlers.h"

static const char* const kPrefix = "Vantorel";

// How a setting is stored in the preferences and held in the globals.
enum SettingType {
    kSettingFlag,         // a boolean; a byte flag
    kSettingInteger,      // an integer; an int32
    kSettingThousandths,  // an integer of thousandths of a millimetre; a double of millimetres
};

struct Setting {
    const char* key;
    SettingType type;
    size_t field;  // offset in PluginGlobals
    // What a session starts with when the preferences lack the key (a
    // thousandths setting starts at 0.0 mm).
    int32_t missing;
    // 0: the setting is written but every session starts from missing: the
    // registration-mark settings always start from their defaults.
    uint8_t restored;
};

#define SETTING(type, field) type, offsetof(PluginGlobals, field)

// clang-format off
// Every key once, in the order they are read and written.
//  key                                 type and field                                    missing  restored
static const Setting kSettings[] = {
    {"ArdoSetting_BackToHome",          SETTING(kSettingFlag, backToHome),                0,       1},
    {"ArdoSetting_UsePlotterSetting",   SETTING(kSettingFlag, usePlotterSetting),         0,       1},
    {"ArdoSetting_OverCut",             SETTING(kSettingFlag, overCut),                   0,       1},
    {"ArdoSetting_OverCut_ST_Value",    SETTING(kSettingThousandths, overCutStart),       0,       1},
    {"ArdoSetting_OverCut_ED_Value",    SETTING(kSettingThousandths, overCutEnd),         0,       1},
    {"ArdoSetting_CutOff",              SETTING(kSettingFlag, cutOff),                    0,       1},
    {"ArdoSetting_CutOff_Value",        SETTING(kSettingThousandths, cutOffDistance),     0,       1},
    {"MarkSetting_Length",              SETTING(kSettingInteger, markLength),             25000,   0},
    {"MarkSetting_Thickness",           SETTING(kSettingInteger, markThickness),          1000,    0},
    {"MarkSetting_Margin",              SETTING(kSettingInteger, markMargin),             5000,    0},
    {"MarkSetting_XStep",               SETTING(kSettingInteger, markXStep),              500000,  0},
    {"MarkSetting_YStep",               SETTING(kSettingInteger, markYStep),              500000,  0},
    {"MarkSetting_NoXCopies",           SETTING(kSettingInteger, markXCopies),            1,       0},
    {"MarkSetting_NoYCopies",           SETTING(kSettingInteger, markYCopies),            1,       0},
    {"MarkSetting_Space",               SETTING(kSettingInteger, markSpace),              0,       0},
    {"MarkSetting_4PointPosition",      SETTING(kSettingFlag, mark4PointPosition),        1,       0},
    {"MarkSetting_SegmentalPosition",   SETTING(kSettingFlag, markSegmentalPosition),     0,       0},
    {"MarkSetting_MultipleCopies",      SETTING(kSettingFlag, markMultipleCopies),        0,       0},
    {"MarkSetting_CopiesWithOutline",   SETTING(kSettingFlag, markCopiesWithOutline),     0,       0},
    {"DotCut_HalfCutLength",            SETTING(kSettingInteger, dotCutHalfCutLength),    2000,    1},
    {"DotCut_HalfCutPen",               SETTING(kSettingInteger, dotCutHalfCutPen),       0,       1},
    {"DotCut_CutThroughLength",         SETTING(kSettingInteger, dotCutThroughLength),    3000,    1},
    {"DotCut_CutThroughPen",            SETTING(kSettingInteger, dotCutThroughPen),       1,       1},
};
// clang-format on

static void* fieldOf(const Setting& setting) { return (char*)g + setting.field; }

// A setting as a session starts without it.
static void setMissing(const Setting& setting)
{
    void* field = fieldOf(setting);
    switch (setting.type) {
    case kSettingFlag:
        *(uint8_t*)field = (uint8_t)setting.missing;
        break;
    case kSettingInteger:
        *(int32_t*)field = setting.missing;
        break;
    case kSettingThousandths:
        *(double*)field = 0.0;
        break;
    }
}

// Lengths are stored as integer thousandths of a millimetre and held as
// millimetres; the conversion goes through single precision as it always has,
// so values read back exactly as earlier versions showed them.
static void readSetting(const Setting& setting)
{
    AIBoolean flag = 0;
    ASInt32 value = 0;
    ASErr error = setting.type == kSettingFlag ? sAIPreference->GetBooleanPreference(kPrefix, setting.key, &flag)
                                               : sAIPreference->GetIntegerPreference(kPrefix, setting.key, &value);
    void* field = fieldOf(setting);
    if (error != kNoErr)
        setMissing(setting);
    else if (setting.type == kSettingFlag)
        *(uint8_t*)field = flag ? 1 : 0;
    else if (setting.type == kSettingInteger)
        *(int32_t*)field = value;
    else
        *(double*)field = (double)((float)value * 0.001f);
}

static ASInt32 toThousandths(double millimetres) { return (ASInt32)(millimetres * 1000.0 + 0.5); }

VT_NODISCARD static ASErr writeSetting(const Setting& setting)
{
    const void* field = fieldOf(setting);
    if (setting.type == kSettingFlag)
        return sAIPreference->PutBooleanPreference(kPrefix, setting.key, *(const uint8_t*)field);
    ASInt32 value = setting.type == kSettingInteger ? *(const int32_t*)field : toThousandths(*(const double*)field);
    return sAIPreference->PutIntegerPreference(kPrefix, setting.key, value);
}

void setMarkDefaults()
{
    for (const Setting& setting : kSettings)
        if (!setting.restored) setMissing(setting);
}

ASErr GetArdoSettings()
{
    // The registration-mark settings always start from their defaults.
    for (const Setting& setting : kSettings) {
        if (setting.restored)
            readSetting(setting);
        else
            setMissing(setting);
    }
    return kNoErr;
}

// Every setting is written, whatever an earlier write said, so that one
// refused key loses no other; the first refusal is the result.
VT_NODISCARD static ASErr writeSettings()
{
    ASErr first = kNoErr;
    for (const Setting& setting : kSettings) {
        ASErr error = writeSetting(setting);
        if (first == kNoErr) first = error;
    }
    return first;
}

ASErr pluginShutdown()
{
    // The palettes are destroyed first: the command palette's destroy
    // procedure gives back its suite acquisition.
    if (g->preProcessPanel != nullptr) {
        sADMDialog->Destroy(g->preProcessPanel);
        g->preProcessPanel = nullptr;
    }
    if (g->splitPanel != nullptr) sADMDialog->Destroy(g->splitPanel);
    g->splitPanel = nullptr;
    releaseToolIcons();
    return writeSettings();
}
