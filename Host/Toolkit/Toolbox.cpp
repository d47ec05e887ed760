// The tick clock: virtual, so waiting costs no time.
#include "Toolbox.h"

#include "Host.h"
#include "Toolkit/Toolkit.h"

extern "C" {

uint32_t TickCount(void)
{
    if (!vt::host::Host::exists()) return 0;
    return vt::host::toolkit::Toolkit::get().ticks;
}

void Delay(uint32_t ticks, uint32_t* finalTicks)
{
    uint32_t now = 0;
    if (vt::host::Host::exists()) {
        auto& tk = vt::host::toolkit::Toolkit::get();
        tk.ticks += ticks;
        now = tk.ticks;
    }
    if (finalTicks) *finalTicks = now;
}

}  // extern "C"
