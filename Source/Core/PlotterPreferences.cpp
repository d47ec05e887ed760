// The current plotter, its environment and that environment's pens, written to
// the preferences under "Korvel-Ulmaren" when the setup dialog is confirmed.
// Every other part of the plug-in learns the current plotter only from these
// entries, so their keys, types and order are fixed.
#include <stdio.h>
#include <string.h>

#include "Common/Suites.h"
#include "Core/PlotterLibrary.h"

// A field copied into a buffer one byte larger, so the text handed to the host
// is terminated even when the record's field is not.
#define BOUNDED_TEXT(name, field)                   \
    char name[sizeof(field) + 1];                   \
    memcpy(name, field, sizeof(field));             \
    name[sizeof(field)] = 0

static int putString(const char* key, const char* value)
{
    return sAIPreference->PutStringPreference(kCurrentPlotterPrefix, key, value);
}

static int putInteger(const char* key, int value)
{
    return sAIPreference->PutIntegerPreference(kCurrentPlotterPrefix, key, value);
}

static int putReal(const char* key, double value)
{
    return sAIPreference->PutRealPreference(kCurrentPlotterPrefix, key, value);
}

static int putPenReal(const char* format, int index, double value)
{
    char key[64];
    snprintf(key, sizeof(key), format, index);
    return putReal(key, value);
}

static int writePenEntries(const Pen* pen, int i)
{
    char key[64];
    BOUNDED_TEXT(name, pen->PenName);
    int err = 0;
    snprintf(key, sizeof(key), "PenName-%d", i);
    if (!err) err = putString(key, name);
    if (!err) err = putPenReal("PenVelocity-%d", i, pen->Velocity);
    if (!err) err = putPenReal("PenExtra-%d", i, pen->Extra);
    if (!err) err = putPenReal("PenPressure-%d", i, pen->Pressure);
    snprintf(key, sizeof(key), "PenReserved-%d", i);
    if (!err) err = putInteger(key, pen->PenReserved);
    if (!err) err = putPenReal("maxExtra-%d", i, pen->maxExtra);
    if (!err) err = putPenReal("minExtra-%d", i, pen->minExtra);
    if (!err) err = putPenReal("stepExtra-%d", i, pen->stepExtra);
    if (!err) err = putPenReal("defaultExtra-%d", i, pen->defaultExtra);
    if (!err) err = putPenReal("maxVelocity-%d", i, pen->maxVelocity);
    if (!err) err = putPenReal("minVelocity-%d", i, pen->minVelocity);
    if (!err) err = putPenReal("stepVelocity-%d", i, pen->stepVelocity);
    if (!err) err = putPenReal("defaultVelocity-%d", i, pen->defaultVelocity);
    if (!err) err = putPenReal("maxPressure-%d", i, pen->maxPressure);
    if (!err) err = putPenReal("minPressure-%d", i, pen->minPressure);
    if (!err) err = putPenReal("stepPressure-%d", i, pen->stepPressure);
    if (!err) err = putPenReal("defaultPressure-%d", i, pen->defaultPressure);
    return err;
}

static int writePlotterEntries(const Plotter* plotter, const Environment* environment)
{
    BOUNDED_TEXT(plotterName, plotter->PlotterName);
    BOUNDED_TEXT(maker, plotter->PlotterManufactory);
    BOUNDED_TEXT(iniString, plotter->PlotterIniString);
    BOUNDED_TEXT(endString, plotter->PlotterEndString);
    BOUNDED_TEXT(environmentName, environment->EnvironmentName);
    int penCount = (environment->PenNumber > 0 && environment->Pens) ? environment->PenNumber : 0;

    int err = putString("PlotterName", plotterName);
    if (!err) err = putString("PlotterManufactory", maker);
    if (!err)
        err = sAIPreference->PutBooleanPreference(kCurrentPlotterPrefix, "IsSpecialMachine",
                                                  plotter->IsSpecialMachine ? 1 : 0);
    if (!err) err = putInteger("PlotterReserved", plotter->PlotterReserved);
    if (!err) err = putString("PlotterIni", iniString);
    if (!err) err = putString("PlotterEnd", endString);
    if (!err) err = putReal("PlotterSizeX", plotter->PlotterSizeX);
    if (!err) err = putReal("PlotterSizeY", plotter->PlotterSizeY);
    if (!err) err = putReal("PlotterStep", plotter->PlotterStep);
    if (!err) err = putInteger("PlotterOrigin", plotter->PlotterOrigin);
    if (!err) err = putInteger("PlotterLanguage", plotter->Language);
    if (!err) err = putInteger("PID", plotter->PlotterPID);
    if (!err) err = putInteger("VID", plotter->PlotterVID);
    if (!err) err = putString("EnvironmentName", environmentName);
    if (!err) err = putInteger("EnvironmentPenNum", penCount);
    for (int i = 0; !err && i < penCount; i++) err = writePenEntries(&environment->Pens[i], i);
    return err;
}

int writeCurrentPlotterPreferences(Plotter* list, int count, const char* defaultPath)
{
    if (!sAIPreference) return kSPSuiteNotFoundError;

    const Plotter* plotter = NULL;
    for (int i = 0; list && i < count && !plotter; i++) {
        if (list[i].PlotterReserved & kPlotterCurrentBit) plotter = &list[i];
    }
    const Environment* environment = NULL;
    if (plotter && plotter->Environments) {
        for (int i = 0; i < plotter->PlotterEnvNumber && !environment; i++) {
            if (plotter->Environments[i].EnvironmentReserved & 1) environment = &plotter->Environments[i];
        }
    }

    int err = 0;
    if (plotter && environment) err = writePlotterEntries(plotter, environment);
    int pathErr = putString("DefaultPath", defaultPath ? defaultPath : "");
    return err ? err : pathErr;
}
