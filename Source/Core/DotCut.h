// Dot cut: perforation made in the document. Each selected path is cut into
// short open pieces that take turns between two pens, a cut-through pen (the
// knife goes through the material) and a half-cut pen (it only scores it).
// The source art and its pieces go into a new group tagged "TAG_OF_DOT_CUT";
// running dot cut again on such a group gives the source back. The loader
// keeps the pieces in the order they were made and the writer cuts each piece
// with the pen its tag names.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/ArtNames.h"

// The tag kTagDotCut (Core/ArtNames.h): on a dot-cut group the cut-through pen
// index followed by the half-cut pen index, in decimal with nothing between
// ("10"); on every piece the index of the pen that cuts it ("1").

// The colours and widths the pieces are drawn with, so that the two pens can
// be told apart on screen: cut-through red and wide, half-cut teal and thinner.
// The host's colour components run from 0 to 1.
#define kDotCutThroughRed 1.0f
#define kDotCutThroughGreen 0.0f
#define kDotCutThroughBlue 0.0f
#define kDotCutThroughWidth 5.0f
#define kDotCutHalfCutRed 0.0f
#define kDotCutHalfCutGreen (128.0f / 255.0f)
#define kDotCutHalfCutBlue (128.0f / 255.0f)
#define kDotCutHalfCutWidth 3.0f

// Flatness handed to every length and parameter query of the curves.
#define kDotCutFlatness 0.01f

// A piece shorter than this (points) is not made: it would be a knife stab
// of the other pen where a length ends exactly on an anchor.
#define kDotCutShortestPiece 0.001f

// Reloads the current environment's pen count and pen names from the
// preferences (under "Korvel-Ulmaren") into g->curEnvironment, for the pen
// popups. Only pens whose names were read are kept: the count becomes the
// number of names read, and a count below 1 or above kMaxPenCount keeps no
// pens at all. Returns the last host error, or 0.
VT_NODISCARD ASErr GetCurrentEnvPen(void);

// Cuts the group's first child (the source art) into pieces inside the group,
// with the lengths and pens of the globals. Returns 0.
ASErr MakeDotCut(AIArtHandle group);
// Walks the art depth first, children in order, and cuts every path it
// meets; other art is skipped. Returns 0.
ASErr AssignDotCutArt(AIArtHandle art, AIArtHandle group);
// Cuts one path, starting with the cut-through pen and nothing carried; the
// pattern runs on from one segment to the next. Returns 0.
ASErr AssignDotCutPathArt(AIArtHandle path, AIArtHandle group);
// Makes the next piece of one segment with the pen in force (cutThrough set:
// the cut-through pen): the whole segment when it ends before the pen's
// length does (carried grows by its length), else the part up to where the
// length is reached (the segment becomes the rest, carried returns to 0 and
// the pen changes). True when the segment is used up, false when some of it is
// left.
bool AssignDotCutBezierByLength(AIRealBezier* bezier, AIReal* carried, AIReal target, bool* cutThrough,
                                AIArtHandle group);

// Dot cut on the document: every selected top-level object outside the layer
// "Layer of 4 Marks Printed" is either given back from its dot-cut group (when
// it is one) or put into a new dot-cut group with its pieces. Does nothing
// unless both lengths are above 0. Returns 0 or the host error of the layer
// query.
VT_NODISCARD ASErr dotCutSelection(void);

// True for a group made by dot cut: a group carrying the tag, holding its
// source first.
uint8_t isDotCutGroup(AIArtHandle art);
