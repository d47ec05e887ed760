// The current plotter's preference entries: one table, walked by the writer
// and by both readers, so a key, a type or the order can only change in one
// place.
#include "Core/PlotterPreferences.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/PlotterLibrary.h"

// Type, record, offset and size of a record's field.
#define PLOTTER_FIELD(type, field) type, kPlotterPrefOfPlotter, offsetof(Plotter, field), sizeof(((Plotter*)0)->field)
#define ENVIRONMENT_FIELD(type, field) \
    type, kPlotterPrefOfEnvironment, offsetof(Environment, field), sizeof(((Environment*)0)->field)
#define PEN_FIELD(type, field) type, kPlotterPrefOfPen, offsetof(Pen, field), sizeof(((Pen*)0)->field)

//  key                      type and field                                        required  menu
const PlotterPrefEntry kPlotterPrefEntries[] = {
    {"PlotterName",          PLOTTER_FIELD(kPlotterPrefText, PlotterName),             1, 1},
    {"PlotterManufactory",   PLOTTER_FIELD(kPlotterPrefText, PlotterManufactory),      1, 1},
    {"IsSpecialMachine",     PLOTTER_FIELD(kPlotterPrefBoolean, IsSpecialMachine),     0, 1},
    {"PlotterReserved",      PLOTTER_FIELD(kPlotterPrefInteger, PlotterReserved),      0, 0},
    {"PlotterIni",           PLOTTER_FIELD(kPlotterPrefText, PlotterIniString),        0, 1},
    {"PlotterEnd",           PLOTTER_FIELD(kPlotterPrefText, PlotterEndString),        0, 1},
    {"PlotterSizeX",         PLOTTER_FIELD(kPlotterPrefReal, PlotterSizeX),            1, 1},
    {"PlotterSizeY",         PLOTTER_FIELD(kPlotterPrefReal, PlotterSizeY),            1, 1},
    {"PlotterStep",          PLOTTER_FIELD(kPlotterPrefReal, PlotterStep),             1, 1},
    {"PlotterOrigin",        PLOTTER_FIELD(kPlotterPrefInteger, PlotterOrigin),        1, 1},
    {"PlotterLanguage",      PLOTTER_FIELD(kPlotterPrefInteger, Language),             1, 1},
    {"PID",                  PLOTTER_FIELD(kPlotterPrefInteger, PlotterPID),           1, 0},
    {"VID",                  PLOTTER_FIELD(kPlotterPrefInteger, PlotterVID),           1, 0},
    {"EnvironmentName",      ENVIRONMENT_FIELD(kPlotterPrefText, EnvironmentName),     1, 1},
    {"EnvironmentPenNum",    ENVIRONMENT_FIELD(kPlotterPrefInteger, PenNumber),        1, 1},
    {"PenName-%d",           PEN_FIELD(kPlotterPrefText, PenName),                     1, 1},
    {"PenVelocity-%d",       PEN_FIELD(kPlotterPrefReal, Velocity),                    0, 1},
    {"PenExtra-%d",          PEN_FIELD(kPlotterPrefReal, Extra),                       0, 1},
    {"PenPressure-%d",       PEN_FIELD(kPlotterPrefReal, Pressure),                    0, 1},
    {"PenReserved-%d",       PEN_FIELD(kPlotterPrefInteger, PenReserved),              0, 0},
    {"maxExtra-%d",          PEN_FIELD(kPlotterPrefReal, maxExtra),                    0, 0},
    {"minExtra-%d",          PEN_FIELD(kPlotterPrefReal, minExtra),                    0, 0},
    {"stepExtra-%d",         PEN_FIELD(kPlotterPrefReal, stepExtra),                   0, 0},
    {"defaultExtra-%d",      PEN_FIELD(kPlotterPrefReal, defaultExtra),                0, 0},
    {"maxVelocity-%d",       PEN_FIELD(kPlotterPrefReal, maxVelocity),                 0, 0},
    {"minVelocity-%d",       PEN_FIELD(kPlotterPrefReal, minVelocity),                 0, 0},
    {"stepVelocity-%d",      PEN_FIELD(kPlotterPrefReal, stepVelocity),                0, 0},
    {"defaultVelocity-%d",   PEN_FIELD(kPlotterPrefReal, defaultVelocity),             0, 0},
    {"maxPressure-%d",       PEN_FIELD(kPlotterPrefReal, maxPressure),                 0, 0},
    {"minPressure-%d",       PEN_FIELD(kPlotterPrefReal, minPressure),                 0, 0},
    {"stepPressure-%d",      PEN_FIELD(kPlotterPrefReal, stepPressure),                0, 0},
    {"defaultPressure-%d",   PEN_FIELD(kPlotterPrefReal, defaultPressure),             0, 0},
};
const int32_t kPlotterPrefEntryCount = sizeof(kPlotterPrefEntries) / sizeof(kPlotterPrefEntries[0]);

