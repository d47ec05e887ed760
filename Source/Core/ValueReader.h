// Positional reader of the plug-in's key=value text files (the plotter library,
// single-plotter files and the language file). The key in front of '=' is never
// looked at: callers ask for the values in the order the writer put the lines.
//
// Every function moves the stream forward only and never writes past its
// destination, whatever the length of the line: a value longer than the
// destination is cut to it and the rest of its line is still consumed, so the
// next call reads the next line. Numbers are parsed in the C locale.
#pragma once

#include <locale.h>
#include <stddef.h>
#include <stdio.h>

// Size of the destination the two-argument getString expects (the line buffer of
// the format: a line holds at most 1,023 characters).
#define kValueTextSize 1024
// Size of the destination getINIString expects: 254 characters and a terminator.
#define kINIStringSize 255

// Status bits a reader call can add to the optional status word. Callers that
// must stay in step with a format (the plotter library) test them; the others
// may pass null.
enum {
    kValueMissing = 1,    // the stream ended before a line, a '[' or the closing ']'
    kValueNoKey = 2,      // the line holds no '=': its value is the empty text
    kValueCut = 4,        // the value was longer than its destination and was cut
    kValueNotNumber = 8   // getInt / getDouble: the value is no number as a whole ("GPGL", "1.5" for an int)
};

// Reads one key=value line (lines of braces and empty lines in front are
// skipped). Stores the text after the first '=', up to the end of the line, a
// '%' or a TAB, into value (at most size - 1 characters, always terminated) and
// returns the number of characters stored.
int getString(FILE* stream, char* value, size_t size, int* status = NULL);
// The same with a destination of kValueTextSize characters.
int getString(FILE* stream, char* value);

// One value read with getString, converted like atoi / atof (leading white space
// ignored, conversion stops at the first character that cannot belong to the
// number, no number gives 0) but always in the C locale; integers beyond the
// int range are held to it. A value that is not a number as a whole (white
// space around it aside) adds kValueNotNumber to the status. Both return 1.
int getInt(FILE* stream, int* value, int* status = NULL);
int getDouble(FILE* stream, double* value, int* status = NULL);

// Skips everything up to a '[', then stores the text up to the next ']' (line
// ends, '%' and TAB included) into value and consumes the one character after
// the ']'. The destination is cleared first, so it is always terminated; a text
// longer than size - 1 characters is cut and the rest is consumed up to the ']'.
// Returns the number of characters stored.
int getINIString(FILE* stream, char* value, size_t size, int* status = NULL);
// The same with a destination of kINIStringSize characters.
int getINIString(FILE* stream, char* value);

// The C locale, for writers and readers of these files whatever the user's
// locale (null only when the system could not make one).
locale_t valueCLocale(void);
