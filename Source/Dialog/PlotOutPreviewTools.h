// The Plot Out preview's mouse tools and zoom: the frame's track procedure
// (select by click or rubber band, move the selection, scale it by its
// handles, pan, zoom to a dragged rectangle, renumber and swap cut numbers),
// the hover cursors and the status line, the zoom edit (62), the zoom slider
// (63), the tool buttons (65 zoom, 66 pan, 67 select) and best fit (68).
//
// While the button is down only the rubber band and the dragged outline are
// drawn (in XOR over the picture); the cut model changes once, at button up.
// The figures the tools work out are plain functions below, so that they are
// checked without a mouse.
#pragma once

#include <stdint.h>

#include "AllSuites.h"

// What the mouse does in the preview (g_iPreviewOpType).
enum {
    kPreviewToolSelect = 1,
    kPreviewToolMove = 2,
    kPreviewToolScale = 4,
    kPreviewToolPan = 8,
    kPreviewToolZoom = 32,
    kPreviewToolRenumber = 64,
    kPreviewToolSwap = 128
};

// Cursors over the frame: the plug-in's own (a handle's is
// kPreviewHandleCursor + its index, the centre's kPreviewHandleCursor + 8)
// and the toolkit's arrow, cross and hand.
enum {
    kPreviewHandleCursor = 6004,
    kPreviewMoveCursor = 6012,
    kPreviewZoomCursor = 6013,
    kPreviewPanCursor = 6014,
    kPreviewRenumberCursor = 6017,
    kPreviewSelectCursor = kADMArrowCursorID,
    kPreviewSwapFirstCursor = kADMCrossCursorID,
    kPreviewSwapSecondCursor = kADMHandCursorID
};

// Status line labels: x, y and the cut length.
enum { kStatusXString = 994, kStatusYString = 995, kStatusLengthString = 996 };

// A zoom drag shorter than this (pixels) in either direction is a click.
enum { kZoomClickSize = 6 };
// Best fit leaves this many pixels of the frame free across and down.
enum { kBestFitMargin = 50 };
// The view's base point is held within this many pixels of 0.
enum { kPreviewOriginLimit = 1000000000 };

// The handle being dragged in the scale tool (0 to 7), where the button went
// up, and the selection's new union (mm) at that release.
extern int32_t g_iPreviewScaleMode;
extern ADMPoint g_ptMouseUp;
extern AIRealRect g_rectDimenNewUnion;

// ---- The procedures -----------------------------------------------------------------------

ASBoolean PlotOutDlgPreviewFrameTrackProc(ADMItemRef item, ADMTrackerRef tracker);
ASErr PlotOutDlgPreviewZoomEditInitProc(ADMItemRef item);
ASErr PlotOutDlgPreviewZoomEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgPreviewSlideInitProc(ADMItemRef item);
ASErr PlotOutDlgPreviewSlideNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgPreviewPictureRadioButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgZoomPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgMovePiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgSelectPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgBestFitPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// ---- The figures --------------------------------------------------------------------------

// How far a Shift move takes the selection for a drag of (dh, dv) pixels:
// along the axis that has more than twice the other's distance, else along
// the diagonal nearest the mouse.
void previewShiftMoveOffset(int32_t dh, int32_t dv, int32_t* offsetH, int32_t* offsetV);

// The selection outline while handle `handle` (0 to 7) of begin is dragged to
// mouse. With keepAspect the outline keeps the shape of the selection's
// width x height (mm); an axis without extent keeps its size instead.
ADMRect previewScaleOutline(ADMRect begin, int32_t handle, ADMPoint mouse, uint8_t keepAspect, double width,
                            double height);

// The scale factors from the selection's union at the start to the new one
// (mm), each at least 0; an axis without extent keeps factor 1. With
// keepAspect both are the smaller one (of the axes that have an extent).
void previewScaleFactors(AIRealRect begin, AIRealRect now, uint8_t keepAspect, double* scaleX, double* scaleY);

// The zoom a dragged zoom rectangle from down to up gives in a frame of
// width x height: in, when it was dragged towards the lower right or the upper
// left, else out; held within [minZoom, maxZoom].
double previewZoomOfDrag(double zoom, ADMPoint down, ADMPoint up, int32_t width, int32_t height, double minZoom,
                         double maxZoom);

// The slider's position (1 to 100) and the zoom it sets, each the inverse of
// the other: 1 is minZoom, 100 maxZoom, and 50.5 their geometric mean.
double previewZoomOfSlider(double position, double minZoom, double maxZoom);
double previewSliderOfZoom(double zoom, double minZoom, double maxZoom);

// The cursor over handle `handle` (0 to 8) for a plotter whose origin is
// `origin`: the corner cursors follow the corner's place on the screen.
int32_t previewHandleCursor(int32_t handle, int32_t origin);

// Where the view goes when there is nothing to fit and after a zoom click:
// zoom 1 with the millimetre origin at the rulers' corner, lower left or, for
// a plotter whose y grows downwards, upper left.
void previewResetView(int32_t frameHeight);

// Best fit of every volume into a frame of width x height at the current
// zoom and origin; the view as previewResetView without volumes.
void previewBestFit(int32_t frameWidth, int32_t frameHeight);
