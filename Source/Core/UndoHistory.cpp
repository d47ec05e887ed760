// Undo history of volume placement and the total cut length.
//
// A snapshot shares its ring array with the live volume: the rings never change
// while the dialog is open, so only the placement fields differ between the two.
// Because a snapshot and its volume share rings, a snapshot must only ever be
// exchanged with its own volume; packing reorders the volume array, so each
// snapshot finds its volume by identity (art handle and ring array, both unique
// per volume) and the stored position serves only as the first place to look.
//
// Undo and redo put back where and how a volume is cut, never whether it is
// shown, selected or where it stands in the cut order: those belong to the
// lists and tools of the dialog, and a group hidden since must stay hidden
// (and uncut).
#include "Core/UndoHistory.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>
#include <unordered_set>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Workers.h"
#include "Core/CutModel.h"
#include "Math/Crossings.h"

static bool sameVolume(const Volume* a, const Volume* b)
{
    return a->art == b->art && a->rings == b->rings;
}

// The volumes the step being filled holds, by identity, so that an action
// saving thousands of volumes (or a drag saving them at every move) does not
// walk the step for each. It describes `step` while that step holds `count`
// snapshots, and is rebuilt from the step otherwise.
namespace {
struct VolumeKey {
    AIArtHandle art;
    const Ring* rings;
    bool operator==(const VolumeKey& other) const { return art == other.art && rings == other.rings; }
};
struct VolumeKeyHash {
    size_t operator()(const VolumeKey& key) const
    {
        return (size_t)(uintptr_t)key.art * 31u + (size_t)(uintptr_t)key.rings;
    }
};
struct StepIndex {
    const UndoStep* step = nullptr;
    int32_t count = -1;
    std::unordered_set<VolumeKey, VolumeKeyHash> keys;
};
StepIndex g_stepIndex;
}  // namespace

static VolumeKey keyOf(const Volume* volume) { return VolumeKey{volume->art, volume->rings}; }

static void forgetStepIndex()
{
    g_stepIndex.step = nullptr;
    g_stepIndex.count = -1;
    g_stepIndex.keys.clear();
}

// The index of a step, rebuilt when it describes another step or state.
static std::unordered_set<VolumeKey, VolumeKeyHash>& stepIndexOf(const UndoStep* step)
{
    if (g_stepIndex.step != step || g_stepIndex.count != step->count) {
        g_stepIndex.keys.clear();
        for (int32_t k = 0; k < step->count; k++)
            g_stepIndex.keys.insert(keyOf(&step->snapshots[k]));
        g_stepIndex.step = step;
        g_stepIndex.count = step->count;
    }
    return g_stepIndex.keys;
}

// Where the volume of a snapshot lies now, trying the position it was saved at
// first; -1 when it is no longer in the array.
static int32_t findVolume(const Volume* snapshot, int32_t hint)
{
    if (g->volumes == NULL)
        return -1;
    if (hint >= 0 && hint < g->volumeCount && sameVolume(&g->volumes[hint], snapshot))
        return hint;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        if (sameVolume(&g->volumes[i], snapshot))
            return i;
    }
    return -1;
}

static void freeStep(UndoStep* step)
{
    free(step->snapshots);
    free(step->indexes);
    step->snapshots = NULL;
    step->indexes = NULL;
    step->count = 0;
}

void initUndoHistory()
{
    for (int i = 0; i < kUndoStepCount; i++) {
        g->undoSteps[i].snapshots = NULL;
        g->undoSteps[i].indexes = NULL;
        g->undoSteps[i].count = 0;
    }
    g->undoPos = -1;
    g->undoNewStep = 0;
    forgetStepIndex();
}

void freeUndoHistory()
{
    for (int i = 0; i < kUndoStepCount; i++)
        freeStep(&g->undoSteps[i]);
    g->undoPos = -1;
    g->undoNewStep = 0;
    forgetStepIndex();
}

