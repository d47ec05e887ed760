// Where and how a volume is cut: the placement transform that the writer, the
// preview and the hit tests all apply to ring geometry, and the operations of
// the Plot Out dialog that change a selection's placement (values by id, scale
// about an anchor, rotation and mirror, the aligns, centring on the board and
// packing every volume onto the page).
//
// Ring geometry is never moved. A volume's placement lives in its fields: each
// segment is mirrored (mirror 1) and turned by `angle` about the centre of
// `loadRect`, moved by -(rotMinX, rotMinY), scaled by (scaleX, scaleY) about
// the origin and moved to its copy's lower-left corner. Copy (i, j) lies
// i * (baseWidth * scaleX + gapX) right of the first copy and
// j * (baseHeight * scaleY + gapY) above it; a gap more negative than the
// size sends the copies left (down). rect holds all the copies: the first
// copy is at its lower-left corner unless the copies run left or down, and
// then at its lower-right (upper-left) end.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Core/CutModelRecords.h"
#include "Math/Bezier.h"

// Value ids of the selection setters: what a Plot Out control changes.
enum {
    kVolumeValueCopiesX = 1,
    kVolumeValueCopiesY = 2,
    kVolumeValueGapX = 3,
    kVolumeValueGapY = 4,
    kVolumeValueScaleX = 5,
    kVolumeValueScaleY = 6,
    kVolumeValueLeft = 7,
    kVolumeValueBottom = 8,
    kVolumeValueAngle = 9,
    kVolumeValueMirror = 10,
    kVolumeValuePrecision = 11,
    kVolumeValueFitType = 12
};

// A value that differs across the selection, in the merged information.
#define kMixedIntValue (-9999)
#define kMixedDoubleValue (-9999.0)

// Anchors of setSelectionVolumeScale: the point of the selection's rectangle
// that stays where it is. Any other anchor keeps each volume's own corner.
enum {
    kAnchorTopRight = 0,
    kAnchorRight = 1,
    kAnchorBottomRight = 2,
    kAnchorBottom = 3,
    kAnchorBottomLeft = 4,
    kAnchorLeft = 5,
    kAnchorTopLeft = 6,
    kAnchorTop = 7
};

// One free rectangle of the packer's list, mm.
struct PageLink {
    float left;
    float top;
    float right;
    float bottom;
    PageLink* next;
};

// ---- The placement transform ----------------------------------------------------------

// Mirrors and turns a segment of a ring the way the volume is oriented, about
// the centre of its loaded rectangle (ring coordinates).
bezier_stru orientBezier(bezier_stru bezier, const Volume& volume);

// Takes a segment from ring coordinates to its copy's place on the media;
// offset is the copy's lower-left corner (x, y), mm.
bezier_stru placeBezier(bezier_stru bezier, const Volume& volume, const double (&offset)[2]);

// The placement transform of a volume worked out once, for placing many
// segments: placeWith gives what placeBezier gives, to the bit.
struct Placement {
    bool mirror;
    double centre[2];
    double cosine, sine;  // of the turn
    double back[2];       // -(rotMinX, rotMinY)
    double factors[2];    // the scales
};
Placement placementOf(const Volume& volume);
bezier_stru placeWith(const Placement& placement, const bezier_stru& bezier, const double* offset);

// How far each copy of a volume lies from the one before, mm: across and up;
// below 0 where the copies run left (down).
void volumeCopyPitch(const Volume& volume, double (&pitch)[2]);

// The lower-left corner of copy (i, j) of a volume, mm.
void getVolumeCopyOffset(const Volume& volume, int32_t i, int32_t j, double (&offset)[2]);

// ---- The selection ---------------------------------------------------------------------
// The selection is every volume whose flags bit 0 is set, whatever its
// visibility. Every operation below that changes a volume records it in the
// undo history first where the value table says so; the caller sets
// undoNewStep once per user action.

