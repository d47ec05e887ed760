// Loading the selection into the cut model, and the check of the selection and
// of the current plotter in front of every job.
#include "Core/CutModel.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <new>
#include <string>
#include <unordered_map>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "Core/UndoHistory.h"
#include "Core/VolumeHitTest.h"

void CopyNameField(char* field, size_t size, const char* name)
{
    if (field == NULL || size == 0) return;
    if (name == NULL) name = "";
    size_t n = strlen(name);
    if (n > size - 1) {
        n = size - 1;
        // Step back over UTF-8 continuation bytes: never half a character.
        while (n > 0 && ((unsigned char)name[n] & 0xC0) == 0x80) --n;
    }
    memcpy(field, name, n);
    field[n] = 0;
}

// ---- The selection ---------------------------------------------------------------

VT_NODISCARD static ASErr getSelection(AIArtHandle*** matches, int32_t* count)
{
    AIMatchingArtSpec spec;
    spec.type = kAnyArt;
    spec.whichAttr = kArtSelected;
    spec.attr = kArtSelected;
    *matches = NULL;
    *count = 0;
    return sMatchingArt->GetMatchingArt(&spec, 1, matches, count);
}

static void disposeSelection(AIArtHandle** matches)
{
    if (matches != NULL) sAIMdMemory->MdMemoryDisposeHandle((AIMdMemoryHandle)matches);
}

uint8_t isTopLevel(AIArtHandle art)
{
    AIArtHandle parent = NULL, root = NULL;
    AILayerHandle layer = NULL;
    if (sAIArt->GetArtParent(art, &parent)) return 0;
    if (sAIArt->GetLayerOfArt(art, &layer)) return 0;
    if (sAIArt->GetFirstArtOfLayer(layer, &root)) return 0;
    return parent != NULL && parent == root;
}

static uint8_t isLayerTitled(AILayerHandle layer, const char* title)
{
    char read[256];
    if (layer == NULL || sAILayer->GetLayerTitle(layer, read, sizeof read)) return 0;
    return strcmp(read, title) == 0;
}

static uint8_t isOnLayerTitled(AIArtHandle art, const char* title)
{
    AILayerHandle layer = NULL;
    if (sAIArt->GetLayerOfArt(art, &layer)) return 0;
    return isLayerTitled(layer, title);
}

uint8_t isMarksLayer(AILayerHandle layer) { return isLayerTitled(layer, kMarksLayerTitle); }

uint8_t isOnMarksLayer(AIArtHandle art) { return isOnLayerTitled(art, kMarksLayerTitle); }

uint8_t isInformationLayer(AILayerHandle layer) { return isLayerTitled(layer, kInformationLayerTitle); }

uint8_t isOnInformationLayer(AIArtHandle art) { return isOnLayerTitled(art, kInformationLayerTitle); }

// ---- What is cut ----------------------------------------------------------------------

int32_t volumeInJob(const Volume* volume)
{
    if (!(volume->flags & kVolumeVisible)) return kJobLeftOut;
    // The flag is set from the layer's title when the volume is loaded.
    if (volume->flags & kVolumeOnMarksLayer) return kJobPrintedOnly;
    return kJobCut;
}

int32_t ringInJob(const Volume* volume, int32_t ring)
{
    if (ring < 0 || ring >= volume->ringCount || volume->rings == NULL) return kJobLeftOut;
    if (volume->rings[ring].dotCut == kRingDotCutSource) return kJobLeftOut;
    return volumeInJob(volume);
}

uint8_t isDotCutVolume(const Volume* volume)
{
    for (int32_t i = 0; volume->rings != NULL && i < volume->ringCount; ++i)
        if (volume->rings[i].dotCut != kRingPlain) return 1;
    return 0;
}

// ---- The current plotter ------------------------------------------------------------

// The current plotter, its environment and pens, every entry of them.
static uint8_t loadCurrentPlotter(void)
{
    return readCurrentPlotterPreferences(&g->curPlotter, &g->curEnvironment, kPlotterPrefFullRead);
}

