#include "Core/PackedPicture.h"

#include <algorithm>
#include <new>

void PackedPicture::assign(const PictureStep* steps, size_t stepCount, const ViewPoint* points, size_t pointCount)
{
    ViewPoint low{0, 0}, high{0, 0};
    if (pointCount > 0) {
        high = low = points[0];
        for (size_t i = 1; i < pointCount; i++) {
            low.h = std::min(low.h, points[i].h);
            low.v = std::min(low.v, points[i].v);
            high.h = std::max(high.h, points[i].h);
            high.v = std::max(high.v, points[i].v);
        }
    }
    assign(steps, stepCount, points, pointCount, low, high);
}

void PackedPicture::assign(const PictureStep* steps, size_t stepCount, const ViewPoint* points, size_t pointCount,
                           ViewPoint low, ViewPoint high)
{
    clear();
    if (stepCount > UINT32_MAX || pointCount > UINT32_MAX)
        throw std::bad_alloc();
    if (pointCount == 0)
        low = high = ViewPoint{0, 0};
    int64_t span = std::max((int64_t)high.h - low.h, (int64_t)high.v - low.v);
    Width width = span <= 0xFF ? kBytes1 : span <= 0xFFFF ? kBytes2 : kBytes4;
    size_t size = byteCount(stepCount, pointCount, width);
    std::unique_ptr<unsigned char[]> block(size > 0 ? new unsigned char[size] : nullptr);
    if (stepCount > 0)
        memcpy(block.get(), steps, stepCount * sizeof(PictureStep));
    unsigned char* b = block.get() + stepCount * sizeof(PictureStep);
    for (size_t i = 0; i < pointCount; i++) {
        uint32_t h = (uint32_t)((int64_t)points[i].h - low.h), v = (uint32_t)((int64_t)points[i].v - low.v);
        if (width == kBytes1) {
            b[2 * i] = (unsigned char)h;
            b[2 * i + 1] = (unsigned char)v;
        } else if (width == kBytes2) {
            uint16_t hv[] = {(uint16_t)h, (uint16_t)v};
            memcpy(b + 4 * i, hv, sizeof hv);
        } else {
            memcpy(b + 8 * i, &points[i], sizeof points[i]);
        }
    }
    bytes_ = std::move(block);
    steps_ = (uint32_t)stepCount;
    points_ = (uint32_t)pointCount;
    origin_ = low;
    width_ = width;
}
