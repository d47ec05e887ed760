// Reading a written job back, command by command, and the pen motion of each.
#include "PlotOut/CommandReader.h"

#include <algorithm>
#include <ctype.h>
#include <locale.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "PlotOut/PlotOut.h"

namespace {

// Degrees to radians, as the writer's texts were made.
const double kDegree = 0.017453292519444445;
const double kTwoPi = 6.283185307;
// Arcs are drawn back as chords no further than this from the circle (steps).
const double kArcTolerance = 0.1;
// However large the circle, an arc is drawn back with at most this many chords.
const int kMaxArcChords = 65536;

// Numbers in the files were written in the C locale.
locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return locale;
}

// Reads the numbers of text against a pattern: 'i' an integer, 'f' a real
// number, ' ' any run of blanks (also none), any other character itself. Stops
// at the first mismatch; returns how many numbers were read. A number that is
// not finite counts as unreadable.
int scanNumbers(const char* text, const char* pattern, double* numbers, int max)
{
    const char* p = text;
    int read = 0;
    for (const char* f = pattern; *f != 0; f++) {
        if (*f == ' ') {
            while (isspace((unsigned char)*p))
                p++;
        } else if (*f == 'i' || *f == 'f') {
            if (read >= max)
                return read;
            char* end = nullptr;
            double value;
            if (*f == 'i') {
                value = (double)strtol(p, &end, 10);
            } else {
                value = strtod_l(p, &end, cLocale());
                if (!isfinite(value))
                    return read;
            }
            if (end == p)
                return read;
            numbers[read++] = value;
            p = end;
        } else {
            if (*p != *f)
                return read;
            p++;
        }
    }
    return read;
}

int32_t truncateToInt32(double value)
{
    if (!(value == value))
        return 0;
    if (value >= 2147483647.0)
        return 2147483647;
    if (value <= -2147483648.0)
        return (int32_t)-2147483647 - 1;
    return (int32_t)value;
}

void widenExtent(ReplayPen* pen, double x, double y)
{
    int32_t ix = truncateToInt32(x), iy = truncateToInt32(y);
    pen->maxX = std::max(pen->maxX, ix);
    pen->minX = std::min(pen->minX, ix);
    pen->maxY = std::max(pen->maxY, iy);
    pen->minY = std::min(pen->minY, iy);
}

// The pen goes to (x, y), drawing or not; the point becomes current.
void penTo(ReplayPen* pen, double x, double y, bool draw, ReplayLineProc line, void* data)
{
    if (line == nullptr)
        widenExtent(pen, x, y);
    else if (draw)
        line(data, pen->x, pen->y, x, y, pen->color);
    pen->x = x;
    pen->y = y;
}

// The pen runs along the circle around (cx, cy) of radius r from angle a0 by
// sweep (radians, positive counter-clockwise) and ends exactly at (ex, ey).
// The sweep is the one written, so an arc of more than half a turn is drawn
// as written and a tiny clockwise arc stays tiny.
void penAlongArc(ReplayPen* pen, double cx, double cy, double r, double a0, double sweep, double ex, double ey,
                 ReplayLineProc line, void* data)
{
    sweep = std::clamp(sweep, -kTwoPi, kTwoPi);
    double estimate = fabs(sweep) * sqrt(fabs(r) / (8.0 * kArcTolerance));
    int chords;
    if (sweep == 0.0)
        chords = 1;
    else if (!(estimate < kMaxArcChords))  // NaN too: the bound, never an undefined conversion
        chords = kMaxArcChords;
    else
        chords = (int)estimate + 1 < 2 ? 2 : (int)estimate + 1;
    for (int i = 1; i < chords; i++) {
        double a = a0 + sweep * i / chords;
        penTo(pen, cx + r * cos(a), cy + r * sin(a), true, line, data);
    }
    penTo(pen, ex, ey, true, line, data);
}

}  // namespace

int ReadLine(FILE* file, char* buffer, int max)
{
    if (file == nullptr || buffer == nullptr)
        return 0;
    int stored = 0;
    while (stored < max) {
        int c = fgetc(file);
        if (c == EOF || c == '\n')
            break;
        buffer[stored++] = (char)c;
    }
    if (max >= 0)
        buffer[stored] = 0;
    return stored;
}

int ReadToken(FILE* file, char* buffer, int max)
{
    if (file == nullptr || buffer == nullptr)
        return 0;
    int c;
    do {
        c = fgetc(file);
    } while (c != EOF && isspace(c));
    int stored = 0;
    while (c != EOF && !isspace(c)) {
        if (stored >= max) {
            ungetc(c, file);
            break;
        }
        buffer[stored++] = (char)c;
        c = fgetc(file);
    }
    if (max >= 0)
        buffer[stored] = 0;
    return stored;
}