// Opens the step of a new action holding the one volume. The arrays are
// allocated before the history is touched, so a failed allocation leaves the
// history as it was.
VT_NODISCARD static ASErr openStep(int32_t index)
{
    Volume* snapshots = (Volume*)malloc(sizeof(Volume));
    int32_t* indexes = (int32_t*)malloc(sizeof(int32_t));
    if (snapshots == NULL || indexes == NULL) {
        free(snapshots);
        free(indexes);
        return kMemoryErr;
    }
    snapshots[0] = g->volumes[index];
    indexes[0] = index;

    int32_t pos = g->undoPos + 1;
    if (pos >= kUndoStepCount) {
        // A full history drops its oldest step.
        freeStep(&g->undoSteps[0]);
        memmove(&g->undoSteps[0], &g->undoSteps[1], (kUndoStepCount - 1) * sizeof(UndoStep));
        g->undoSteps[kUndoStepCount - 1].snapshots = NULL;
        g->undoSteps[kUndoStepCount - 1].indexes = NULL;
        g->undoSteps[kUndoStepCount - 1].count = 0;
        pos = kUndoStepCount - 1;
    }
    // A new action after some undos ends the redo branch: the steps above were
    // recorded from states that no longer exist.
    for (int32_t i = pos; i < kUndoStepCount; i++)
        freeStep(&g->undoSteps[i]);

    g->undoSteps[pos].snapshots = snapshots;
    g->undoSteps[pos].indexes = indexes;
    g->undoSteps[pos].count = 1;
    g->undoPos = pos;
    g->undoNewStep = 0;
    forgetStepIndex();
    return kNoErr;
}

ASErr saveVolumeChange(int32_t index)
{
    if (g->volumes == NULL || index < 0 || index >= g->volumeCount)
        return kNoErr;
    // With no open step there is nothing to add to, whatever the flag says.
    if (g->undoNewStep || g->undoPos < 0)
        return openStep(index);

    UndoStep* step = &g->undoSteps[g->undoPos];
    const Volume* volume = &g->volumes[index];
    // The first copy of a volume in an action is its state before the action.
    std::unordered_set<VolumeKey, VolumeKeyHash>& held = stepIndexOf(step);
    if (held.count(keyOf(volume)) != 0)
        return kNoErr;

    // The arrays grow to the next power of two when the count reaches one, so
    // an action on thousands of volumes copies each snapshot a few times, not
    // thousands of times.
    int32_t count = step->count;
    if (count > 0 && (count & (count - 1)) == 0) {
        size_t capacity = 2 * (size_t)count;
        Volume* snapshots = (Volume*)realloc(step->snapshots, capacity * sizeof(Volume));
        if (snapshots == NULL)
            return kMemoryErr;
        step->snapshots = snapshots;
        int32_t* indexes = (int32_t*)realloc(step->indexes, capacity * sizeof(int32_t));
        if (indexes == NULL)
            return kMemoryErr;
        step->indexes = indexes;
    }
    step->snapshots[count] = *volume;
    step->indexes[count] = index;
    step->count = count + 1;
    held.insert(keyOf(volume));
    g_stepIndex.count = step->count;
    return kNoErr;
}

// Exchanges every snapshot of the step with its live volume, so that the step
// then holds the states a following redo (or undo) puts back.
static void exchangeStep(UndoStep* step)
{
    for (int32_t k = 0; k < step->count; k++) {
        int32_t pos = findVolume(&step->snapshots[k], step->indexes[k]);
        if (pos < 0)
            continue;
        Volume live = g->volumes[pos];
        Volume back = step->snapshots[k];
        back.flags = live.flags;
        back.index = live.index;
        g->volumes[pos] = back;
        step->snapshots[k] = live;
        step->indexes[k] = pos;
    }
}

ASErr undoVolumeChange()
{
    if (g->undoPos < 0)
        return kUndoStackErr;
    exchangeStep(&g->undoSteps[g->undoPos]);
    g->undoPos--;
    return getGlobalDistance(&g->totalCutLength);
}

ASErr redoVolumeChange()
{
    if (g->undoPos >= kUndoStepCount - 1)
        return kUndoStackErr;
    UndoStep* step = &g->undoSteps[g->undoPos + 1];
    if (step->count == 0)
        return kUndoStackErr;
    g->undoPos++;
    exchangeStep(step);
    return getGlobalDistance(&g->totalCutLength);
}

double getBezierDist(const bezier_stru* bezier, double scaleX, double scaleY)
{
    bezier_stru scaled;
    scaled.degree = 3;
    for (int i = 0; i < 4; i++) {
        scaled.P[i][0] = bezier->P[i][0] * scaleX;
        scaled.P[i][1] = bezier->P[i][1] * scaleY;
    }
    return BezierApriLen(&scaled, 0.0, 1.0);
}

