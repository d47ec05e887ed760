// Fuzz target for path data on its own: any text is read or refused with a
// reason, never a crash or an overrun; a refusal points inside the text, and
// every subpath read holds at least its starting anchor.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Documents/SvgPathData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Path data is an attribute's value: it ends at the first NUL.
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string bad;
    size_t at = 0;
    std::vector<vt::host::svg::SubPath> paths = vt::host::svg::parsePathData(text.c_str(), bad, at);
    if (!bad.empty() && at > std::strlen(text.c_str())) std::abort();
    for (const auto& path : paths)
        if (path.anchors.empty()) std::abort();
    return 0;
}