ASErr checkData(uint8_t checkSelection)
{
    AIArtHandle** matches = NULL;
    int32_t count = 0;
    ASErr result = kNoErr;

    if (checkSelection == 1) {
        result = getSelection(&matches, &count);
        // The start-point tool's markers are never part of a job: a selection
        // of nothing else is no selection.
        int32_t cuttable = 0;
        for (int32_t i = 0; result == kNoErr && i < count; ++i) {
            if (isOnInformationLayer((*matches)[i])) continue;
            cuttable++;
            int16_t type = kUnknownArt;
            sAIArt->GetArtType((*matches)[i], &type);
            if (type != kGroupArt && type != kPathArt && type != kCompoundPathArt) result = kUnsupportedArtErr;
        }
        if (result == kNoErr && cuttable == 0) result = kNothingSelectedErr;
        if (result != kNoErr) {
            disposeSelection(matches);
            return result;
        }
    }

    // A refused plotter leaves no pens behind.
    g->curPlotterValid = loadCurrentPlotter();
    if (!g->curPlotterValid) result = kNoCurrentPlotterErr;
    disposeSelection(matches);
    return result;
}

// ---- Loading ---------------------------------------------------------------------------

// What loading asks of the layer of the objects it loads. The selection comes
// in the art tree's order, a layer's objects one after another: the layer is
// read when the next object lies on another, not again for each object.
// Nothing changes a layer while the selection loads.
struct LayerAtHand {
    uint8_t read;          // 0 until a layer has been read
    AILayerHandle layer;
    AIArtHandle root;      // its root group; null when it cannot be read
    char title[256];       // "" when it cannot be read
    uint8_t information;   // the start-point tool's layer
    AIRGBColor color;      // black when it cannot be read
    const char* kept;      // the title kept for the job, taken on first need
};

static void readLayerAtHand(LayerAtHand* at)
{
    at->read = 1;
    at->root = NULL;
    at->title[0] = 0;
    at->information = 0;
    at->color = AIRGBColor{0, 0, 0};
    at->kept = NULL;
    if (at->layer == NULL) return;
    if (sAIArt->GetFirstArtOfLayer(at->layer, &at->root)) at->root = NULL;
    if (sAILayer->GetLayerTitle(at->layer, at->title, sizeof at->title) == kNoErr)
        at->information = strcmp(at->title, kInformationLayerTitle) == 0;
    else
        at->title[0] = 0;
    sAILayer->GetLayerColor(at->layer, &at->color);
}

// True for a top-level object (as isTopLevel), with *at its layer.
static uint8_t onLayerAtHand(AIArtHandle art, LayerAtHand* at)
{
    AIArtHandle parent = NULL;
    AILayerHandle layer = NULL;
    if (sAIArt->GetArtParent(art, &parent)) return 0;
    if (sAIArt->GetLayerOfArt(art, &layer)) return 0;
    if (!at->read || layer != at->layer) {
        at->layer = layer;
        readLayerAtHand(at);
    }
    return parent != NULL && parent == at->root;
}

VT_NODISCARD static ASErr loadVolumeOf(AIArtHandle art, LayerAtHand* layer);

// The volume array and the room the rings of the volume being loaded are
// gathered in grow by doubling, so that loading stays linear however many
// objects and rings a job has; outside loading every array of the job holds
// exactly its count. A capacity is known only for the array this file last
// grew of each kind; any other array is taken to be full.
struct Growth {
    void* array;
    int32_t capacity;
};

static Growth g_volumeGrowth = {NULL, 0};
// The rings of the volume being loaded are gathered in one room kept from
// volume to volume while a selection loads, and each volume takes an exact
// copy of its own: one block a volume, where growing and cutting back its own
// array cost a block and a resize of it.
static Growth g_ringRoom = {NULL, 0};

static void freeRingRoom()
{
    free(g_ringRoom.array);
    g_ringRoom.array = NULL;
    g_ringRoom.capacity = 0;
}

static void* growFor(void* array, int32_t count, size_t size, Growth* growth)
{
    if (array != NULL && array == growth->array && count < growth->capacity) return array;
    if (count >= INT32_MAX / 2) return NULL;
    int32_t capacity = count < 4 ? 4 : count * 2;
    if ((size_t)capacity > SIZE_MAX / size) return NULL;
    void* grown = realloc(array, (size_t)capacity * size);
    if (grown == NULL) return NULL;
    growth->array = grown;
    growth->capacity = capacity;
    return grown;
}

