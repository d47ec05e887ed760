// USB transfers and the host's tick clock. The stand-in host's clock moves
// only when something waits; a transfer that waits for a device is such a
// wait, so the time it takes is added to the clock. Callers that bound their
// retries by the clock (the device panel asks a cutter for at most 5 s) then
// see the same time pass as they would on a real host.
#pragma once

#include <stdint.h>

namespace vt {
namespace host {
namespace usb {

// Adds ms milliseconds to the tick clock (1/60 s per tick); parts of a tick
// are kept and added with the next call, so many short transfers add up.
void passTransferTime(uint32_t ms);

}  // namespace usb
}  // namespace host
}  // namespace vt
