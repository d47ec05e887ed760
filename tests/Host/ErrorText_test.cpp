// Error codes as text: host errors by name, four-character codes as their
// characters, anything else as a number.
#include <gtest/gtest.h>

#include <string>

#include "AIArtSuites.h"
#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "ErrorText.h"
#include "USBHost.h"

namespace {

TEST(ErrorText, EachKindOfCodeReadsAsAPersonWouldWriteIt)
{
    struct Row {
        const char* shows;
        int32_t code;
        const char* text;
    } rows[] = {
        {"a plug-in code as its characters", kMemoryErr, "!Mem"},
        {"an index out of range reads apart from memory", kIndexOutOfRangeErr, "!Idx"},
        {"a lower-case plug-in code", kUnsupportedArtErr, "!tpe"},
        {"a code with a blank inside", 'ab c', "ab c"},
        {"a host error by its name, not its characters", kSPOutOfMemoryError, "kSPOutOfMemoryError"},
        {"an art error of the host", kBadArtErr, "kBadArtErr"},
        {"a USB error of the host", kVTUSBErrIO, "kVTUSBErrIO"},
        {"the last USB error of the host", kVTUSBErrUnavailable, "kVTUSBErrUnavailable"},
        {"success as 0", kNoErr, "0"},
        {"a small number", 42, "42"},
        {"a negative number", -1, "-1"},
        {"a control character makes it a number", 0x21410A42, "557910594"},
        {"a byte beyond ASCII makes it a number", (int32_t)0x8041424Fu, "-2143206833"},
        {"a leading blank makes it a number", 0x20414243, "541147715"},
    };
    for (const Row& row : rows) EXPECT_EQ(vt::errorText(row.code), row.text) << row.shows;
}

}  // namespace