// A new array with room for capacity elements, grown from there by growFor;
// null when memory is short (growFor then starts one).
static void* reserveFor(int32_t capacity, size_t size, Growth* growth)
{
    capacity = std::max(capacity, 4);
    if ((size_t)capacity > SIZE_MAX / size) return NULL;
    void* block = malloc((size_t)capacity * size);
    if (block == NULL) return NULL;
    growth->array = block;
    growth->capacity = capacity;
    return block;
}

// Gives back the room beyond count (a failed shrink keeps the larger block).
static void* trimTo(void* array, int32_t count, size_t size, Growth* growth)
{
    growth->array = NULL;
    growth->capacity = 0;
    if (array == NULL || count <= 0) return array;
    void* trimmed = realloc(array, (size_t)count * size);
    return trimmed != NULL ? trimmed : array;
}

// The rooms ring segments are read into, one for each reader.
void freeSegmentRoom(SegmentRoom* room)
{
    free(room->beziers);
    free(room->anchors);
    memset(room, 0, sizeof *room);
}

static SegmentRoom g_segmentRooms[kSegmentReaderCount];

SegmentRoom* segmentRoom(int32_t reader) { return &g_segmentRooms[reader]; }

ASErr loadData(void* item)
{
    (void)item;
    AIArtHandle** matches = NULL;
    int32_t count = 0;
    releaseVolumeHitCache();
    releasePreviewCache();
    releaseCutLengthCache();
    g->volumes = NULL;
    g->volumeCount = 0;
    g_volumeGrowth.array = NULL;
    ASErr result = getSelection(&matches, &count);
    // Room for every selected object at once (most are top-level): the array
    // is then not copied as it grows, which would hold it twice for a moment.
    if (result == kNoErr && count > 0)
        g->volumes = (Volume*)reserveFor(count, sizeof(Volume), &g_volumeGrowth);
    if (result == kNoErr) {
        LayerAtHand layer;
        layer.read = 0;
        for (int32_t i = 0; i < count && result == kNoErr; ++i) {
            AIArtHandle art = (*matches)[i];
            if (onLayerAtHand(art, &layer) && !layer.information) result = loadVolumeOf(art, &layer);
        }
        g->volumes = (Volume*)trimTo(g->volumes, g->volumeCount, sizeof(Volume), &g_volumeGrowth);
        if (result == kNoErr) result = updateVolume();
    }
    disposeSelection(matches);
    freeSegmentRoom(segmentRoom(kSegmentsForLoading));
    freeRingRoom();
    // A job missing a volume, a ring or a segment would cut less than was
    // selected: after a failure nothing stays loaded.
    if (result != kNoErr) (void)freeData();
    return result;
}

// Art the user has hidden is not seen, so it is neither measured nor cut,
// also where it lies inside a group that is (a hidden sublayer, say).
static uint8_t isHiddenArt(AIArtHandle art)
{
    int32_t attr = 0;
    return sAIArt->GetArtUserAttr(art, kArtHidden, &attr) == kNoErr && (attr & kArtHidden) != 0;
}

// The bounds of a stroked path read with its stroke switched off; the stroke
// is switched back whatever the read gave.
VT_NODISCARD static ASErr boundsWithStrokeOff(AIArtHandle path, const AIPathStyle* style, AIRealRect* bounds,
                                              uint8_t* found)
{
    AIPathStyle off = *style;
    off.strokePaint = 0;
    ASErr error = sAIPathStyle->SetPathStyle(path, &off);
    if (error) return error;  // nothing switched; a read now would hold the stroke
    ASErr read = sAIArt->GetArtBounds(path, bounds);
    error = sAIPathStyle->SetPathStyle(path, style);
    if (read || error) memset(bounds, 0, sizeof *bounds);
    *found = !read && !error;
    return error;
}

