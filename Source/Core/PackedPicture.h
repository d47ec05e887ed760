// What the Plot Out preview keeps of one ring's picture, packed: its drawing
// steps and its points in one block. A job of a hundred thousand rings keeps
// millions of points, most of them within a few dozen pixels of each other,
// so a point is kept as two offsets from the corner of the box of all the
// picture's points, a byte each when the box is within 256 pixels either way,
// two bytes within 65,536, and only a picture that spreads further (a huge
// zoom) keeps its points at full width. Reading gives back exactly the points
// stored.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <memory>

// A point in view pixels: whole pixels from where the millimetre origin lies.
struct ViewPoint {
    int32_t h, v;
};

inline bool operator==(ViewPoint a, ViewPoint b) { return a.h == b.h && a.v == b.v; }

// One thing a ring picture draws, in the order they are drawn. Each takes the
// points that follow those of the step before.
enum PictureStepKind : uint32_t {
    kStepLines,      // fitted straight lines: control markers at its `count` points, then the points
                     // joined, closed when `closed`
    kStepLinePiece,  // a straight fitted piece: two points, its control marker at the first
    kStepArcPiece,   // an arc drawn back: `count` points joined, then its start (the marker) and centre
};

// The bits a step's count of points takes; the rest of its word holds its
// kind and flags.
constexpr unsigned kPictureStepCountBits = 28;

struct PictureStep {
    uint32_t count : kPictureStepCountBits;
    uint32_t kind : 2;
    uint32_t closed : 1;
    uint32_t markerRepeated : 1;  // a later piece's control marker lies on the same pixel
};

static_assert(sizeof(PictureStep) == sizeof(uint32_t), "a step is one word");

// A step may count up to this many points.
constexpr uint32_t kPictureStepMostPoints = (1u << kPictureStepCountBits) - 1;

class PackedPicture {
public:
    // How many bytes each coordinate of the points takes.
    enum Width : uint8_t { kBytes1 = 1, kBytes2 = 2, kBytes4 = 4 };

    // Keeps copies of the steps and points, in place of what was kept.
    // Throws std::bad_alloc when memory runs out (and then keeps nothing).
    void assign(const PictureStep* steps, size_t stepCount, const ViewPoint* points, size_t pointCount);
    // The same, told the least (low) and the greatest (high) h and v of the
    // points, found as they were made, instead of seeking them again.
    void assign(const PictureStep* steps, size_t stepCount, const ViewPoint* points, size_t pointCount, ViewPoint low,
                ViewPoint high);
    void clear() { *this = PackedPicture(); }

    size_t stepCount() const { return steps_; }
    size_t pointCount() const { return points_; }
    PictureStep step(size_t k) const
    {
        PictureStep s;
        memcpy(&s, bytes_.get() + k * sizeof s, sizeof s);
        return s;
    }
    // 1 when the points lie within 256 pixels of their box's corner either
    // way, 2 within 65,536, else 4.
    Width width() const { return width_; }
    // The room the block takes: a word a step, two coordinates a point.
    size_t byteCount() const { return byteCount(steps_, points_, width_); }

    ViewPoint point(size_t i) const { return read(pointBytes(), i); }

    // Calls f(i, point) for the points [first, first + count), in order. The
    // width is told once for the run rather than at every point: a redraw
    // reads every point of every picture in view.
    template <typename F>
    void forPoints(size_t first, size_t count, F f) const
    {
        const unsigned char* b = pointBytes();
        switch (width_) {
        case kBytes1:
            for (size_t i = 0; i < count; i++)
                f(i, readAs<kBytes1>(b, first + i));
            break;
        case kBytes2:
            for (size_t i = 0; i < count; i++)
                f(i, readAs<kBytes2>(b, first + i));
            break;
        default:
            for (size_t i = 0; i < count; i++)
                f(i, readAs<kBytes4>(b, first + i));
            break;
        }
    }

private:
    static size_t byteCount(size_t steps, size_t points, Width width)
    {
        return steps * sizeof(PictureStep) + points * 2 * (size_t)width;
    }
    const unsigned char* pointBytes() const { return bytes_.get() + steps_ * sizeof(PictureStep); }

    template <Width W>
    ViewPoint readAs(const unsigned char* b, size_t i) const
    {
        if constexpr (W == kBytes1) {
            return ViewPoint{(int32_t)((int64_t)origin_.h + b[2 * i]), (int32_t)((int64_t)origin_.v + b[2 * i + 1])};
        } else if constexpr (W == kBytes2) {
            uint16_t hv[2];
            memcpy(hv, b + 4 * i, sizeof hv);
            return ViewPoint{(int32_t)((int64_t)origin_.h + hv[0]), (int32_t)((int64_t)origin_.v + hv[1])};
        } else {
            ViewPoint p;
            memcpy(&p, b + 8 * i, sizeof p);
            return p;
        }
    }
    ViewPoint read(const unsigned char* b, size_t i) const
    {
        switch (width_) {
        case kBytes1:
            return readAs<kBytes1>(b, i);
        case kBytes2:
            return readAs<kBytes2>(b, i);
        default:
            return readAs<kBytes4>(b, i);
        }
    }

    std::unique_ptr<unsigned char[]> bytes_;  // the steps, then the points
    uint32_t steps_ = 0, points_ = 0;
    ViewPoint origin_{0, 0};  // the least h and the least v of the points
    Width width_ = kBytes1;
};
