// The split palette: the floating "Split Dialog" where the user sets up the
// cutting of large art into panels (mark shape and size, overlaps, panel
// order), draws a grid of guide lines over the selection, and cuts the
// selection along the guides. Also the bounds of the selected art that the
// palettes work on.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// The palette is shown collapsed (kSplitDialog's height), or with its
// guide-grid options below.
enum {
    kSplitDialogExpandedHeight = 214,
    // Below this height the palette counts as collapsed.
    kSplitDialogExpandedFrom = 200
};

// Items of the palette. Items 18 to 22 lie below the collapsed height.
enum {
    kSplitMarkStyleLabelItem = 1,
    kSplitMarkStyleItem = 2,  // popup: circle, rectangle, triangle up, triangle down, diamond, no marks
    kSplitMarkWidthLabelItem = 3,
    kSplitMarkWidthItem = 4,  // spin edit, mm
    kSplitMarkHeightLabelItem = 5,
    kSplitMarkHeightItem = 6,  // spin edit, mm
    kSplitOverlapXLabelItem = 7,
    kSplitOverlapXItem = 8,  // spin edit, mm
    kSplitOverlapYLabelItem = 9,
    kSplitOverlapYItem = 10,  // spin edit, mm
    kSplitSortMethodLabelItem = 11,
    kSplitSortMethodItem = 12,   // spin arrows: panel order 1 to 8, wrapping round
    kSplitSortPictureItem = 13,  // picture of the panel order
    kSplitLegendItem = 14,       // frame: where the marks go
    kSplitOKItem = 15,           // cut the selection along the guides
    kSplitCancelItem = 16,       // not in the table: the palette has no cancel
    kSplitMoreOptionsItem = 17,  // shows or hides items 18 to 22
    kSplitCellWidthLabelItem = 18,
    kSplitCellWidthItem = 19,  // spin edit, mm
    kSplitCellHeightLabelItem = 20,
    kSplitCellHeightItem = 21,  // spin edit, mm
    kSplitDoItem = 22           // draw the guide grid
};
enum { kSplitItemCount = 21 };

// Pictures: the panel orders are kSplitSortPictureBase + order; the
// more-options button shows kSplitMoreOptionsPicture collapsed and
// kSplitFewerOptionsPicture expanded; the legend's panel is
// kSplitLegendPicture, of this size.
enum { kSplitLegendPictureWidth = 61, kSplitLegendPictureHeight = 68 };

// Where a legend glyph sits around the legend's picture: it points away from
// the picture (triangle up) or towards it (triangle down).
enum { kSplitGlyphLeft = 1, kSplitGlyphAbove = 2, kSplitGlyphBelow = 3, kSplitGlyphRight = 4 };

extern const Item_Control_arg dlgSplitItem[kSplitItemCount];

// The group holding the split guides, shared with the split tool; null when
// there is none. OK cuts along it and deletes it.
extern AIArtHandle g_artSplitGroup;
// The mark style chosen in the popup (0 to 5).
extern int32_t g_iAlignStyle;

// The union of the bounds, strokes left out, of the selected top-level
// objects outside the registration-mark layer (the split guides left out
// too). 0 with the bounds; 1, bounds untouched, when no such object is
// selected (also when only objects inside groups are); or the host's error
// of the selection query or of switching a stroke off and back on (bounds
// untouched).
VT_NODISCARD ASErr getSelectedArtBound(AIRealRect* bounds);

// Adds guides to g_artSplitGroup every cellWidth across and every cellHeight
// up the selection (points), each spanning the page, when the selection is
// larger than one cell. At most kSplitMaxGuides a direction. 0 or a host error.
enum { kSplitMaxGuides = 1000 };
VT_NODISCARD ASErr drawSplitLine(float cellWidth, float cellHeight, int32_t unused);

VT_NODISCARD ASErr SplitPluginInitProc(ADMDialogRef dialog);