ASErr readCommandFile(FILE* file, int language, UDT_CommandLine** commands, int* count)
{
    if (file == nullptr)
        return kNoErr;
    char buffer[kCommandTextMax + 1];
    for (;;) {
        memset(buffer, 0, sizeof buffer);
        if (language == kLanguageHPGL || language == kLanguageDMGL) {
            ReadToken(file, buffer, kCommandTextMax);
        } else if (language == kLanguageGPGL || language == kLanguageMGL_IC1) {
            ReadLine(file, buffer, kCommandTextMax);
        } else {
            break;
        }
        if (buffer[0] != 0) {
            char* text = strdup(buffer);
            if (text == nullptr)
                return kMemoryErr;
            UDT_CommandLine* grown =
                (UDT_CommandLine*)realloc(*commands, sizeof(UDT_CommandLine) * (size_t)(*count + 1));
            if (grown == nullptr) {
                free(text);
                return kMemoryErr;
            }
            *commands = grown;
            (*commands)[*count].text = text;
            (*commands)[*count].reserved = 0;
            (*count)++;
        }
        if (feof(file) || ferror(file))
            break;
    }
    return kNoErr;
}

void freeCommandLines(UDT_CommandLine** commands, int* count)
{
    if (*commands != nullptr) {
        for (int i = 0; i < *count; i++)
            free((*commands)[i].text);
        free(*commands);
    }
    *commands = nullptr;
    *count = 0;
}

void replayPenReset(ReplayPen* pen, int language, double arcAngleUnit)
{
    pen->x = 0.0;
    pen->y = 0.0;
    pen->color = 1;
    pen->language = language;
    pen->arcAngleUnit = arcAngleUnit;
    pen->minX = pen->minY = pen->maxX = pen->maxY = 0;
}

namespace {

// The commands that move the pen, up or down, or pick its colour, in the
// languages' words: how the command starts and the pattern of its numbers.
enum ReplayAct { kReplayMove, kReplayDraw, kReplayColor };
struct ReplayStep {
    const char* start;
    const char* pattern;
    int numbers;
    ReplayAct act;
};
const ReplayStep kReplaySteps[] = {
    {"PD", "PDi,i", 2, kReplayDraw},   // HPGL, DMGL
    {"PU", "PUi,i", 2, kReplayMove},
    {"SP", "SPi", 1, kReplayColor},
    {"J", "Ji", 1, kReplayColor},      // GPGL
    {"M ", "M i,i", 2, kReplayMove},   // GPGL, MGL_IC1
    {"D ", "D i,i", 2, kReplayDraw},
};

const ReplayStep* replayStepOf(const char* text)
{
    for (const ReplayStep& step : kReplaySteps)
        if (strncmp(text, step.start, strlen(step.start)) == 0)
            return &step;
    return nullptr;
}

}  // namespace

ASErr replayCommand(const char* text, ReplayPen* pen, ReplayLineProc line, void* data)
{
    if (text == nullptr || strlen(text) <= 2)
        return kNoErr;
    double n[4];
    if (text[0] == 'P' && text[1] == 'D' && text[2] == ';') {
        // HPGL arc: centre and sweep in degrees, from the pen.
        if (scanNumbers(text, "PD;AAi,i,f", n, 3) < 3)
            return kNoErr;
        point_struct centre = {n[0], n[1]}, current = {pen->x, pen->y};
        double a0 = CalculateRadian(centre, current);
        double r = hypot(current.x - centre.x, current.y - centre.y);
        double s = n[2] * kDegree;
        double ex = current.x - r * (cos(a0) - cos(a0 + s));
        double ey = current.y - r * (sin(a0) - sin(a0 + s));
        penAlongArc(pen, centre.x, centre.y, r, a0, s, ex, ey, line, data);
    } else if (const ReplayStep* step = replayStepOf(text)) {
        if (scanNumbers(text, step->pattern, n, step->numbers) < step->numbers)
            return kNoErr;
        if (step->act == kReplayColor)
            pen->color = truncateToInt32(n[0]);
        else
            penTo(pen, n[0], n[1], step->act == kReplayDraw, line, data);
    } else if (text[0] == ']' && text[1] == ' ') {
        // GPGL and MGL_IC1 arc from the pen: radius, radius again, start and
        // end angle. The angles are in units of arcAngleUnit, degrees in GPGL
        // and radians in MGL_IC1, as the writer made them; the arc runs from
        // the start angle to the end angle, counter-clockwise when it grows.
        if (scanNumbers(text, "] i,i,i,i", n, 4) < 4)
            return kNoErr;
        double unit = pen->language == kLanguageMGL_IC1 ? pen->arcAngleUnit : pen->arcAngleUnit * kDegree;
        double r = n[0], a1 = n[2] * unit, a2 = n[3] * unit;
        if (!isfinite(a1) || !isfinite(a2))
            return kNoErr;
        double cx = pen->x - r * cos(a1), cy = pen->y - r * sin(a1);
        penAlongArc(pen, cx, cy, r, a1, a2 - a1, cx + r * cos(a2), cy + r * sin(a2), line, data);
    }
    return kNoErr;
}
