#include "Core/PreProcess.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/CutModel.h"
#include "Core/OutlineClusters.h"
#include "Core/StrokeStyle.h"

// ---- Shared routines ---------------------------------------------------------------------

ASErr selectArtTree(AIArtHandle art, int32_t flag)
{
    ASErr error = sAIArt->SetArtUserAttr(art, kArtSelected, flag ? kArtSelected : 0);
    AIArtHandle child = NULL;
    if (error == kNoErr) error = sAIArt->GetArtFirstChild(art, &child);
    while (error == kNoErr && child != NULL) {
        error = selectArtTree(child, flag);
        if (error == kNoErr) error = sAIArt->GetArtSibling(child, &child);
    }
    return error;
}

// The list's room doubles whenever the count reaches a power of two, so the
// outline of a long text (a million paths) is gathered in linear time; the
// room follows from the count alone, for a list that starts as null and 0.
static ASErr appendArt(AIArtHandle art, AIArtHandle** list, int32_t* count)
{
    int32_t n = *count;
    if (n == 0 || (n & (n - 1)) == 0) {
        if (n >= INT32_MAX / 2) return kMemoryErr;
        size_t room = n == 0 ? 1 : (size_t)n * 2;
        AIArtHandle* grown = (AIArtHandle*)realloc(*list, sizeof(AIArtHandle) * room);
        if (grown == NULL) return kMemoryErr;
        *list = grown;
    }
    (*list)[n] = art;
    *count = n + 1;
    return kNoErr;
}

ASErr getAllPathArt(AIArtHandle art, AIArtHandle** list, int32_t* count)
{
    int16_t type = kUnknownArt;
    ASErr error = sAIArt->GetArtType(art, &type);
    if (error != kNoErr) return error;
    if (type == kPathArt) return appendArt(art, list, count);
    if (type != kGroupArt && type != kCompoundPathArt) return kNoErr;
    AIArtHandle child = NULL;
    error = sAIArt->GetArtFirstChild(art, &child);
    while (error == kNoErr && child != NULL) {
        error = getAllPathArt(child, list, count);
        if (error == kNoErr) error = sAIArt->GetArtSibling(child, &child);
    }
    return error;
}

// The selected art of the given type, in the order of the art tree; a null
// list and 0 when there is none.
static ASErr selectedArt(int16_t type, AIArtHandle*** matches, int32_t* count)
{
    AIMatchingArtSpec spec = {type, kArtSelected, kArtSelected};
    *matches = NULL;
    *count = 0;
    return sMatchingArt->GetMatchingArt(&spec, 1, matches, count);
}

static void freeMatches(AIArtHandle** matches)
{
    if (matches != NULL) (void)sAIMdMemory->MdMemoryDisposeHandle((AIMdMemoryHandle)matches);  // nothing to do about a refusal
}

// Calls act on each selected art of the given type, in the order of the art
// tree, until one call returns an error; returns the first error.
template <typename Act>
static ASErr forEachSelected(int16_t type, Act act)
{
    AIArtHandle** matches = NULL;
    int32_t count = 0;
    ASErr error = selectedArt(type, &matches, &count);
    for (int32_t i = 0; error == kNoErr && i < count; ++i) error = act((*matches)[i]);
    freeMatches(matches);
    return error;
}

// ---- Line-width confirmation ---------------------------------------------------------------

// Plays a host action with a fresh parameter record filled by fill (which
// may be null). No record made: nothing is played; a key that cannot be set:
// nothing is played either; a record that comes back null: the action is
// played without parameters.
static ASErr playAction(const char* name, ASErr (*fill)(AIActionParamValueRef))
{
    AIActionParamValueRef params = NULL;
    ASErr error = sActionManager->AINewActionParamValue(&params);
    if (error != kNoErr) return error;
    if (params != NULL && fill != NULL) error = fill(params);
    if (error == kNoErr) error = sActionManager->PlayActionEvent(name, kDialogNone, params);
    if (params != NULL) (void)sActionManager->AIDeleteActionParamValue(params);  // the play's result matters more
    return error;
}

