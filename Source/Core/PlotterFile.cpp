// The plotter library text file: "PlotterSetup.txt" (a count line and plotter
// blocks) and the single-plotter "%s.INI" (one plotter block). The reader is
// positional; reading a damaged or hostile file stops with an error code and
// never runs past a field.
#include <errno.h>
#include <limits.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "Common/OSReplacingFile.h"
#include "Core/PlotterLibrary.h"
#include "Core/ValueReader.h"

// ---- Writing -------------------------------------------------------------------

// Bounded length of a field that should hold a terminated text.
static size_t fieldLength(const char* text, size_t size)
{
    const void* end = memchr(text, 0, size);
    return end ? (size_t)((const char*)end - text) : size - 1;
}

static int hasChar(const char* text, size_t size, char c)
{
    return memchr(text, c, fieldLength(text, size)) != NULL;
}

static int hasLineEnd(const char* text, size_t size)
{
    return hasChar(text, size, '\n') || hasChar(text, size, '\r');
}

static int environmentWritable(const Environment* environment)
{
    if (hasLineEnd(environment->EnvironmentName, sizeof(environment->EnvironmentName))) return kUnwritableTextErr;
    if (environment->PenNumber < 0 || (environment->PenNumber > 0 && !environment->Pens)) return kFormatErr;
    for (int i = 0; i < environment->PenNumber; i++) {
        if (hasLineEnd(environment->Pens[i].PenName, sizeof(environment->Pens[i].PenName))) return kUnwritableTextErr;
    }
    return 0;
}

int plotterWritable(const Plotter* plotter)
{
    if (!plotter) return kFormatErr;
    if (hasChar(plotter->PlotterIniString, sizeof(plotter->PlotterIniString), ']') ||
        hasChar(plotter->PlotterEndString, sizeof(plotter->PlotterEndString), ']'))
        return kUnwritableTextErr;
    if (hasLineEnd(plotter->PlotterName, sizeof(plotter->PlotterName)) ||
        hasLineEnd(plotter->PlotterManufactory, sizeof(plotter->PlotterManufactory)))
        return kUnwritableTextErr;
    if (plotter->PlotterEnvNumber < 0 || (plotter->PlotterEnvNumber > 0 && !plotter->Environments))
        return kFormatErr;
    for (int i = 0; i < plotter->PlotterEnvNumber; i++) {
        int err = environmentWritable(&plotter->Environments[i]);
        if (err) return err;
    }
    return 0;
}

// Numbers go out in the C locale whatever the user's locale; the previous
// locale of the thread is restored afterwards.
static locale_t enterCLocale(void)
{
    locale_t loc = valueCLocale();
    return loc ? uselocale(loc) : (locale_t)0;
}

static void leaveCLocale(locale_t previous)
{
    if (previous) uselocale(previous);
}

static void writePenBlock(FILE* file, const Pen* pen)
{
    fprintf(file, "{\n");
    fprintf(file, "PenName=%.*s\n", (int)fieldLength(pen->PenName, sizeof(pen->PenName)), pen->PenName);
    fprintf(file, "Pressure=%.2f\n", pen->Pressure);
    fprintf(file, "Velocity=%.2f\n", pen->Velocity);
    fprintf(file, "Extra=%.3f\n", pen->Extra);
    fprintf(file, "minPressure=%.2f\n", pen->minPressure);
    fprintf(file, "minVelocity=%.2f\n", pen->minVelocity);
    fprintf(file, "minExtra=%.3f\n", pen->minExtra);
    fprintf(file, "maxPressure=%.2f\n", pen->maxPressure);
    fprintf(file, "maxVelocity=%.2f\n", pen->maxVelocity);
    fprintf(file, "maxExtra=%.3f\n", pen->maxExtra);
    fprintf(file, "defaultPressure=%.2f\n", pen->defaultPressure);
    fprintf(file, "defaultVelocity=%.2f\n", pen->defaultVelocity);
    fprintf(file, "defaultExtra=%.3f\n", pen->defaultExtra);
    fprintf(file, "stepPressure=%.2f\n", pen->stepPressure);
    fprintf(file, "stepVelocity=%.2f\n", pen->stepVelocity);
    fprintf(file, "stepExtra=%.3f\n", pen->stepExtra);
    fprintf(file, "PenReserved=%d\n", (int)pen->PenReserved);
    fprintf(file, "}\n");
}

