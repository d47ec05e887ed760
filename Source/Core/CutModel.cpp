// Loading the selection into the cut model, and the check of the selection and
// of the current plotter in front of every job.
#include "Core/CutModel.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/ReDrawPlotOutPreview.h"
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

static ASErr getSelection(AIArtHandle*** matches, int32_t* count)
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
        if (result == kNoErr && count == 0) result = '!Sel';
        for (int32_t i = 0; result == kNoErr && i < count; ++i) {
            int16_t type = kUnknownArt;
            sAIArt->GetArtType((*matches)[i], &type);
            if (type != kGroupArt && type != kPathArt && type != kCompoundPathArt) result = '!tpe';
        }
        if (result != kNoErr) {
            disposeSelection(matches);
            return result;
        }
    }

    // A refused plotter leaves no pens behind.
    g->curPlotterValid = loadCurrentPlotter();
    if (!g->curPlotterValid) result = '!cur';
    disposeSelection(matches);
    return result;
}

// ---- Loading ---------------------------------------------------------------------------

ASErr loadData(void* item)
{
    (void)item;
    AIArtHandle** matches = NULL;
    int32_t count = 0;
    releaseVolumeHitCache();
    releasePreviewCache();
    g->volumes = NULL;
    g->volumeCount = 0;
    ASErr result = getSelection(&matches, &count);
    if (result == kNoErr) {
        for (int32_t i = 0; i < count; ++i)
            if (isTopLevel((*matches)[i])) loadVolume((*matches)[i]);
        updateVolume();
    }
    disposeSelection(matches);
    return result;
}

uint8_t GetArtBoundsWithoutStroke(AIArtHandle art, AIRealRect* bounds)
{
    int16_t type = kUnknownArt;
    memset(bounds, 0, sizeof *bounds);
    if (sAIArt->GetArtType(art, &type)) return 0;
    if (type == kGroupArt || type == kCompoundPathArt) {
        // Each path inside keeps its own style: switch strokes off one path at
        // a time rather than imposing one style on the whole group.
        uint8_t have = 0;
        AIArtHandle child = NULL;
        sAIArt->GetArtFirstChild(art, &child);
        while (child != NULL) {
            AIRealRect r;
            if (GetArtBoundsWithoutStroke(child, &r)) {
                if (have)
                    sAIRealMath->AIRealRectUnion(bounds, &r, bounds);
                else
                    *bounds = r;
                have = 1;
            }
            if (sAIArt->GetArtSibling(child, &child)) break;
        }
        return have;
    }
    if (type == kPathArt) {
        int32_t n = 0;
        if (sAIPath->GetPathSegmentCount(art, &n) || n == 0) return 0;
        AIPathStyle style;
        if (sAIPathStyle->GetPathStyle(art, &style) == kNoErr && style.strokePaint) {
            AIPathStyle off = style;
            off.strokePaint = 0;
            sAIPathStyle->SetPathStyle(art, &off);
            ASErr err = sAIArt->GetArtBounds(art, bounds);
            // Switched back whatever the read gave.
            sAIPathStyle->SetPathStyle(art, &style);
            if (err) memset(bounds, 0, sizeof *bounds);
            return err == kNoErr;
        }
    }
    if (sAIArt->GetArtBounds(art, bounds)) {
        memset(bounds, 0, sizeof *bounds);
        return 0;
    }
    return 1;
}

static uint16_t channel(double value)
{
    // Truncated toward zero and kept to the low 8 bits, as the colour lists
    // have always shown them.
    return (uint16_t)((int32_t)value & 0xFF);
}

static void cmykToRGB(float c, float m, float y, float k, uint16_t rgb[3])
{
    float ink[3] = {c, m, y};
    for (int i = 0; i < 3; ++i) {
        float sum = ink[i] + k;
        rgb[i] = sum > 1.0f ? 0 : channel(255.0 * (1.0f - sum));
    }
}

void FillColorToRGB(const AIPathStyle* style, uint16_t rgb[3], uint32_t* kind)
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

