// Where and how a volume is cut: the placement transform, shared by the
// writer, the preview and the hit tests so that a volume is picked where it is
// drawn and drawn where it is cut; and the Plot Out dialog's operations on the
// placement of the selection and of the whole job.
#include "Core/VolumePlacement.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/UndoHistory.h"

bezier_stru orientBezier(bezier_stru bezier, const Volume& volume)
{
    // The centre is taken in single precision, as the loaded rectangle is held.
    float halfWidth = (volume.loadRect[2] - volume.loadRect[0]) / 2.0f;
    float halfHeight = (volume.loadRect[1] - volume.loadRect[3]) / 2.0f;
    double centre[] = {halfWidth, halfHeight};
    if (volume.mirror)
        BezierYMirror(bezier, &bezier, centre);
    BezierRotate(bezier, &bezier, volume.angle, centre);
    return bezier;
}

Placement placementOf(const Volume& volume)
{
    Placement p;
    float halfWidth = (volume.loadRect[2] - volume.loadRect[0]) / 2.0f;
    float halfHeight = (volume.loadRect[1] - volume.loadRect[3]) / 2.0f;
    p.mirror = volume.mirror != 0;
    p.centre[0] = halfWidth;
    p.centre[1] = halfHeight;
    // As BezierRotate turns: the angle in radians, then its cosine and sine.
    double a = volume.angle * kMathPi / 180.0;
    p.cosine = cos(a);
    p.sine = sin(a);
    p.back[0] = -volume.rotMinX;
    p.back[1] = -volume.rotMinY;
    p.factors[0] = volume.scaleX;
    p.factors[1] = volume.scaleY;
    return p;
}

// The steps of placeBezier one point at a time, each with the arithmetic of
// the operation it stands for (BezierYMirror, BezierRotate, BezierMove,
// BezierScale about the origin, BezierMove).
bezier_stru placeWith(const Placement& p, const bezier_stru& bezier, const double* offset)
{
    bezier_stru out;
    out.degree = bezier.degree;
    const double origin = 0.0;
    for (int i = 0; i < 4; i++) {
        double x = bezier.P[i][0], y = bezier.P[i][1];
        if (p.mirror)
            x = 2.0 * p.centre[0] - x;
        double dx = x - p.centre[0];
        double dy = y - p.centre[1];
        x = p.centre[0] + dx * p.cosine - dy * p.sine;
        y = p.centre[1] + dy * p.cosine + dx * p.sine;
        x = x + p.back[0];
        y = y + p.back[1];
        x = (x - origin) * p.factors[0] + origin;
        y = (y - origin) * p.factors[1] + origin;
        out.P[i][0] = x + offset[0];
        out.P[i][1] = y + offset[1];
    }
    return out;
}

bezier_stru placeBezier(bezier_stru bezier, const Volume& volume, const double (&offset)[2])
{
    bezier = orientBezier(bezier, volume);
    double back[] = {-volume.rotMinX, -volume.rotMinY};
    BezierMove(bezier, &bezier, back);
    double origin[] = {0.0, 0.0};
    double factors[] = {volume.scaleX, volume.scaleY};
    BezierScale(bezier, &bezier, origin, factors);
    BezierMove(bezier, &bezier, offset);
    return bezier;
}

void volumeCopyPitch(const Volume& volume, double (&pitch)[2])
{
    pitch[0] = volume.gapX + volume.baseWidth * volume.scaleX;
    pitch[1] = volume.gapY + volume.baseHeight * volume.scaleY;
}

void getVolumeCopyOffset(const Volume& volume, int32_t i, int32_t j, double (&offset)[2])
{
    // The placed rectangle holds every copy: where the copies run to the
    // left (or down), the first copy is the last one along the rectangle.
    double pitch[2];
    volumeCopyPitch(volume, pitch);
    double px = pitch[0], py = pitch[1];
    int32_t fromX = px < 0 && volume.copiesX > 1 ? volume.copiesX - 1 : 0;
    int32_t fromY = py < 0 && volume.copiesY > 1 ? volume.copiesY - 1 : 0;
    offset[0] = volume.rect[0] + (i - fromX) * px;
    offset[1] = volume.rect[3] + (j - fromY) * py;
}

// ---- The selection ---------------------------------------------------------------------------

static const ASErr kNothingSelected = '!Sel';

