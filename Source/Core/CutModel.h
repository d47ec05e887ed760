// The cut model: the selection of the document loaded as volumes of rings of
// cubic segments in millimetres, and the check of the selection and of the
// current plotter that comes before every job.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/ArtNames.h"
#include "Core/CutModelRecords.h"
#include "Core/PlotterPreferences.h"

// The gate before a job. With checkSelection 1: kNothingSelectedErr,
// kUnsupportedArtErr or the host's error of the selection query. Then the
// current plotter: kNoCurrentPlotterErr when the preferences hold no
// complete one.
VT_NODISCARD ASErr checkData(uint8_t checkSelection);
// Loads every selected top-level object as a volume: 0, the host's error of
// the selection query or of switching a stroke off and back on for the
// bounds, or kMemoryErr, after which nothing stays loaded. A host error while
// reading one object's art keeps the rings read so far.
VT_NODISCARD ASErr loadData(void* item);
VT_NODISCARD ASErr freeData(void);
VT_NODISCARD ASErr loadVolume(AIArtHandle art);
VT_NODISCARD ASErr loadRing(AIArtHandle art);
VT_NODISCARD ASErr loadBezier(AIArtHandle art);
// Largest absolute area first; rings of equal area keep their art-tree order.
VT_NODISCARD ASErr sortRing(Ring* rings, int32_t count);
VT_NODISCARD ASErr updateVolume(void);
VT_NODISCARD ASErr freeRing(Ring* ring);
VT_NODISCARD ASErr freeVolume(Volume* volume);
VT_NODISCARD ASErr GetArtBezier(AIArtHandle art, bezier_stru** beziers, int32_t* count);

// Room a ring's segments are read into, kept from one ring to the next:
// start it zeroed, free it with freeSegmentRoom.
struct SegmentRoom {
    bezier_stru* beziers;
    AIPathSegment* anchors;
    int32_t bezierRoom, anchorRoom;
};
// The ring's count segments in millimetres relative to its volume's
// lower-left corner: its own array, or its path's read into room (valid
// until room is used again). *segments is null when the ring has none or its
// path no longer has the anchors it was loaded with; kMemoryErr when the
// room cannot grow.
VT_NODISCARD ASErr ringSegments(const Ring* ring, SegmentRoom* room, const bezier_stru** segments);
void freeSegmentRoom(SegmentRoom* room);
// What reads ring segments: each has a room of its own, kept while the job is
// loaded and given back with it (freeData).
enum SegmentReader {
    kSegmentsForLoading,
    kSegmentsForWriting,
    kSegmentsForDrawing,
    kSegmentsForPicking,
    kSegmentsForBounds,
    kSegmentsForLength,
    kSegmentReaderCount
};
SegmentRoom* segmentRoom(int32_t reader);
VT_NODISCARD ASErr loadPloyBezier(AIArtHandle art, UDT_PolyBezier** list, int32_t* count);

// Bounds of art as painted without its strokes: each stroked path inside is
// switched to no stroke for the read and switched back at once. *found is 0
// (and the bounds a zero rectangle) when art has no bounds to read. Returns
// the host's error when a stroke could not be switched off or back on: then
// there are no bounds, and the art may have been left without its stroke.
VT_NODISCARD ASErr GetArtBoundsWithoutStroke(AIArtHandle art, AIRealRect* bounds, uint8_t* found);

// True for a top-level object: a child of its layer's root group.
uint8_t isTopLevel(AIArtHandle art);

// The layers the plug-in makes for itself, told by their titles.
uint8_t isMarksLayer(AILayerHandle layer);
uint8_t isOnMarksLayer(AIArtHandle art);
uint8_t isInformationLayer(AILayerHandle layer);
uint8_t isOnInformationLayer(AIArtHandle art);

// What becomes of a volume, or of one ring of it, in the job:
//   - kJobLeftOut: neither drawn, cut, counted nor picked: a hidden volume,
//     and the source art of a dot-cut group, which its pieces stand for;
//   - kJobPrintedOnly: the registration marks, drawn in the preview so that
//     the job can be seen against them, but never cut, counted or picked;
//   - kJobCut: cut, and so drawn, counted in the cut length and picked.
// The writer, the cut length, the preview and the pick all ask here, so that
// what is picked is what is drawn is what is cut. Art of the start-point
// tool's layer never becomes a volume at all.
enum { kJobLeftOut = 0, kJobPrintedOnly = 1, kJobCut = 2 };
int32_t volumeInJob(const Volume* volume);
int32_t ringInJob(const Volume* volume, int32_t ring);
// True for a volume loaded from a dot-cut group (one of its rings is the
// source or a piece).
uint8_t isDotCutVolume(const Volume* volume);

// A volume's layer title; "" when it has none.
const char* volumeLayerName(const Volume* volume);

// Copies a name into a fixed field: at most size - 1 bytes, never cutting a
// UTF-8 character in half, always terminated. Every name field of the cut
// model is filled through this, so names cut to a field still match.
void CopyNameField(char* field, size_t size, const char* name);

// The colour of a fill as 8-bit R, G, B and the host colour tag.
void FillColorToRGB(const AIPathStyle* style, uint16_t (&rgb)[3], uint32_t* kind);