// The length of count segments at the given scale, summed in their order.
static double segmentsLength(const bezier_stru* segments, int32_t count, double scaleX, double scaleY)
{
    double length = 0.0;
    for (int32_t i = 0; i < count; i++)
        length += getBezierDist(&segments[i], scaleX, scaleY);
    return length;
}

// Measures a ring at the given scale into *length; false when its segments
// could not be read for want of memory, when the figure holds only for now.
static bool measureRing(const Ring* ring, double scaleX, double scaleY, double* length)
{
    *length = 0.0;
    const bezier_stru* segments = NULL;
    if (ringSegments(ring, segmentRoom(kSegmentsForLength), &segments) != kNoErr)
        return false;
    if (segments != NULL)  // a ring without segments adds no length
        *length = segmentsLength(segments, ring->count, scaleX, scaleY);
    return true;
}

double getRingDist(const Ring* ring, double scaleX, double scaleY)
{
    double length;
    (void)measureRing(ring, scaleX, scaleY, &length);
    return length;
}

// Each ring's length as last measured, with everything it was measured from:
// where its segments are read (as the preview tells a ring's source) and the
// volume's scale. Moving a volume, changing its copies or its selection, or
// undoing a move then costs no measuring; a new scale, or segments read from
// elsewhere, measure the ring afresh. They are kept in the order the total
// visits the rings (volume by volume, ring by ring), one for every ring of the
// job, so that a ring's place in it is its number in that order.
namespace {
struct KeptLength {
    const bezier_stru* segments;
    AIArtHandle art;
    double scaleX, scaleY;
    double length;
    int32_t count;
    float originX, originY;
    uint16_t kind;
    bool known;
};
std::vector<KeptLength> g_keptLengths;
}  // namespace

// Makes room for a length per ring of the job; one left from a job of another
// ring count is forgotten.
static void roomForLengths()
{
    size_t rings = 0;
    for (int32_t v = 0; g->volumes != NULL && v < g->volumeCount; v++)
        if (g->volumes[v].rings != NULL)
            rings += (size_t)std::max(g->volumes[v].ringCount, 0);
    if (g_keptLengths.size() == rings)
        return;
    try {
        std::vector<KeptLength>(rings, KeptLength{}).swap(g_keptLengths);
    } catch (const std::bad_alloc&) {
        g_keptLengths.clear();  // nothing kept: every ring is measured as it is summed
    }
}

static bool measuredAs(const KeptLength& kept, const Ring* ring, double scaleX, double scaleY)
{
    return kept.known && kept.segments == ring->beziers && kept.art == ring->art && kept.count == ring->count &&
           kept.kind == ring->kind && kept.originX == ring->originX && kept.originY == ring->originY &&
           kept.scaleX == scaleX && kept.scaleY == scaleY;
}

static void keepLength(size_t at, const Ring* ring, double scaleX, double scaleY, double length)
{
    if (at < g_keptLengths.size())
        g_keptLengths[at] = KeptLength{ring->beziers, ring->art,     scaleX,        scaleY,     length,
                                       ring->count,   ring->originX, ring->originY, ring->kind, true};
}

static const KeptLength* keptLengthOf(size_t at, const Ring* ring, double scaleX, double scaleY)
{
    return at < g_keptLengths.size() && measuredAs(g_keptLengths[at], ring, scaleX, scaleY) ? &g_keptLengths[at] : NULL;
}

static double keptRingDist(size_t at, const Ring* ring, double scaleX, double scaleY)
{
    const KeptLength* kept = keptLengthOf(at, ring, scaleX, scaleY);
    if (kept != NULL)
        return kept->length;
    double length;
    if (measureRing(ring, scaleX, scaleY, &length))
        keepLength(at, ring, scaleX, scaleY, length);
    return length;
}

// ---- Measuring ahead -------------------------------------------------------------------------
//
// Opening the dialog measures every ring of the job. Their segments are read
// here (through the suites, on this thread), a batch at a time, and measured
// on worker threads; each length is kept as keptRingDist keeps it, so the
// total is then summed in the volumes' order from the kept lengths: the same
// figure, to the bit, as measuring one ring after another. A ring that cannot
// be read is left to keptRingDist.