ASErr GetArtBoundsWithoutStroke(AIArtHandle art, AIRealRect* bounds, uint8_t* found)
{
    int16_t type = kUnknownArt;
    memset(bounds, 0, sizeof *bounds);
    *found = 0;
    if (sAIArt->GetArtType(art, &type)) return kNoErr;
    if (type == kGroupArt || type == kCompoundPathArt) {
        // Each path inside keeps its own style: switch strokes off one path at
        // a time rather than imposing one style on the whole group.
        AIArtHandle child = NULL;
        sAIArt->GetArtFirstChild(art, &child);
        while (child != NULL) {
            AIRealRect r;
            uint8_t have = 0;
            ASErr error = isHiddenArt(child) ? kNoErr : GetArtBoundsWithoutStroke(child, &r, &have);
            if (error) {
                memset(bounds, 0, sizeof *bounds);
                *found = 0;
                return error;
            }
            if (have) {
                if (*found)
                    sAIRealMath->AIRealRectUnion(bounds, &r, bounds);
                else
                    *bounds = r;
                *found = 1;
            }
            if (sAIArt->GetArtSibling(child, &child)) break;
        }
        return kNoErr;
    }
    if (type == kPathArt) {
        int32_t n = 0;
        if (sAIPath->GetPathSegmentCount(art, &n) || n == 0) return kNoErr;
        AIPathStyle style;
        if (sAIPathStyle->GetPathStyle(art, &style) == kNoErr && style.strokePaint)
            return boundsWithStrokeOff(art, &style, bounds, found);
    }
    if (sAIArt->GetArtBounds(art, bounds)) {
        memset(bounds, 0, sizeof *bounds);
        return kNoErr;
    }
    *found = 1;
    return kNoErr;
}

static uint16_t channel(double value)
{
    // Truncated toward zero and kept to the low 8 bits, as the colour lists
    // have always shown them.
    return (uint16_t)((int32_t)value & 0xFF);
}

static void cmykToRGB(float c, float m, float y, float k, uint16_t (&rgb)[3])
{
    float ink[] = {c, m, y};
    for (int i = 0; i < 3; ++i) {
        float sum = ink[i] + k;
        rgb[i] = sum > 1.0f ? 0 : channel(255.0 * (1.0f - sum));
    }
}

void FillColorToRGB(const AIPathStyle* style, uint16_t (&rgb)[3], uint32_t* kind)
{
    if (!style->fillPaint) {
        *kind = kNoneColor;
        rgb[0] = rgb[1] = rgb[2] = 255;
        return;
    }
    const AIColor* color = &style->fill.color;
    *kind = (uint32_t)color->kind;
    switch (color->kind) {
    case kFourColor:
        cmykToRGB(color->c.f.cyan, color->c.f.magenta, color->c.f.yellow, color->c.f.black, rgb);
        break;
    case kGrayColor:
        rgb[0] = rgb[1] = rgb[2] = channel(255.0 * (1.0 - color->c.g.gray));
        break;
    case kThreeColor:
        rgb[0] = channel(255.0 * color->c.rgb.red);
        rgb[1] = channel(255.0 * color->c.rgb.green);
        rgb[2] = channel(255.0 * color->c.rgb.blue);
        break;
    case kCustomColor: {
        AICustomColor custom;
        if (sAICustomColor->GetCustomColor(color->c.c.color, &custom)) break;
        if (custom.kind == kCustomFourColor) {
            cmykToRGB(custom.c.f.cyan, custom.c.f.magenta, custom.c.f.yellow, custom.c.f.black, rgb);
        } else if (custom.kind == kCustomThreeColor) {
            rgb[0] = channel(255.0 * custom.c.rgb.red);
            rgb[1] = channel(255.0 * custom.c.rgb.green);
            rgb[2] = channel(255.0 * custom.c.rgb.blue);
        }
        break;
    }
    default:
        rgb[0] = rgb[1] = rgb[2] = 0;
        break;
    }
}

// The rings of a dot-cut group: the pieces are the paths the group holds
// after its first child; the first child is the source they were made from,
// one path or a whole tree of art, and everything in it is left uncut.
static void markDotCutRings(Volume* v)
{
    AIArtHandle source = NULL;
    if (sAIArt->GetArtFirstChild(v->art, &source)) source = NULL;
    for (int32_t i = 0; i < v->ringCount; ++i) {
        Ring* r = &v->rings[i];
        AIArtHandle parent = NULL;
        uint8_t piece = sAIArt->GetArtParent(r->art, &parent) == kNoErr && parent == v->art && r->art != source;
        r->dotCut = piece ? kRingDotCutPiece : kRingDotCutSource;
    }
}

