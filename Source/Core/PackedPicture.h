// What the Plot Out preview keeps of one ring's picture, packed: its drawing
// steps and its points in one block of 32-bit words. A job of a hundred
// thousand rings keeps millions of points, most of them within a few hundred
// pixels of each other, so a point is kept as two 16-bit offsets from the
// corner of the box of all the picture's points, and only a picture that
// spreads over more than 65,536 pixels either way (a huge zoom) keeps its
// points at full width. Reading gives back exactly the points stored.
#pragma once

#include <stddef.h>
#include <stdint.h>

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

struct PictureStep {
    uint32_t count : 28;
    uint32_t kind : 2;
    uint32_t closed : 1;
    uint32_t markerRepeated : 1;  // a later piece's control marker lies on the same pixel
};

static_assert(sizeof(PictureStep) == sizeof(uint32_t), "a step is one word");

// A step may count up to this many points.
constexpr uint32_t kPictureStepMostPoints = (1u << 28) - 1;

class PackedPicture {
public:
    // Keeps copies of the steps and points, in place of what was kept.
    // Throws std::bad_alloc when memory runs out (and then keeps nothing).
    void assign(const PictureStep* steps, size_t stepCount, const ViewPoint* points, size_t pointCount);
    void clear();

    size_t stepCount() const { return steps_; }
    size_t pointCount() const { return points_; }
    const PictureStep* steps() const { return reinterpret_cast<const PictureStep*>(words_.get()); }
    // Whether the points are kept at full width.
    bool wide() const { return wide_; }

    ViewPoint point(size_t i) const
    {
        const uint32_t* w = pointWords();
        if (wide_)
            return ViewPoint{(int32_t)w[2 * i], (int32_t)w[2 * i + 1]};
        return ViewPoint{(int32_t)((int64_t)origin_.h + (w[i] >> 16)), (int32_t)((int64_t)origin_.v + (w[i] & 0xFFFF))};
    }

    // Calls f(i, point) for the points [first, first + count), in order.
    template <typename F>
    void forPoints(size_t first, size_t count, F f) const
    {
        const uint32_t* w = pointWords();
        if (wide_) {
            for (size_t i = 0; i < count; i++)
                f(i, ViewPoint{(int32_t)w[2 * (first + i)], (int32_t)w[2 * (first + i) + 1]});
            return;
        }
        int64_t h = origin_.h, v = origin_.v;
        for (size_t i = 0; i < count; i++) {
            uint32_t x = w[first + i];
            f(i, ViewPoint{(int32_t)(h + (x >> 16)), (int32_t)(v + (x & 0xFFFF))});
        }
    }

private:
    const uint32_t* pointWords() const { return words_.get() + steps_; }

    std::unique_ptr<uint32_t[]> words_;  // the steps, then the points (one word each, or two when wide)
    uint32_t steps_ = 0, points_ = 0;
    ViewPoint origin_{0, 0};  // the least h and the least v of the points
    bool wide_ = false;
};
