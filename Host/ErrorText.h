// Error codes as a person reads them. The plug-in and the host pass 32-bit
// codes: 0 for success, the host's own errors (Host/SDK) and the plug-in's
// four-character codes. Every place that prints a code uses errorText, so a
// code reads the same in a report, a script's output and a test's failure.
#pragma once

#include <cstdint>
#include <string>

namespace vt {

// A host error as its name ("kSPBadParameterError"), any other code whose
// four bytes are printable characters as those characters ("!Mem"), and
// everything else (0 among them) as its decimal value.
std::string errorText(int32_t code);

}  // namespace vt
