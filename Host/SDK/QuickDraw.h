// The platform's drawing calls that the plug-in uses directly: colour pen
// patterns, pen moves and lines, framed ovals and text. They draw into the
// current port, which the dialog toolkit sets to the dialog's window while a
// draw procedure of one of its items runs; coordinates are window (dialog)
// coordinates. Outside a draw procedure there is no port and they draw nothing.
#pragma once

#include "ASTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QDPoint {
    ASInt16 v;
    ASInt16 h;
} Point;

typedef struct QDRect {
    ASInt16 top;
    ASInt16 left;
    ASInt16 bottom;
    ASInt16 right;
} Rect;

typedef struct RGBColor {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
} RGBColor;

typedef struct PixPat** PixPatHandle;

PixPatHandle NewPixPat(void);
void DisposePixPat(PixPatHandle pattern);
// Makes the pattern a solid colour.
void MakeRGBPat(PixPatHandle pattern, const RGBColor* color);
// The pen draws with the pattern from now on.
void PenPixPat(PixPatHandle pattern);
void RGBForeColor(const RGBColor* color);
void PenNormal(void);

void MoveTo(short h, short v);
void LineTo(short h, short v);
void FrameOval(const Rect* rect);
// Draws byteCount bytes of text from firstByte at the pen, and moves the pen past them.
void DrawText(const void* text, short firstByte, short byteCount);

#ifdef __cplusplus
}
#endif
