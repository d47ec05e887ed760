// Fuzz target for the device panel's reading of the cutter's replies: any
// bytes, under each reply prefix, scan without a crash or overrun, never give
// more numbers than asked for, and every field copied out stays terminated
// within its buffer.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "Dialog/VLCDDialog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A reply as the panel holds it: at most 1,023 bytes, terminated.
    char reply[1024];
    size_t length = size < sizeof reply - 1 ? size : sizeof reply - 1;
    memcpy(reply, data, length);
    reply[length] = 0;

    static const struct {
        const char* prefix;
        int count;
    } replies[] = {{"OR1,", 7}, {"OR3,", 2}, {"OR5,", 2}, {"", 4}};
    for (const auto& r : replies) {
        int32_t values[8];
        int scanned = ScanReplyInts(reply, r.prefix, values, r.count);
        if (scanned < 0 || scanned > r.count) abort();
    }

    for (int field = 0; field < 5; ++field) {
        char out[17];
        memset(out, 0, sizeof out);
        GetSubString(reply, ',', field, out, 16);
        if (strnlen(out, sizeof out) > 15) abort();
        GetSubString(reply, ',', field, out, 16);  // appending to a full field stays within it
        if (strnlen(out, sizeof out) > 15 || out[16] != 0) abort();
    }
    return 0;
}
