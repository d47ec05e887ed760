// Reading a written job back: the command texts of a "~Temp.hpgl" file in the
// current plotter's language, and the pen motion each text stands for. This is
// the inverse of the command writer (PlotOut.h) and understands exactly the
// move, draw, arc and pen-select texts it writes; every other text is a
// command that moves nothing. Nothing here draws or talks to the host: the
// replay hands each line piece to a procedure of the caller's, so the same
// reading serves the output preview, the measuring pass and the tests.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "Math/CurveFit.h"

// One command as read from the file.
struct UDT_CommandLine {
    char* text;        // heap copy, owned by the array
    int32_t reserved;  // always 0
};

// A command text holds at most this many characters; a longer token or line
// (a long plotter text, a hostile file) goes on as the next command.
enum { kCommandTextMax = 255 };

// One line of the file: characters up to a line feed (not stored), the end of
// the file, or max characters; buffer must hold max + 1 bytes. Returns the
// number stored; 0 for a null file.
int ReadLine(FILE* file, char* buffer, int max);
// One whitespace-separated token of at most max characters (buffer holds
// max + 1); a longer token is cut there and its rest is the next token.
// Returns the number stored, 0 at the end of the file or for a null file.
int ReadToken(FILE* file, char* buffer, int max);

// Reads the whole file as commands of language (HPGL and DMGL: tokens; GPGL
// and MGL_IC1: lines; any other code reads nothing) and appends each
// non-empty one to *commands / *count. Returns 0, or kMemoryErr
// when the array or a text cannot be allocated (what was read stays).
VT_NODISCARD ASErr readCommandFile(FILE* file, int language, UDT_CommandLine** commands, int* count);
// Frees every text and the array; *commands = null, *count = 0.
void freeCommandLines(UDT_CommandLine** commands, int* count);

// The pen of a replay and the extent of everything it passed through.
struct ReplayPen {
    double x, y;     // plotter steps
    int32_t color;   // pen number of the last pen select; 1 before any
    int32_t language;
    double arcAngleUnit;  // unit of the angle numbers of GPGL and MGL_IC1 arcs
    int32_t minX, minY, maxX, maxY;  // extent, plotter steps; always holds the origin
};

// A line piece the pen draws, from (x0, y0) to (x1, y1) in plotter steps.
typedef void (*ReplayLineProc)(void* data, double x0, double y0, double x1, double y1, int32_t color);

// The pen at the origin with pen 1, the extent empty at the origin.
void replayPenReset(ReplayPen* pen, int language, double arcAngleUnit);
// Replays one command: moves the pen, changes its colour, or draws. With a
// line procedure each piece drawn goes to it; without one the extent is
// widened by every point the pen reaches instead. Arcs go as chords within
// 0.1 step of the circle (at most 65536 of them), made on the fly. A command
// that is not one of the writer's, or whose numbers cannot be read, changes
// nothing. Returns 0.
VT_NODISCARD ASErr replayCommand(const char* text, ReplayPen* pen, ReplayLineProc line, void* data);