static bool isSelected(const Volume& volume) { return (volume.flags & kVolumeSelected) != 0; }

static AIRealRect rectOf(const Volume& volume)
{
    AIRealRect r = {volume.rect[0], volume.rect[1], volume.rect[2], volume.rect[3]};
    return r;
}

// Records a volume before an action changes it. A change that cannot be
// recorded (no memory for the snapshot) is still made: the user asked for it,
// and the history stays consistent without it.
static void recordChange(int32_t index) { (void)saveVolumeChange(index); }

static void updateCutLength() { (void)getGlobalDistance(&g->totalCutLength); }

ASErr getSelectionVolumeRealRect(AIRealRect* rect)
{
    bool any = false;
    AIRealRect all = {0, 0, 0, 0};
    for (int32_t i = 0; g->volumes != NULL && i < g->volumeCount; i++) {
        const Volume& v = g->volumes[i];
        if (!isSelected(v))
            continue;
        AIRealRect one = rectOf(v);
        if (!any)
            all = one;
        else
            sAIRealMath->AIRealRectUnion(&all, &one, &all);
        any = true;
    }
    if (!any)
        return kNothingSelected;
    *rect = all;
    return kNoErr;
}

// Keeps a merged value: it becomes the mixed marker as soon as one volume
// differs from it, and stays so.
template <typename T>
static void mergeValue(T* held, T value, T mixed)
{
    if (*held != mixed && value != *held)
        *held = mixed;
}

ASErr getSelectionVolumeInformation(Volume* volume)
{
    int32_t first = -1;
    for (int32_t i = 0; g->volumes != NULL && i < g->volumeCount; i++) {
        const Volume& v = g->volumes[i];
        if (!isSelected(v))
            continue;
        if (first < 0) {
            first = i;
            *volume = v;
            continue;
        }
        mergeValue<int32_t>(&volume->copiesX, v.copiesX, kMixedIntValue);
        mergeValue<int32_t>(&volume->copiesY, v.copiesY, kMixedIntValue);
        mergeValue<double>(&volume->gapX, v.gapX, kMixedDoubleValue);
        mergeValue<double>(&volume->gapY, v.gapY, kMixedDoubleValue);
        mergeValue<double>(&volume->scaleX, v.scaleX, kMixedDoubleValue);
        mergeValue<double>(&volume->scaleY, v.scaleY, kMixedDoubleValue);
    }
    if (first < 0)
        return kNothingSelected;
    AIRealRect all;
    (void)getSelectionVolumeRealRect(&all);  // something is selected, so it succeeds
    volume->rect[0] = all.left;
    volume->rect[1] = all.top;
    volume->rect[2] = all.right;
    volume->rect[3] = all.bottom;
    return kNoErr;
}

// The extent of a volume's copies along one axis: one copy and the steps to
// the last, whichever way they run.
static double copiesExtent(double size, int32_t copies, double gap)
{
    double pitch = size + gap;
    if (pitch >= 0 || copies <= 1)
        return copies * size + gap * (copies - 1);
    return size - pitch * (copies - 1);
}

ASErr updateVolumeRect(Volume* volume)
{
    double w = volume->baseWidth * volume->scaleX;
    double h = volume->baseHeight * volume->scaleY;
    volume->rect[2] = (float)(volume->rect[0] + copiesExtent(w, volume->copiesX, volume->gapX));
    volume->rect[1] = (float)(volume->rect[3] + copiesExtent(h, volume->copiesY, volume->gapY));
    return kNoErr;
}

// After a change of copies, gaps or scale: the rectangle again holds every
// copy, the first copy staying where it was (first, its corner before the
// change), so copies sent to the left or down take the rectangle with them.
static void keepFirstCopy(Volume* volume, const double (&first)[2])
{
    double pitch[2];
    volumeCopyPitch(*volume, pitch);
    double px = pitch[0], py = pitch[1];
    volume->rect[0] = (float)(px < 0 && volume->copiesX > 1 ? first[0] + (volume->copiesX - 1) * px : first[0]);
    volume->rect[3] = (float)(py < 0 && volume->copiesY > 1 ? first[1] + (volume->copiesY - 1) * py : first[1]);
    updateVolumeRect(volume);
}

