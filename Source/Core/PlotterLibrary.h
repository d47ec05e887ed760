// The plotter library: copy and delete operations on the plotter, environment
// and pen records, the library text file "PlotterSetup.txt" with its
// single-plotter variant "%s.INI", and the current-plotter entries in the
// preferences under "Korvel-Ulmaren".
#pragma once

#include <stddef.h>
#include <stdio.h>

#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "Core/PlotterPreferences.h"  // the current plotter in the preferences
#include "Core/PlotterRecords.h"

// Error codes of the library (Common/ErrorCodes.h): kMemoryErr for a bad index
// or a failed allocation, kNoFileErr when there is no file stream or the file
// cannot be opened, kFormatErr for a damaged file, kUnwritableTextErr for a
// text the format cannot hold (see plotterWritable), kWriteErr when writing
// failed (an existing file is then left as it was), kPlotterValueErr for a
// plotter whose language, step or media size cannot be used.

// The smallest step and media size the library file can hold (it writes them
// with six decimals): anything smaller would come back as 0.
#define kPlotterSmallestLength 0.000001
// The largest step and media size a plotter can have, in millimetres: what
// the plotter editor allows. A step coarser than this would put every point
// of a job on a few steps (a step of 1e308 puts all of them at 0).
#define kPlotterLargestStep 10.0
#define kPlotterLargestMediaSize 65535.0

// Name of the library file in the plug-in's folder.
#define kPlotterLibraryFileName "PlotterSetup.txt"

// ---- Records -----------------------------------------------------------------
// With a source: copy it (copyEnvironment and copyPlotter clear the copy's
// current bit and give it its own arrays). Without one: the defaults, names from
// the string list of the chosen language. Return 0, or '!Mem' when the copy's
// array could not be allocated (the copy then has no array and a count of 0).
VT_NODISCARD int copyPen(Pen* dst, Pen* src);
VT_NODISCARD int copyEnvironment(Environment* dst, Environment* src);
VT_NODISCARD int copyPlotter(Plotter* dst, Plotter* src);

// Remove element index and release what it owns. '!Mem' for a bad index or a
// failed allocation, with nothing changed; else 0.
VT_NODISCARD int delPlotter(Plotter** list, int* count, int index);
VT_NODISCARD int delEnvironment(Plotter* plotter, int index);
VT_NODISCARD int delPen(Environment* environment, int index);

// Release everything a record owns (not the record itself) and leave a null
// array with a count of 0; freePlotterList also frees the array.
void freeEnvironment(Environment* environment);
void freePlotter(Plotter* plotter);
void freePlotterList(Plotter** list, int* count);

// ---- Library file ------------------------------------------------------------
// 0 when the plotter can be written: its start and end strings hold no ']' (the
// reader would stop there and every later value would be out of step), its names
// hold no line end, and its counts match its arrays. Else '!Txt' ('!Fmt' for
// counts).
VT_NODISCARD int plotterWritable(const Plotter* plotter);

// Writers on an open stream. savePlotter: nothing for a null file; else the
// count line and every plotter. writePlotter: one plotter block, '!FOP' for a
// null file. Both refuse, before writing anything, a plotter that
// plotterWritable refuses, and return '!Wrt' when the stream reports an error.
VT_NODISCARD int savePlotter(Plotter** list, int* count, FILE* file);
VT_NODISCARD int writePlotter(Plotter plotter, FILE* file);
// One block each; 1, or 0 with nothing written when the block cannot be written.
VT_NODISCARD int putPlotter(FILE* file, Plotter plotter);
VT_NODISCARD int putEnvironment(FILE* file, Environment environment);
VT_NODISCARD int putPen(FILE* file, Pen pen);

// 0 when a plotter's values can drive a job: a language of 0 to 3, and a step
// and media width and length that are finite, at least kPlotterSmallestLength
// and at most kPlotterLargestStep and kPlotterLargestMediaSize. Else '!Val'
// and, when text is given, what is wrong, naming the plotter and the field:
// plotter "NAME": Language is 7, not one of 0 to 3.
VT_NODISCARD int checkPlotterValues(const Plotter* plotter, char* text, size_t size);
// 0 when a pen's values can drive a job: a pressure, velocity and extra
// (knife offset) that are finite and not below 0. Else '!Val' and, when text
// is given, what is wrong: plotter "NAME", environment "NAME", pen "NAME":
// Pressure is -80, below 0 (environment may be null).
VT_NODISCARD int checkPenValues(const Plotter* plotter, const Environment* environment, const Pen* pen, char* text,
                                size_t size);

// Readers on an open stream. loadPlotter: a null file gives an empty library
// and 0. Every plotter block the file holds is read, whatever its count line
// says (the plotters win). On a damaged file '!Fmt' (or '!Mem'), on a plotter
// refused '!Val', and the list holds the plotters read completely before. A
// plotter is refused when checkPlotterValues or checkPenValues refuses its
// values, or when a value is not what the file means as it stands: a word
// where a number belongs, a text longer than its field. readPlotter: '!FOP'
// for a null file; on damage '!Fmt' / '!Mem' and the record owns no
// environments; on a refusal '!Val', the record owns no environments and
// keeps its name and values.
VT_NODISCARD int loadPlotter(Plotter** list, int* count, FILE* file);
VT_NODISCARD int readPlotter(Plotter* plotter, FILE* file);
// loadPlotter that also says why: for '!Val' problem names the plotter, its
// environment and pen where it is theirs, and the field; for 0 it holds a
// note when the count line disagrees with the plotters read ("its count line
// says 2 plotters, but it holds 6; all 6 are kept"), else it is emptied. size
// 0 (or a null problem) asks for nothing.
VT_NODISCARD int loadPlotterReporting(Plotter** list, int* count, FILE* file, char* problem, size_t size);
// readPlotter that also says why it refused a plotter ('!Val').
VT_NODISCARD int readPlotterReporting(Plotter* plotter, FILE* file, char* problem, size_t size);
// One block each: 1, or 0 when the block is damaged or an array cannot be
// allocated (the record then owns no array and its count is 0).
VT_NODISCARD int getPlotter(FILE* file, Plotter* plotter);
VT_NODISCARD int getEnvironment(FILE* file, Environment* environment);
VT_NODISCARD int getPen(FILE* file, Pen* pen);

// Path-based forms. Saving writes a temporary file of its own beside PATH
// (OSReplacingFile), flushes and syncs it and renames it over PATH only when
// every write succeeded, so a failed save never loses the existing file, and
// a file the user may not write is not replaced. loadPlotterFile gives an empty library for a missing file,
// and '!FOP' for one that is there but cannot be read; readPlotterFile gives
// '!FOP' for both.
VT_NODISCARD int savePlotterFile(const char* path, Plotter** list, int* count);
VT_NODISCARD int writePlotterFile(const char* path, Plotter* plotter);
VT_NODISCARD int loadPlotterFile(const char* path, Plotter** list, int* count);
// loadPlotterFile that says why, as loadPlotterReporting does, and the
// system's reason for '!FOP'.
VT_NODISCARD int loadPlotterFileReporting(const char* path, Plotter** list, int* count, char* problem, size_t size);
VT_NODISCARD int readPlotterFile(const char* path, Plotter* plotter);

// File name "%s.INI" for a plotter name, safe to join to a folder: separators,
// control characters and leading dots become '_', an empty name becomes
// "Plotter". fileName gets at most size - 1 characters, always terminated, and
// always ends in ".INI". 0, or '!Mem' when size cannot hold a name and ".INI".
VT_NODISCARD int makePlotterFileName(const char* plotterName, char* fileName, size_t size);
