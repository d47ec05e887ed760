// Registration marks: the marks layer, its marks, the copies of the art and
// the command text the cutter reads before every job.
#include "Core/MarkSetting.h"

#include <locale.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/StrokeStyle.h"
#include "Core/ValueReader.h"

// Micrometres to document points, as the marks are drawn.
static double markPoints(int32_t micrometres) { return micrometres * 0.001 * kMillimetreToPoint; }

// The corner-mark sizes in points.
struct MarkSizes {
    double L;  // arm length
    double M;  // gap between the art and the marks
    double S;  // gap between copies
};

static MarkSizes markSizes(void)
{
    MarkSizes s = {markPoints(g->markLength), markPoints(g->markMargin), markPoints(g->markSpace)};
    return s;
}

static AIPathSegment anchorAt(double x, double y) { return cornerAnchor((AIReal)x, (AIReal)y); }

static ASErr styleMark(AIArtHandle path, int32_t thickness)
{
    return setStrokeOnly(path, 0, 0, 0, (AIReal)markPoints(thickness));
}

ASErr SetAASPathStyle(AIArtHandle path) { return styleMark(path, g->markThickness); }

// One open mark path of count anchors, on top inside group, not yet styled.
static ASErr newMarkPath(AIArtHandle group, const AIPathSegment* anchors, int32_t count, AIArtHandle* path)
{
    *path = NULL;
    ASErr err = sAIArt->NewArt(kPathArt, kPlaceInsideOnTop, group, path);
    if (!err) err = sAIPath->SetPathSegmentCount(*path, count);
    if (!err) err = sAIPath->SetPathSegments(*path, 0, count, anchors);
    return err;
}

// A mark of the marks' own thickness.
static ASErr newMark(AIArtHandle group, const AIPathSegment* anchors, int32_t count)
{
    AIArtHandle path = NULL;
    ASErr err = newMarkPath(group, anchors, count, &path);
    if (!err) err = SetAASPathStyle(path);
    return err;
}

static ASErr newLine(AIArtHandle group, double x1, double y1, double x2, double y2)
{
    AIPathSegment s[] = {anchorAt(x1, y1), anchorAt(x2, y2)};
    return newMark(group, s, 2);
}

static ASErr newCorner(AIArtHandle group, double x1, double y1, double cx, double cy, double x2, double y2)
{
    AIPathSegment s[] = {anchorAt(x1, y1), anchorAt(cx, cy), anchorAt(x2, y2)};
    return newMark(group, s, 3);
}

ASErr Make4PtPosition(AIArtHandle group, AIRealRect rect, uint8_t firstCopy)
{
    (void)firstCopy;  // every copy gets its own start mark
    MarkSizes s = markSizes();
    double left = rect.left, right = rect.right, top = rect.top, bottom = rect.bottom;
    double xl = left - s.M - s.L, xr = right + s.M + s.L;
    double yb = bottom - s.M - s.L, yt = top + s.M + s.L;
    // Each corner's arms run along the outer frame towards the art's side.
    ASErr err = newCorner(group, left - s.M, yt, xl, yt, xl, top + s.M);
    if (!err) err = newCorner(group, right + s.M, yt, xr, yt, xr, top + s.M);
    if (!err) err = newCorner(group, left - s.M, yb, xl, yb, xl, bottom - s.M);
    if (!err) err = newCorner(group, right + s.M, yb, xr, yb, xr, bottom - s.M);
    if (!err) {
        // The start mark is drawn thin whatever the marks' thickness.
        AIPathSegment start[] = {anchorAt(xl, yb), anchorAt(xl + kMarkStartMarkRun, yb + kMarkStartMarkRun)};
        AIArtHandle path = NULL;
        err = newMarkPath(group, start, 2, &path);
        if (!err) err = styleMark(path, kMarkStartMarkThickness);
    }
    return err;
}

ASErr MakeSegmentPosition(AIArtHandle group, AIRealRect rect, int32_t* segmentCode)
{
    *segmentCode = 0;
    float L = (float)markPoints(g->markLength), M = (float)markPoints(g->markMargin);
    float xStep = (float)markPoints(g->markXStep), yStep = (float)markPoints(g->markYStep);
    float xl = rect.left - M - L, xr = rect.right + M + L;
    float yb = rect.bottom - M - L, yt = rect.top + M + L;
    ASErr err = kNoErr;
    // A step too small to move a far-off position ends the row.
    if (xStep > 0.0f) {
        for (float x = xl + xStep; err == kNoErr && x <= xr - kMarkSegmentEndGap;) {
            err = newLine(group, x - L, yt, x + L, yt);
            if (!err) err = newLine(group, x, yt, x, yt - L);
            if (!err) err = newLine(group, x - L, yb, x + L, yb);
            if (!err) err = newLine(group, x, yb, x, yb + L);
            if (!err) *segmentCode |= kMarkSegmentsTopBottom;
            float next = x + xStep;
            if (next == x) break;
            x = next;
        }
    }
    if (yStep > 0.0f) {
        for (float y = yt - yStep; err == kNoErr && y >= yb + kMarkSegmentEndGap;) {
            err = newLine(group, xl, y - L, xl, y + L);
            if (!err) err = newLine(group, xl, y, xl + L, y);
            if (!err) err = newLine(group, xr, y - L, xr, y + L);
            if (!err) err = newLine(group, xr, y, xr - L, y);
            if (!err) *segmentCode |= kMarkSegmentsLeftRight;
            float next = y - yStep;
            if (next == y) break;
            y = next;
        }
    }
    return err;
}

