// Preparing the artwork in the document before a job is cut, from the command
// palette: line-width confirmation (strokes become filled outlines and
// overlapping shapes merge, so the knife follows the visible edges), text
// outline (one compound path per character), inverted text (a copy of each
// text with every line back to front, for cutting from the back of the
// material) and contour offset (a contour around an object at a chosen
// distance). They work on the document through the host's suites and three
// of its own actions; the cut model is not touched.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// The layer contour offsets are drawn on.
#define kOffsetLayerTitle "Layer of Offset Data"

// Each returns 0, or the code of the host action or suite call that failed
// (which ended the operation). Nothing selected: nothing done, 0.
VT_NODISCARD ASErr doLineWidthConfirm(void);
VT_NODISCARD ASErr doTextOutline(void);
VT_NODISCARD ASErr doInvertWord(void);
// The offset distance is offsetSize (mm) of the globals.
VT_NODISCARD ASErr doOffset(void);

// The host's expand action on the selection (fills, strokes and objects).
VT_NODISCARD ASErr pluginArtOutline(void);
// The host's merge action on the selection.
VT_NODISCARD ASErr callStreamIntoPlugin(void);
// Disposes the paths of a tree that have neither fill nor stroke.
VT_NODISCARD ASErr releaseNullArt(AIArtHandle art);

VT_NODISCARD ASErr textOutline(void);
// Regroups the paths of a text's outline group into one compound path per
// character: count is the number of characters that draw (neither line end
// nor blank); at least one compound path is made when there are paths.
VT_NODISCARD ASErr combineGroups(AIArtHandle outline, int32_t count);
// How far apart two rectangles are (single precision): the gap between their
// facing sides when they overlap along one axis, else the corner distance.
float distanceOfRectangle(const AIRealRect* a, const AIRealRect* b);

// Sets the selected attribute of an art and of everything inside it.
VT_NODISCARD ASErr selectArtTree(AIArtHandle art, int32_t flag);
// Appends every path of a tree (groups and compound paths entered, children
// in order) to a growing array that starts as null and 0; the caller frees it.
VT_NODISCARD ASErr getAllPathArt(AIArtHandle art, AIArtHandle** list, int32_t* count);

// The contour of one object: its copy, blackened and stroked twice the offset
// wide on a layer of its own, confirmed into outlines; the largest of them is
// kept on the layer "Layer of Offset Data", the rest goes with the temporary
// layer.
VT_NODISCARD ASErr getArtOffset(AIArtHandle art);
// Fill and stroke black, stroke width twice the offset, on an art and
// everything inside it.
VT_NODISCARD ASErr makeArtColorSame(AIArtHandle art);

// ---- Text as characters ------------------------------------------------------------
// A text range holds UTF-8. One unit is one character: the bytes of a whole
// UTF-8 sequence, or a single byte that does not start a whole one, so units
// never split a character and never reach past the text.
struct TextUnit {
    uint8_t length;  // 1 to 4
    uint8_t bytes[4];
};
enum { kTextLineEnd = 13, kTextBlank = 32 };

// Splits size bytes of text into units (units must hold size of them);
// returns the count.
int32_t textToUnits(const char* text, int32_t size, struct TextUnit* units);
// Writes the units' bytes to text (which holds every byte and a terminator)
// and terminates it; returns the byte count.
int32_t unitsToText(const struct TextUnit* units, int32_t count, char* text);
// Whether a unit is the line end or a blank.
int textUnitIs(const struct TextUnit* unit, uint8_t byte);
// Reverses each line of units that ends in a line end, in place; the lines
// keep their order and their line ends. Units after the last line end are
// dropped. Returns the count kept.
int32_t reverseTextLines(struct TextUnit* units, int32_t count);