int32_t volumeCopiesLimit(const Volume& volume, int32_t id)
{
    bool acrossX = id == kVolumeValueCopiesX;
    double media = acrossX ? g->mediaWidth : g->mediaLength;
    double size = acrossX ? volume.baseWidth * volume.scaleX : volume.baseHeight * volume.scaleY;
    int32_t other = acrossX ? volume.copiesY : volume.copiesX;
    double limit = kMaxVolumeCopies / (double)(other > 1 ? other : 1);
    // Copies that do not fit the media side by side are never cut whole; a
    // count far beyond them is a slip of the keyboard, and drawing or
    // writing it would take the dialog for ever.
    if (media > 0 && size > 0 && media / size < limit)
        limit = media / size;
    return limit >= 1 ? (int32_t)limit : 1;
}

ASErr setSelectionVolumeIntValue(int32_t id, int32_t value)
{
    if (g->volumes == NULL)
        return kNoErr;
    if (id == kVolumeValueCopiesX || id == kVolumeValueCopiesY) {
        if (value < 1)
            return kNoErr;
        AIRealRect all;
        if (getSelectionVolumeRealRect(&all) != kNoErr)
            return kNoErr;
        bool acrossX = id == kVolumeValueCopiesX;
        for (int32_t i = 0; i < g->volumeCount; i++) {
            Volume& v = g->volumes[i];
            if (!isSelected(v))
                continue;
            double first[2];
            getVolumeCopyOffset(v, 0, 0, first);
            // The first copies of a volume repeat at the pitch of the whole
            // selection, so a selection copied keeps its own arrangement.
            int32_t copies = std::min(value, volumeCopiesLimit(v, id));
            if (acrossX) {
                if (v.copiesX == 1)
                    v.gapX = ((double)all.right - all.left) - v.scaleX * v.baseWidth;
                v.copiesX = copies;
            } else {
                if (v.copiesY == 1)
                    v.gapY = ((double)all.top - all.bottom) - v.scaleY * v.baseHeight;
                v.copiesY = copies;
            }
            keepFirstCopy(&v, first);
        }
        updateCutLength();
    } else if (id == kVolumeValueFitType) {
        for (int32_t i = 0; i < g->volumeCount; i++) {
            if (isSelected(g->volumes[i]))
                g->volumes[i].fitType = value;
        }
    }
    return kNoErr;
}

// Moves a pair of opposite edges of a volume's rectangle together, keeping
// the extent between them: by value, or so that the low edge stands at value.
static void moveEdges(float* low, float* high, double value, bool relative)
{
    float extent = *high - *low;
    if (relative) {
        *low = (float)(*low + value);
        *high = (float)(*high + value);
    } else {
        *low = (float)value;
        *high = (float)(value + extent);
    }
}

ASErr setSelectionVolumeDoubleValue(int32_t id, double value, uint8_t relative)
{
    if (g->volumes == NULL || !isfinite(value))
        return kNoErr;
    bool scale = id == kVolumeValueScaleX || id == kVolumeValueScaleY;
    switch (id) {
    case kVolumeValueGapX:
    case kVolumeValueGapY:
    case kVolumeValueLeft:
    case kVolumeValueBottom:
    case kVolumeValueAngle:
    case kVolumeValuePrecision:
        break;
    case kVolumeValueScaleX:
    case kVolumeValueScaleY:
        // A scale of 0 or below has no size to cut, and would divide by 0 at
        // the next absolute change.
        if (!(value > 0.0))
            return kNoErr;
        break;
    default:
        return kNoErr;
    }
    // The selection turns as a block about the centre it had before the turn.
    AIRealRect all = {0, 0, 0, 0};
    if (id == kVolumeValueAngle && getSelectionVolumeRealRect(&all) != kNoErr)
        return kNoErr;

    for (int32_t i = 0; i < g->volumeCount; i++) {
        Volume& v = g->volumes[i];
        if (!isSelected(v))
            continue;
        double first[2];
        getVolumeCopyOffset(v, 0, 0, first);
        if (scale) {
            double& factor = id == kVolumeValueScaleX ? v.scaleX : v.scaleY;
            double& gap = id == kVolumeValueScaleX ? v.gapX : v.gapY;
            double newScale = relative ? factor * value : value;
            double newGap = relative ? gap * value : gap * value / factor;
            if (!(newScale > 0.0) || !isfinite(newScale) || !isfinite(newGap))
                continue;
            recordChange(i);
            factor = newScale;
            gap = newGap;  // the gaps follow the scale
            keepFirstCopy(&v, first);
            continue;
        }
        recordChange(i);
        switch (id) {
        case kVolumeValueGapX:
            v.gapX = value;
            keepFirstCopy(&v, first);
            break;
        case kVolumeValueGapY:
            v.gapY = value;
            keepFirstCopy(&v, first);
            break;
        case kVolumeValueLeft:
            moveEdges(&v.rect[0], &v.rect[2], value, relative);
            break;
        case kVolumeValueBottom:
            moveEdges(&v.rect[3], &v.rect[1], value, relative);
            break;
        case kVolumeValueAngle: {
            double oldAngle = v.angle;
            v.angle = relative ? v.angle + value : value;
            updateVolumeRotate_New(&v, all, oldAngle, v.mirror);
            break;
        }
        case kVolumeValuePrecision:
            v.precision = relative ? v.precision + value : value;
            break;
        }
    }
    if (scale)
        updateCutLength();
    return kNoErr;
}

