// Host document and art suites: the art tree, paths, styles, layers, the
// selection, tags, views and the geometry helpers that work on art.
//
// Conventions of the host's documents:
// - Coordinates are document points (1/72 inch) as floats, y growing upwards.
// - Layers are kept in order, layer 0 being the top (front-most) one; each
//   layer holds exactly one root group ("the layer's top group").
// - A group's children run from the first (front-most, painted last) to the
//   last (back-most); "inside on top" places new art as the first child.
// - Art handles are never reused within a session: a disposed object's
//   handle stays invalid (ValidArt answers false) for good.
// - The selection: selecting a group or compound path marks its whole subtree.
#pragma once

#include "SPSuites.h"

// ---- Art types, paint orders, attributes -------------------------------------
enum {
    kAnyArt = -1,
    kUnknownArt = 0,
    kGroupArt = 1,
    kPathArt = 2,
    kCompoundPathArt = 3,
    kTextFrameArt = 4,
    kPlacedArt = 5,
    kRasterArt = 6,
    kOtherArt = 7
};

enum {
    kPlaceAbove = 1,          // just above (in front of) the prefix art, same parent
    kPlaceBelow = 2,          // just below (behind) the prefix art
    kPlaceInsideOnTop = 3,    // first child of the prefix group
    kPlaceInsideOnBottom = 4, // last child of the prefix group
    kPlaceAboveAll = 5,       // first child of the current layer's top group
    kPlaceBelowAll = 6        // last child of the current layer's top group
};

enum {
    kArtSelected = 0x1,
    kArtLocked = 0x2,
    kArtHidden = 0x4
};

// Errors of the document suites.
enum {
    kBadArtErr = 'ART?',        // not a live art object of the current document
    kBadLayerErr = 'LAY?',
    kWrongArtTypeErr = 'TYP!',  // the operation needs another kind of art
    kNoSuchTagErr = 'TAG?',
    kBadSegmentRangeErr = 'SEG!',
    kBadPaintOrderErr = 'ORD!'
};

// ---- Paths and styles -----------------------------------------------------------
typedef struct AIPathSegment {
    AIRealPoint p;    // anchor
    AIRealPoint in;   // handle arriving at the anchor
    AIRealPoint out;  // handle leaving the anchor
    AIBoolean corner;
} AIPathSegment;

typedef struct AIRealBezier {
    AIRealPoint p0, p1, p2, p3;
} AIRealBezier;

typedef int32_t AIColorTag;
enum {
    kGrayColor = 0,
    kFourColor = 1,   // CMYK
    kPattern = 2,
    kCustomColor = 3,
    kGradient = 4,
    kThreeColor = 5,  // RGB
    kNoneColor = 6
};

typedef struct AIGrayColorStyle { AIReal gray; } AIGrayColorStyle;  // 0 white .. 1 black
typedef struct AIFourColorStyle { AIReal cyan, magenta, yellow, black; } AIFourColorStyle;  // 0..1
typedef struct AIThreeColorStyle { AIReal red, green, blue; } AIThreeColorStyle;  // 0..1
typedef struct AICustomColorStyle { AICustomColorHandle color; AIReal tint; } AICustomColorStyle;
typedef struct AIPatternStyle { AIPatternHandle pattern; } AIPatternStyle;
typedef struct AIGradientStyle { void* gradient; } AIGradientStyle;

typedef struct AIColor {
    AIColorTag kind;
    union {
        AIGrayColorStyle g;
        AIFourColorStyle f;
        AIThreeColorStyle rgb;
        AICustomColorStyle c;
        AIPatternStyle p;
        AIGradientStyle b;
    } c;
} AIColor;

typedef struct AIFillStyle {
    AIColor color;
    AIBoolean overprint;
} AIFillStyle;

typedef struct AIStrokeStyle {
    AIColor color;
    AIBoolean overprint;
    AIReal width;       // points
    int32_t cap;        // 0 butt, 1 round, 2 square
    int32_t join;       // 0 miter, 1 round, 2 bevel
    AIReal miterLimit;
} AIStrokeStyle;

typedef struct AIPathStyle {
    AIBoolean fillPaint;
    AIFillStyle fill;
    AIBoolean strokePaint;
    AIStrokeStyle stroke;
    AIBoolean evenodd;
} AIPathStyle;

