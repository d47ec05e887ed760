// The current plotter, its environment and that environment's pens in the
// preferences under "Korvel-Ulmaren". The setup dialog writes them when it is
// confirmed; the cut model and the menu update read them back. Every other
// part of the plug-in learns the current plotter only from these entries, so
// their keys, types and order are fixed, and they are listed once, in
// kPlotterPrefEntries, for the writer, both readers and the tests.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "Common/ErrorCodes.h"
#include "Core/PlotterRecords.h"

// Preference prefix of the current plotter, environment and pens.
#define kCurrentPlotterPrefix "Korvel-Ulmaren"

// A pen count beyond this is not a plotter's but a damaged preference.
enum { kMaxPenCount = 256 };

// How an entry is stored.
enum PlotterPrefType {
    kPlotterPrefText,     // a terminated text of at most the field's size - 1 bytes
    kPlotterPrefBoolean,  // a one-byte flag
    kPlotterPrefInteger,  // int32
    kPlotterPrefReal      // double
};

// Which record holds the entry's field. Pen entries are stored once per pen of
// the environment, the pen's index (from 0) put into the key's "%d".
enum PlotterPrefRecord { kPlotterPrefOfPlotter, kPlotterPrefOfEnvironment, kPlotterPrefOfPen };

struct PlotterPrefEntry {
    const char* key;
    PlotterPrefType type;
    PlotterPrefRecord record;
    size_t offset;  // of the field in its record
    size_t size;    // of the field
    // A required entry must hold a usable value, or the plotter is refused: a
    // text must not be empty, a real not 0.0 and an integer not -1 (each is
    // preset to that before it is read, so a failed read leaves it so).
    uint8_t required;
    // Read by the menu update, which needs only what Plot Out opens with.
    uint8_t menuReads;
};

// In the order they are written: the plotter's and the environment's entries,
// then the entries of one pen.
extern const PlotterPrefEntry kPlotterPrefEntries[];
extern const int32_t kPlotterPrefEntryCount;

// The key of an entry; pen is the pen's index for pen entries (ignored for the
// others). A buffer of kPlotterPrefKeySize bytes holds every key.
enum { kPlotterPrefKeySize = 64 };
void plotterPrefKey(const PlotterPrefEntry* entry, int32_t pen, char* key, size_t size);

// The field an entry stands for, in the record of its kind among those given.
void* plotterPrefField(const PlotterPrefEntry* entry, Plotter* plotter, Environment* environment, Pen* pen);

// Writes, under "Korvel-Ulmaren", the entries of the first plotter of the list
// whose current bit is set and of its first environment whose current bit is
// set (only when both exist), then "DefaultPath" with defaultPath (null: the
// empty text), which is written in every case. Returns the first host error, or
// 0; after an error the remaining plotter entries are not written.
VT_NODISCARD int writeCurrentPlotterPreferences(Plotter* list, int count, const char* defaultPath);

// Who reads the current plotter back: the cut model reads every entry, the
// menu update only those marked menuReads.
enum PlotterPrefReader { kPlotterPrefFullRead, kPlotterPrefMenuRead };

// Reads the current plotter into plotter and environment (the environment gets
// a new pen array; its old one is freed; the plotter owns no environments) and
// answers 1 when every entry the reader takes is there, passes its test, the
// language, step and media size can drive a job (checkPlotterValues), the pen
// count lies between 1 and kMaxPenCount and every pen's values can drive a
// job (checkPenValues): a value from the preferences is held to what a value
// from the library is. Else 0 and the environment
// owns no pens; the fields read before the failure keep what was read.
// A plotter whose values checkPlotterValues refuses is refused too.
uint8_t readCurrentPlotterPreferences(Plotter* plotter, Environment* environment, PlotterPrefReader reader);

// What is wrong with the values of the current plotter in the preferences, as
// checkPlotterValues and checkPenValues say it (naming the plotter, the pen
// and the field), for the alert that tells the user why the plotter is
// refused. 0 with an empty text when the values are usable (or missing: that
// is said otherwise), else '!Val'.
VT_NODISCARD int describeCurrentPlotterValues(char* text, size_t size);
