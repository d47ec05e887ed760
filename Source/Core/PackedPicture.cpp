#include "Core/PackedPicture.h"

#include <string.h>

#include <algorithm>
#include <new>

void PackedPicture::assign(const PictureStep* steps, size_t stepCount, const ViewPoint* points, size_t pointCount)
{
    clear();
    if (stepCount > UINT32_MAX || pointCount > UINT32_MAX / 2 - stepCount)
        throw std::bad_alloc();
    ViewPoint low{0, 0};
    int64_t spanH = 0, spanV = 0;
    if (pointCount > 0) {
        ViewPoint high = low = points[0];
        for (size_t i = 1; i < pointCount; i++) {
            low.h = std::min(low.h, points[i].h);
            low.v = std::min(low.v, points[i].v);
            high.h = std::max(high.h, points[i].h);
            high.v = std::max(high.v, points[i].v);
        }
        spanH = (int64_t)high.h - low.h;
        spanV = (int64_t)high.v - low.v;
    }
    bool wide = spanH > 0xFFFF || spanV > 0xFFFF;
    size_t words = stepCount + (wide ? 2 : 1) * pointCount;
    std::unique_ptr<uint32_t[]> block(words > 0 ? new uint32_t[words] : nullptr);
    if (stepCount > 0)
        memcpy(block.get(), steps, stepCount * sizeof(uint32_t));
    uint32_t* w = block.get() + stepCount;
    for (size_t i = 0; i < pointCount; i++) {
        if (wide) {
            w[2 * i] = (uint32_t)points[i].h;
            w[2 * i + 1] = (uint32_t)points[i].v;
        } else {
            w[i] = (uint32_t)((int64_t)points[i].h - low.h) << 16 | (uint32_t)((int64_t)points[i].v - low.v);
        }
    }
    words_ = std::move(block);
    steps_ = (uint32_t)stepCount;
    points_ = (uint32_t)pointCount;
    origin_ = low;
    wide_ = wide;
}

void PackedPicture::clear()
{
    words_.reset();
    steps_ = points_ = 0;
    origin_ = ViewPoint{0, 0};
    wide_ = false;
}
