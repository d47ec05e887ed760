// The cut settings kept in the host preferences under "Vantorel": read at
// start-up, written back at shutdown.
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Handlers/Handlers.h"

static const char* const kPrefix = "Vantorel";

static void readBoolean(const char* key, uint8_t* field, uint8_t failure)
{
    AIBoolean value = 0;
    if (sAIPreference->GetBooleanPreference(kPrefix, key, &value) == kNoErr)
        *field = value ? 1 : 0;
    else
        *field = failure;
}

static void readInteger(const char* key, int32_t* field, int32_t failure)
{
    ASInt32 value = 0;
    if (sAIPreference->GetIntegerPreference(kPrefix, key, &value) == kNoErr)
        *field = value;
    else
        *field = failure;
}

// Lengths are stored as integer thousandths of a millimetre and held as
// millimetres; the conversion goes through single precision as it always has,
// so values read back exactly as earlier versions showed them.
static void readThousandths(const char* key, double* field)
{
    ASInt32 value = 0;
    if (sAIPreference->GetIntegerPreference(kPrefix, key, &value) == kNoErr)
        *field = (double)((float)value * 0.001f);
    else
        *field = 0.0;
}

void setMarkDefaults()
{
    g->markLength = 25000;
    g->markThickness = 1000;
    g->markMargin = 5000;
    g->markXStep = 500000;
    g->markYStep = 500000;
    g->markXCopies = 1;
    g->markYCopies = 1;
    g->markSpace = 0;
    g->mark4PointPosition = 1;
    g->markSegmentalPosition = 0;
    g->markMultipleCopies = 0;
    g->markCopiesWithOutline = 0;
}

ASErr GetArdoSettings()
{
    readBoolean("ArdoSetting_BackToHome", &g->backToHome, 0);
    readBoolean("ArdoSetting_UsePlotterSetting", &g->usePlotterSetting, 0);
    readBoolean("ArdoSetting_OverCut", &g->overCut, 0);
    readThousandths("ArdoSetting_OverCut_ST_Value", &g->overCutStart);
    readThousandths("ArdoSetting_OverCut_ED_Value", &g->overCutEnd);
    readBoolean("ArdoSetting_CutOff", &g->cutOff, 0);
    readThousandths("ArdoSetting_CutOff_Value", &g->cutOffDistance);
    // The registration-mark settings always start from their defaults.
    setMarkDefaults();
    readInteger("DotCut_HalfCutLength", &g->dotCutHalfCutLength, 2000);
    readInteger("DotCut_HalfCutPen", &g->dotCutHalfCutPen, 0);
    readInteger("DotCut_CutThroughLength", &g->dotCutThroughLength, 3000);
    readInteger("DotCut_CutThroughPen", &g->dotCutThroughPen, 1);
    return kNoErr;
}

static ASInt32 toThousandths(double millimetres) { return (ASInt32)(millimetres * 1000.0 + 0.5); }

static void writeSettings()
{
    AIPreferenceSuite* p = sAIPreference;
    p->PutBooleanPreference(kPrefix, "ArdoSetting_BackToHome", g->backToHome);
    p->PutBooleanPreference(kPrefix, "ArdoSetting_UsePlotterSetting", g->usePlotterSetting);
    p->PutBooleanPreference(kPrefix, "ArdoSetting_OverCut", g->overCut);
    p->PutIntegerPreference(kPrefix, "ArdoSetting_OverCut_ST_Value", toThousandths(g->overCutStart));
    p->PutIntegerPreference(kPrefix, "ArdoSetting_OverCut_ED_Value", toThousandths(g->overCutEnd));
    p->PutBooleanPreference(kPrefix, "ArdoSetting_CutOff", g->cutOff);
    p->PutIntegerPreference(kPrefix, "ArdoSetting_CutOff_Value", toThousandths(g->cutOffDistance));
    p->PutIntegerPreference(kPrefix, "MarkSetting_Length", g->markLength);
    p->PutIntegerPreference(kPrefix, "MarkSetting_Thickness", g->markThickness);
    p->PutIntegerPreference(kPrefix, "MarkSetting_Margin", g->markMargin);
    p->PutIntegerPreference(kPrefix, "MarkSetting_XStep", g->markXStep);
    p->PutIntegerPreference(kPrefix, "MarkSetting_YStep", g->markYStep);
    p->PutIntegerPreference(kPrefix, "MarkSetting_NoXCopies", g->markXCopies);
    p->PutIntegerPreference(kPrefix, "MarkSetting_NoYCopies", g->markYCopies);
    p->PutIntegerPreference(kPrefix, "MarkSetting_Space", g->markSpace);
    p->PutBooleanPreference(kPrefix, "MarkSetting_4PointPosition", g->mark4PointPosition);
    p->PutBooleanPreference(kPrefix, "MarkSetting_SegmentalPosition", g->markSegmentalPosition);
    p->PutBooleanPreference(kPrefix, "MarkSetting_MultipleCopies", g->markMultipleCopies);
    p->PutBooleanPreference(kPrefix, "MarkSetting_CopiesWithOutline", g->markCopiesWithOutline);
    p->PutIntegerPreference(kPrefix, "DotCut_HalfCutLength", g->dotCutHalfCutLength);
    p->PutIntegerPreference(kPrefix, "DotCut_HalfCutPen", g->dotCutHalfCutPen);
    p->PutIntegerPreference(kPrefix, "DotCut_CutThroughLength", g->dotCutThroughLength);
    p->PutIntegerPreference(kPrefix, "DotCut_CutThroughPen", g->dotCutThroughPen);
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
    writeSettings();
    return kNoErr;
}