// The layer titles of the loaded job, each kept once: a volume points at its
// layer's. Freed with the job.
static std::unordered_map<std::string, char*> g_layerTitles;

// The kept copy of a title (cut as a name field), made on first need; null
// when memory is short.
static const char* keptLayerTitle(const char* title)
{
    char field[256];
    CopyNameField(field, sizeof field, title);
    try {
        auto found = g_layerTitles.find(field);
        if (found != g_layerTitles.end()) return found->second;
        char* kept = strdup(field);
        if (kept == NULL) return NULL;
        g_layerTitles.emplace(field, kept);
        return kept;
    } catch (const std::bad_alloc&) {
        return NULL;
    }
}

static void freeLayerTitles()
{
    for (auto& title : g_layerTitles) free(title.second);
    g_layerTitles.clear();
}

const char* volumeLayerName(const Volume* volume) { return volume->layerName != NULL ? volume->layerName : ""; }


ASErr loadVolume(AIArtHandle art)
{
    LayerAtHand layer;
    layer.layer = NULL;
    if (sAIArt->GetLayerOfArt(art, &layer.layer) != kNoErr) layer.layer = NULL;
    readLayerAtHand(&layer);
    return loadVolumeOf(art, &layer);
}

VT_NODISCARD static ASErr loadVolumeOf(AIArtHandle art, LayerAtHand* layer)
{
    Volume* grown = (Volume*)growFor(g->volumes, g->volumeCount, sizeof(Volume), &g_volumeGrowth);
    if (grown == NULL) return kMemoryErr;
    g->volumes = grown;
    Volume* v = &g->volumes[g->volumeCount];
    // What is not set below starts at zero: not turned or mirrored, no rings yet.
    memset(v, 0, sizeof *v);
    g->volumeCount++;

    uint8_t dotCut = sAITag->GetTag(art, kTagDotCut, "string", NULL) == kNoErr;

    // A stroke that could not be switched back leaves the user's art changed:
    // that must not pass unseen, so the whole load stops.
    AIRealRect bounds;
    uint8_t found = 0;
    ASErr err = GetArtBoundsWithoutStroke(art, &bounds, &found);
    if (err != kNoErr) return err;
    v->rect[0] = bounds.left * kPointToMillimetreFloat;
    v->rect[1] = bounds.top * kPointToMillimetreFloat;
    v->rect[2] = bounds.right * kPointToMillimetreFloat;
    v->rect[3] = bounds.bottom * kPointToMillimetreFloat;
    memcpy(v->loadRect, v->rect, sizeof v->rect);
    memcpy(v->docRect, v->rect, sizeof v->rect);
    v->baseWidth = v->rect[2] - v->rect[0];
    v->baseHeight = v->rect[1] - v->rect[3];

    v->precision = g->Precious;
    v->fitType = g->FitType;
    v->index = g->volumeCount;
    if (layer->kept == NULL) layer->kept = keptLayerTitle(layer->title);
    v->layerName = layer->kept;
    if (v->layerName == NULL) return kMemoryErr;
    v->layerColor[0] = layer->color.red;
    v->layerColor[1] = layer->color.green;
    v->layerColor[2] = layer->color.blue;
    // Art without a path has no fill to take a colour from.
    v->colorKind = kNoneColor;
    v->colorRGB[0] = v->colorRGB[1] = v->colorRGB[2] = 255;
    v->art = art;
    v->scaleX = v->scaleY = 1.0;
    v->copiesX = v->copiesY = 1;
    v->gapX = v->gapY = 3.0;
    v->flags = kVolumeSelected | kVolumeVisible;

    v->rings = (Ring*)g_ringRoom.array;
    err = loadRing(art);
    v = &g->volumes[g->volumeCount - 1];
    Ring* gathered = v->rings;
    v->rings = NULL;
    if (gathered != NULL && v->ringCount > 0) {
        v->rings = (Ring*)malloc((size_t)v->ringCount * sizeof(Ring));
        if (v->rings == NULL) {
            v->ringCount = 0;
            return kMemoryErr;
        }
        memcpy(v->rings, gathered, (size_t)v->ringCount * sizeof(Ring));
    }
    if (err == kMemoryErr) return err;
    if (dotCut)
        markDotCutRings(v);
    else
        (void)sortRing(v->rings, v->ringCount);  // only reorders: cannot fail
    if (strcmp(volumeLayerName(v), kMarksLayerTitle) == 0) v->flags |= kVolumeOnMarksLayer;
    // A host error ends the walk of one group and the rings read so far are
    // cut, as the host has them; running out of memory stops the whole load.
    return kNoErr;
}

