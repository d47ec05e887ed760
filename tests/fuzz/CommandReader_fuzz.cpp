// Fuzz target for reading a written job back: any file, read in each of the
// four languages, must give commands within the read buffer, and replaying
// them (drawing and measuring) must keep every point finite and the extent
// around the origin.
//
// Reading is cheap and is done in every language. Replaying is not: an arc is
// drawn as up to 65536 chords, so a few hostile arcs cost more than a thousand
// ordinary inputs. Each input is therefore replayed in one language, the one
// its first byte picks, and once it has drawn kPieceBudget pieces the rest of
// its commands are read but not replayed; the target stays at thousands of
// runs a second.
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "PlotOut/CommandReader.h"

static const long kPieceBudget = 20000;

static void checkPiece(void* data, double x0, double y0, double x1, double y1, int32_t color)
{
    if (!isfinite(x0) || !isfinite(y0) || !isfinite(x1) || !isfinite(y1)) abort();
    ++*(long*)data;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    char* copy = (char*)malloc(size);
    memcpy(copy, data, size);
    for (int language = 0; language < 4; language++) {
        FILE* in = fmemopen(copy, size, "r");
        UDT_CommandLine* commands = NULL;
        int count = 0;
        if (readCommandFile(in, language, &commands, &count) != 0) abort();
        fclose(in);
        if (count > (int)size) abort();
        ReplayPen measure, draw;
        replayPenReset(&measure, language, 0.0001);
        replayPenReset(&draw, language, 0.0001);
        long pieces = 0;
        bool replay = language == data[0] % 4;
        for (int i = 0; i < count; i++) {
            size_t length = strlen(commands[i].text);
            if (length == 0 || length > kCommandTextMax) abort();
            if (!replay || pieces > kPieceBudget) continue;
            // A replay never fails: a text it cannot read moves nothing.
            if (replayCommand(commands[i].text, &draw, checkPiece, &pieces) != 0) abort();
            if (pieces <= kPieceBudget && replayCommand(commands[i].text, &measure, NULL, NULL) != 0) abort();
        }
        if (measure.minX > 0 || measure.minY > 0 || measure.maxX < 0 || measure.maxY < 0) abort();
        freeCommandLines(&commands, &count);
    }
    free(copy);
    return 0;
}
