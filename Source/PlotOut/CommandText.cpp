// Command texts built without printf. See CommandText.h.
#include "PlotOut/CommandText.h"

#include <locale.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

void CommandTextStart(CommandText* command)
{
    command->length = 0;
    command->overflow = 0;
    command->text[0] = 0;
}

static void putBytes(CommandText* command, const char* bytes, size_t n)
{
    if (command->length + n >= sizeof command->text) {
        command->overflow = 1;
        return;
    }
    memcpy(command->text + command->length, bytes, n);
    command->length += n;
    command->text[command->length] = 0;
}

void CommandTextPut(CommandText* command, const char* text) { putBytes(command, text, strlen(text)); }

void CommandTextPutChar(CommandText* command, char c) { putBytes(command, &c, 1); }

// Decimal digits of a magnitude, at least `minimum` of them (zero-padded),
// two at a time.
static void putDigits(CommandText* command, unsigned long long magnitude, int minimum)
{
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    while (magnitude >= 100) {
        const char* pair = kPairs + 2 * (magnitude % 100);
        magnitude /= 100;
        *--p = pair[1];
        *--p = pair[0];
    }
    if (magnitude >= 10) {
        const char* pair = kPairs + 2 * magnitude;
        *--p = pair[1];
        *--p = pair[0];
    } else {
        *--p = (char)('0' + magnitude);
    }
    while (end - p < minimum) *--p = '0';
    putBytes(command, p, (size_t)(end - p));
}

void CommandTextPutLong(CommandText* command, long value)
{
    unsigned long long magnitude = (unsigned long long)value;
    if (value < 0) {
        CommandTextPutChar(command, '-');
        magnitude = 0ULL - magnitude;
    }
    putDigits(command, magnitude, 1);
}

void CommandTextPutFixed6(CommandText* command, double value)
{
    // Beyond 2^53 every double is an integer and the digits need wider
    // arithmetic than this; infinities and NaN need their words. printf is
    // asked for those (in the C locale), which no cutter job ever meets.
    if (!isfinite(value) || fabs(value) >= 9007199254740992.0) {
        static locale_t cLocale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
        locale_t previous = uselocale(cLocale);
        char text[kCommandTextSize];
        int n = snprintf(text, sizeof text, "%f", value);
        uselocale(previous);
        if (n < 0 || (size_t)n >= sizeof text) {
            command->overflow = 1;
            return;
        }
        putBytes(command, text, (size_t)n);
        return;
    }
    // value = mantissa x 2^exponent exactly; value x 10^6 = mantissa x 10^6 x
    // 2^exponent, computed in 128 bits and rounded to the nearest integer,
    // ties to even, as printf rounds the exact binary value.
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    int negative = (int)(bits >> 63);
    int biased = (int)((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((1ULL << 52) - 1);
    int exponent;
    if (biased == 0) {
        exponent = -1074;
    } else {
        mantissa |= 1ULL << 52;
        exponent = biased - 1075;
    }
    unsigned __int128 scaled = (unsigned __int128)mantissa * 1000000u;
    unsigned __int128 units;  // millionths
    if (exponent >= 0) {
        units = scaled << exponent;  // below 2^53 x 10^6: fits
    } else if (exponent <= -127) {
        units = 0;  // far below half a millionth
    } else {
        int shift = -exponent;
        units = scaled >> shift;
        unsigned __int128 rest = scaled & (((unsigned __int128)1 << shift) - 1);
        unsigned __int128 half = (unsigned __int128)1 << (shift - 1);
        if (rest > half || (rest == half && (units & 1) != 0)) ++units;
    }
    if (negative) CommandTextPutChar(command, '-');
    putDigits(command, (unsigned long long)(units / 1000000u), 1);
    CommandTextPutChar(command, '.');
    putDigits(command, (unsigned long long)(units % 1000000u), 6);
}