// Custom (named) colours of a document.
typedef int32_t AICustomColorTag;
enum { kCustomFourColor = 0, kCustomThreeColor = 1, kCustomLabColor = 2 };
typedef struct AICustomColor {
    AICustomColorTag kind;
    union {
        AIFourColorStyle f;
        AIThreeColorStyle rgb;
        struct { AIReal l, a, b; } lab;
    } c;
    int32_t flag;
} AICustomColor;

// Layer colour as the host gives it: 16-bit components.
typedef struct AIRGBColor {
    uint16_t red, green, blue;
} AIRGBColor;

// One criterion of a matching-art query: art of `type` (kAnyArt for every
// type) whose attributes masked by whichAttr equal attr.
typedef struct AIMatchingArtSpec {
    int16_t type;
    int32_t whichAttr;
    int32_t attr;
} AIMatchingArtSpec;

// What a hit test found.
enum {
    kNothingHitType = 0,
    kAnchorHitType = 1,   // an anchor point
    kHandleHitType = 2,   // an in or out handle
    kSegmentHitType = 3,  // the curve between two anchors
    kFillHitType = 4      // inside a filled closed path
};
enum {
    kSegPointRequest = 1,      // anchors only
    kSegInOutRequest = 2,      // anchors and handles
    kSegmentRequest = 4,       // anchors and curves
    kAllNoFillRequest = 8,     // anchors, handles and curves, fills ignored
    kAllHitRequest = 16        // everything, fills included
};
typedef struct AIToolHitData {
    AIBoolean hit;
    int32_t type;
    int32_t segment;      // the anchor hit, or the anchor a hit curve runs to (0: the closing curve)
    AIReal t;             // curve parameter on the segment
    AIRealPoint point;    // the point on the art nearest the test point
    AIArtHandle object;
} AIToolHitData;

// TransformArt flags.
enum {
    kTransformObjects = 1,
    kScaleLines = 16
};

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 1012
#define VT_OPS_AIArtSuite(X) \
    X(ASErr, NewArt, (int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt)) \
    X(ASErr, DisposeArt, (AIArtHandle art)) \
    X(ASErr, ReorderArt, (AIArtHandle art, int16_t paintOrder, AIArtHandle prep)) \
    /* the copy's names (SVG ids) get "-2", "-3", ... so that they stay unique */ \
    X(ASErr, DuplicateArt, (AIArtHandle art, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt)) \
    X(ASErr, GetFirstArtOfLayer, (AILayerHandle layer, AIArtHandle* art)) \
    X(ASErr, GetLayerOfArt, (AIArtHandle art, AILayerHandle* layer)) \
    X(ASErr, GetArtType, (AIArtHandle art, int16_t* type)) \
    X(ASErr, GetArtUserAttr, (AIArtHandle art, int32_t whichAttr, int32_t* attr)) \
    /* setting kArtSelected on a group or compound path sets it on its whole subtree */ \
    X(ASErr, SetArtUserAttr, (AIArtHandle art, int32_t whichAttr, int32_t attr)) \
    X(ASErr, GetArtParent, (AIArtHandle art, AIArtHandle* parent)) \
    X(ASErr, GetArtFirstChild, (AIArtHandle art, AIArtHandle* child)) \
    X(ASErr, GetArtLastChild, (AIArtHandle art, AIArtHandle* child)) \
    X(ASErr, GetArtSibling, (AIArtHandle art, AIArtHandle* sibling)) \
    X(ASErr, GetArtPriorSibling, (AIArtHandle art, AIArtHandle* sibling)) \
    /* bounds of the painted art: a stroked path grows by half its stroke width */ \
    X(ASErr, GetArtBounds, (AIArtHandle art, AIRealRect* bounds)) \
    X(AIBoolean, ValidArt, (AIArtHandle art)) \
    /* the name (SVG id) of the art; at most size - 1 bytes, always terminated */ \
    X(ASErr, GetArtName, (AIArtHandle art, char* name, size_t size)) \
    X(ASErr, SetArtName, (AIArtHandle art, const char* name))