ASErr loadVolume(AIArtHandle art)
{
    Volume* grown = (Volume*)realloc(g->volumes, (size_t)(g->volumeCount + 1) * sizeof(Volume));
    if (grown == NULL) return '!Mem';
    g->volumes = grown;
    Volume* v = &g->volumes[g->volumeCount];
    memset(v, 0, sizeof *v);
    g->volumeCount++;

    char title[256] = "";
    AILayerHandle layer = NULL;
    if (sAIArt->GetLayerOfArt(art, &layer) == kNoErr) sAILayer->GetLayerTitle(layer, title, sizeof title);
    uint8_t dotCut = sAITag->GetTag(art, kDotCutTag, "string", NULL) == kNoErr;

    AIRealRect bounds;
    GetArtBoundsWithoutStroke(art, &bounds);
    v->rect[0] = bounds.left * kPointToMMFloat;
    v->rect[1] = bounds.top * kPointToMMFloat;
    v->rect[2] = bounds.right * kPointToMMFloat;
    v->rect[3] = bounds.bottom * kPointToMMFloat;
    memcpy(v->loadRect, v->rect, sizeof v->rect);
    memcpy(v->docRect, v->rect, sizeof v->rect);
    v->baseWidth = v->rect[2] - v->rect[0];
    v->baseHeight = v->rect[1] - v->rect[3];
    v->rotMinX = v->rotMinY = 0.0;

    v->precision = g->Precious;
    v->fitType = g->FitType;
    v->index = g->volumeCount;
    CopyNameField(v->layerName, sizeof v->layerName, title);
    AIRGBColor layerColor = {0, 0, 0};
    if (layer != NULL) sAILayer->GetLayerColor(layer, &layerColor);
    v->layerColor[0] = layerColor.red;
    v->layerColor[1] = layerColor.green;
    v->layerColor[2] = layerColor.blue;
    // Art without a path has no fill to take a colour from.
    v->colorKind = kNoneColor;
    v->colorRGB[0] = v->colorRGB[1] = v->colorRGB[2] = 255;
    v->art = art;
    v->mirror = 0;
    v->angle = 0.0;
    v->scaleX = v->scaleY = 1.0;
    v->copiesX = v->copiesY = 1;
    v->gapX = v->gapY = 3.0;
    v->flags = kVolumeSelected | kVolumeVisible;
    v->rings = NULL;
    v->ringCount = 0;

    loadRing(art);
    v = &g->volumes[g->volumeCount - 1];
    if (!dotCut) sortRing(v->rings, v->ringCount);
    if (strcmp(v->layerName, kMarksLayerTitle) == 0) v->flags |= kVolumeOnMarksLayer;
    return kNoErr;
}

static Ring* appendRing(Volume* v, AIArtHandle art, uint16_t kind)
{
    Ring* grown = (Ring*)realloc(v->rings, (size_t)(v->ringCount + 1) * sizeof(Ring));
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
        if (r == NULL) return '!Mem';
        AIReal area = 0;
        err = sAIPath->GetPathArea(art, &area);
        r->area = area;
        AIPathStyle style;
        if (sAIPathStyle->GetPathStyle(art, &style) == kNoErr) FillColorToRGB(&style, v->colorRGB, &v->colorKind);
        loadBezier(art);
        return err;
    }
    if (type == kGroupArt || type == kCompoundPathArt) {
        AIArtHandle child = NULL;
        err = sAIArt->GetArtFirstChild(art, &child);
        while (err == kNoErr && child != NULL) {
            err = loadRing(child);
            if (err) break;
            err = sAIArt->GetArtSibling(child, &child);
        }
        return err;
    }
    return appendRing(v, art, kRingOtherArt) ? kNoErr : '!Mem';
}