ASErr setSelectionVolumeBoolValue(int32_t id, uint8_t value)
{
    if (g->volumes == NULL || id != kVolumeValueMirror)
        return kNoErr;
    AIRealRect all;
    if (getSelectionVolumeRealRect(&all) != kNoErr)
        return kNoErr;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        Volume& v = g->volumes[i];
        if (!isSelected(v))
            continue;
        uint8_t oldMirror = v.mirror;
        v.mirror = value ? 1 : 0;
        updateVolumeRotate_New(&v, all, v.angle, oldMirror);
    }
    return kNoErr;
}

// Widens a single-precision bound to take in a value.
static inline void takeIn(double value, float* low, float* high)
{
    if (value < *low)
        *low = (float)value;
    if (value > *high)
        *high = (float)value;
}

ASErr updateVolumeRotate_New(Volume* volume, AIRealRect S, double oldAngle, uint8_t oldMirror)
{
    // Bounds of the oriented geometry, held in single precision.
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    for (int32_t r = 0; volume->rings != NULL && r < volume->ringCount; r++) {
        const Ring& ring = volume->rings[r];
        // A ring that cannot be read adds nothing to the bounds.
        const bezier_stru* segments = NULL;
        if (ringSegments(&ring, segmentRoom(kSegmentsForBounds), &segments) != kNoErr)
            segments = NULL;
        for (int32_t k = 0; segments != NULL && k < ring.count; k++) {
            bezier_stru b = orientBezier(segments[k], *volume);
            // A flattened segment never leaves the box of its control points;
            // when that box adds nothing to the bounds, neither does the
            // segment, and flattening it can be skipped.
            double lo[] = {b.P[0][0], b.P[0][1]}, hi[] = {b.P[0][0], b.P[0][1]};
            for (int p = 1; p < 4; p++) {
                for (int c = 0; c < 2; c++) {
                    lo[c] = std::min(lo[c], b.P[p][c]);
                    hi[c] = std::max(hi[c], b.P[p][c]);
                }
            }
            if (any && lo[0] >= minX && lo[1] >= minY && hi[0] <= maxX && hi[1] <= maxY)
                continue;
            double bmax[2], bmin[2];
            BezierBound(&b, bmax, bmin);
            if (!any) {
                minX = maxX = (float)bmin[0];
                minY = maxY = (float)bmin[1];
                any = true;
            }
            takeIn(bmin[0], &minX, &maxX);
            takeIn(bmax[0], &minX, &maxX);
            takeIn(bmin[1], &minY, &maxY);
            takeIn(bmax[1], &minY, &maxY);
        }
    }

    // The centre of the first copy as it was placed before this change.
    double first[2];
    getVolumeCopyOffset(*volume, 0, 0, first);
    double x = volume->baseWidth * volume->scaleX / 2 + first[0];
    double y = volume->baseHeight * volume->scaleY / 2 + first[1];
    // A volume without segments keeps the size it has.
    if (any) {
        volume->baseWidth = (double)maxX - minX;
        volume->baseHeight = (double)maxY - minY;
        volume->rotMinX = minX;
        volume->rotMinY = minY;
    }

    double sx = ((double)S.left + S.right) / 2;
    double sy = ((double)S.top + S.bottom) / 2;
    if (volume->mirror != oldMirror)
        x = 2 * sx - x;
    double d = (volume->angle - oldAngle) * kMathPi / 180;
    double c = cos(d), s = sin(d);
    double turnedX = sx + (x - sx) * c - (y - sy) * s;
    double turnedY = sy + (x - sx) * s + (y - sy) * c;

    double w = volume->baseWidth * volume->scaleX;
    double h = volume->baseHeight * volume->scaleY;
    float gx = (float)volume->gapX, gy = (float)volume->gapY;
    volume->gapX = fabs(gx * c - gy * s);
    volume->gapY = fabs(gy * c + gx * s);
    double turned[] = {turnedX - w / 2, turnedY - h / 2};
    keepFirstCopy(volume, turned);
    return kNoErr;
}