// The distance from one copy of the grid to the next, in single precision.
static void copyPitch(AIRealRect rect, float* pitchX, float* pitchY)
{
    float L = (float)markPoints(g->markLength), M = (float)markPoints(g->markMargin);
    float S = (float)markPoints(g->markSpace);
    *pitchX = (rect.right - rect.left) + M + L + S + L + M;
    *pitchY = (rect.top - rect.bottom) + M + L + S + L + M;
}

ASErr MakeMultipleCopyAAS(AIArtHandle group, AIRealRect rect)
{
    float pitchX, pitchY;
    copyPitch(rect, &pitchX, &pitchY);
    ASErr err = kNoErr;
    for (int32_t i = 0; err == kNoErr && i < g->markXCopies; i++) {
        for (int32_t j = 0; err == kNoErr && j < g->markYCopies; j++) {
            AIRealRect at = rect;
            at.left += i * pitchX;
            at.right += i * pitchX;
            at.bottom += j * pitchY;
            at.top += j * pitchY;
            err = Make4PtPosition(group, at, i == 0 && j == 0);
        }
    }
    return err;
}

// The root group of the top-most marks layer. While new marks are made the
// earlier marks layer is still there, below the new one, which was put above
// all layers.
static AIArtHandle topMarksLayerRoot(void)
{
    int32_t count = 0;
    if (sAILayer->CountLayers(&count)) return NULL;
    for (int32_t i = 0; i < count; i++) {
        AILayerHandle layer = NULL;
        AIArtHandle root = NULL;
        if (sAILayer->GetNthLayer(i, &layer) || !isMarksLayer(layer)) continue;
        if (sAIArt->GetFirstArtOfLayer(layer, &root)) return NULL;
        return root;
    }
    return NULL;
}

// Copies the selected top-level art into the marks layer for every grid
// position but the first. Art of a marks layer (the earlier one, still there
// while the new one is made) is never copied.
ASErr DoArtMatrixCopy(AIRealRect rect)
{
    AIArtHandle root = topMarksLayerRoot();
    if (root == NULL) return kNoErr;
    AIMatchingArtSpec spec = {kAnyArt, kArtSelected, kArtSelected};
    AIArtHandle** matches = NULL;
    int32_t n = 0;
    ASErr err = sMatchingArt->GetMatchingArt(&spec, 1, &matches, &n);
    if (err || matches == NULL) return err;
    float pitchX, pitchY;
    copyPitch(rect, &pitchX, &pitchY);
    for (int32_t k = 0; err == kNoErr && k < n; k++) {
        AIArtHandle art = (*matches)[k];
        if (!isTopLevel(art) || isOnMarksLayer(art)) continue;
        for (int32_t i = 0; err == kNoErr && i < g->markXCopies; i++) {
            for (int32_t j = 0; err == kNoErr && j < g->markYCopies; j++) {
                if (i == 0 && j == 0) continue;
                AIArtHandle copy = NULL;
                err = sAIArt->DuplicateArt(art, kPlaceInsideOnTop, root, &copy);
                if (err) break;
                AIRealMatrix move = {1, 0, 0, 1, i * pitchX, j * pitchY};
                err = sAITransformArt->TransformArt(copy, &move, 1.0f, kTransformObjects);
            }
        }
    }
    (void)sAIMdMemory->MdMemoryDisposeHandle((AIMdMemoryHandle)matches);
    return err;
}

int32_t markLayout(void)
{
    if (g->markMultipleCopies) return kMarkLayoutMultipleCopies;
    if (g->markSegmentalPosition) return kMarkLayoutSegmental;
    if (g->mark4PointPosition) return kMarkLayout4Point;
    return kMarkLayoutNone;
}

// A number as the cutter reads it: at most six significant digits without
// trailing zeros; where that would take an exponent (a million on, including
// what rounds up to a million), all the digits of the whole number, since the
// cutter reads no exponent.
static void formatUnits(double value, char* out, size_t size)
{
    snprintf(out, size, "%g", value);
    if (strchr(out, 'e') != NULL) snprintf(out, size, "%.0f", value);
}

