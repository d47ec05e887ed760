#include "Core/CutPath.h"

#include <stdlib.h>
#include <string.h>

// The polyline of the segment into an array of at least *room points, grown
// (realloc) when it is short; false when memory ran out.
static bool flattenInto(const bezier_stru* placed, point_struct** points, int32_t* room, int32_t* count)
{
    *count = 0;
    BezierFlattening flattening;
    if (BezierFlattenBy2Div(placed, &flattening) != 0) return false;  // nothing held then
    int n = flattening.count;  // at least the segment itself
    if (n + 1 > *room) {
        point_struct* grown = (point_struct*)realloc(*points, sizeof(point_struct) * ((size_t)n + 1));
        if (grown == NULL) {
            BezierFlatteningFree(&flattening);
            return false;
        }
        *points = grown;
        *room = n + 1;
    }
    const bezier_stru* pieces = flattening.pieces;
    point_struct* polyline = *points;
    for (int i = 0; i < n; i++)
        polyline[i] = point_struct{pieces[i].P[0][0], pieces[i].P[0][1]};
    polyline[n] = point_struct{pieces[n - 1].P[3][0], pieces[n - 1].P[3][1]};
    BezierFlatteningFree(&flattening);
    *count = n + 1;
    return true;
}

ASErr flattenCutSegment(const bezier_stru* placed, point_struct** points, int32_t* count)
{
    *points = NULL;
    int32_t room = 0;
    return flattenInto(placed, points, &room, count) ? kNoErr : kMemoryErr;
}

// Fits into the arrays the fit already holds (its type and count cleared):
// the appenders grow them from a count of 0, which takes no new block while
// they are large enough.
static void fitInto(const point_struct* points, int32_t count, const Volume* volume, CutFit* fit)
{
    int pieces = 0;
    if (volume->fitType == kCutFitArcs) {
        fit->type = kCutFitArcs;
        fitPointByArc(points, count, volume->precision, &fit->arcs, &pieces);
    } else if (volume->fitType == kCutFitLines) {
        fit->type = kCutFitLines;
        fitPointByLine(points, count, volume->precision, &fit->lines, &pieces);
    }
    fit->count = pieces;
}

void fitCutSegment(const point_struct* points, int32_t count, const Volume* volume, CutFit* fit)
{
    memset(fit, 0, sizeof *fit);
    fitInto(points, count, volume, fit);
}

void freeCutFit(CutFit* fit)
{
    free(fit->lines);
    free(fit->arcs);
    memset(fit, 0, sizeof *fit);
}

void initCutSegment(CutSegment* segment) { memset(segment, 0, sizeof *segment); }

ASErr makeCutSegment(const bezier_stru* placed, const Volume* volume, CutSegment* segment)
{
    segment->fit.type = 0;
    segment->fit.count = 0;
    if (!flattenInto(placed, &segment->points, &segment->room, &segment->count)) return kMemoryErr;
    fitInto(segment->points, segment->count, volume, &segment->fit);
    return kNoErr;
}

void freeCutSegment(CutSegment* segment)
{
    free(segment->points);
    freeCutFit(&segment->fit);
    memset(segment, 0, sizeof *segment);
}