ASErr loadBezier(AIArtHandle art)
{
    Volume* v = &g->volumes[g->volumeCount - 1];
    if (v->ringCount == 0) return kNoErr;
    Ring* r = &v->rings[v->ringCount - 1];
    AIBoolean closed = 0;
    int32_t n = 0;
    if (sAIPath->GetPathClosed(art, &closed) || sAIPath->GetPathSegmentCount(art, &n)) return kNoErr;
    // A path of fewer than two anchors has no outline to cut.
    if (n < 2) return kNoErr;
    AIPathSegment* seg = (AIPathSegment*)malloc((size_t)n * sizeof(AIPathSegment));
    if (seg == NULL) return kNoErr;
    if (sAIPath->GetPathSegments(art, 0, n, seg) == kNoErr) {
        for (int32_t i = 0; i < n; ++i) {
            int32_t next = i + 1;
            if (next == n) {
                if (!closed) break;
                next = 0;
            }
            bezier_stru* grown = (bezier_stru*)realloc(r->beziers, (size_t)(r->count + 1) * sizeof(bezier_stru));
            if (grown == NULL) break;
            r->beziers = grown;
            bezier_stru* b = &r->beziers[r->count++];
            b->degree = 3;
            b->P[0][0] = seg[i].p.h * kPointToMM;
            b->P[0][1] = seg[i].p.v * kPointToMM;
            b->P[1][0] = seg[i].out.h * kPointToMM;
            b->P[1][1] = seg[i].out.v * kPointToMM;
            b->P[2][0] = seg[next].in.h * kPointToMM;
            b->P[2][1] = seg[next].in.v * kPointToMM;
            b->P[3][0] = seg[next].p.h * kPointToMM;
            b->P[3][1] = seg[next].p.v * kPointToMM;
        }
    }
    free(seg);
    return kNoErr;
}

ASErr sortRing(Ring* rings, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        for (int32_t j = i + 1; j < count; ++j)
            if (fabsf(rings[j].area) > fabsf(rings[i].area)) {
                Ring t = rings[i];
                rings[i] = rings[j];
                rings[j] = t;
            }
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
        for (int32_t k = 0; k < v->ringCount; ++k)
            for (int32_t b = 0; b < v->rings[k].count; ++b)
                for (int p = 0; p < 4; ++p) {
                    v->rings[k].beziers[b].P[p][0] -= v->rect[0];
                    v->rings[k].beziers[b].P[p][1] -= v->rect[3];
                }
    }
    for (int32_t i = 0; i < g->volumeCount; ++i) {
        Volume* v = &g->volumes[i];
        float* rects[2] = {v->rect, v->loadRect};
        for (int k = 0; k < 2; ++k) {
            rects[k][0] -= all.left;
            rects[k][2] -= all.left;
            rects[k][1] -= all.bottom;
            rects[k][3] -= all.bottom;
        }
    }
    int32_t counter = 1;
    for (int32_t i = 0; i < g->volumeCount; ++i)
        if (strcmp(g->volumes[i].layerName, kMarksLayerTitle) != 0) g->volumes[i].index = counter++;
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
    for (int32_t i = 0; i < volume->ringCount; ++i) freeRing(&volume->rings[i]);
    free(volume->rings);
    volume->rings = NULL;
    volume->ringCount = 0;
    return kNoErr;
}

ASErr freeData(void)
{
    // The pick outlines and the preview's pictures are kept by ring array; a
    // new job may get the same addresses.
    releaseVolumeHitCache();
    releasePreviewCache();
    for (int32_t i = 0; i < g->volumeCount; ++i) freeVolume(&g->volumes[i]);
    free(g->volumes);
    g->volumes = NULL;
    g->volumeCount = 0;
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

ASErr loadPloyBezier(AIArtHandle art, UDT_PolyBezier** list, int32_t* count)
{
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type)) return kNoErr;
    if (type == kPathArt) {
        UDT_PolyBezier* grown = (UDT_PolyBezier*)realloc(*list, (size_t)(*count + 1) * sizeof(UDT_PolyBezier));
        if (grown == NULL) return kNoErr;
        *list = grown;
        UDT_PolyBezier* entry = &grown[(*count)++];
        memset(entry, 0, sizeof *entry);
        GetArtBezier(art, &entry->bezier, &entry->count);
    } else if (type == kGroupArt || type == kCompoundPathArt) {
        AIArtHandle child = NULL;
        sAIArt->GetArtFirstChild(art, &child);
        while (child != NULL) {
            loadPloyBezier(child, list, count);
            if (sAIArt->GetArtSibling(child, &child)) break;
        }
    }
    return kNoErr;
}