static Ring* appendRing(Volume* v, AIArtHandle art, uint16_t kind)
{
    Ring* grown = (Ring*)growFor(v->rings, v->ringCount, sizeof(Ring), &g_ringRoom);
    if (grown == NULL) return NULL;
    v->rings = grown;
    Ring* r = &v->rings[v->ringCount++];
    memset(r, 0, sizeof *r);
    r->art = art;
    r->kind = kind;
    return r;
}

ASErr loadRing(AIArtHandle art)
{
    Volume* v = &g->volumes[g->volumeCount - 1];
    int16_t type = kUnknownArt;
    ASErr err = sAIArt->GetArtType(art, &type);
    if (err) return err;

    if (type == kPathArt) {
        Ring* r = appendRing(v, art, kRingPath);
        if (r == NULL) return kMemoryErr;
        AIReal area = 0;
        err = sAIPath->GetPathArea(art, &area);
        r->area = area;
        AIPathStyle style;
        if (sAIPathStyle->GetPathStyle(art, &style) == kNoErr) FillColorToRGB(&style, v->colorRGB, &v->colorKind);
        if (loadBezier(art) == kMemoryErr) return kMemoryErr;
        return err;
    }
    if (type == kGroupArt || type == kCompoundPathArt) {
        AIArtHandle child = NULL;
        err = sAIArt->GetArtFirstChild(art, &child);
        while (err == kNoErr && child != NULL) {
            if (!isHiddenArt(child)) err = loadRing(child);
            if (err) break;
            err = sAIArt->GetArtSibling(child, &child);
        }
        return err;
    }
    return appendRing(v, art, kRingOtherArt) ? ASErr(kNoErr) : ASErr(kMemoryErr);
}



// The segments of a path of n anchors as the cut model holds them: anchor i
// to the next (to anchor 0 after the last when closed), in millimetres, less
// the origin.
static void segmentsOfPath(const AIPathSegment* seg, int32_t n, AIBoolean closed, float originX, float originY,
                           bezier_stru* out)
{
    int32_t count = 0;
    for (int32_t i = 0; i < n; ++i) {
        int32_t next = i + 1;
        if (next == n) {
            if (!closed) break;
            next = 0;
        }
        bezier_stru* b = &out[count++];
        b->degree = 3;
        b->P[0][0] = seg[i].p.h * kPointToMillimetre;
        b->P[0][1] = seg[i].p.v * kPointToMillimetre;
        b->P[1][0] = seg[i].out.h * kPointToMillimetre;
        b->P[1][1] = seg[i].out.v * kPointToMillimetre;
        b->P[2][0] = seg[next].in.h * kPointToMillimetre;
        b->P[2][1] = seg[next].in.v * kPointToMillimetre;
        b->P[3][0] = seg[next].p.h * kPointToMillimetre;
        b->P[3][1] = seg[next].p.v * kPointToMillimetre;
        for (int p = 0; p < 4; ++p) {
            b->P[p][0] -= originX;
            b->P[p][1] -= originY;
        }
    }
}

// Grows *block to hold n elements of size; false when memory is short.
static bool roomFor(void** block, int32_t* room, int32_t n, size_t size)
{
    if (n <= *room) return true;
    void* grown = realloc(*block, (size_t)n * size);
    if (grown == NULL) return false;
    *block = grown;
    *room = n;
    return true;
}

// The anchors of a path read into room; false (nothing read) when the path
// has fewer than two or they cannot be read, or memory is short (*short_ set).
static bool readAnchors(AIArtHandle art, SegmentRoom* room, int32_t* n, AIBoolean* closed, bool* memoryShort)
{
    *memoryShort = false;
    if (sAIPath->GetPathClosed(art, closed) || sAIPath->GetPathSegmentCount(art, n) || *n < 2) return false;
    if (!roomFor((void**)&room->anchors, &room->anchorRoom, *n, sizeof(AIPathSegment))) {
        *memoryShort = true;
        return false;
    }
    return sAIPath->GetPathSegments(art, 0, *n, room->anchors) == kNoErr;
}