ASErr setSelectionVolumeScale(AIRealRect S, int32_t anchor, double fx, double fy, int32_t relative)
{
    if (g->volumes == NULL || !isfinite(fx) || !isfinite(fy))
        return kNoErr;
    bool isRelative = relative == 1;
    if (isRelative ? !(fx > 0.0 && fy > 0.0) : (fx < 0.0 || fy < 0.0 || (fx == 0.0 && fy == 0.0)))
        return kNoErr;

    double ax = 0, ay = 0;
    bool fixed = true;
    switch (anchor) {
    case kAnchorTopRight: ax = S.right; ay = S.top; break;
    case kAnchorRight: ax = S.right; ay = ((double)S.top + S.bottom) / 2; break;
    case kAnchorBottomRight: ax = S.right; ay = S.bottom; break;
    case kAnchorBottom: ax = ((double)S.left + S.right) / 2; ay = S.bottom; break;
    case kAnchorBottomLeft: ax = S.left; ay = S.bottom; break;
    case kAnchorLeft: ax = S.left; ay = ((double)S.top + S.bottom) / 2; break;
    case kAnchorTopLeft: ax = S.left; ay = S.top; break;
    case kAnchorTop: ax = ((double)S.left + S.right) / 2; ay = S.top; break;
    default: fixed = false; break;
    }

    for (int32_t i = 0; i < g->volumeCount; i++) {
        Volume& v = g->volumes[i];
        if (!isSelected(v))
            continue;
        double scaleX = v.scaleX, scaleY = v.scaleY, gapX = v.gapX, gapY = v.gapY;
        double moveX, moveY;  // the factors of the distance from the anchor
        bool keepX = false, keepY = false;
        if (isRelative) {
            scaleX *= fx;
            scaleY *= fy;
            gapX *= fx;
            gapY *= fy;
            moveX = fx;
            moveY = fy;
        } else {
            double rx = fx / v.scaleX, ry = fy / v.scaleY;
            keepX = fx == 0.0;
            keepY = fy == 0.0;
            if (!keepX) {
                scaleX = fx;
                gapX *= rx;
            }
            if (!keepY) {
                scaleY = fy;
                gapY *= ry;
            }
            moveX = anchor == kAnchorBottomLeft ? rx : fx;
            moveY = anchor == kAnchorBottomLeft ? ry : fy;
        }
        if (!(scaleX > 0.0) || !(scaleY > 0.0) || !isfinite(scaleX) || !isfinite(scaleY) || !isfinite(gapX) ||
            !isfinite(gapY))
            continue;
        recordChange(i);
        v.scaleX = scaleX;
        v.scaleY = scaleY;
        v.gapX = gapX;
        v.gapY = gapY;
        // An axis left alone is not moved either.
        if (fixed && !keepX)
            v.rect[0] = (float)(ax + (v.rect[0] - ax) * moveX);
        if (fixed && !keepY)
            v.rect[3] = (float)(ay + (v.rect[3] - ay) * moveY);
        updateVolumeRect(&v);
    }
    updateCutLength();
    return kNoErr;
}

// ---- Aligns ----------------------------------------------------------------------------------

// Moves every selected volume, recorded, to where place puts it given the
// selection's rectangle; width and height stay.
template <typename Place>
static ASErr alignSelection(Place place)
{
    AIRealRect all;
    if (g->volumes == NULL || getSelectionVolumeRealRect(&all) != kNoErr)
        return kNothingSelected;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        Volume& v = g->volumes[i];
        if (!isSelected(v))
            continue;
        recordChange(i);
        float w = v.rect[2] - v.rect[0];
        float h = v.rect[1] - v.rect[3];
        place(v, all, w, h);
    }
    return kNoErr;
}

