// The placement transform of a volume, shared by the writer, the preview and
// the hit tests so that a volume is picked where it is drawn and drawn where it
// is cut.
#include "Core/VolumePlacement.h"

bezier_stru orientBezier(bezier_stru bezier, const Volume& volume)
{
    // The centre is taken in single precision, as the loaded rectangle is held.
    float halfWidth = (volume.loadRect[2] - volume.loadRect[0]) / 2.0f;
    float halfHeight = (volume.loadRect[1] - volume.loadRect[3]) / 2.0f;
    double centre[2] = {halfWidth, halfHeight};
    if (volume.mirror)
        BezierYMirror(bezier, &bezier, centre);
    BezierRotate(bezier, &bezier, volume.angle, centre);
    return bezier;
}

bezier_stru placeBezier(bezier_stru bezier, const Volume& volume, const double* offset)
{
    bezier = orientBezier(bezier, volume);
    double back[2] = {-volume.rotMinX, -volume.rotMinY};
    BezierMove(bezier, &bezier, back);
    double origin[2] = {0.0, 0.0};
    double factors[2] = {volume.scaleX, volume.scaleY};
    BezierScale(bezier, &bezier, origin, factors);
    BezierMove(bezier, &bezier, offset);
    return bezier;
}

void getVolumeCopyOffset(const Volume& volume, int32_t i, int32_t j, double offset[2])
{
    offset[0] = volume.rect[0] + i * (volume.gapX + volume.baseWidth * volume.scaleX);
    offset[1] = volume.rect[3] + j * (volume.gapY + volume.baseHeight * volume.scaleY);
}
