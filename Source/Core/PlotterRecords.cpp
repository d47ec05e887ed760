// Copy, default and delete operations on the plotter library records.
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/PlotterLibrary.h"

// String-list entries of the default names.
enum { kDefaultPlotterNameIndex = 69, kDefaultMakerNameIndex = 70, kDefaultEnvironmentNameIndex = 71, kDefaultPenNameIndex = 72 };

// What a new record holds, field by field in the records' order. The names
// are left empty here: they come from the string list of the chosen language.
static const Pen kNewPen = {
    "",     // PenName
    10.0,   // Pressure, g
    10.0,   // Velocity, cm/s
    0.01,   // Extra, mm
    0,      // PenReserved
    1.0,    // maxExtra
    0.0,    // minExtra
    0.025,  // stepExtra
    0.25,   // defaultExtra
    60.0,   // maxVelocity
    3.0,    // minVelocity
    3.0,    // stepVelocity
    30.0,   // defaultVelocity
    400.0,  // maxPressure
    5.0,    // minPressure
    5.0,    // stepPressure
    80.0,   // defaultPressure
};
static const Environment kNewEnvironment = {
    "",    // EnvironmentName
    0,     // PenNumber
    NULL,  // Pens
    0,     // EnvironmentReserved
};
static const Plotter kNewPlotter = {
    "",       // PlotterName
    "",       // PlotterManufactory
    0,        // Language: HPGL
    10000.0,  // PlotterSizeX, mm
    10000.0,  // PlotterSizeY, mm
    1,        // PlotterOrigin: left-bottom
    0.025,    // PlotterStep, mm
    NULL,     // Environments
    0,        // IsSpecialMachine
    "",       // PlotterIniString
    "",       // PlotterEndString
    0,        // PlotterEnvNumber
    0,        // PlotterReserved
    0,        // PlotterPID
    0,        // PlotterVID
};

// Default names come from the string list of the chosen language; without the
// toolkit (no suites acquired) the name is left empty rather than failing.
static void defaultName(int index, char* name, int size)
{
    memset(name, 0, size);
    if (sADMBasic && sADMBasic->GetIndexString) {
        sADMBasic->GetIndexString(g ? g->pluginRef : NULL, g ? g->stringListId : 0, index, name, size);
        name[size - 1] = 0;
    }
}

// A record without a source: the defaults of its kind, its name from entry
// nameIndex of the string list.
template <typename Record>
static int newRecord(Record* dst, const Record* defaults, int nameIndex, char* name, int nameSize)
{
    memcpy(dst, defaults, sizeof(Record));
    defaultName(nameIndex, name, nameSize);
    return 0;
}

// Copies the fromCount records of from (none when from is null) into a new
// array (null for none), each with copyOne, and sets *count to how many it
// holds. When memory runs out the array is null, *count 0 and the result
// kMemoryErr; otherwise every record is copied and the first error of a copy
// is the result.
template <typename Record>
static int copyRecords(Record* from, int fromCount, Record** copy, int* count, int (*copyOne)(Record*, Record*))
{
    *count = (fromCount > 0 && from) ? fromCount : 0;
    Record* records = NULL;
    int err = 0;
    if (*count > 0) {
        records = (Record*)malloc(sizeof(Record) * (size_t)*count);
        if (!records) {
            *count = 0;
            err = kMemoryErr;
        }
    }
    for (int i = 0; i < *count; i++) {
        int copyErr = copyOne(&records[i], &from[i]);
        if (copyErr && !err) err = copyErr;
    }
    *copy = records;
    return err;
}

int copyPen(Pen* dst, Pen* src)
{
    if (!dst) return 0;
    if (!src) return newRecord(dst, &kNewPen, kDefaultPenNameIndex, dst->PenName, sizeof(dst->PenName));
    if (dst != src) memcpy(dst, src, sizeof(Pen));
    dst->PenName[sizeof(dst->PenName) - 1] = 0;
    return 0;
}

