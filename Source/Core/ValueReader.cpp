#include "Core/ValueReader.h"

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

int getString(FILE* stream, char* value, size_t size, int* status)
{
    if (value && size > 0) value[0] = 0;
    if (!stream) {
        addStatus(status, kValueMissing);
        return 0;
    }

    // Skip line ends and brace lines in front of the line.
    int c;
    do {
        c = getc(stream);
    } while (c == '\n' || c == '\r' || c == '{' || c == '}');
    if (c == EOF) {
        addStatus(status, kValueMissing);
        return 0;
    }

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
        if (value && stored + 1 < size) {
            value[stored++] = (char)c;
        } else {
            cut = 1;
        }
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

int getInt(FILE* stream, int* value, int* status)
{
    char text[kValueTextSize];
    getString(stream, text, sizeof(text), status);
    char* end = NULL;
    errno = 0;
    locale_t loc = valueCLocale();
    long number = loc ? strtol_l(text, &end, 10, loc) : strtol(text, &end, 10);
    if (number > INT_MAX) number = INT_MAX;
    if (number < INT_MIN) number = INT_MIN;
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
    if (value) *value = number;
    return 1;
}

int getINIString(FILE* stream, char* value, size_t size, int* status)
{
    if (value && size > 0) memset(value, 0, size);
    if (!stream) {
        addStatus(status, kValueMissing);
        return 0;
    }

    int c;
    do {
        c = getc(stream);
    } while (c != '[' && c != EOF);
    if (c == EOF) {
        addStatus(status, kValueMissing);
        return 0;
    }

    size_t stored = 0;
    int cut = 0;
    for (c = getc(stream); c != ']' && c != EOF; c = getc(stream)) {
        if (value && stored + 1 < size) {
            value[stored++] = (char)c;
        } else {
            cut = 1;
        }
    }
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