// Texts are handed to the host from a buffer one byte larger than the field,
// so they are terminated even when the record's field is not.
static const size_t kLongestTextField = 255;
static_assert(sizeof(((Plotter*)0)->PlotterIniString) <= kLongestTextField, "a text field outgrows the buffer");

void plotterPrefKey(const PlotterPrefEntry* entry, int32_t pen, char* key, size_t size)
{
    if (entry->record == kPlotterPrefOfPen)
        snprintf(key, size, entry->key, (int)pen);
    else
        snprintf(key, size, "%s", entry->key);
}

void* plotterPrefField(const PlotterPrefEntry* entry, Plotter* plotter, Environment* environment, Pen* pen)
{
    char* record = entry->record == kPlotterPrefOfPlotter       ? (char*)plotter
                   : entry->record == kPlotterPrefOfEnvironment ? (char*)environment
                                                                : (char*)pen;
    return record != NULL ? record + entry->offset : NULL;
}

// ---- Writing -----------------------------------------------------------------

VT_NODISCARD static int putEntry(const PlotterPrefEntry* entry, int32_t pen, const void* field)
{
    char key[kPlotterPrefKeySize];
    plotterPrefKey(entry, pen, key, sizeof key);
    switch (entry->type) {
    case kPlotterPrefText: {
        char text[kLongestTextField + 1];
        size_t size = std::min(entry->size, kLongestTextField);
        memcpy(text, field, size);
        text[size] = 0;
        return sAIPreference->PutStringPreference(kCurrentPlotterPrefix, key, text);
    }
    case kPlotterPrefBoolean:
        return sAIPreference->PutBooleanPreference(kCurrentPlotterPrefix, key, *(const uint8_t*)field ? 1 : 0);
    case kPlotterPrefInteger:
        return sAIPreference->PutIntegerPreference(kCurrentPlotterPrefix, key, *(const int32_t*)field);
    case kPlotterPrefReal:
        return sAIPreference->PutRealPreference(kCurrentPlotterPrefix, key, *(const double*)field);
    }
    return 0;
}

VT_NODISCARD static int writePlotterEntries(Plotter* plotter, const Environment* environment)
{
    // Only pens that exist are counted: a count without its array would send
    // the readers after entries that were never written.
    Environment written = *environment;
    written.PenNumber = (environment->PenNumber > 0 && environment->Pens) ? environment->PenNumber : 0;

    int err = 0;
    for (int32_t k = 0; !err && k < kPlotterPrefEntryCount; k++) {
        const PlotterPrefEntry* entry = &kPlotterPrefEntries[k];
        if (entry->record != kPlotterPrefOfPen)
            err = putEntry(entry, 0, plotterPrefField(entry, plotter, &written, NULL));
    }
    for (int32_t i = 0; !err && i < written.PenNumber; i++) {
        for (int32_t k = 0; !err && k < kPlotterPrefEntryCount; k++) {
            const PlotterPrefEntry* entry = &kPlotterPrefEntries[k];
            if (entry->record == kPlotterPrefOfPen)
                err = putEntry(entry, i, plotterPrefField(entry, NULL, NULL, &environment->Pens[i]));
        }
    }
    return err;
}

int writeCurrentPlotterPreferences(Plotter* list, int count, const char* defaultPath)
{
    if (!sAIPreference) return kSPSuiteNotFoundError;

    Plotter* plotter = NULL;
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
    int pathErr = sAIPreference->PutStringPreference(kCurrentPlotterPrefix, "DefaultPath", defaultPath ? defaultPath : "");
    return err ? err : pathErr;
}

// ---- Reading -----------------------------------------------------------------

