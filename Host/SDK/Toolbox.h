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

// The pointer's shape. A cursor resource of the plug-in is read once and
// kept for the session; GetCursor answers null when the plug-in has no cursor
// of that id. SetCursor makes a cursor the pointer's shape.
typedef struct Cursor Cursor;
typedef Cursor** CursHandle;
CursHandle GetCursor(ASInt16 cursorID);
void SetCursor(const Cursor* cursor);

#ifdef __cplusplus
}
#endif