struct MeasureJob {
    const Ring* ring;
    size_t at;  // its place among the kept lengths
    double scaleX, scaleY;
    size_t first;  // its segments in the batch's
    int32_t count;
    double length;
};

// Segments read ahead at once (512 KB of them): enough to keep the threads
// busy, little beside the job itself.
const size_t kAheadBatchSegments = 8192;
// Rings a thread takes at least: fewer are not worth a thread.
const size_t kAheadRingsPerThread = 32;
const unsigned kAheadMostThreads = 8;

static void measureBatch(std::vector<MeasureJob>& jobs, std::vector<bezier_stru>& segments)
{
    std::atomic<size_t> next(0);
    auto work = [&jobs, &segments, &next]() {
        for (size_t k = next++; k < jobs.size(); k = next++) {
            MeasureJob& job = jobs[k];
            job.length = segmentsLength(segments.data() + job.first, job.count, job.scaleX, job.scaleY);
        }
    };
    unsigned threads = std::min(kAheadMostThreads, std::max(1u, std::thread::hardware_concurrency()));
    threads = std::max(1u, std::min(threads, (unsigned)(jobs.size() / kAheadRingsPerThread)));
    runOnWorkers(threads, work);
    for (const MeasureJob& job : jobs)
        keepLength(job.at, job.ring, job.scaleX, job.scaleY, job.length);
    jobs.clear();
    segments.clear();
}

static void measureAhead()
{
    if (g_keptLengths.empty())
        return;  // nothing can be kept: the total measures as it sums
    try {
        std::vector<MeasureJob> jobs;
        std::vector<bezier_stru> segments;
        segments.reserve(kAheadBatchSegments);
        size_t at = 0;
        for (int32_t v = 0; g->volumes != NULL && v < g->volumeCount; v++) {
            const Volume& volume = g->volumes[v];
            if (volume.rings == NULL)
                continue;
            size_t first = at;
            at += (size_t)std::max(volume.ringCount, 0);
            if (!(volume.flags & kVolumeSelected))
                continue;
            for (int32_t r = 0; r < volume.ringCount; r++) {
                const Ring* ring = &volume.rings[r];
                size_t place = first + (size_t)r;
                if (ringInJob(&volume, r) != kJobCut || keptLengthOf(place, ring, volume.scaleX, volume.scaleY) != NULL)
                    continue;
                const bezier_stru* read = NULL;
                if (ringSegments(ring, segmentRoom(kSegmentsForLength), &read) != kNoErr)
                    continue;
                size_t count = read != NULL ? (size_t)ring->count : 0;
                // A batch is measured before it would outgrow its room.
                if (!segments.empty() && segments.size() + count > kAheadBatchSegments)
                    measureBatch(jobs, segments);
                jobs.push_back(MeasureJob{ring, place, volume.scaleX, volume.scaleY, segments.size(), (int32_t)count, 0.0});
                segments.insert(segments.end(), read, read + count);
            }
        }
        measureBatch(jobs, segments);
    } catch (const std::bad_alloc&) {
        // What was not measured ahead is measured as it is summed.
    }
}

void releaseCutLengthCache()
{
    std::vector<KeptLength>().swap(g_keptLengths);
}

// A volume's cut length with its copies (0 unless selected); its rings' kept
// lengths start at first.
static double volumeDist(const Volume* volume, size_t first)
{
    // The length the knife travels: what is selected and cut, never the
    // registration marks nor the source of a perforation.
    if (!(volume->flags & kVolumeSelected))
        return 0.0;
    double length = 0.0;
    if (volume->rings == NULL)
        return length;
    double copies = (double)volume->copiesX * (double)volume->copiesY;
    for (int32_t i = 0; i < volume->ringCount; i++)
        if (ringInJob(volume, i) == kJobCut)
            length += copies * keptRingDist(first + (size_t)i, &volume->rings[i], volume->scaleX, volume->scaleY);
    return length;
}

ASErr getGlobalDistance(double* length)
{
    roomForLengths();
    measureAhead();
    double total = 0.0;
    size_t first = 0;
    for (int32_t i = 0; g->volumes != NULL && i < g->volumeCount; i++) {
        const Volume& volume = g->volumes[i];
        total += volumeDist(&volume, first);
        if (volume.rings != NULL)
            first += (size_t)std::max(volume.ringCount, 0);
    }
    if (length != NULL)
        *length = total;
    return kNoErr;
}