static ASErr expandKeys(AIActionParamValueRef p)
{
    ASErr error = sActionManager->AIActionSetBoolean(p, 'objt', TRUE);
    if (error == kNoErr) error = sActionManager->AIActionSetBoolean(p, 'fill', TRUE);
    if (error == kNoErr) error = sActionManager->AIActionSetBoolean(p, 'strk', TRUE);
    if (error == kNoErr) error = sActionManager->AIActionSetBoolean(p, 'smth', TRUE);
    return error;
}

static ASErr mergeKeys(AIActionParamValueRef p)
{
    ASErr error = sActionManager->AIActionSetEnumerated(p, 'name', "merge", kPathfinderMergeValue);
    if (error == kNoErr) error = sActionManager->AIActionSetReal(p, 'mxrt', 1.0f);
    if (error == kNoErr) error = sActionManager->AIActionSetReal(p, 'thck', 0.25f);
    if (error == kNoErr) error = sActionManager->AIActionSetReal(p, 'wdwh', 1.0f);
    if (error == kNoErr) error = sActionManager->AIActionSetReal(p, 'tint', 0.05f);
    if (error == kNoErr) error = sActionManager->AIActionSetBoolean(p, 'trap', FALSE);
    if (error == kNoErr) error = sActionManager->AIActionSetBoolean(p, 'revt', FALSE);
    if (error == kNoErr) error = sActionManager->AIActionSetReal(p, 'prec', 10.0f);
    if (error == kNoErr) error = sActionManager->AIActionSetBoolean(p, 'remv', FALSE);
    if (error == kNoErr) error = sActionManager->AIActionSetBoolean(p, 'extr', FALSE);
    return error;
}

ASErr pluginArtOutline(void) { return playAction(kExpandActionName, expandKeys); }

ASErr callStreamIntoPlugin(void) { return playAction(kPathfinderActionName, mergeKeys); }

ASErr releaseNullArt(AIArtHandle art)
{
    int16_t type = kUnknownArt;
    ASErr error = sAIArt->GetArtType(art, &type);
    if (error != kNoErr) return error;
    if (type == kPathArt) {
        AIPathStyle style;
        error = sAIPathStyle->GetPathStyle(art, &style);
        if (error == kNoErr && !style.fillPaint && !style.strokePaint) error = sAIArt->DisposeArt(art);
        return error;
    }
    if (type != kGroupArt && type != kCompoundPathArt) return kNoErr;
    AIArtHandle child = NULL;
    error = sAIArt->GetArtFirstChild(art, &child);
    while (error == kNoErr && child != NULL) {
        // The next sibling is taken first: examining the child may dispose it.
        AIArtHandle next = NULL;
        error = sAIArt->GetArtSibling(child, &next);
        if (error == kNoErr) error = releaseNullArt(child);
        child = next;
    }
    return error;
}

ASErr doLineWidthConfirm(void)
{
    ASErr error = pluginArtOutline();
    if (error == kNoErr) error = callStreamIntoPlugin();
    // Outlining what the merge left changes nothing the next step needs.
    if (error == kNoErr) (void)playAction(kOutlineActionName, NULL);
    if (error != kNoErr) return error;

    return forEachSelected(kAnyArt, [](AIArtHandle art) -> ASErr {
        // Art inside an object released earlier is gone with it.
        if (!sAIArt->ValidArt(art)) return kNoErr;
        return isTopLevel(art) ? releaseNullArt(art) : kNoErr;
    });
}

// ---- Text as characters ---------------------------------------------------------------------

// The length of the UTF-8 sequence a byte starts; a byte that starts none (a
// stray continuation byte, a lead no character has) is a unit of its own, as
// an ASCII byte is.
static int sequenceLength(uint8_t c)
{
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 1;
}

