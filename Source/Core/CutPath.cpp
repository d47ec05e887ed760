#include "Core/CutPath.h"

#include <stdlib.h>
#include <string.h>

ASErr flattenCutSegment(const bezier_stru* placed, point_struct** points, int32_t* count)
{
    *points = NULL;
    *count = 0;
    BezierFlattening flattening;
    if (BezierFlattenBy2Div(placed, &flattening) != 0) return kMemoryErr;  // nothing held then
    if (flattening.count < 1) {
        BezierFlatteningFree(&flattening);
        return kMemoryErr;
    }
    const bezier_stru* pieces = flattening.pieces;
    int n = flattening.count;
    point_struct* polyline = (point_struct*)malloc(sizeof(point_struct) * ((size_t)n + 1));
    if (polyline == NULL) {
        BezierFlatteningFree(&flattening);
        return kMemoryErr;
    }
    for (int i = 0; i < n; i++)
        polyline[i] = point_struct{pieces[i].P[0][0], pieces[i].P[0][1]};
    polyline[n] = point_struct{pieces[n - 1].P[3][0], pieces[n - 1].P[3][1]};
    BezierFlatteningFree(&flattening);
    *points = polyline;
    *count = n + 1;
    return kNoErr;
}

void fitCutSegment(const point_struct* points, int32_t count, const Volume* volume, CutFit* fit)
{
    memset(fit, 0, sizeof *fit);
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

void freeCutFit(CutFit* fit)
{
    free(fit->lines);
    free(fit->arcs);
    memset(fit, 0, sizeof *fit);
}
