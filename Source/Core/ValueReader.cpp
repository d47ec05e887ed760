#include "Core/ValueReader.h"

#include <algorithm>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

locale_t valueCLocale(void)
{
    // Made once and kept for the life of the process: parsing and printing of the
    // library must not follow the user's decimal comma.
    static locale_t s_cLocale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return s_cLocale;
}

static void addStatus(int* status, int bits)
{
    if (status) *status |= bits;
}

static int isLineEndOrBrace(int c) { return c == '\n' || c == '\r' || c == '{' || c == '}'; }
static int isNotOpenBracket(int c) { return c != '['; }

// The first character of the stream that skipped() does not pass over, or EOF
// (a missing stream included), which marks the value missing.
static int firstKept(FILE* stream, int (*skipped)(int c), int* status)
{
    int c = EOF;
    if (stream) {
        do {
            c = getc(stream);
        } while (c != EOF && skipped(c));
    }
    if (c == EOF) addStatus(status, kValueMissing);
    return c;
}

// Stores c as the next character of a value of size characters, or notes that
// the value is cut when there is no room left (or no destination).
static void storeChar(char* value, size_t size, size_t* stored, int* cut, int c)
{
    if (value && *stored + 1 < size) {
        value[(*stored)++] = (char)c;
    } else {
        *cut = 1;
    }
}

int getString(FILE* stream, char* value, size_t size, int* status)
{
    if (value && size > 0) value[0] = 0;
    // Skip line ends and brace lines in front of the line.
    int c = firstKept(stream, isLineEndOrBrace, status);
    if (c == EOF) return 0;

    // The line is read character by character rather than into a line buffer, so
    // a line of any length is consumed whole and nothing runs past a buffer.
    size_t stored = 0;
    int seenEquals = 0;
    int stopped = 0;  // a '%' or TAB ended the value; the rest of the line is skipped
    int cut = 0;
    for (; c != EOF && c != '\n' && c != '\r'; c = getc(stream)) {
        if (!seenEquals) {
            if (c == '=') seenEquals = 1;
            continue;
        }
        if (stopped) continue;
        if (c == '%' || c == '\t') {
            stopped = 1;
            continue;
        }
        storeChar(value, size, &stored, &cut, c);
    }
    if (value && size > 0) value[stored] = 0;
    if (!seenEquals) addStatus(status, kValueNoKey);
    if (cut) addStatus(status, kValueCut);
    return (int)stored;
}

int getString(FILE* stream, char* value)
{
    return getString(stream, value, kValueTextSize, NULL);
}

// A number's text must be the number and nothing else, white space around it
// aside: "GPGL" is read as 0 and "1.5" as 1, which the file never meant.
static void checkWholeNumber(const char* text, const char* end, int* status)
{
    int whole = end != NULL && end != text;
    for (const char* c = end; whole && *c; c++)
        if (*c != ' ') whole = 0;
    if (!whole) addStatus(status, kValueNotNumber);
}

int getInt(FILE* stream, int* value, int* status)
{
    char text[kValueTextSize];
    getString(stream, text, sizeof(text), status);
    char* end = NULL;
    errno = 0;
    locale_t loc = valueCLocale();
    long number = loc ? strtol_l(text, &end, 10, loc) : strtol(text, &end, 10);
    number = std::clamp(number, (long)INT_MIN, (long)INT_MAX);
    checkWholeNumber(text, end, status);
    if (value) *value = (int)number;
    return 1;
}

int getDouble(FILE* stream, double* value, int* status)
{
    char text[kValueTextSize];
    getString(stream, text, sizeof(text), status);
    char* end = NULL;
    locale_t loc = valueCLocale();
    double number = loc ? strtod_l(text, &end, loc) : strtod(text, &end);
    checkWholeNumber(text, end, status);
    if (value) *value = number;
    return 1;
}

int getINIString(FILE* stream, char* value, size_t size, int* status)
{
    if (value && size > 0) memset(value, 0, size);
    int c = firstKept(stream, isNotOpenBracket, status);
    if (c == EOF) return 0;

    size_t stored = 0;
    int cut = 0;
    for (c = getc(stream); c != ']' && c != EOF; c = getc(stream)) storeChar(value, size, &stored, &cut, c);
    if (c == EOF) {
        addStatus(status, kValueMissing);
    } else {
        getc(stream);  // the line end after ']'
    }
    if (cut) addStatus(status, kValueCut);
    return (int)stored;
}

int getINIString(FILE* stream, char* value)
{
    return getINIString(stream, value, kINIStringSize, NULL);
}