int32_t textToUnits(const char* text, int32_t size, struct TextUnit* units)
{
    int32_t count = 0;
    int32_t i = 0;
    while (i < size) {
        const uint8_t* b = (const uint8_t*)text + i;
        int length = sequenceLength(b[0]);
        if (length > size - i) length = 1;
        for (int k = 1; k < length; ++k)
            if ((b[k] & 0xC0) != 0x80) length = 1;
        struct TextUnit* u = &units[count++];
        u->length = (uint8_t)length;
        memset(u->bytes, 0, sizeof u->bytes);
        memcpy(u->bytes, b, (size_t)length);
        i += length;
    }
    return count;
}

int32_t unitsToText(const struct TextUnit* units, int32_t count, char* text)
{
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        memcpy(text + n, units[i].bytes, units[i].length);
        n += units[i].length;
    }
    text[n] = 0;
    return n;
}

int textUnitIs(const struct TextUnit* unit, uint8_t byte) { return unit->length == 1 && unit->bytes[0] == byte; }

int32_t reverseTextLines(struct TextUnit* units, int32_t count)
{
    int32_t start = 0;
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (!textUnitIs(&units[i], kTextLineEnd)) continue;
        for (int32_t a = start, b = i - 1; a < b; ++a, --b) {
            struct TextUnit t = units[a];
            units[a] = units[b];
            units[b] = t;
        }
        start = i + 1;
        kept = i + 1;
    }
    return kept;
}

// Reads a frame's text through a new range (released by the caller when set):
// a zeroed buffer with room to spare after the bytes, and the byte count.
static ASErr readFrameText(AIArtHandle frame, ATETextRangeRef* range, char** text, int32_t* length)
{
    *range = NULL;
    *text = NULL;
    *length = 0;
    ASErr error = sAITextFrame->GetATETextRange(frame, range);
    ASInt32 size = 0;
    if (error == kNoErr) error = sAITextRange->GetSize(*range, &size);
    if (error != kNoErr) return error;
    if (size < 0 || size > (INT32_MAX - 5) / 2) return kMemoryErr;
    *text = (char*)calloc((size_t)size * 2 + 5, 1);
    if (*text == NULL) return kMemoryErr;
    ASInt32 read = 0;
    error = sAITextRange->GetContents(*range, *text, size * 2 + 3, &read);
    // What the host says it copied is believed only within what was asked.
    *length = std::clamp(read, 0, size * 2 + 3);
    return error;
}

// ---- Text outline ----------------------------------------------------------------------------

static float smaller(float a, float b) { return a < b ? a : b; }
static float larger(float a, float b) { return a < b ? b : a; }

float distanceOfRectangle(const AIRealRect* a, const AIRealRect* b)
{
    float aLeft = smaller(a->left, a->right), aRight = larger(a->left, a->right);
    float bLeft = smaller(b->left, b->right), bRight = larger(b->left, b->right);
    float aBottom = smaller(a->top, a->bottom), aTop = larger(a->top, a->bottom);
    float bBottom = smaller(b->top, b->bottom), bTop = larger(b->top, b->bottom);
    float dy = smaller(fabsf(a->bottom - b->top), fabsf(a->top - b->bottom));
    float dx = smaller(fabsf(a->right - b->left), fabsf(a->left - b->right));
    if (bLeft <= aRight && aLeft <= bRight) return dy;
    if (bBottom <= aTop && aBottom <= bTop) return dx;
    return sqrtf(dx * dx + dy * dy);
}

