// Fuzz target for the plug-in's text resources, the string lists and the
// popup menus: any text gives entries or none, never a crash or an overrun,
// and every entry read comes from a line of its own.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "StringLists.h"
#include "Toolkit/Toolkit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t lines = 1;
    for (char c : text)
        if (c == '\n') ++lines;
    auto strings = vt::host::StringLists::parse(text);
    if (strings.size() > lines) std::abort();
    for (const auto& entry : strings)
        if (entry.second.size() > text.size()) std::abort();
    auto menu = vt::host::toolkit::Toolkit::parseMenu(text);
    if (menu.size() > lines) std::abort();
    for (const auto& entry : menu)
        if (entry.second.find('\n') != std::string::npos || entry.second.size() > text.size()) std::abort();
    return 0;
}
