// Fuzz target for transform lists on their own: any text is read or refused,
// never a crash or an overrun; a refusal points at the start of a transform
// inside the text, never at a separator.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Documents/SvgTransform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A transform list is an attribute's value: it ends at the first NUL.
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t bad = 0;
    vt::host::svg::parseTransform(text.c_str(), bad);
    if (bad == std::string::npos) return 0;
    if (bad >= std::strlen(text.c_str()) || std::strchr(" ,\t\n\r", text[bad])) std::abort();
    return 0;
}