static void writeEnvironmentBlock(FILE* file, const Environment* environment)
{
    fprintf(file, "{\n");
    fprintf(file, "EnvironmentName=%.*s\n",
            (int)fieldLength(environment->EnvironmentName, sizeof(environment->EnvironmentName)),
            environment->EnvironmentName);
    fprintf(file, "PenNumber=%d\n", (int)environment->PenNumber);
    fprintf(file, "EnvironmentReserved=%d\n", (int)environment->EnvironmentReserved);
    for (int i = 0; i < environment->PenNumber; i++) writePenBlock(file, &environment->Pens[i]);
    fprintf(file, "}\n");
}

static void writePlotterBlock(FILE* file, const Plotter* plotter)
{
    fprintf(file, "{\n");
    fprintf(file, "PlotterName=%.*s\n", (int)fieldLength(plotter->PlotterName, sizeof(plotter->PlotterName)),
            plotter->PlotterName);
    fprintf(file, "PlotterManufactory=%.*s\n",
            (int)fieldLength(plotter->PlotterManufactory, sizeof(plotter->PlotterManufactory)),
            plotter->PlotterManufactory);
    fprintf(file, "IsSpecialMachine=%d\n", (int)plotter->IsSpecialMachine);
    fprintf(file, "PlotterIniString=[%.*s]\n",
            (int)fieldLength(plotter->PlotterIniString, sizeof(plotter->PlotterIniString)),
            plotter->PlotterIniString);
    fprintf(file, "PlotterEndString=[%.*s]\n",
            (int)fieldLength(plotter->PlotterEndString, sizeof(plotter->PlotterEndString)),
            plotter->PlotterEndString);
    fprintf(file, "Language=%d\n", (int)plotter->Language);
    fprintf(file, "PlotterSizeX=%f\n", plotter->PlotterSizeX);
    fprintf(file, "PlotterSizeY=%f\n", plotter->PlotterSizeY);
    fprintf(file, "PlotterStep=%f\n", plotter->PlotterStep);
    fprintf(file, "PlotterOrigin=%d\n", (int)plotter->PlotterOrigin);
    fprintf(file, "PlotterReserved=%d\n", (int)plotter->PlotterReserved);
    fprintf(file, "PlotterEnvNumber=%d\n", (int)plotter->PlotterEnvNumber);
    fprintf(file, "PlotterPID=%d\n", (int)plotter->PlotterPID);
    fprintf(file, "PlotterVID=%d\n", (int)plotter->PlotterVID);
    for (int i = 0; i < plotter->PlotterEnvNumber; i++) writeEnvironmentBlock(file, &plotter->Environments[i]);
    fprintf(file, "}\n");
}

// Writes one block in the C locale; 1 when it was written, 0 when there is
// no file or the block cannot be written as it stands.
template <typename Block>
static int putBlock(FILE* file, const Block* block, int writable, void (*write)(FILE*, const Block*))
{
    if (!file || !writable) return 0;
    locale_t previous = enterCLocale();
    write(file, block);
    leaveCLocale(previous);
    return 1;
}

int putPen(FILE* file, Pen pen)
{
    return putBlock(file, &pen, !hasLineEnd(pen.PenName, sizeof(pen.PenName)), writePenBlock);
}

int putEnvironment(FILE* file, Environment environment)
{
    return putBlock(file, &environment, environmentWritable(&environment) == 0, writeEnvironmentBlock);
}

int putPlotter(FILE* file, Plotter plotter)
{
    return putBlock(file, &plotter, plotterWritable(&plotter) == 0, writePlotterBlock);
}

int writePlotter(Plotter plotter, FILE* file)
{
    if (!file) return kNoFileErr;
    int err = plotterWritable(&plotter);
    if (err) return err;
    (void)putPlotter(file, plotter);  // cannot refuse: the file is open and the plotter writable
    return ferror(file) ? kWriteErr : 0;
}

int savePlotter(Plotter** list, int* count, FILE* file)
{
    if (!file) return 0;
    int n = count ? *count : 0;
    Plotter* plotters = list ? *list : NULL;
    if (n < 0 || (n > 0 && !plotters)) return kFormatErr;
    // Check every plotter first: a refused plotter must not leave half a file.
    for (int i = 0; i < n; i++) {
        int err = plotterWritable(&plotters[i]);
        if (err) return err;
    }
    locale_t previous = enterCLocale();
    fprintf(file, "PlotterNumber=%d\n", n);
    for (int i = 0; i < n; i++) writePlotterBlock(file, &plotters[i]);
    leaveCLocale(previous);
    return ferror(file) ? kWriteErr : 0;
}