// Reads one entry into its field; 1 when it was there and passes its test.
static uint8_t readEntry(const PlotterPrefEntry* entry, int32_t pen, void* field)
{
    char key[kPlotterPrefKeySize];
    plotterPrefKey(entry, pen, key, sizeof key);
    switch (entry->type) {
    case kPlotterPrefText: {
        char buffer[1024];
        char* text = (char*)field;
        text[0] = 0;
        if (sAIPreference->GetStringPreference(kCurrentPlotterPrefix, key, buffer, sizeof buffer)) return 0;
        CopyNameField(text, entry->size, buffer);
        return !entry->required || text[0] != 0;
    }
    case kPlotterPrefBoolean: {
        AIBoolean value = 0;
        if (sAIPreference->GetBooleanPreference(kCurrentPlotterPrefix, key, &value)) return 0;
        *(uint8_t*)field = value;
        return 1;
    }
    case kPlotterPrefInteger: {
        int32_t* value = (int32_t*)field;
        if (entry->required) *value = -1;
        if (sAIPreference->GetIntegerPreference(kCurrentPlotterPrefix, key, value) != kNoErr) return 0;
        return !entry->required || *value != -1;
    }
    case kPlotterPrefReal: {
        double* value = (double*)field;
        if (entry->required) *value = 0.0;
        if (sAIPreference->GetRealPreference(kCurrentPlotterPrefix, key, value)) return 0;
        return !entry->required || *value != 0.0;
    }
    }
    return 0;
}

static bool readerTakes(const PlotterPrefEntry* entry, PlotterPrefReader reader)
{
    return reader == kPlotterPrefFullRead || entry->menuReads;
}

static uint8_t refuse(Environment* environment)
{
    free(environment->Pens);
    environment->Pens = NULL;
    return 0;
}

uint8_t readCurrentPlotterPreferences(Plotter* plotter, Environment* environment, PlotterPrefReader reader)
{
    plotter->Environments = NULL;
    plotter->PlotterEnvNumber = 0;
    free(environment->Pens);
    environment->Pens = NULL;

    for (int32_t k = 0; k < kPlotterPrefEntryCount; k++) {
        const PlotterPrefEntry* entry = &kPlotterPrefEntries[k];
        if (entry->record == kPlotterPrefOfPen || !readerTakes(entry, reader)) continue;
        if (!readEntry(entry, 0, plotterPrefField(entry, plotter, environment, NULL))) return refuse(environment);
    }

    // A language the writer does not know, or a step or media size that is
    // not a length above 0, would cut a job of nothing: such a plotter is
    // refused here as the library refuses it.
    if (checkPlotterValues(plotter, NULL, 0) != 0) return refuse(environment);

    // A negative or absurd count comes from a damaged preference file; taking
    // it would ask the heap for a negative or enormous block.
    if (environment->PenNumber < 1 || environment->PenNumber > kMaxPenCount) return refuse(environment);
    environment->Pens = (Pen*)calloc((size_t)environment->PenNumber, sizeof(Pen));
    if (environment->Pens == NULL) return 0;
    for (int32_t i = 0; i < environment->PenNumber; i++) {
        for (int32_t k = 0; k < kPlotterPrefEntryCount; k++) {
            const PlotterPrefEntry* entry = &kPlotterPrefEntries[k];
            if (entry->record != kPlotterPrefOfPen || !readerTakes(entry, reader)) continue;
            if (!readEntry(entry, i, plotterPrefField(entry, NULL, NULL, &environment->Pens[i])))
                return refuse(environment);
        }
        // A pen is held to what the library holds its pens to.
        if (checkPenValues(plotter, environment, &environment->Pens[i], NULL, 0) != 0) return refuse(environment);
    }
    return 1;
}

int describeCurrentPlotterValues(char* text, size_t size)
{
    if (text == NULL || size == 0) return kPlotterValueErr;
    text[0] = 0;
    Plotter plotter;
    Environment environment;
    Pen pen;
    memset(&plotter, 0, sizeof plotter);
    memset(&environment, 0, sizeof environment);
    // A missing entry is no value to describe: the plotter is incomplete.
    for (int32_t k = 0; k < kPlotterPrefEntryCount; k++) {
        const PlotterPrefEntry* entry = &kPlotterPrefEntries[k];
        if (entry->record == kPlotterPrefOfPen) continue;
        if (!readEntry(entry, 0, plotterPrefField(entry, &plotter, &environment, NULL)) && entry->required) {
            if (entry->record == kPlotterPrefOfPlotter) return 0;
            return checkPlotterValues(&plotter, text, size);
        }
    }
    int err = checkPlotterValues(&plotter, text, size);
    if (err != 0) return err;
    for (int32_t i = 0; i < environment.PenNumber && i < kMaxPenCount; i++) {
        memset(&pen, 0, sizeof pen);
        for (int32_t k = 0; k < kPlotterPrefEntryCount; k++) {
            const PlotterPrefEntry* entry = &kPlotterPrefEntries[k];
            if (entry->record != kPlotterPrefOfPen) continue;
            if (!readEntry(entry, i, plotterPrefField(entry, NULL, NULL, &pen)) && entry->required) return 0;
        }
        err = checkPenValues(&plotter, &environment, &pen, text, size);
        if (err != 0) return err;
    }
    return 0;
}