int32_t makeAASText(int32_t layout, int32_t segmentCode, AIRealRect bounds, char* text, size_t size)
{
    if (size == 0) return -1;
    text[0] = '\0';
    if (layout == kMarkLayoutNone) return 0;
    const char ESC = 27, DOT = '.';
    double Lmm = g->markLength * 0.001, Mmm = g->markMargin * 0.001;
    double W = (double)bounds.right - (double)bounds.left, H = (double)bounds.top - (double)bounds.bottom;
    double Lu = g->markLength * 0.001 * 40;
    double Xext = (W * kPointToMillimetre + Lmm + Lmm + Mmm + Mmm) * 40;
    double Yext = (H * kPointToMillimetre + Lmm + Lmm + Mmm + Mmm) * 40;

    // Decimal points whatever the user's locale.
    locale_t previous = uselocale(valueCLocale());
    char lu[64], xext[64], yext[64], first[160];
    formatUnits(Lu, lu, sizeof lu);
    formatUnits(Xext, xext, sizeof xext);
    formatUnits(Yext, yext, sizeof yext);
    first[0] = '\0';
    if (layout == kMarkLayoutSegmental) {
        // A step field is 0 when no mark of that direction was made.
        char xs[64] = "0", ys[64] = "0";
        if (segmentCode & kMarkSegmentsTopBottom) formatUnits(g->markXStep * 0.001 * 40, xs, sizeof xs);
        if (segmentCode & kMarkSegmentsLeftRight) formatUnits(g->markYStep * 0.001 * 40, ys, sizeof ys);
        snprintf(first, sizeof first, "%c%cD2;%s;%s;%s;%s:", ESC, DOT, xext, yext, xs, ys);
    } else if (layout == kMarkLayoutMultipleCopies) {
        char su[64];
        formatUnits(g->markSpace * 0.001 * 40, su, sizeof su);
        snprintf(first, sizeof first, "%c%cD3;%d;%d;%s:", ESC, DOT, (int)g->markXCopies, (int)g->markYCopies, su);
    }
    int length = snprintf(text, size, "%s%c%cD4;0;0;%s:%c%cD1;%s;%s:\r\n", first, ESC, DOT, lu, ESC, DOT, xext, yext);
    uselocale(previous);
    if (length < 0 || (size_t)length >= size) {
        text[0] = '\0';
        return -1;
    }
    return length;
}

// The marks of the chosen layout in group, and their command text.
static ASErr makeMarks(int32_t layout, AIArtHandle group, AIRealRect bounds, char* text, size_t size)
{
    ASErr err = kNoErr;
    int32_t segmentCode = 0;
    switch (layout) {
    case kMarkLayoutMultipleCopies:
        if (g->markCopiesWithOutline) err = DoArtMatrixCopy(bounds);
        if (!err) err = MakeMultipleCopyAAS(group, bounds);
        break;
    case kMarkLayoutSegmental:
        err = Make4PtPosition(group, bounds, 1);
        if (!err) err = MakeSegmentPosition(group, bounds, &segmentCode);
        break;
    case kMarkLayout4Point:
        err = Make4PtPosition(group, bounds, 1);
        break;
    default:
        break;
    }
    if (!err && makeAASText(layout, segmentCode, bounds, text, size) < 0) err = kBadParameterErr;
    return err;
}

ASErr MakeAASSetting(AIRealRect bounds)
{
    AILayerHandle old = NULL;
    if (sAILayer->GetLayerByTitle(&old, kMarksLayerTitle) != kNoErr) old = NULL;

    AILayerHandle layer = NULL;
    ASErr err = sAILayer->InsertLayer(NULL, kPlaceAboveAll, &layer);
    if (err) return err;
    if (layer == NULL) return kBadLayerErr;
    AIArtHandle root = NULL, group = NULL;
    err = sAILayer->SetLayerTitle(layer, kMarksLayerTitle);
    if (!err) err = sAIArt->GetFirstArtOfLayer(layer, &root);
    if (!err && root == NULL) err = kBadArtErr;
    if (!err) err = sAIArt->NewArt(kGroupArt, kPlaceInsideOnTop, root, &group);
    if (!err && group == NULL) err = kBadArtErr;

    char text[kAASTextSize];
    int32_t layout = markLayout();
    if (!err) err = makeMarks(layout, group, bounds, text, sizeof text);
    // Without a layout the layer stays empty and untagged.
    if (!err && layout != kMarkLayoutNone) err = sAITag->SetTag(group, kTagAASSetting, "string", text);
    if (err) {
        // The earlier marks and their text stay as they were.
        (void)sAILayer->DeleteLayer(layer);
        return err;
    }
    if (old != NULL) err = sAILayer->DeleteLayer(old);
    return err;
}
