// The command writer: turns the cut model into the byte stream the cutter
// obeys, in one of four command languages. Every command is formatted (in the
// C locale) into one text and written whole to the sink:
//   - the stream, when one is given;
//   - the cutter over USB, one transfer per command, when the stream is null
//     and g->usbOutput is set;
//   - nowhere otherwise (every operation returns at once).
// Coordinates are millimetres in, plotter steps (truncated toward zero) out.
// Every operation returns 0 or the error that stopped the writing (a failed
// write to the stream, a USB error, no memory); the job stops at the first.
#pragma once

#include <stdio.h>

#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "Core/ArtNames.h"
#include "Core/ColorLayerRecords.h"
#include "Core/CutModelRecords.h"
#include "Math/Bezier.h"
#include "Math/CurveFit.h"

// Command languages, the current plotter's Language.
enum { kLanguageHPGL = 0, kLanguageGPGL = 1, kLanguageMGL_IC1 = 2, kLanguageDMGL = 3 };

// Besides host and USB errors the writer stops with kWriteErr when the stream
// refuses bytes and with kMemoryErr when memory runs out (Common/ErrorCodes.h).

// A centre further than this from the origin (in steps) stands for a straight run.
#define kMaxArcCentreSteps 33554432L

VT_NODISCARD ASErr convertDimenPointToPlotterLong(point_struct point, long* x, long* y);
VT_NODISCARD ASErr USBSendData(int unused, char* bytes, int length);

VT_NODISCARD ASErr ExportAAS(int language, FILE* file);
VT_NODISCARD ASErr initialPloter(int language, FILE* file);
VT_NODISCARD ASErr endOfPlotOut(int language, FILE* file);

VT_NODISCARD ASErr movePen(long x, long y, int language, FILE* file);
VT_NODISCARD ASErr drawPen(long x, long y, int language, FILE* file);
// direction 2 runs clockwise (the fitted arc's mid point lies left of start -> end).
VT_NODISCARD ASErr drawArcPen(long cx, long cy, double startAngle, double endAngle, double radius,
                              int language, FILE* file, int direction);

// penUp: 1 when the pen is not at the start of the next piece; the move that
// brings it there clears it.
VT_NODISCARD ASErr lineOut(Vexa_Line line, int language, FILE* file, unsigned char* penUp);
VT_NODISCARD ASErr linesOut(Vexa_Line* lines, int count, int language, FILE* file, unsigned char* penUp);
VT_NODISCARD ASErr arcOut(arc_struct arc, int language, FILE* file, unsigned char* penUp);
VT_NODISCARD ASErr arcsOut(arc_struct* arcs, int count, int language, FILE* file, unsigned char* penUp);
// A move to the line's start written y first, then the cut-off command.
VT_NODISCARD ASErr lineOutCutOff(Vexa_Line line, int language, FILE* file, unsigned char* penUp);

// offset: the copy's lower-left corner (x, y) in mm.
VT_NODISCARD ASErr plotRing(Ring ring, int language, FILE* file, Volume volume, const double (&offset)[2]);
VT_NODISCARD ASErr plotVolumeTile(Volume volume, int language, FILE* file, const double (&offset)[2]);
VT_NODISCARD ASErr plotVolume(Volume volume, int language, FILE* file);
VT_NODISCARD ASErr plotOutColor(Color color, int language, FILE* file);
VT_NODISCARD ASErr plotOutLayer(Layer layer, int language, FILE* file);
VT_NODISCARD ASErr plotOutGlobalVolumes(Layer* layers, int layerCount, Color* colors, int colorCount,
                                        int language, FILE* file, unsigned char byLayer);

// The steps behind plotRing and plotVolumeTile once the art's dot-cut tag has
// been read: dotCutTag is the ring's tag text, or null for an ordinary ring.
VT_NODISCARD ASErr plotRingTagged(Ring ring, int language, FILE* file, Volume volume, const double (&offset)[2],
                                  const char* dotCutTag);
// Forgets the end of the last dot-cut piece written (done at every copy of a
// dot-cut volume).
void resetDotCutEnd();