ASErr combineGroups(AIArtHandle outline, int32_t count)
{
    AIArtHandle* paths = NULL;
    int32_t n = 0;
    ASErr error = getAllPathArt(outline, &paths, &n);
    AIRealRect* bounds = NULL;
    AIRealRect* ordered = NULL;
    float* areas = NULL;
    int32_t* order = NULL;
    int32_t* next = NULL;
    struct OutlineCluster* clusters = NULL;
    if (error == kNoErr && n > 0) {
        bounds = (AIRealRect*)malloc(sizeof(AIRealRect) * (size_t)n);
        ordered = (AIRealRect*)malloc(sizeof(AIRealRect) * (size_t)n);
        areas = (float*)malloc(sizeof(float) * (size_t)n);
        order = (int32_t*)malloc(sizeof(int32_t) * (size_t)n);
        next = (int32_t*)malloc(sizeof(int32_t) * (size_t)n);
        clusters = (struct OutlineCluster*)malloc(sizeof(struct OutlineCluster) * (size_t)n);
        if (!bounds || !ordered || !areas || !order || !next || !clusters) error = kMemoryErr;
    }
    for (int32_t i = 0; error == kNoErr && i < n; ++i) {
        error = sAIArt->GetArtBounds(paths[i], &bounds[i]);
        areas[i] = fabsf((bounds[i].right - bounds[i].left) * (bounds[i].top - bounds[i].bottom));
    }
    // Largest first, then each path joins the first cluster it meets, and
    // the nearest clusters merge until there are no more than characters.
    if (error == kNoErr) error = orderPathsByArea(areas, n, order);
    for (int32_t i = 0; error == kNoErr && i < n; ++i) ordered[i] = bounds[order[i]];
    int32_t made = 0;
    if (error == kNoErr) error = gatherOutlineClusters(ordered, n, std::max(count, 1), clusters, next, &made);
    // One compound path per cluster, below all art, holding its paths.
    for (int32_t c = 0; error == kNoErr && c < made; ++c) {
        if (!clusters[c].alive) continue;
        AIArtHandle compound = NULL;
        error = sAIArt->NewArt(kCompoundPathArt, kPlaceBelowAll, NULL, &compound);
        for (int32_t i = clusters[c].first; error == kNoErr && i >= 0; i = next[i])
            error = sAIArt->ReorderArt(paths[order[i]], kPlaceInsideOnTop, compound);
        if (error == kNoErr) error = selectArtTree(compound, 1);
    }
    free(paths);
    free(bounds);
    free(ordered);
    free(areas);
    free(order);
    free(next);
    free(clusters);
    return error;
}

// The characters of a frame that draw: neither line ends nor blanks.
static ASErr countDrawnCharacters(AIArtHandle frame, int32_t* drawn)
{
    ATETextRangeRef range = NULL;
    char* text = NULL;
    int32_t length = 0;
    *drawn = 0;
    ASErr error = readFrameText(frame, &range, &text, &length);
    struct TextUnit* units = NULL;
    if (error == kNoErr && length > 0) {
        units = (struct TextUnit*)malloc(sizeof(struct TextUnit) * (size_t)length);
        if (units == NULL) error = kMemoryErr;
    }
    if (error == kNoErr && units != NULL) {
        int32_t count = textToUnits(text, length, units);
        for (int32_t i = 0; i < count; ++i)
            if (!textUnitIs(&units[i], kTextLineEnd) && !textUnitIs(&units[i], kTextBlank)) ++*drawn;
    }
    if (range != NULL) (void)sAITextRange->Release(range);  // the text was read; nothing else depends on it
    free(units);
    free(text);
    return error;
}

static ASErr outlineFrame(AIArtHandle frame)
{
    AIArtHandle outline = NULL;
    ASErr error = sAITextFrame->CreateOutline(frame, &outline);
    int32_t drawn = 0;
    if (error == kNoErr) error = countDrawnCharacters(frame, &drawn);
    // A frame of blanks only gives an outline without paths: nothing is
    // regrouped, and the frame goes like any other, leaving its empty group.
    if (error == kNoErr) error = combineGroups(outline, drawn);
    if (error == kNoErr) error = sAIArt->DisposeArt(frame);
    return error;
}

ASErr textOutline(void) { return forEachSelected(kTextFrameArt, outlineFrame); }

ASErr doTextOutline(void) { return textOutline(); }

// ---- Inverted text ----------------------------------------------------------------------------