ASErr setSelectVolumeAlignLeft()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float w, float) {
        v.rect[0] = S.left;
        v.rect[2] = v.rect[0] + w;
    });
}

ASErr setSelectVolumeAlignCenterX()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float w, float) {
        v.rect[0] = (S.left + S.right) / 2 - w / 2;
        v.rect[2] = v.rect[0] + w;
    });
}

ASErr setSelectVolumeAlignRight()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float w, float) {
        v.rect[2] = S.right;
        v.rect[0] = v.rect[2] - w;
    });
}

ASErr setSelectVolumeAlignTop()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float, float h) {
        v.rect[1] = S.top;
        v.rect[3] = v.rect[1] - h;
    });
}

ASErr setSelectVolumeAlignCenterY()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float, float h) {
        v.rect[3] = (S.top + S.bottom) / 2 - h / 2;
        v.rect[1] = v.rect[3] + h;
    });
}

ASErr setSelectVolumeAlignBottom()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float, float h) {
        v.rect[3] = S.bottom;
        v.rect[1] = v.rect[3] + h;
    });
}

ASErr setSelectVolumeALignBoardCenterX()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float, float) {
        float dx = (g->mediaWidth - (S.right - S.left)) / 2 - S.left;
        v.rect[0] += dx;
        v.rect[2] += dx;
    });
}

ASErr setSelectVolumeALignBoardCenterY()
{
    return alignSelection([](Volume& v, const AIRealRect& S, float, float) {
        float dy = (g->mediaLength - (S.top - S.bottom)) / 2 - S.bottom;
        v.rect[3] += dy;
        v.rect[1] += dy;
    });
}

ASErr resetVolumePositions()
{
    for (int32_t i = 0; g->volumes != NULL && i < g->volumeCount; i++) {
        Volume& v = g->volumes[i];
        v.rect[0] = v.loadRect[0];
        v.rect[3] = v.loadRect[3];
        updateVolumeRect(&v);
    }
    return kNoErr;
}

// ---- Auto group ------------------------------------------------------------------------------

static float placedWidth(const Volume& v) { return v.rect[2] - v.rect[0]; }
static float placedHeight(const Volume& v) { return v.rect[1] - v.rect[3]; }

// The three scratch blocks of a sort or a packing.
static void freeScratch(void* a, void* b, void* c)
{
    free(a);
    free(b);
    free(c);
}

// True when all three scratch blocks were allocated; otherwise those that
// were are freed again.
static bool allAllocated(void* a, void* b, void* c)
{
    if (a != NULL && b != NULL && c != NULL)
        return true;
    freeScratch(a, b, c);
    return false;
}

ASErr sortVolumeByX()
{
    int32_t n = g->volumes != NULL ? g->volumeCount : 0;
    if (n < 2)
        return kNoErr;
    // The exchange sort runs on the widths and positions alone, and the
    // records are then moved once into the order it found. Equal widths are
    // never exchanged, but the exchanges around them move them, so their final
    // order is the exchange sort's own and is kept exactly.
    float* widths = (float*)malloc(sizeof(float) * (size_t)n);
    int32_t* order = (int32_t*)malloc(sizeof(int32_t) * (size_t)n);
    Volume* sorted = (Volume*)malloc(sizeof(Volume) * (size_t)n);
    if (!allAllocated(widths, order, sorted))
        return kNoErr;  // the volumes stay in their order and are packed so
    bool comparable = true;
    for (int32_t i = 0; i < n; i++) {
        widths[i] = placedWidth(g->volumes[i]);
        order[i] = i;
        comparable = comparable && !isnan(widths[i]);
    }
    // After pass i the first i + 1 places hold the i + 1 widest, so the widest
    // left for pass i is the (i + 1)-th of all widths. Once a pass holds it,
    // nothing further can be wider and the pass can stop there.
    std::vector<float> widest;
    if (comparable) {
        widest.assign(widths, widths + n);
        std::sort(widest.begin(), widest.end(), [](float a, float b) { return a > b; });
    }
    for (int32_t i = 0; i < n; i++) {
        float held = widths[i];
        float top = comparable ? widest[i] : NAN;  // NAN: never reached
        if (held == top)
            continue;
        for (int32_t j = i + 1; j < n; j++) {
            if (widths[j] > held) {
                float w = widths[j];
                widths[j] = held;
                widths[i] = w;
                held = w;
                int32_t k = order[j];
                order[j] = order[i];
                order[i] = k;
                if (held == top)
                    break;
            }
        }
    }
    for (int32_t i = 0; i < n; i++)
        sorted[i] = g->volumes[order[i]];
    memcpy(g->volumes, sorted, sizeof(Volume) * (size_t)n);
    freeScratch(widths, order, sorted);
    return kNoErr;
}

