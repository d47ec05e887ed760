#include "USB/UsbClock.h"

#include <mutex>

#include "Toolbox.h"

namespace vt {
namespace host {
namespace usb {

void passTransferTime(uint32_t ms)
{
    static std::mutex mutex;
    static uint64_t pending = 0;  // milliseconds times 60 not yet a whole tick
    std::lock_guard<std::mutex> lock(mutex);
    pending += static_cast<uint64_t>(ms) * 60;
    uint64_t ticks = pending / 1000;
    pending %= 1000;
    if (ticks > 0) Delay(static_cast<uint32_t>(ticks), nullptr);
}

}  // namespace usb
}  // namespace host
}  // namespace vt