// Gives the copy its text with every line back to front.
static ASErr invertCopyText(AIArtHandle copy)
{
    ATETextRangeRef range = NULL;
    char* text = NULL;
    int32_t length = 0;
    ASErr error = readFrameText(copy, &range, &text, &length);
    struct TextUnit* units = NULL;
    char* inverted = NULL;
    if (error == kNoErr) {
        // The end of the text ends its last line too.
        text[length] = kTextLineEnd;
        units = (struct TextUnit*)malloc(sizeof(struct TextUnit) * (size_t)(length + 1));
        inverted = (char*)malloc((size_t)length + 2);
        if (units == NULL || inverted == NULL) error = kMemoryErr;
    }
    if (error == kNoErr) {
        int32_t count = textToUnits(text, length + 1, units);
        count = reverseTextLines(units, count);
        if (count > 0) {
            int32_t bytes = unitsToText(units, count, inverted);
            error = sAITextRange->Clear(range);
            if (error == kNoErr) error = sAITextRange->InsertAfter(range, inverted, bytes - 1);
        }
    }
    if (range != NULL) (void)sAITextRange->Release(range);  // the text is set; nothing else depends on it
    free(units);
    free(inverted);
    free(text);
    return error;
}

// Puts an inverted copy of the frame beside it.
static ASErr invertFrame(AIArtHandle frame)
{
    AIArtHandle copy = NULL;
    ASErr error = sAIArt->DuplicateArt(frame, kPlaceBelow, frame, &copy);
    if (error != kNoErr) return error;
    // The copy goes to the right by its own width.
    AIRealRect bounds;
    error = sAIArt->GetArtBounds(copy, &bounds);
    if (error == kNoErr) {
        AIRealMatrix matrix;
        sAIRealMath->AIRealMatrixSetIdentity(&matrix);
        sAIRealMath->AIRealMatrixConcatTranslate(&matrix, bounds.right - bounds.left, 0);
        error = sAITransformArt->TransformArt(copy, &matrix, 1.0f, kTransformObjects | kScaleLines);
    }
    if (error == kNoErr) error = invertCopyText(copy);
    // A copy that could not be finished would be a second, wrong text.
    if (error != kNoErr) (void)sAIArt->DisposeArt(copy);  // the first error is the one to report
    return error;
}

ASErr doInvertWord(void) { return forEachSelected(kTextFrameArt, invertFrame); }

// ---- Contour offset ---------------------------------------------------------------------------

static ASErr colorArt(AIArtHandle art)
{
    AIPathStyle style;
    // Art whose style cannot be read (none of it is a path) keeps its looks.
    if (sAIPathStyle->GetPathStyle(art, &style) != kNoErr) return kNoErr;
    style.fillPaint = TRUE;
    style.fill.color.kind = kThreeColor;
    style.fill.color.c.rgb.red = style.fill.color.c.rgb.green = style.fill.color.c.rgb.blue = 0;
    style.strokePaint = TRUE;
    style.stroke.color.kind = kThreeColor;
    style.stroke.color.c.rgb.red = style.stroke.color.c.rgb.green = style.stroke.color.c.rgb.blue = 0;
    style.stroke.width = (AIReal)(2.0 * g->offsetSize * kMillimetreToPoint);
    return sAIPathStyle->SetPathStyle(art, &style);
}

ASErr makeArtColorSame(AIArtHandle art)
{
    ASErr error = colorArt(art);
    AIArtHandle child = NULL;
    if (error == kNoErr) error = sAIArt->GetArtFirstChild(art, &child);
    while (error == kNoErr && child != NULL) {
        error = makeArtColorSame(child);
        if (error == kNoErr) error = sAIArt->GetArtSibling(child, &child);
    }
    return error;
}

// The offset layer, made above all layers the first time.
static ASErr offsetLayer(AILayerHandle* layer)
{
    *layer = NULL;
    if (sAILayer->GetLayerByTitle(layer, kOffsetLayerTitle) == kNoErr && *layer != NULL) return kNoErr;
    ASErr error = sAILayer->InsertLayer(NULL, kPlaceAboveAll, layer);
    if (error == kNoErr) error = sAILayer->SetLayerTitle(*layer, kOffsetLayerTitle);
    return error;
}

