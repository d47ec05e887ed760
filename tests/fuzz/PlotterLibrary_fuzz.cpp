// Fuzz target for the plotter library reader: any input must load without a
// crash or overrun, and whatever loads must save, and save again after a
// reload, to the same text.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Core/PlotterLibrary.h"

static char* saveToText(Plotter* list, int count, size_t* size)
{
    char* text = NULL;
    FILE* out = open_memstream(&text, size);
    if (!out) abort();
    if (savePlotter(&list, &count, out) != 0) abort();  // what was read can always be written
    fclose(out);
    return text;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    char* copy = (char*)malloc(size);
    memcpy(copy, data, size);

    FILE* in = fmemopen(copy, size, "r");
    Plotter* list = NULL;
    int count = 0;
    int err = loadPlotter(&list, &count, in);
    fclose(in);
    if (err == 0) {
        size_t firstSize = 0, secondSize = 0;
        char* first = saveToText(list, count, &firstSize);
        FILE* again = fmemopen(first, firstSize, "r");
        Plotter* reloaded = NULL;
        int reloadedCount = 0;
        if (loadPlotter(&reloaded, &reloadedCount, again) != 0 || reloadedCount != count) abort();
        fclose(again);
        char* second = saveToText(reloaded, reloadedCount, &secondSize);
        if (firstSize != secondSize || memcmp(first, second, firstSize) != 0) abort();
        free(first);
        free(second);
        freePlotterList(&reloaded, &reloadedCount);
    }
    freePlotterList(&list, &count);

    // The same bytes as a single-plotter file.
    in = fmemopen(copy, size, "r");
    Plotter one;
    memset(&one, 0, sizeof(one));
    if (readPlotter(&one, in) == 0) freePlotter(&one);
    else if (one.Environments != NULL || one.PlotterEnvNumber != 0) abort();
    fclose(in);

    free(copy);
    return 0;
}
