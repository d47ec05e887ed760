// Command texts for the cutters, built without printf: integers and reals
// with six decimals come out exactly as printf's "%ld" and "%f" write them in
// the C locale (the bytes every cutter file has always held), at a small part
// of the cost. Used for the commands a job repeats by the million: pen moves,
// cuts and arcs.
#pragma once

#include <stddef.h>

enum { kCommandTextSize = 256 };

// A command being built. Text beyond the buffer is dropped and flagged, never
// written past the end.
struct CommandText {
    char text[kCommandTextSize];
    size_t length;
    int overflow;
};

void CommandTextStart(CommandText* command);
void CommandTextPut(CommandText* command, const char* text);
void CommandTextPutChar(CommandText* command, char c);
// As printf's "%ld".
void CommandTextPutLong(CommandText* command, long value);
// As printf's "%f": six decimals, correctly rounded (ties to even), "-" for
// negative values including those that round to zero, "inf" and "nan" as
// printf writes them.
void CommandTextPutFixed6(CommandText* command, double value);