// Of the selected paths on the layer, the one of the largest area (the first
// of equals); null when there is none.
static ASErr largestPath(AILayerHandle layer, AIArtHandle* winner)
{
    *winner = NULL;
    AIReal best = 0;
    return forEachSelected(kPathArt, [&](AIArtHandle path) -> ASErr {
        AILayerHandle of = NULL;
        ASErr error = sAIArt->GetLayerOfArt(path, &of);
        if (error != kNoErr || of != layer) return error;
        AIReal area = 0;
        error = sAIPath->GetPathArea(path, &area);
        if (error == kNoErr && (*winner == NULL || fabsf(area) > best)) {
            *winner = path;
            best = fabsf(area);
        }
        return error;
    });
}

ASErr getArtOffset(AIArtHandle art)
{
    // The user's current layer is kept: new layers would take its place.
    AILayerHandle current = NULL;
    (void)sAILayer->GetCurrentLayer(&current);  // without one there is nothing to give back
    AILayerHandle temporary = NULL;
    ASErr error = sAILayer->InsertLayer(NULL, kPlaceAboveAll, &temporary);
    if (error != kNoErr) return error;

    AIArtHandle top = NULL, copy = NULL;
    error = sAIArt->GetFirstArtOfLayer(temporary, &top);
    if (error == kNoErr) error = sAIArt->DuplicateArt(art, kPlaceInsideOnTop, top, &copy);
    if (error == kNoErr) error = makeArtColorSame(copy);
    if (error == kNoErr) error = selectArtTree(copy, 1);
    // The wide stroke becomes area and everything merges into outlines.
    if (error == kNoErr) error = doLineWidthConfirm();
    AIArtHandle child = NULL;
    if (error == kNoErr) error = sAIArt->GetArtFirstChild(top, &child);
    while (error == kNoErr && child != NULL) {
        error = selectArtTree(child, 1);
        if (error == kNoErr) error = sAIArt->GetArtSibling(child, &child);
    }
    AIArtHandle winner = NULL;
    if (error == kNoErr) error = largestPath(temporary, &winner);
    if (error == kNoErr && winner != NULL) {
        AILayerHandle layer = NULL;
        AIArtHandle layerTop = NULL, group = NULL;
        error = offsetLayer(&layer);
        if (error == kNoErr) error = sAIArt->GetFirstArtOfLayer(layer, &layerTop);
        if (error == kNoErr) error = sAIArt->NewArt(kGroupArt, kPlaceInsideOnTop, layerTop, &group);
        if (error == kNoErr) error = setStrokeOnly(winner, 0, 0, 0, 1.0f);
        if (error == kNoErr) error = sAIArt->ReorderArt(winner, kPlaceInsideOnTop, group);
        if (error == kNoErr) error = sAIArt->SetArtUserAttr(group, kArtSelected, kArtSelected);
    }
    // The temporary layer goes on every road, with whatever is left on it.
    ASErr deleted = sAILayer->DeleteLayer(temporary);
    if (error == kNoErr) error = deleted;
    if (current != NULL) (void)sAILayer->SetCurrentLayer(current);  // a layer deleted meanwhile stays lost
    return error;
}

ASErr doOffset(void)
{
    AIArtHandle** matches = NULL;
    int32_t count = 0;
    ASErr error = selectedArt(kAnyArt, &matches, &count);
    for (int32_t i = 0; error == kNoErr && i < count; ++i) error = selectArtTree((*matches)[i], 0);
    // Only the first top-level object gets its contour.
    for (int32_t i = 0; error == kNoErr && i < count; ++i)
        if (isTopLevel((*matches)[i])) {
            error = getArtOffset((*matches)[i]);
            break;
        }
    freeMatches(matches);
    return error;
}