// Places the volume in the free rectangle `node` (which takes it) and splits
// the rest: `after` becomes the free space right of the volume's column and
// follows node in the list; node shrinks to the column above the volume.
static void takeFreeRect(Volume* volume, PageLink* node, PageLink* after)
{
    float w = placedWidth(*volume);
    float h = placedHeight(*volume);
    volume->rect[0] = node->left;
    volume->rect[3] = node->bottom;
    volume->rect[2] = node->left + w;
    volume->rect[1] = node->bottom + h;

    after->left = (float)(node->left + w + g->autoGroupGapX);
    after->top = node->top;
    after->right = node->right;
    after->bottom = node->bottom;
    after->next = node->next;
    node->next = after;
    node->right = node->left + w;
    node->bottom = (float)(node->bottom + h + g->autoGroupGapY);
}

static bool takes(const PageLink* node, float w, float h)
{
    return node->right - node->left >= w && node->top - node->bottom >= h;
}

ASErr setVolumeAutoGroup(int32_t* notPlaced)
{
    int32_t left = 0;
    int32_t n = g->volumes != NULL ? g->volumeCount : 0;
    if (notPlaced != NULL)
        *notPlaced = 0;
    if (n == 0)
        return kNoErr;

    sortVolumeByX();
    g->undoNewStep = 1;
    for (int32_t i = 0; i < n; i++)
        recordChange(i);

    // Every placement adds one free rectangle, so the list never holds more
    // than n + 1; they come from one block. A rectangle too narrow or too low
    // for every volume still to come can never be taken (rectangles only
    // shrink), so it is dropped from the list: the first rectangle that takes
    // a volume is the same, and the walk stays short.
    PageLink* pool = (PageLink*)malloc(sizeof(PageLink) * (size_t)(n + 1));
    // The narrowest and the lowest of the volumes from each one on.
    float* narrowestAfter = (float*)malloc(sizeof(float) * (size_t)n);
    float* lowestAfter = (float*)malloc(sizeof(float) * (size_t)n);
    if (!allAllocated(pool, narrowestAfter, lowestAfter)) {
        if (notPlaced != NULL)
            *notPlaced = n;
        return kNoErr;
    }
    for (int32_t i = n - 1; i >= 0; i--) {
        float w = placedWidth(g->volumes[i]), h = placedHeight(g->volumes[i]);
        narrowestAfter[i] = i == n - 1 || w < narrowestAfter[i + 1] ? w : narrowestAfter[i + 1];
        lowestAfter[i] = i == n - 1 || h < lowestAfter[i + 1] ? h : lowestAfter[i + 1];
    }
    PageLink head;  // stands before the first rectangle, so it can be dropped too
    pool[0].left = 0;
    pool[0].top = (float)g->curPlotter.PlotterSizeY;
    pool[0].right = (float)g->curPlotter.PlotterSizeX;
    pool[0].bottom = 0;
    pool[0].next = NULL;
    head.next = &pool[0];
    int32_t used = 1;

    for (int32_t i = 0; i < n; i++) {
        Volume* v = &g->volumes[i];
        float w = placedWidth(*v), h = placedHeight(*v);
        PageLink* previous = &head;
        PageLink* node = head.next;
        bool placed = false;
        while (node != NULL) {
            if (node->right - node->left < narrowestAfter[i] || node->top - node->bottom < lowestAfter[i]) {
                previous->next = node->next;
                node = node->next;
                continue;
            }
            if (takes(node, w, h)) {
                takeFreeRect(v, node, &pool[used++]);
                placed = true;
                break;
            }
            previous = node;
            node = node->next;
        }
        if (!placed)
            left++;
    }
    freeScratch(pool, narrowestAfter, lowestAfter);
    if (notPlaced != NULL)
        *notPlaced = left;
    return kNoErr;
}
