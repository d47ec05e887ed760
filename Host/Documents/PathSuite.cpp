// The "AI Path Suite": the segments, closure, guide flag, area, Beziers and
// length of a path.
#include <algorithm>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

// The path of a handle, for reading or writing a range of its segments with a
// buffer: the handle's error first, then a range beyond the path, then a
// missing buffer.
ASErr segmentsOf(AIArtHandle path, int32_t first, int32_t count, const void* buffer, ArtNode*& n)
{
    ASErr err;
    n = pathOf(path, err);
    if (err) return err;
    if (first < 0 || count < 0 || static_cast<size_t>(first) + count > n->segments.size()) return kBadSegmentRangeErr;
    if (count && !buffer) return kBadParameterErr;
    return kNoErr;
}

// A value worked out from a path (its count of segments, a flag, its area):
// the handle's error first, then a missing place for the value.
template <typename T, typename Value>
ASErr readPath(AIArtHandle path, T* out, Value value)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (!out) return kBadParameterErr;
    *out = value(*n);
    return kNoErr;
}

// A flag of a path (closed, guide): bits of the node, which no pointer
// reaches.
enum class PathFlag { closed, guide };

ASErr getFlag(AIArtHandle path, PathFlag flag, AIBoolean* on)
{
    return readPath(path, on,
                    [flag](const ArtNode& n) -> AIBoolean { return flag == PathFlag::closed ? n.closed : n.guide; });
}

ASErr setFlag(AIArtHandle path, PathFlag flag, AIBoolean on)
{
    ASErr err;
    ArtNode* n = pathOf(path, err);
    if (err) return err;
    if (flag == PathFlag::closed)
        n->closed = on != 0;
    else
        n->guide = on != 0;
    return kNoErr;
}

struct PathOps {
    using Suite = AIPathSuite;

    static ASErr GetPathSegmentCount(AIArtHandle path, int32_t* count)
    {
        return readPath(path, count, [](const ArtNode& n) { return static_cast<int32_t>(n.segments.size()); });
    }

    static ASErr SetPathSegmentCount(AIArtHandle path, int32_t count)
    {
        ASErr err;
        ArtNode* n = pathOf(path, err);
        if (err) return err;
        if (count < 0 || count > 1000000) return kBadParameterErr;
        n->segments.resize(count, cornerSegment(0, 0));
        return kNoErr;
    }

    static ASErr GetPathSegments(AIArtHandle path, int32_t segNumber, int32_t count, AIPathSegment* segments)
    {
        ArtNode* n;
        if (ASErr err = segmentsOf(path, segNumber, count, segments, n)) return err;
        n->segments.read(static_cast<size_t>(segNumber), static_cast<size_t>(count), segments);
        return kNoErr;
    }

    static ASErr SetPathSegments(AIArtHandle path, int32_t segNumber, int32_t count, const AIPathSegment* segments)
    {
        ArtNode* n;
        if (ASErr err = segmentsOf(path, segNumber, count, segments, n)) return err;
        for (int32_t i = 0; i < count; ++i) n->segments.set(static_cast<size_t>(segNumber + i), segments[i]);
        return kNoErr;
    }

    static ASErr InsertPathSegments(AIArtHandle path, int32_t segNumber, int32_t count, const AIPathSegment* segments)
    {
        ASErr err;
        ArtNode* n = pathOf(path, err);
        if (err) return err;
        if (segNumber < -1 || segNumber >= static_cast<int32_t>(n->segments.size()) || count < 0)
            return kBadSegmentRangeErr;
        if (count && !segments) return kBadParameterErr;
        n->segments.insert(static_cast<size_t>(segNumber + 1), segments, static_cast<size_t>(count));
        return kNoErr;
    }

    static ASErr GetPathClosed(AIArtHandle path, AIBoolean* closed)
    {
        return getFlag(path, PathFlag::closed, closed);
    }

    static ASErr SetPathClosed(AIArtHandle path, AIBoolean closed)
    {
        return setFlag(path, PathFlag::closed, closed);
    }

    static ASErr GetPathGuide(AIArtHandle path, AIBoolean* guide)
    {
        return getFlag(path, PathFlag::guide, guide);
    }

    static ASErr SetPathGuide(AIArtHandle path, AIBoolean guide)
    {
        return setFlag(path, PathFlag::guide, guide);
    }

    static ASErr GetPathArea(AIArtHandle path, AIReal* area)
    {
        return readPath(path, area, [](const ArtNode& n) { return static_cast<AIReal>(pathArea(&n)); });
    }

    static ASErr GetPathBezier(AIArtHandle path, int32_t segNumber, AIRealBezier* bezier)
    {
        ASErr err;
        ArtNode* n = pathOf(path, err);
        if (err) return err;
        if (!bezier) return kBadParameterErr;
        if (segNumber < 0 || static_cast<size_t>(segNumber) >= std::max<size_t>(n->segments.size(), 1) ||
            n->segments.empty())
            return kBadSegmentRangeErr;
        if (!n->closed && static_cast<size_t>(segNumber) + 1 >= n->segments.size()) {
            // The last anchor of an open path starts no curve: a point.
            const AIRealPoint p = n->segments[segNumber].p;
            *bezier = AIRealBezier{p, p, p, p};
            return kNoErr;
        }
        *bezier = pathBezier(n, segNumber);
        return kNoErr;
    }

    static ASErr GetPathLength(AIArtHandle path, AIReal* length, AIReal)
    {
        return readPath(path, length, [](const ArtNode& n) {
            double sum = 0;
            for (size_t i = 0; i < pathBezierCount(&n); ++i) sum += bezierLength(pathBezier(&n, i));
            return static_cast<AIReal>(sum);
        });
    }
};

SuiteInstaller installer(installOps<PathOps>);

}  // namespace
}  // namespace vt::host::docsuites