int copyEnvironment(Environment* dst, Environment* src)
{
    if (!dst) return 0;
    if (!src)
        return newRecord(dst, &kNewEnvironment, kDefaultEnvironmentNameIndex, dst->EnvironmentName,
                         sizeof(dst->EnvironmentName));
    // Read the source completely before writing the copy, so a copy onto a
    // record that overlaps nothing but itself stays sound.
    Environment from = *src;
    Pen* pens = NULL;
    int count = 0;
    // A copy from an existing pen allocates nothing and cannot fail.
    int err = copyRecords(from.Pens, from.PenNumber, &pens, &count, copyPen);

    memcpy(dst->EnvironmentName, from.EnvironmentName, sizeof(dst->EnvironmentName));
    dst->EnvironmentName[sizeof(dst->EnvironmentName) - 1] = 0;
    dst->PenNumber = count;
    dst->Pens = pens;
    dst->EnvironmentReserved = 0;
    return err;
}

int copyPlotter(Plotter* dst, Plotter* src)
{
    if (!dst) return 0;
    if (!src) {
        int err = newRecord(dst, &kNewPlotter, kDefaultPlotterNameIndex, dst->PlotterName, sizeof(dst->PlotterName));
        defaultName(kDefaultMakerNameIndex, dst->PlotterManufactory, sizeof(dst->PlotterManufactory));
        return err;
    }
    Plotter from = *src;
    Environment* environments = NULL;
    int count = 0;
    int err = copyRecords(from.Environments, from.PlotterEnvNumber, &environments, &count, copyEnvironment);

    *dst = from;
    dst->PlotterName[sizeof(dst->PlotterName) - 1] = 0;
    dst->PlotterManufactory[sizeof(dst->PlotterManufactory) - 1] = 0;
    dst->PlotterIniString[sizeof(dst->PlotterIniString) - 1] = 0;
    dst->PlotterEndString[sizeof(dst->PlotterEndString) - 1] = 0;
    dst->PlotterReserved = 0;
    dst->PlotterEnvNumber = count;
    dst->Environments = environments;
    return err;
}

void freeEnvironment(Environment* environment)
{
    if (!environment) return;
    free(environment->Pens);
    environment->Pens = NULL;
    environment->PenNumber = 0;
}

void freePlotter(Plotter* plotter)
{
    if (!plotter) return;
    if (plotter->Environments) {
        for (int i = 0; i < plotter->PlotterEnvNumber; i++) freeEnvironment(&plotter->Environments[i]);
    }
    free(plotter->Environments);
    plotter->Environments = NULL;
    plotter->PlotterEnvNumber = 0;
}

void freePlotterList(Plotter** list, int* count)
{
    if (!list) return;
    if (*list && count) {
        for (int i = 0; i < *count; i++) freePlotter(&(*list)[i]);
    }
    free(*list);
    *list = NULL;
    if (count) *count = 0;
}

// Removes element index from an array of n elements: a new array of n - 1
// (null when n is 1), the elements around index copied into it. release, when
// given, frees what the removed element owns.
template <typename Record>
VT_NODISCARD static int removeElement(Record** array, int* n, int index, void (*release)(Record*))
{
    if (index < 0 || index >= *n) return kIndexOutOfRangeErr;
    Record* old = *array;
    Record* fresh = NULL;
    if (*n > 1) {
        fresh = (Record*)malloc(sizeof(Record) * (size_t)(*n - 1));
        if (!fresh) return kMemoryErr;
    }
    if (release && old) release(&old[index]);
    if (fresh && old) {
        memcpy(fresh, old, sizeof(Record) * (size_t)index);
        memcpy(fresh + index, old + index + 1, sizeof(Record) * (size_t)(*n - index - 1));
    }
    free(old);
    *array = fresh;
    (*n)--;
    return 0;
}

int delPlotter(Plotter** list, int* count, int index)
{
    if (!list || !count || !*list) return kIndexOutOfRangeErr;
    return removeElement(list, count, index, freePlotter);
}

int delEnvironment(Plotter* plotter, int index)
{
    if (!plotter || !plotter->Environments) return kIndexOutOfRangeErr;
    return removeElement(&plotter->Environments, &plotter->PlotterEnvNumber, index, freeEnvironment);
}

int delPen(Environment* environment, int index)
{
    if (!environment || !environment->Pens) return kIndexOutOfRangeErr;
    return removeElement<Pen>(&environment->Pens, &environment->PenNumber, index, NULL);
}
