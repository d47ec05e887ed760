// The platform's clock: ticks of 1/60 s since the host started. The stand-in
// host's clock is virtual: it advances only when someone waits (Delay) or a
// scripted user lets time pass, so nothing ever sleeps.
#pragma once

#include "ASTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

uint32_t TickCount(void);
// Waits ticks sixtieths of a second; finalTicks (may be null) gets the clock afterwards.
void Delay(uint32_t ticks, uint32_t* finalTicks);

#ifdef __cplusplus
}
#endif