// Union of the selected volumes' rectangles; '!Sel' (rect untouched) when
// nothing is selected.
ASErr getSelectionVolumeRealRect(AIRealRect* rect);

// The first selected volume, with copies, gaps and scales merged over the
// selection (kMixedIntValue / kMixedDoubleValue where they differ) and rect the
// selection's union; '!Sel' when nothing is selected.
ASErr getSelectionVolumeInformation(Volume* volume);

// Sets value `id` of every selected volume: copies (1, 2) and fit type (12);
// always 0. Copies below 1 change nothing; each volume takes at most
// volumeCopiesLimit of them.
ASErr setSelectionVolumeIntValue(int32_t id, int32_t value);

// A volume's copies across and up together never exceed this.
enum { kMaxVolumeCopies = 10000 };

// The most copies of the volume along an axis (id 1 across, 2 up): as many
// as fit the media (mediaWidth, mediaLength) at the volume's size, at least
// one, and no more than make kMaxVolumeCopies with its copies along the other
// axis. A media of no size bounds nothing but the total.
int32_t volumeCopiesLimit(const Volume& volume, int32_t id);

// Gaps (3, 4), scales (5, 6), position (7 left, 8 bottom), rotation (9, in
// degrees) and fit precision (11), absolutely or relatively (relative 1);
// always 0. A value that is not finite changes nothing, and neither does a
// scale that is not above 0.
ASErr setSelectionVolumeDoubleValue(int32_t id, double value, uint8_t relative);

// Mirror (10) of every selected volume; the selection flips as a block about
// its centre. Always 0.
ASErr setSelectionVolumeBoolValue(int32_t id, uint8_t value);

// Scales the selection about an anchor of rect (the selection's rectangle
// before the change). relative 1: the scales and gaps are multiplied by the
// factors. Otherwise the factors are the new scales, an axis given 0 is left
// alone, and with anchor 4 each volume's distance from the anchor follows the
// change of its own scale. Factors that are not finite, or below 0 (or 0 in
// relative mode), change nothing. Always 0.
ASErr setSelectionVolumeScale(AIRealRect rect, int32_t anchor, double scaleX, double scaleY, int32_t relative);

// rect.right and rect.top from the size of one copy, the copies and the gaps,
// whichever way the copies run; left and bottom stay.
ASErr updateVolumeRect(Volume* volume);

// After a change of angle or mirror: the size and corner of one copy from the
// oriented geometry, the volume's place turned (and flipped) about the centre
// of the selection's rectangle S, the gaps turned with it.
ASErr updateVolumeRotate_New(Volume* volume, AIRealRect S, double oldAngle, uint8_t oldMirror);

// The aligns: '!Sel' when nothing is selected, else 0.
ASErr setSelectVolumeAlignLeft();
ASErr setSelectVolumeAlignCenterX();
ASErr setSelectVolumeAlignRight();
ASErr setSelectVolumeAlignTop();
ASErr setSelectVolumeAlignCenterY();
ASErr setSelectVolumeAlignBottom();
// The selection as a block centred on the board, mediaWidth x mediaLength.
ASErr setSelectVolumeALignBoardCenterX();
ASErr setSelectVolumeALignBoardCenterY();

// Every volume of the job, selected or not, back to the lower-left corner it
// was loaded at, with the size it has now, so that its rectangle still matches
// what is cut. Not recorded for undo. Always 0.
ASErr resetVolumePositions();

// Packs every volume (selected or not, shown or not) onto the plotter's page,
// widest first, in columns from the lower left, autoGroupGapX/Y apart; the
// volume array is left in that order. One undo step holds every volume.
// Volumes that fit nowhere stay where they were; their number goes into
// *notPlaced when it is given. Always 0.
ASErr setVolumeAutoGroup(int32_t* notPlaced = nullptr);

// Orders the volume array by placed width, widest first, exactly as an
// exchange sort of the records would leave it.
ASErr sortVolumeByX();