ASErr loadBezier(AIArtHandle art)
{
    Volume* v = &g->volumes[g->volumeCount - 1];
    if (v->ringCount == 0) return kNoErr;
    Ring* r = &v->rings[v->ringCount - 1];
    // The segments stay the path's: only their count is kept, and the anchors
    // are read when the segments are needed (ringSegments). A path of fewer
    // than two anchors, or whose anchors cannot be counted, has none to cut.
    // The room they will be read into is made now: a job whose paths cannot
    // be read for want of memory is refused whole when it opens.
    AIBoolean closed = 0;
    int32_t n = 0;
    if (sAIPath->GetPathClosed(art, &closed) || sAIPath->GetPathSegmentCount(art, &n) || n < 2) return kNoErr;
    SegmentRoom* room = segmentRoom(kSegmentsForLoading);
    if (!roomFor((void**)&room->anchors, &room->anchorRoom, n, sizeof(AIPathSegment))) return kMemoryErr;
    r->count += closed ? n : n - 1;
    return kNoErr;
}

ASErr ringSegments(const Ring* ring, SegmentRoom* room, const bezier_stru** segments)
{
    *segments = ring->beziers;
    if (ring->beziers != NULL || ring->kind != kRingPath || ring->count <= 0) return kNoErr;
    AIBoolean closed = 0;
    int32_t n = 0;
    bool memoryShort = false;
    if (!readAnchors(ring->art, room, &n, &closed, &memoryShort)) return memoryShort ? kMemoryErr : kNoErr;
    // A path changed since it was loaded is not the ring any more.
    if ((closed ? n : n - 1) != ring->count) return kNoErr;
    if (!roomFor((void**)&room->beziers, &room->bezierRoom, ring->count, sizeof(bezier_stru))) return kMemoryErr;
    segmentsOfPath(room->anchors, n, closed, ring->originX, ring->originY, room->beziers);
    *segments = room->beziers;
    return kNoErr;
}

// Largest absolute area first; equal areas stay in the order they came. The
// sort takes scratch room when it can and sorts in place, more slowly, when
// memory is short, so it cannot fail.
ASErr sortRing(Ring* rings, int32_t count)
{
    if (rings == NULL || count < 2) return kNoErr;
    std::stable_sort(rings, rings + count, [](const Ring& a, const Ring& b) { return fabsf(a.area) > fabsf(b.area); });
    return kNoErr;
}

ASErr updateVolume(void)
{
    if (g->volumeCount <= 0) {
        // Nothing top-level was selected: an empty job at the origin.
        memset(g->volumesBounds, 0, sizeof g->volumesBounds);
        return kNoErr;
    }
    AIRealRect all;
    memcpy(&all, g->volumes[0].rect, sizeof all);
    for (int32_t i = 1; i < g->volumeCount; ++i) {
        AIRealRect r;
        memcpy(&r, g->volumes[i].rect, sizeof r);
        sAIRealMath->AIRealRectUnion(&all, &r, &all);
    }
    memcpy(g->volumesBounds, &all, sizeof all);

    for (int32_t i = 0; i < g->volumeCount; ++i) {
        Volume* v = &g->volumes[i];
        for (int32_t k = 0; k < v->ringCount; ++k) {
            Ring* r = &v->rings[k];
            r->originX = v->rect[0];
            r->originY = v->rect[3];
        }
    }
    for (int32_t i = 0; i < g->volumeCount; ++i) {
        Volume* v = &g->volumes[i];
        float* rects[] = {v->rect, v->loadRect};
        for (int k = 0; k < 2; ++k) {
            rects[k][0] -= all.left;
            rects[k][2] -= all.left;
            rects[k][1] -= all.bottom;
            rects[k][3] -= all.bottom;
        }
    }
    int32_t counter = 1;
    for (int32_t i = 0; i < g->volumeCount; ++i)
        if (strcmp(volumeLayerName(&g->volumes[i]), kMarksLayerTitle) != 0) g->volumes[i].index = counter++;
    return kNoErr;
}

