// Records of the cut model that the globals record holds.
#pragma once

#include <stdint.h>

#include "ASTypes.h"
#include "Math/Bezier.h"

// One path (or other art object) inside a volume. Path rings carry their
// outline as cubic segments in millimetres, relative to the volume's lower-left
// corner; other art carries no segments.
//
// A path ring loaded from the document holds no copy of its segments: they
// are the path's, read when needed (ringSegments, Core/CutModel.h) and moved
// by the volume's corner as loaded; its beziers stay null. A ring made
// otherwise (tests, benchmarks) may hold its own array instead.
struct Ring {
    AIArtHandle art;
    uint16_t kind;         // 1 path with beziers, 0 any other art
    float area;            // signed area of the path as the host reports it, square points
    bezier_stru* beziers;  // heap array, mm; null when the segments are read from the path
    int32_t count;
    uint8_t dotCut;        // its part in a dot-cut group, set at load (kRingPlain outside one)
    float originX, originY;  // mm: the volume's lower-left corner in the document, taken off the path's points
};

enum { kRingOtherArt = 0, kRingPath = 1 };
// A dot-cut group holds its source art first, then the pieces made from it;
// only the pieces are cut.
enum { kRingPlain = 0, kRingDotCutSource = 1, kRingDotCutPiece = 2 };

// One selected top-level object of the document with its placement on the
// media. Ring geometry is never moved; drawing and output apply mirror,
// rotation, scale, position and copies from these fields.
struct Volume {
    AIArtHandle art;
    Ring* rings;
    int32_t ringCount;
    // The title of the layer holding the art, cut as a 256-byte name field
    // is (CopyNameField): kept once per layer by the cut model, whatever the
    // number of volumes on it, for as long as the job is loaded. Null reads
    // as no title (volumeLayerName).
    const char* layerName;
    uint16_t layerColor[3];
    uint16_t colorRGB[3];
    uint32_t colorKind;  // 0 gray, 1 CMYK, 2 pattern, 3 custom, 4 gradient, 5 RGB, 6 none
    float rect[4];       // left, top, right, bottom; mm, relative to the job origin
    double rotMinX;
    double rotMinY;
    double baseWidth;
    double baseHeight;
    float loadRect[4];
    float docRect[4];    // as loaded, document millimetres
    uint8_t mirror;
    double angle;        // degrees
    double scaleX;
    double scaleY;
    int32_t copiesX;
    int32_t copiesY;
    double gapX;         // mm
    double gapY;         // mm
    double precision;    // curve-fit precision, mm
    int32_t fitType;     // 1 lines, 2 arcs, other plain
    uint32_t flags;
    int32_t index;       // cut order
};

enum : uint32_t {
    kVolumeSelected = 0x1,
    kVolumeVisible = 0x4,
    kVolumeOnMarksLayer = 0x80000000u,
};

enum { kVolumeColorNone = 6 };

// One step of the undo history: byte copies of volumes taken before a change,
// and where each came from.
struct UndoStep {
    Volume* snapshots;
    int32_t* indexes;
    int32_t count;
};

enum { kUndoStepCount = 16 };