VT_DECLARE_SUITE(AIArtSuite)

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 1006
#define VT_OPS_AIPathSuite(X) \
    X(ASErr, GetPathSegmentCount, (AIArtHandle path, int32_t* count)) \
    /* new anchors are placed at the origin with their handles on them */ \
    X(ASErr, SetPathSegmentCount, (AIArtHandle path, int32_t count)) \
    X(ASErr, GetPathSegments, (AIArtHandle path, int32_t segNumber, int32_t count, AIPathSegment* segments)) \
    X(ASErr, SetPathSegments, (AIArtHandle path, int32_t segNumber, int32_t count, const AIPathSegment* segments)) \
    /* inserts count anchors after anchor segNumber (-1: before anchor 0) */ \
    X(ASErr, InsertPathSegments, (AIArtHandle path, int32_t segNumber, int32_t count, const AIPathSegment* segments)) \
    X(ASErr, GetPathClosed, (AIArtHandle path, AIBoolean* closed)) \
    X(ASErr, SetPathClosed, (AIArtHandle path, AIBoolean closed)) \
    X(ASErr, GetPathGuide, (AIArtHandle path, AIBoolean* guide)) \
    X(ASErr, SetPathGuide, (AIArtHandle path, AIBoolean guide)) \
    /* signed area in square points, the closing chord of an open path included; \
       counter-clockwise (y upwards) is positive */ \
    X(ASErr, GetPathArea, (AIArtHandle path, AIReal* area)) \
    /* segment segNumber to the next anchor (anchor 0 after the last of a closed path) */ \
    X(ASErr, GetPathBezier, (AIArtHandle path, int32_t segNumber, AIRealBezier* bezier)) \
    X(ASErr, GetPathLength, (AIArtHandle path, AIReal* length, AIReal flatness))
VT_DECLARE_SUITE(AIPathSuite)

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 1008
#define VT_OPS_AIPathStyleSuite(X) \
    /* a group answers the style of its first path or text frame; a compound path that of its paths */ \
    X(ASErr, GetPathStyle, (AIArtHandle art, AIPathStyle* style)) \
    /* on a compound path or group: every path inside takes the style */ \
    X(ASErr, SetPathStyle, (AIArtHandle art, const AIPathStyle* style))
VT_DECLARE_SUITE(AIPathStyleSuite)

#define kAILayerSuite "AI Layer Suite"
#define kAILayerSuiteVersion 1011
#define VT_OPS_AILayerSuite(X) \
    X(ASErr, CountLayers, (int32_t* count)) \
    X(ASErr, GetNthLayer, (int32_t n, AILayerHandle* layer)) \
    X(ASErr, GetFirstLayer, (AILayerHandle* layer)) \
    X(ASErr, GetNextLayer, (AILayerHandle layer, AILayerHandle* next)) \
    X(ASErr, GetCurrentLayer, (AILayerHandle* layer)) \
    X(ASErr, SetCurrentLayer, (AILayerHandle layer)) \
    /* no layer of that title: kBadLayerErr and a null layer */ \
    X(ASErr, GetLayerByTitle, (AILayerHandle* layer, const char* title)) \
    /* UTF-8; at most size - 1 bytes, cut on a character boundary, always terminated */ \
    X(ASErr, GetLayerTitle, (AILayerHandle layer, char* title, size_t size)) \
    X(ASErr, SetLayerTitle, (AILayerHandle layer, const char* title)) \
    /* paintOrder kPlaceAbove or kPlaceBelow a layer, kPlaceAboveAll or kPlaceBelowAll (layer ignored) */ \
    X(ASErr, InsertLayer, (AILayerHandle layer, int16_t paintOrder, AILayerHandle* newLayer)) \
    X(ASErr, DeleteLayer, (AILayerHandle layer)) \
    X(ASErr, GetLayerColor, (AILayerHandle layer, AIRGBColor* color)) \
    X(ASErr, SetLayerColor, (AILayerHandle layer, AIRGBColor color)) \
    X(ASErr, GetLayerVisible, (AILayerHandle layer, AIBoolean* visible)) \
    X(ASErr, SetLayerVisible, (AILayerHandle layer, AIBoolean visible))
VT_DECLARE_SUITE(AILayerSuite)

#define kAIMatchingArtSuite "AI Matching Art Suite"
#define kAIMatchingArtSuiteVersion 1005
#define VT_OPS_AIMatchingArtSuite(X) \
    /* matches, in the order of the art tree: layers from the top one down, each \
       group before its children, children first to last. The list is a memory \
       handle ("AI MdMemory Suite") owned by the caller; no match gives 0 and a \
       null list, not an error. The layers' top groups never match. */ \
    X(ASErr, GetMatchingArt, (const AIMatchingArtSpec* specs, int16_t numSpecs, AIArtHandle*** matches, int32_t* numMatches)) \
    X(ASErr, GetSelectedArt, (AIArtHandle*** matches, int32_t* numMatches))
