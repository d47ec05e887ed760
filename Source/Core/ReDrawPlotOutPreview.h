// The Plot Out preview drawn to scale: the page of the current plotter, the
// board of this job, every shown volume with all its copies as the knife will
// cut it, the cut-order numbers, the selection's outline with its nine
// handles and two millimetre rulers; and the pieces the pointer tools redraw
// while the mouse drags (the rubber band, the dragged outline).
//
// Millimetres (y upwards from the job's lower edge) become frame pixels by the
// zoom (previewZoomX, previewZoomY: pixels per millimetre) from the base point
// previewOrigin: the millimetre origin lies 30 pixels right of it and 30
// above it, or 30 below it when the current plotter's origin is its upper-left
// corner (PlotterOrigin 2: y grows downwards on the screen).
//
// Drawing goes to the item through the toolkit's drawer, frame-local; oval
// markers and the cut-order labels go through QuickDraw in window
// coordinates. The colours, shapes and sizes are g->previewOption's.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Core/CutModelRecords.h"
#include "Math/Bezier.h"
#include "Math/CurveFit.h"

// The strips of the two rulers are this wide.
enum { kPreviewRulerWidth = 30 };

// Fixed colours (0xRRGGBBFF): the selection's outline and handles, the
// rubber band, the flattened outline of a ring.
#define kPreviewSelectionColor 0x00FF00FFu
#define kPreviewDragColor 0x0000FFFFu
#define kPreviewRingColor 0x000000FFu

// Arcs are drawn back as points this close to the true circle, mm.
#define kPreviewArcTolerance 0.01

// Pixel coordinates are held within this distance of 0 before they become
// 16-bit points and rectangles, so that geometry far off the frame stays off
// it instead of wrapping round onto it.
#define kPreviewPixelLimit 12000L

// ---- Millimetres and frame pixels (all return 0) ----------------------------------------

ASErr convertDimenPointToFramePoint(AIRealPoint point, ADMPoint* framePoint);
// The frame rectangle takes the left and right like x, the top and bottom like
// y, each on its own: with y growing downwards its top lies below its bottom.
ASErr convertDimenRectToFrameRect(AIRealRect rect, ADMRect* frameRect);
// (x, y) mm to (h, v) pixels, not held to 16 bits.
ASErr convertDimenDoubleToFrameLong(const double (&xy)[2], long (&hv)[2]);
// The exact inverse, without rounding.
ASErr convertFramePointToDimenPoint(ADMPoint framePoint, AIRealPoint* point);
ASErr convertFrameRectToDimenRect(ADMRect frameRect, AIRealRect* rect);

// ---- Drawing (all return 0) -------------------------------------------------------------

// The whole preview: background, page, board, volumes, selection outline, rulers.
ASErr drawPreviewFrame(ADMItemRef item, ADMDrawerRef drawer);
// One volume, every ring of every copy that the job holds (volumeInJob,
// Core/CutModel.h: the registration marks too, never the source of a
// perforation), and its cut-order label; nothing when it is hidden.
ASErr drawVolume(ADMItemRef item, ADMDrawerRef drawer, Volume volume);
// One ring of one copy, whose lower-left corner is offset (x, y mm): its
// flattened outline (filled in the volume's colour when closed and the fill
// flag is on), then the pieces the knife cuts along it. A ring that cannot be
// flattened or fitted for want of memory is left out.
ASErr drawRing(ADMItemRef item, ADMDrawerRef drawer, Ring ring, Volume volume, double (&offset)[2]);
// Fitted straight lines, joined in the line colour; markers at their ends.
ASErr drawFitLine(ADMItemRef item, ADMDrawerRef drawer, Vexa_Line* lines, int32_t count);
// Fitted pieces: lines and points in the line colour, arcs and circles in the
// arc colour; markers at their starts.
ASErr drawFitArc(ADMItemRef item, ADMDrawerRef drawer, arc_struct* arcs, int32_t count);
ASErr drawControlPoint(ADMItemRef item, ADMDrawerRef drawer, ADMPoint point);
ASErr drawStartPoint(ADMItemRef item, ADMDrawerRef drawer, ADMPoint point);
// The selection's outline and handles, in XOR. An old outline given is drawn
// again first (which erases it) and then holds the new one. Keeps
// g->selectionHotRects.
ASErr drawSelectRectUnion(ADMItemRef item, ADMDrawerRef drawer, ADMRect* oldRect);
// The rubber band from anchor, in XOR: the band to last is erased, the band to
// current drawn (when it has a width and a height); last becomes current.
ASErr drawDragRect(ADMItemRef item, ADMDrawerRef drawer, ADMPoint* anchor, ADMPoint* last, ADMPoint* current);
// The selection outline being dragged, in XOR: old erased, new drawn; old
// becomes new.
ASErr drawDragRectUnion(ADMItemRef item, ADMDrawerRef drawer, ADMRect* oldRect, ADMRect* newRect);
// The two millimetre rulers along the left and lower (upper, for origin 2) edges.
ASErr drawRules(ADMItemRef item, ADMDrawerRef drawer);

// The selection handle (0 to 8) whose rectangle strictly holds the point, the
// lowest first; -1 for none.
int32_t checkHotRect(ADMPoint point);

// The handle points of a frame rectangle, by handle index: 0 (left, bottom),
// 1 (left, middle), 2 (left, top), 3 (middle, top), 4 (right, top),
// 5 (right, middle), 6 (right, bottom), 7 (middle, bottom), 8 (middle, middle).
void getHandlePoints(ADMRect frameRect, ADMPoint (&points)[9]);

// What a full redraw keeps of each volume (its placed, flattened and fitted
// rings) while the volume stays as it is; the cut model frees it with its
// volumes.
void releasePreviewCache();
