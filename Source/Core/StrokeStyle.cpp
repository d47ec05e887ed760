#include "Core/StrokeStyle.h"

#include <string.h>

#include "Common/Suites.h"

ASErr setStrokeOnly(AIArtHandle path, AIReal red, AIReal green, AIReal blue, AIReal width)
{
    AIPathStyle style;
    memset(&style, 0, sizeof style);
    ASErr error = sAIPathStyle->GetPathStyle(path, &style);
    if (error) return error;
    style.fillPaint = 0;
    style.strokePaint = 1;
    style.stroke.color.kind = kThreeColor;
    style.stroke.color.c.rgb.red = red;
    style.stroke.color.c.rgb.green = green;
    style.stroke.color.c.rgb.blue = blue;
    style.stroke.width = width;
    return sAIPathStyle->SetPathStyle(path, &style);
}

AIPathSegment cornerAnchor(AIReal x, AIReal y)
{
    AIPathSegment s;
    memset(&s, 0, sizeof s);
    s.p.h = s.in.h = s.out.h = x;
    s.p.v = s.in.v = s.out.v = y;
    s.corner = 1;
    return s;
}