// ---- Values ------------------------------------------------------------------------

// Whose value a message is about: plotter "NAME", and environment "NAME" and
// pen "NAME" when the value is theirs.
static void describeOwner(const Plotter* plotter, const Environment* environment, const Pen* pen, char* text,
                          size_t size)
{
    int used = snprintf(text, size, "plotter \"%.*s\"", (int)fieldLength(plotter->PlotterName, sizeof(plotter->PlotterName)),
                        plotter->PlotterName);
    if (environment && used >= 0 && (size_t)used < size)
        used += snprintf(text + used, size - (size_t)used, ", environment \"%.*s\"",
                         (int)fieldLength(environment->EnvironmentName, sizeof(environment->EnvironmentName)),
                         environment->EnvironmentName);
    if (pen && used >= 0 && (size_t)used < size)
        snprintf(text + used, size - (size_t)used, ", pen \"%.*s\"", (int)fieldLength(pen->PenName, sizeof(pen->PenName)),
                 pen->PenName);
}

// The plotter editor lets a length be at most its limit; what it stores passes
// through single precision, so a value a hair above the limit is the limit.
static int withinLimit(double value, double limit) { return value <= limit * (1.0 + 1e-6); }

int checkPlotterValues(const Plotter* plotter, char* text, size_t size)
{
    if (!plotter) return kPlotterValueErr;
    if (text && size > 0) text[0] = 0;
    int wantText = text != NULL && size > 0;
    char owner[200];
    describeOwner(plotter, NULL, NULL, owner, sizeof owner);
    if (plotter->Language < 0 || plotter->Language > 3) {
        if (wantText)
            snprintf(text, size, "%s: Language is %d, not one of 0 (HPGL) to 3 (DMGL)", owner, (int)plotter->Language);
        return kPlotterValueErr;
    }
    const struct {
        const char* field;
        double value;
        double largest;
        const char* what;
    } lengths[] = {{"PlotterStep", plotter->PlotterStep, kPlotterLargestStep, "a step"},
                   {"PlotterSizeX", plotter->PlotterSizeX, kPlotterLargestMediaSize, "a media width"},
                   {"PlotterSizeY", plotter->PlotterSizeY, kPlotterLargestMediaSize, "a media length"}};
    for (size_t i = 0; i < sizeof(lengths) / sizeof(lengths[0]); i++) {
        double value = lengths[i].value;
        if (isfinite(value) && value >= kPlotterSmallestLength && withinLimit(value, lengths[i].largest)) continue;
        if (!wantText) return kPlotterValueErr;
        const char* field = lengths[i].field;
        if (!isfinite(value))
            snprintf(text, size, "%s: %s is not a finite number", owner, field);
        else if (value <= 0)
            snprintf(text, size, "%s: %s is %g, not above 0", owner, field, value);
        else if (value < kPlotterSmallestLength)
            snprintf(text, size, "%s: %s is %g, below the %g mm the library file can hold", owner, field, value,
                     kPlotterSmallestLength);
        else
            snprintf(text, size, "%s: %s is %g, more than the %g mm %s can be", owner, field, value,
                     lengths[i].largest, lengths[i].what);
        return kPlotterValueErr;
    }
    return 0;
}

int checkPenValues(const Plotter* plotter, const Environment* environment, const Pen* pen, char* text, size_t size)
{
    if (!plotter || !pen) return kPlotterValueErr;
    if (text && size > 0) text[0] = 0;
    // What a job is cut with: a force, a speed and a knife offset, none below 0.
    const struct {
        const char* field;
        double value;
    } used[] = {{"Pressure", pen->Pressure}, {"Velocity", pen->Velocity}, {"Extra", pen->Extra}};
    for (size_t i = 0; i < sizeof(used) / sizeof(used[0]); i++) {
        if (isfinite(used[i].value) && used[i].value >= 0) continue;
        if (text && size > 0) {
            char owner[300];
            describeOwner(plotter, environment, pen, owner, sizeof owner);
            if (isfinite(used[i].value))
                snprintf(text, size, "%s: %s is %g, below 0", owner, used[i].field, used[i].value);
            else
                snprintf(text, size, "%s: %s is not a finite number", owner, used[i].field);
        }
        return kPlotterValueErr;
    }
    return 0;
}