VT_DECLARE_SUITE(AIMatchingArtSuite)

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 1009
#define VT_OPS_AIDocumentSuite(X) \
    /* the page (artboard) rectangle in points, y upwards */ \
    X(ASErr, GetDocumentPageBounds, (AIRealRect* bounds)) \
    X(ASErr, SetDocumentPageBounds, (const AIRealRect* bounds)) \
    X(ASErr, GetDocument, (AIDocumentHandle* document)) \
    /* UTF-8 file name of the document (empty when never saved) */ \
    X(ASErr, GetDocumentFileName, (char* name, size_t size))
VT_DECLARE_SUITE(AIDocumentSuite)

#define kAIDocumentViewSuite "AI Document View Suite"
#define kAIDocumentViewSuiteVersion 1008
#define VT_OPS_AIDocumentViewSuite(X) \
    /* a null view is the current document's view */ \
    X(ASErr, GetNthDocumentView, (int32_t n, AIDocumentViewHandle* view)) \
    X(ASErr, GetDocumentViewZoom, (AIDocumentViewHandle view, AIReal* zoom)) \
    X(ASErr, SetDocumentViewZoom, (AIDocumentViewHandle view, AIReal zoom)) \
    X(ASErr, GetDocumentViewCenter, (AIDocumentViewHandle view, AIRealPoint* center)) \
    X(ASErr, SetDocumentViewCenter, (AIDocumentViewHandle view, const AIRealPoint* center)) \
    /* the part of the document the view shows, in points */ \
    X(ASErr, GetDocumentViewBounds, (AIDocumentViewHandle view, AIRealRect* bounds))
VT_DECLARE_SUITE(AIDocumentViewSuite)

#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1001
#define VT_OPS_AITransformArtSuite(X) \
    /* x' = a x + c y + tx, y' = b x + d y + ty on every anchor and handle; \
       kScaleLines scales stroke widths by lineScale */ \
    X(ASErr, TransformArt, (AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale, int32_t flags))
VT_DECLARE_SUITE(AITransformArtSuite)

#define kAIRealBezierSuite "AI Real Bezier Suite"
#define kAIRealBezierSuiteVersion 1002
#define VT_OPS_AIRealBezierSuite(X) \
    X(void, Evaluate, (const AIRealBezier* b, AIReal t, AIRealPoint* p)) \
    X(void, Divide, (const AIRealBezier* b, AIReal t, AIRealBezier* b1, AIRealBezier* b2)) \
    /* measured along chords that stray from the curve by at most flatness (points) */ \
    X(AIReal, Length, (const AIRealBezier* b, AIReal flatness)) \
    /* parameter at the given length from the start, along the same chords as Length; \
       total is the whole length: 0 at or below 0, 1 at or above total */ \
    X(AIReal, TAtLength, (const AIRealBezier* b, AIReal length, AIReal total, AIReal flatness)) \
    X(void, Bounds, (const AIRealBezier* b, AIRealRect* bounds))
VT_DECLARE_SUITE(AIRealBezierSuite)

#define kAIShapeConstructionSuite "AI Shape Construction Suite"
#define kAIShapeConstructionSuiteVersion 1004
#define VT_OPS_AIShapeConstructionSuite(X) \
    /* new closed paths placed above all art in the current layer; four anchors \
       counter-clockwise from top left, or clockwise when reversed */ \
    X(ASErr, NewRect, (AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed, AIArtHandle* newArt)) \
    X(ASErr, NewRoundedRect, (AIReal top, AIReal left, AIReal bottom, AIReal right, AIReal hRadius, AIReal vRadius, AIBoolean reversed, AIArtHandle* newArt)) \
    X(ASErr, NewOval, (AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed, AIArtHandle* newArt))
VT_DECLARE_SUITE(AIShapeConstructionSuite)

#define kAIHitTestSuite "AI Hit Test Suite"
#define kAIHitTestSuiteVersion 1003
#define VT_OPS_AIHitTestSuite(X) \
    /* tests the point against art and everything inside it, front-most first; \
       the tolerance is 2 points. The hit reference is released by the caller. */ \
    X(ASErr, HitTest, (AIArtHandle art, const AIRealPoint* point, int32_t request, AIHitRef* hit)) \
    X(ASErr, GetHitData, (AIHitRef hit, AIToolHitData* data)) \
    X(ASErr, ReleaseHitRef, (AIHitRef hit))