ASErr freeRing(Ring* ring)
{
    free(ring->beziers);
    ring->beziers = NULL;
    ring->count = 0;
    return kNoErr;
}

ASErr freeVolume(Volume* volume)
{
    for (int32_t i = 0; i < volume->ringCount; ++i) (void)freeRing(&volume->rings[i]);  // freeing cannot fail
    free(volume->rings);
    volume->rings = NULL;
    volume->ringCount = 0;
    return kNoErr;
}

ASErr freeData(void)
{
    // The pick outlines, the preview's pictures and the ring lengths are kept
    // by ring address; a new job may get the same addresses.
    releaseVolumeHitCache();
    releasePreviewCache();
    releaseCutLengthCache();
    for (int32_t i = 0; i < g->volumeCount; ++i) (void)freeVolume(&g->volumes[i]);  // freeing cannot fail
    free(g->volumes);
    g->volumes = NULL;
    g->volumeCount = 0;
    g_volumeGrowth.array = NULL;
    freeRingRoom();
    for (int32_t reader = 0; reader < kSegmentReaderCount; ++reader) freeSegmentRoom(segmentRoom(reader));
    freeLayerTitles();
    return kNoErr;
}

// ---- Paths as bezier lists in document points ---------------------------------------

ASErr GetArtBezier(AIArtHandle art, bezier_stru** beziers, int32_t* count)
{
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type) || type != kPathArt) return kNoErr;
    AIBoolean closed = 0;
    int32_t n = 0;
    *beziers = NULL;
    *count = 0;
    if (sAIPath->GetPathClosed(art, &closed) || sAIPath->GetPathSegmentCount(art, &n) || n < 2) return kNoErr;
    int32_t m = closed ? n : n - 1;
    AIPathSegment* seg = (AIPathSegment*)malloc((size_t)n * sizeof(AIPathSegment));
    bezier_stru* out = (bezier_stru*)calloc((size_t)m, sizeof(bezier_stru));
    if (seg == NULL || out == NULL || sAIPath->GetPathSegments(art, 0, n, seg)) {
        free(seg);
        free(out);
        return kNoErr;
    }
    for (int32_t i = 0; i < m; ++i) {
        int32_t next = (i + 1) % n;
        bezier_stru* b = &out[i];
        b->degree = 3;
        b->P[0][0] = seg[i].p.h;
        b->P[0][1] = seg[i].p.v;
        b->P[1][0] = seg[i].out.h;
        b->P[1][1] = seg[i].out.v;
        b->P[2][0] = seg[next].in.h;
        b->P[2][1] = seg[next].in.v;
        b->P[3][0] = seg[next].p.h;
        b->P[3][1] = seg[next].p.v;
    }
    free(seg);
    *beziers = out;
    *count = m;
    return kNoErr;
}

// The list grows by doubling while one call walks the art, and is cut back
// to its count when that call returns: the caller holds an exact array.
static Growth g_polyGrowth = {NULL, 0};

static ASErr appendPolyBeziers(AIArtHandle art, UDT_PolyBezier** list, int32_t* count)
{
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type)) return kNoErr;
    ASErr error = kNoErr;
    if (type == kPathArt) {
        UDT_PolyBezier* grown = (UDT_PolyBezier*)growFor(*list, *count, sizeof(UDT_PolyBezier), &g_polyGrowth);
        if (grown == NULL) return kNoErr;
        *list = grown;
        UDT_PolyBezier* entry = &grown[(*count)++];
        memset(entry, 0, sizeof *entry);
        error = GetArtBezier(art, &entry->bezier, &entry->count);
    } else if (type == kGroupArt || type == kCompoundPathArt) {
        AIArtHandle child = NULL;
        sAIArt->GetArtFirstChild(art, &child);
        while (error == kNoErr && child != NULL) {
            error = appendPolyBeziers(child, list, count);
            if (sAIArt->GetArtSibling(child, &child)) break;
        }
    }
    return error;
}

ASErr loadPloyBezier(AIArtHandle art, UDT_PolyBezier** list, int32_t* count)
{
    g_polyGrowth.array = NULL;
    ASErr error = appendPolyBeziers(art, list, count);
    *list = (UDT_PolyBezier*)trimTo(*list, *count, sizeof(UDT_PolyBezier), &g_polyGrowth);
    return error;
}