// ---- Reading -------------------------------------------------------------------

// Consumes the brace that opens or closes a block and the white space after it
// (a scan with "{\n" or "}\n"). Anything else is left in the stream for the
// next value read, which skips brace lines and line ends anyway.
static void skipBrace(FILE* file, int brace)
{
    int c = getc(file);
    if (c != brace) {
        if (c != EOF) ungetc(c, file);
        return;
    }
    do {
        c = getc(file);
    } while (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f');
    if (c != EOF) ungetc(c, file);
}

// True when nothing but white space, and the closing braces of blocks read
// already, is left in the stream (a line end before a brace, as CR LF files
// have, leaves the brace to the next value read, which skips it).
static int atEnd(FILE* file)
{
    int c;
    do {
        c = getc(file);
    } while (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '}');
    if (c == EOF) return 1;
    ungetc(c, file);
    return 0;
}

// A value read that hit the end of the stream or a line without '=' puts the
// reader out of step with the format: the block is damaged.
static int readFailed(int status)
{
    return (status & (kValueMissing | kValueNoKey)) != 0;
}

// The reading of one plotter block: the stream, and what is known of why a
// value of it is refused (a word where a number belongs, a text longer than
// its field). The first such value is said, naming its plotter, environment,
// pen and field as checkPlotterValues does; problem may be null.
struct BlockReading {
    FILE* file;
    const Plotter* plotter;
    const Environment* environment;  // while one of its values is read
    const Pen* pen;
    int refused;
    char* problem;
    size_t size;
};

// Notes the first value of the block that cannot be taken as the file holds it.
static void noteValue(BlockReading* reading, int status, const char* field, size_t fieldSize)
{
    // A value that is not there at all is damage, said otherwise.
    if (reading->refused || readFailed(status) || !(status & (kValueNotNumber | kValueCut))) return;
    reading->refused = 1;
    if (!reading->problem || reading->size == 0) return;
    char owner[300];
    describeOwner(reading->plotter, reading->environment, reading->pen, owner, sizeof owner);
    if (status & kValueCut)
        snprintf(reading->problem, reading->size, "%s: %s is longer than the %d characters it can hold", owner, field,
                 (int)fieldSize - 1);
    else
        snprintf(reading->problem, reading->size, "%s: %s is not a number", owner, field);
}

static void readText(BlockReading* reading, int* status, const char* field, char* value, size_t size)
{
    int one = 0;
    getString(reading->file, value, size, &one);
    noteValue(reading, one, field, size);
    *status |= one;
}

static void readINIText(BlockReading* reading, int* status, const char* field, char* value, size_t size)
{
    int one = 0;
    getINIString(reading->file, value, size, &one);
    noteValue(reading, one, field, size);
    *status |= one;
}

static void readInt(BlockReading* reading, int* status, const char* field, int* value)
{
    int one = 0;
    getInt(reading->file, value, &one);
    noteValue(reading, one, field, 0);
    *status |= one;
}

static void readDouble(BlockReading* reading, int* status, const char* field, double* value)
{
    int one = 0;
    getDouble(reading->file, value, &one);
    noteValue(reading, one, field, 0);
    *status |= one;
}

// Grows an array being read to hold at least need elements. The array grows
// with what the file really holds, so a hostile count cannot make the reader
// allocate more than the file's size warrants.
VT_NODISCARD static int growArray(void** array, int* capacity, int need, size_t size)
{
    if (need <= *capacity) return 0;
    int fresh = *capacity > 0 ? *capacity : 4;
    while (fresh < need) fresh = (fresh > INT_MAX / 2) ? need : fresh * 2;
    if ((size_t)fresh > ((size_t)-1) / size) return kMemoryErr;
    void* grown = realloc(*array, size * (size_t)fresh);
    if (!grown) return kMemoryErr;
    *array = grown;
    *capacity = fresh;
    return 0;
}

// Reads count blocks with readBlock (with count -1: blocks until the stream
// holds nothing more) into a new array that grows with what the file really
// holds, each element cleared before it is read. Stops at the first block
// that fails and returns its error; *read is the number of blocks read whole,
// and the failed one stays in the array after them.
template <typename Block, typename ReadBlock>
VT_NODISCARD static int readBlocks(FILE* file, int count, ReadBlock readBlock, Block** blocks, int* read)
{
    Block* array = NULL;
    int capacity = 0;
    int err = 0;
    int n = 0;
    for (; count < 0 ? n < INT_MAX && !atEnd(file) : n < count; n++) {
        err = growArray((void**)&array, &capacity, n + 1, sizeof(Block));
        if (err) break;
        memset(&array[n], 0, sizeof(Block));
        err = readBlock(file, &array[n]);
        if (err) break;
    }
    *blocks = array;
    *read = n;
    return err;
}

// Reads the count blocks inside a block and the brace that closes it. On a
// failure nothing is kept: the blocks read are released (release frees what
// one owns), the array freed and the error returned.
template <typename Block, typename ReadBlock>
VT_NODISCARD static int readInnerBlocks(FILE* file, int count, ReadBlock readBlock, void (*release)(Block*),
                                        Block** blocks)
{
    int read = 0;
    int err = readBlocks(file, count, readBlock, blocks, &read);
    if (err) {
        for (int i = 0; release && i < read; i++) release(&(*blocks)[i]);
        free(*blocks);
        *blocks = NULL;
        return err;
    }
    skipBrace(file, '}');
    return 0;
}

VT_NODISCARD static int readPenBlock(BlockReading* reading, Pen* pen)
{
    int status = 0;
    skipBrace(reading->file, '{');
    reading->pen = pen;
    readText(reading, &status, "PenName", pen->PenName, sizeof(pen->PenName));
    const struct {
        const char* field;
        double* value;
    } values[15] = {{"Pressure", &pen->Pressure},
                    {"Velocity", &pen->Velocity},
                    {"Extra", &pen->Extra},
                    {"minPressure", &pen->minPressure},
                    {"minVelocity", &pen->minVelocity},
                    {"minExtra", &pen->minExtra},
                    {"maxPressure", &pen->maxPressure},
                    {"maxVelocity", &pen->maxVelocity},
                    {"maxExtra", &pen->maxExtra},
                    {"defaultPressure", &pen->defaultPressure},
                    {"defaultVelocity", &pen->defaultVelocity},
                    {"defaultExtra", &pen->defaultExtra},
                    {"stepPressure", &pen->stepPressure},
                    {"stepVelocity", &pen->stepVelocity},
                    {"stepExtra", &pen->stepExtra}};
    for (int i = 0; i < 15; i++) readDouble(reading, &status, values[i].field, values[i].value);
    int reserved = 0;
    readInt(reading, &status, "PenReserved", &reserved);
    pen->PenReserved = reserved;
    skipBrace(reading->file, '}');
    if (!readFailed(status) && !reading->refused &&
        checkPenValues(reading->plotter, reading->environment, pen, reading->problem, reading->size) != 0)
        reading->refused = 1;
    reading->pen = NULL;
    return readFailed(status) ? kFormatErr : 0;
}

VT_NODISCARD static int readEnvironmentBlock(BlockReading* reading, Environment* environment)
{
    int status = 0;
    int penNumber = 0, reserved = 0;
    environment->Pens = NULL;
    environment->PenNumber = 0;
    skipBrace(reading->file, '{');
    reading->environment = environment;
    readText(reading, &status, "EnvironmentName", environment->EnvironmentName, sizeof(environment->EnvironmentName));
    int counted = 0;
    readInt(reading, &counted, "PenNumber", &penNumber);
    status |= counted;
    readInt(reading, &status, "EnvironmentReserved", &reserved);
    environment->EnvironmentReserved = reserved;
    if (readFailed(status) || penNumber < 0) return kFormatErr;
    // Without its count the pens that follow cannot be read in step.
    if (counted & kValueNotNumber) return kPlotterValueErr;

    Pen* pens = NULL;
    int err = readInnerBlocks<Pen>(
        reading->file, penNumber, [reading](FILE*, Pen* pen) { return readPenBlock(reading, pen); }, NULL, &pens);
    reading->environment = NULL;
    if (err) return err;
    environment->Pens = pens;
    environment->PenNumber = penNumber;
    return 0;
}

// Reads one plotter block. A plotter whose values no job can be cut with, or
// that holds a value the file cannot mean as it stands, is refused with
// '!Val' and owns no environments; its name and values stay in the record,
// and problem (when given) says which value of which plotter is wrong.
VT_NODISCARD static int readPlotterBlock(FILE* file, Plotter* plotter, char* problem, size_t size)
{
    BlockReading reading = {file, plotter, NULL, NULL, 0, problem, size};
    if (problem && size > 0) problem[0] = 0;
    int status = 0;
    int special = 0, language = 0, origin = 0, reserved = 0, envNumber = 0, pid = 0, vid = 0;
    plotter->Environments = NULL;
    plotter->PlotterEnvNumber = 0;
    skipBrace(file, '{');
    readText(&reading, &status, "PlotterName", plotter->PlotterName, sizeof(plotter->PlotterName));
    readText(&reading, &status, "PlotterManufactory", plotter->PlotterManufactory, sizeof(plotter->PlotterManufactory));
    readInt(&reading, &status, "IsSpecialMachine", &special);
    plotter->IsSpecialMachine = (uint8_t)(special & 0xFF);
    readINIText(&reading, &status, "PlotterIniString", plotter->PlotterIniString, sizeof(plotter->PlotterIniString));
    readINIText(&reading, &status, "PlotterEndString", plotter->PlotterEndString, sizeof(plotter->PlotterEndString));
    readInt(&reading, &status, "Language", &language);
    plotter->Language = language;
    readDouble(&reading, &status, "PlotterSizeX", &plotter->PlotterSizeX);
    readDouble(&reading, &status, "PlotterSizeY", &plotter->PlotterSizeY);
    readDouble(&reading, &status, "PlotterStep", &plotter->PlotterStep);
    readInt(&reading, &status, "PlotterOrigin", &origin);
    readInt(&reading, &status, "PlotterReserved", &reserved);
    readInt(&reading, &status, "PlotterEnvNumber", &envNumber);
    readInt(&reading, &status, "PlotterPID", &pid);
    readInt(&reading, &status, "PlotterVID", &vid);
    plotter->PlotterOrigin = origin;
    plotter->PlotterReserved = reserved;
    plotter->PlotterPID = pid;
    plotter->PlotterVID = vid;
    if (readFailed(status) || envNumber < 0) return kFormatErr;

    Environment* environments = NULL;
    int err = readInnerBlocks(
        file, envNumber, [&reading](FILE*, Environment* environment) { return readEnvironmentBlock(&reading, environment); },
        freeEnvironment, &environments);
    if (err) return err;
    // A language the writer does not know, or a step or media size no job
    // can be cut with, would cut a job of nothing, or of the wrong thing: the
    // plotter is refused. Its name and values stay in the record.
    if (reading.refused || checkPlotterValues(plotter, problem, size) != 0) {
        for (int i = 0; i < envNumber; i++) freeEnvironment(&environments[i]);
        free(environments);
        return kPlotterValueErr;
    }
    plotter->Environments = environments;
    plotter->PlotterEnvNumber = envNumber;
    return 0;
}

// The blocks read on their own (getPen and getEnvironment) belong
// to no plotter that could be named; their values are not refused.
static const Plotter kNoPlotter = {};

int getPen(FILE* file, Pen* pen)
{
    if (!file || !pen) return 0;
    BlockReading reading = {file, &kNoPlotter, NULL, NULL, 0, NULL, 0};
    return readPenBlock(&reading, pen) ? 0 : 1;
}

int getEnvironment(FILE* file, Environment* environment)
{
    if (!file || !environment) return 0;
    BlockReading reading = {file, &kNoPlotter, NULL, NULL, 0, NULL, 0};
    return readEnvironmentBlock(&reading, environment) ? 0 : 1;
}

int getPlotter(FILE* file, Plotter* plotter)
{
    if (!file || !plotter) return 0;
    return readPlotterBlock(file, plotter, NULL, 0) ? 0 : 1;
}

int readPlotter(Plotter* plotter, FILE* file) { return readPlotterReporting(plotter, file, NULL, 0); }

int readPlotterReporting(Plotter* plotter, FILE* file, char* problem, size_t size)
{
    if (problem && size > 0) problem[0] = 0;
    if (!file) return kNoFileErr;
    if (!plotter) return kFormatErr;
    return readPlotterBlock(file, plotter, problem, size);
}

int loadPlotter(Plotter** list, int* count, FILE* file) { return loadPlotterReporting(list, count, file, NULL, 0); }

int loadPlotterReporting(Plotter** list, int* count, FILE* file, char* problem, size_t size)
{
    if (problem && size > 0) problem[0] = 0;
    if (!list || !count) return kFormatErr;
    *list = NULL;
    *count = 0;
    if (!file) return 0;

    int status = 0;
    int number = 0;
    getInt(file, &number, &status);
    if (readFailed(status) || (status & kValueNotNumber) || number < 0) return kFormatErr;

    // The plotters the file holds are read, whatever the count line says: a
    // library saved from fewer would lose the others, and a count beyond
    // them is a count that is wrong, not a plotter that is missing.
    Plotter* plotters = NULL;
    int read = 0;
    int err = readBlocks(
        file, -1, [problem, size](FILE* f, Plotter* p) { return readPlotterBlock(f, p, problem, size); }, &plotters,
        &read);
    if (!err && read != number && problem && size > 0)
        snprintf(problem, size, "its count line says %d plotter%s, but it holds %d; all %d are kept", number,
                 number == 1 ? "" : "s", read, read);
    // Whatever was read completely before damage stays usable.
    if (read == 0) {
        free(plotters);
        plotters = NULL;
    }
    *list = plotters;
    *count = read;
    return err;
}

// ---- Files by path ------------------------------------------------------------

// Writes through a temporary file of its own beside path that replaces path
// only when every write, the flush, the sync and the close succeeded.
VT_NODISCARD static int writeReplacing(const char* path, int (*write)(FILE*, void*), void* data)
{
    if (!path || !*path) return kNoFileErr;
    OSReplacingFile file;
    if (OS_fopenReplacingPath(path, &file) != kNoErr) return kNoFileErr;
    return OS_fcloseReplacing(&file, write(file.stream, data));
}

struct LibraryToSave {
    Plotter** list;
    int* count;
};

VT_NODISCARD static int writeLibrary(FILE* file, void* data)
{
    LibraryToSave* library = (LibraryToSave*)data;
    return savePlotter(library->list, library->count, file);
}

VT_NODISCARD static int writeOnePlotter(FILE* file, void* data)
{
    return writePlotter(*(Plotter*)data, file);
}

int savePlotterFile(const char* path, Plotter** list, int* count)
{
    LibraryToSave library = {list, count};
    return writeReplacing(path, writeLibrary, &library);
}

int writePlotterFile(const char* path, Plotter* plotter)
{
    if (!plotter) return kFormatErr;
    return writeReplacing(path, writeOnePlotter, plotter);
}

int loadPlotterFile(const char* path, Plotter** list, int* count)
{
    return loadPlotterFileReporting(path, list, count, NULL, 0);
}

int loadPlotterFileReporting(const char* path, Plotter** list, int* count, char* problem, size_t size)
{
    if (problem && size > 0) problem[0] = 0;
    if (!list || !count) return kFormatErr;
    *list = NULL;
    *count = 0;
    FILE* file = path ? fopen(path, "r") : NULL;
    if (!file) {
        if (!path || errno == ENOENT) return 0;  // no library yet: an empty one
        // There but unreadable: not an empty library, which a save would
        // then write over the user's plotters.
        if (problem && size > 0) snprintf(problem, size, "%s", strerror(errno));
        return kNoFileErr;
    }
    int err = loadPlotterReporting(list, count, file, problem, size);
    fclose(file);
    return err;
}

int readPlotterFile(const char* path, Plotter* plotter)
{
    FILE* file = path ? fopen(path, "r") : NULL;
    if (!file) return kNoFileErr;
    int err = readPlotter(plotter, file);
    fclose(file);
    return err;
}

int makePlotterFileName(const char* plotterName, char* fileName, size_t size)
{
    static const char kSuffix[] = ".INI";
    static const char kFallback[] = "Plotter";
    const size_t suffixLength = sizeof(kSuffix) - 1;
    if (!fileName || size < suffixLength + 2) {
        if (fileName && size > 0) fileName[0] = 0;
        return kMemoryErr;
    }
    const char* name = (plotterName && *plotterName) ? plotterName : kFallback;
    size_t room = size - 1 - suffixLength;
    size_t length = 0;
    for (; name[length] && length < room; length++) {
        unsigned char c = (unsigned char)name[length];
        int unsafe = c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || (c == '.' && length == 0);
        // A name made only of dots is caught by the leading-dot rule: no "." or
        // "..", and no hidden file.
        fileName[length] = unsafe ? '_' : (char)c;
    }
    memcpy(fileName + length, kSuffix, suffixLength + 1);
    return 0;
}