VT_DECLARE_SUITE(AIHitTestSuite)

#define kAICustomColorSuite "AI Custom Color Suite"
#define kAICustomColorSuiteVersion 1006
#define VT_OPS_AICustomColorSuite(X) \
    X(ASErr, NewCustomColor, (const AICustomColor* color, const char* name, AICustomColorHandle* customColor)) \
    X(ASErr, GetCustomColor, (AICustomColorHandle customColor, AICustomColor* color)) \
    X(ASErr, SetCustomColor, (AICustomColorHandle customColor, const AICustomColor* color)) \
    X(ASErr, GetCustomColorName, (AICustomColorHandle customColor, char* name, size_t size))
VT_DECLARE_SUITE(AICustomColorSuite)

#define kAITagSuite "AI Tag Suite"
#define kAITagSuiteVersion 1002
#define VT_OPS_AITagSuite(X) \
    /* Tags are named values on art, saved with the document. Type "string": \
       SetTag takes a const char*; GetTag stores in *(const char**)value a text \
       owned by the host, valid until the tag or the art changes. No such tag: \
       kNoSuchTagErr. */ \
    X(ASErr, SetTag, (AIArtHandle art, const char* name, const char* type, const void* value)) \
    X(ASErr, GetTag, (AIArtHandle art, const char* name, const char* type, void* value)) \
    X(ASErr, HasTag, (AIArtHandle art, const char* name, AIBoolean* has)) \
    X(ASErr, RemoveTag, (AIArtHandle art, const char* name))
VT_DECLARE_SUITE(AITagSuite)

// Text frames hold UTF-8 text whose lines end in CR (13). The text is set in
// the frame's font family (DejaVu Sans when the family is not installed; the
// host's own fonts for a character the family lacks) at its size in points:
// the first line's baseline starts at the frame's origin, each further line
// 1.2 x the size below the one before, characters advance by the font's
// advances and kerning. Bounds, outlines and expansion follow this layout.
typedef struct _t_ATETextRangeOpaque* ATETextRangeRef;

// Errors of the text suites.
enum {
    kBadTextRangeErr = 'RNG?',  // not a live text range, or its frame is gone
    kNoFontErr = 'FNT?'         // no font could be loaded, not even DejaVu Sans, or a character of the
                                // text is in none of the fonts (nothing is outlined then)
};

#define kAITextFrameSuite "AI Text Frame Suite"
#define kAITextFrameSuiteVersion 1001
#define VT_OPS_AITextFrameSuite(X) \
    /* a new group just above the frame holding every glyph contour of its text as a closed \
       path in the frame's style, glyph after glyph; the frame stays as it is */ \
    X(ASErr, CreateOutline, (AIArtHandle textFrame, AIArtHandle* outline)) \
    /* the frame's whole text as a range; the caller releases it (ATE TextRange Suite) */ \
    X(ASErr, GetATETextRange, (AIArtHandle textFrame, ATETextRangeRef* range))
VT_DECLARE_SUITE(AITextFrameSuite)

#define kATETextRangeSuite "ATE TextRange Suite"
#define kATETextRangeSuiteVersion 1
#define VT_OPS_ATETextRangeSuite(X) \
    /* the size of the range's text in bytes */ \
    X(ASErr, GetSize, (ATETextRangeRef range, ASInt32* size)) \
    /* copies at most maxLength bytes of the text, with no terminator; length gets the count */ \
    X(ASErr, GetContents, (ATETextRangeRef range, char* text, ASInt32 maxLength, ASInt32* length)) \
    /* removes the range's text from its frame */ \
    X(ASErr, Clear, (ATETextRangeRef range)) \
    /* inserts length bytes at the end of the range, which grows to hold them */ \
    X(ASErr, InsertAfter, (ATETextRangeRef range, const char* text, ASInt32 length)) \
    X(ASErr, Release, (ATETextRangeRef range))
VT_DECLARE_SUITE(ATETextRangeSuite)

#define kAIPathfinderSuite "AI Pathfinder Suite"
#define kAIPathfinderSuiteVersion 1004
#define VT_OPS_AIPathfinderSuite(X)
VT_DECLARE_SUITE(AIPathfinderSuite)
