#include "Core/OutlineClusters.h"

#include <math.h>

#include <algorithm>
#include <new>
#include <vector>

#include "Common/Suites.h"
#include "Core/PreProcess.h"

namespace {

// ---- The order by area --------------------------------------------------------------------

// Marks on places 0 .. n-1: how many lie before a place, and where the mark
// with k marks before it lies, each in log n steps (a Fenwick tree).
class Marks {
public:
    explicit Marks(int32_t n) : tree_(size_t(n) + 1, 0) {}
    void add(int32_t place, int32_t amount)
    {
        for (size_t i = size_t(place) + 1; i < tree_.size(); i += i & (0 - i)) tree_[i] += amount;
    }
    int32_t before(int32_t place) const
    {
        int32_t sum = 0;
        for (size_t i = size_t(place); i > 0; i -= i & (0 - i)) sum += tree_[i];
        return sum;
    }
    int32_t withBefore(int32_t k) const
    {
        size_t at = 0, step = 1;
        while (step * 2 < tree_.size()) step *= 2;
        for (; step > 0; step /= 2)
            if (at + step < tree_.size() && tree_[at + step] <= k) {
                at += step;
                k -= tree_[at];
            }
        return int32_t(at);
    }

private:
    std::vector<int32_t> tree_;
};

// The places, among themselves, of the paths of one area (members: their
// places in the text's order, ascending), written to out.
//
// Why this is where the exchange sort puts them: look only at the paths of
// this area or a larger one. A pass of the sort moves them among themselves
// exactly as it would if the others were not there, so their order is theirs
// alone. Among them a path of this, the smallest, area moves only when it
// stands at the place being filled: it is swapped with the first larger path
// after it, so it goes behind the other paths of its area before that
// path. The paths of the area are thus a queue: each larger path met turns
// it once (its front goes to the back) and the paths after that larger path
// join at the back. With a cursor over a list the turns cost nothing, and the
// place each joining path finally has in the list is found by counting free
// places, the last to join first.
void placeEqualAreas(const int32_t* members, int32_t c, const Marks& larger, int32_t count, int32_t* out)
{
    if (c == 1) {
        out[0] = members[0];
        return;
    }
    // The queue is list[cursor..] then list[..cursor); a path joins just
    // before the cursor.
    std::vector<int32_t> at(size_t(c), 0);
    int64_t cursor = 0;
    for (int32_t m = 0; m < c; ++m) {
        if (m > 0) {
            int64_t turns = larger.before(members[m]) - larger.before(members[m - 1] + 1);
            cursor = (cursor + turns) % m;
        }
        at[size_t(m)] = int32_t(cursor);
        ++cursor;
    }
    cursor = (cursor + larger.before(count) - larger.before(members[c - 1] + 1)) % c;
    Marks free(c);
    for (int32_t p = 0; p < c; ++p) free.add(p, 1);
    std::vector<int32_t> list(size_t(c), 0);
    for (int32_t m = c - 1; m >= 0; --m) {
        int32_t place = free.withBefore(at[size_t(m)]);
        free.add(place, -1);
        list[size_t(place)] = members[m];
    }
    for (int32_t q = 0; q < c; ++q) out[q] = list[size_t((cursor + q) % c)];
}

// ---- Clusters ----------------------------------------------------------------------------

// Whether two rectangles meet, by the host's rectangle intersection. Most
// rectangles of a long text lie plainly apart: those are told without a
// call to the host.
uint8_t rectanglesMeet(const AIRealRect* a, const AIRealRect* b)
{
    if (a->left <= a->right && b->left <= b->right && a->bottom <= a->top && b->bottom <= b->top &&
        (b->left > a->right || a->left > b->right || b->bottom > a->top || a->bottom > b->top))
        return 0;
    AIRealRect meet;
    return sAIRealMath->AIRealRectIntersect(a, b, &meet) != 0;
}

// How near two clusters are: -1 when their rectangles meet (they merge
// before any pair that does not), else their distance.
float clusterKey(const OutlineCluster* a, const OutlineCluster* b)
{
    return rectanglesMeet(&a->rect, &b->rect) ? -1.0f : distanceOfRectangle(&a->rect, &b->rect);
}

void join(OutlineCluster* a, int32_t path, const AIRealRect* bounds, int32_t* next)
{
    AIRealRect joined;
    sAIRealMath->AIRealRectUnion(&a->rect, bounds, &joined);
    a->rect = joined;
    next[a->last] = path;
    a->last = path;
}

void merge(OutlineCluster* a, OutlineCluster* b, int32_t* next)
{
    next[a->last] = b->first;
    a->last = b->last;
    AIRealRect joined;
    sAIRealMath->AIRealRectUnion(&a->rect, &b->rect, &joined);
    a->rect = joined;
    b->alive = 0;
}

void startCluster(OutlineCluster* c, int32_t path, const AIRealRect* bounds)
{
    c->rect = *bounds;
    c->first = c->last = path;
    c->alive = 1;
}

// Every path and every pair looked at, as the regrouping is described: for
// rectangles that are not plain numbers or turned inside out, where no
// shortcut can be trusted.
int32_t gatherPlainly(const AIRealRect* bounds, int32_t count, int32_t aim, OutlineCluster* clusters, int32_t* next)
{
    int32_t made = 0;
    for (int32_t i = 0; i < count; ++i) {
        int32_t c = 0;
        while (c < made && !rectanglesMeet(&clusters[c].rect, &bounds[i])) ++c;
        if (c == made)
            startCluster(&clusters[made++], i, &bounds[i]);
        else
            join(&clusters[c], i, &bounds[i], next);
    }
    for (int32_t alive = made; alive > aim; --alive) {
        int32_t bi = -1, bj = -1;
        float best = 0;
        for (int32_t i = 0; i < made; ++i) {
            if (!clusters[i].alive) continue;
            for (int32_t j = i + 1; j < made; ++j) {
                if (!clusters[j].alive) continue;
                float key = clusterKey(&clusters[i], &clusters[j]);
                if (bi < 0 || key < best) bi = i, bj = j, best = key;
                if (key < 0) {
                    i = made;  // the first pair that meets is taken at once
                    break;
                }
            }
        }
        if (bi < 0) break;
        merge(&clusters[bi], &clusters[bj], next);
    }
    return made;
}

// A grid of square cells over the paths, each listing the clusters whose
// rectangle reaches into it, so that what lies near a rectangle is found by
// looking at a few cells. A cluster wider than many cells is listed apart and
// looked at every time.
class Gatherer {
public:
    Gatherer(const AIRealRect* bounds, int32_t count, OutlineCluster* clusters, int32_t* next)
        : bounds_(bounds), count_(count), clusters_(clusters), next_(next), range_(size_t(count)),
          wide_(size_t(count), 0), seen_(size_t(count), 0)
    {
        // Cells about as large as a typical character's paths, but no more
        // of them than a few per path, however far apart the paths lie.
        std::vector<double> sizes;
        double left = bounds[0].left, bottom = bounds[0].bottom, right = bounds[0].right, top = bounds[0].top;
        for (int32_t i = 0; i < count; ++i) {
            const AIRealRect& r = bounds[i];
            sizes.push_back(std::max(double(r.right) - r.left, double(r.top) - r.bottom));
            left = std::min(left, double(r.left));
            bottom = std::min(bottom, double(r.bottom));
            right = std::max(right, double(r.right));
            top = std::max(top, double(r.top));
            reach_ = std::max({reach_, fabs(double(r.left)), fabs(double(r.right)), fabs(double(r.bottom)),
                               fabs(double(r.top))});
        }
        std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
        double width = right - left, height = top - bottom, room = 4.0 * count + 64;
        cell_ = std::max({sizes[sizes.size() / 2], sqrt(width * height / room), (width + height) / room, 1e-6});
        originX_ = left;
        originY_ = bottom;
        columns_ = int64_t(width / cell_) + 1;
        rows_ = int64_t(height / cell_) + 1;
        heads_.assign(size_t(columns_ * rows_), -1);
    }

    // Step 3: each path joins the first cluster it meets, or starts one.
    int32_t cluster()
    {
        int32_t made = 0;
        for (int32_t i = 0; i < count_; ++i) {
            const AIRealRect& b = bounds_[i];
            int32_t first = -1;
            around(b.left, b.bottom, b.right, b.top, 0, made, [&](int32_t c) {
                if ((first < 0 || c < first) && rectanglesMeet(&clusters_[c].rect, &b)) first = c;
            });
            if (first < 0) {
                startCluster(&clusters_[made], i, &b);
                enter(made++);
            } else {
                join(&clusters_[first], i, &b, next_);
                grown(first);
            }
        }
        return made;
    }

    // Step 4: the pairs no farther apart than a radius wait in a heap in the
    // order the merging takes them; the radius grows when none is left.
    // Merging only ever brings clusters nearer, and only where a rectangle
    // grew: the pairs to look at again lie near what it grew by.
    void merge(int32_t made, int32_t aim)
    {
        int32_t alive = 0;
        for (int32_t c = 0; c < made; ++c) alive += clusters_[c].alive;
        if (alive <= aim) return;
        double radius = cell_ / 4;
        bool all = fill(made, radius);
        while (alive > aim) {
            if (heap_.empty()) {
                if (all) break;
                radius *= 4;
                all = fill(made, radius);
                continue;
            }
            std::pop_heap(heap_.begin(), heap_.end(), later);
            Pair p = heap_.back();
            heap_.pop_back();
            if (!clusters_[p.i].alive || !clusters_[p.j].alive) continue;
            // A key from before either grew: the pair waits again with its key of now.
            if (clusterKey(&clusters_[p.i], &clusters_[p.j]) != p.key) {
                consider(p.i, p.j, all ? HUGE_VAL : radius);
                continue;
            }
            AIRealRect before = clusters_[p.i].rect;
            ::merge(&clusters_[p.i], &clusters_[p.j], next_);
            --alive;
            grown(p.i);
            nearGrowth(p.i, before, made, radius, all);
        }
    }

private:
    // Cells x0 .. x1 across and y0 .. y1 up.
    struct Range {
        int64_t x0, y0, x1, y1;
        double cells() const { return double(x1 - x0 + 1) * double(y1 - y0 + 1); }
    };
    struct Pair {
        float key;
        int32_t i, j;
    };
    // Whether a comes out of the heap after b.
    static bool later(const Pair& a, const Pair& b)
    {
        if (a.key != b.key) return a.key > b.key;
        return a.i != b.i ? a.i > b.i : a.j > b.j;
    }
    // One cluster listed in a cell, and the one listed before it there.
    struct Entry {
        int32_t cluster, next;
    };

    static constexpr double kWideCells = 4096;

    // The cells a rectangle reaches; nothing lies beyond the paths' extent.
    Range rangeOf(double left, double bottom, double right, double top) const
    {
        auto cell = [&](double v, double origin, int64_t cells) {
            double c = floor((v - origin) / cell_);
            return c < 0 ? int64_t(0) : c >= double(cells) ? cells - 1 : int64_t(c);
        };
        return Range{cell(left, originX_, columns_), cell(bottom, originY_, rows_), cell(right, originX_, columns_),
                     cell(top, originY_, rows_)};
    }

    void list(int32_t c, int64_t x, int64_t y)
    {
        int32_t& head = heads_[size_t(y * columns_ + x)];
        pool_.push_back(Entry{c, head});
        head = int32_t(pool_.size() - 1);
    }

    // A new cluster goes into the cells its rectangle reaches.
    void enter(int32_t c)
    {
        const AIRealRect& r = clusters_[c].rect;
        Range range = rangeOf(r.left, r.bottom, r.right, r.top);
        range_[size_t(c)] = range;
        if (range.cells() > kWideCells) {
            wide_[size_t(c)] = 1;
            wideList_.push_back(c);
            return;
        }
        for (int64_t y = range.y0; y <= range.y1; ++y)
            for (int64_t x = range.x0; x <= range.x1; ++x) list(c, x, y);
    }

    // A cluster grew: it goes into the cells it reaches now and did not before.
    void grown(int32_t c)
    {
        if (wide_[size_t(c)]) return;
        const AIRealRect& r = clusters_[c].rect;
        Range old = range_[size_t(c)], now = rangeOf(r.left, r.bottom, r.right, r.top);
        range_[size_t(c)] = now;
        if (now.cells() > kWideCells) {
            wide_[size_t(c)] = 1;
            wideList_.push_back(c);
            return;
        }
        for (int64_t y = now.y0; y <= now.y1; ++y) {
            if (y < old.y0 || y > old.y1) {
                for (int64_t x = now.x0; x <= now.x1; ++x) list(c, x, y);
                continue;
            }
            for (int64_t x = now.x0; x < old.x0; ++x) list(c, x, y);
            for (int64_t x = old.x1 + 1; x <= now.x1; ++x) list(c, x, y);
        }
    }

    // Calls visit once for each living cluster below `made` that may reach
    // the rectangle grown by `by` on every side (and for some that do not).
    template <typename Visit>
    void around(double left, double bottom, double right, double top, double by, int32_t made, Visit visit)
    {
        if (++query_ == 0) {
            std::fill(seen_.begin(), seen_.end(), 0);
            query_ = 1;
        }
        // Past the paths' extent the range stops at its edge.
        Range range = rangeOf(left - by, bottom - by, right + by, top + by);
        if (range.cells() > std::max(64.0, double(made))) {
            for (int32_t c = 0; c < made; ++c)
                if (clusters_[c].alive) visit(c);
            return;
        }
        auto once = [&](int32_t c) {
            if (c < made && clusters_[c].alive && seen_[size_t(c)] != query_) {
                seen_[size_t(c)] = query_;
                visit(c);
            }
        };
        for (int64_t y = range.y0; y <= range.y1; ++y)
            for (int64_t x = range.x0; x <= range.x1; ++x)
                for (int32_t e = heads_[size_t(y * columns_ + x)]; e >= 0; e = pool_[size_t(e)].next)
                    once(pool_[size_t(e)].cluster);
        for (int32_t c : wideList_) once(c);
    }

    // How far past a radius a cluster may seem to lie and still be within
    // it: a wide margin for rounding.
    double margin(double radius) const { return radius + 1e-6 * (reach_ + radius + 1); }

    void consider(int32_t a, int32_t b, double radius)
    {
        int32_t i = std::min(a, b), j = std::max(a, b);
        float key = clusterKey(&clusters_[i], &clusters_[j]);
        if (double(key) <= radius) {
            heap_.push_back(Pair{key, i, j});
            std::push_heap(heap_.begin(), heap_.end(), later);
        }
    }

    // Every pair within the radius; true when the radius takes in every pair
    // there is (no two paths lie farther apart than twice their reach).
    bool fill(int32_t made, double radius)
    {
        heap_.clear();
        bool all = radius > 4 * (reach_ + 1) || isinf(radius);
        for (int32_t a = 0; a < made; ++a) {
            if (!clusters_[a].alive) continue;
            const AIRealRect& r = clusters_[a].rect;
            around(r.left, r.bottom, r.right, r.top, margin(radius), made, [&](int32_t b) {
                if (b > a) consider(a, b, all ? HUGE_VAL : radius);
            });
        }
        return all;
    }

    // Cluster c grew from `before`: the pairs it makes with those near the
    // strips it grew by.
    void nearGrowth(int32_t c, const AIRealRect& before, int32_t made, double radius, bool all)
    {
        const AIRealRect now = clusters_[c].rect;
        double by = margin(radius);
        auto pair = [&](int32_t k) {
            if (k != c) consider(c, k, all ? HUGE_VAL : radius);
        };
        if (now.left < before.left) around(now.left, now.bottom, before.left, now.top, by, made, pair);
        if (now.right > before.right) around(before.right, now.bottom, now.right, now.top, by, made, pair);
        if (now.bottom < before.bottom) around(now.left, now.bottom, now.right, before.bottom, by, made, pair);
        if (now.top > before.top) around(now.left, before.top, now.right, now.top, by, made, pair);
    }

    const AIRealRect* bounds_;
    int32_t count_;
    OutlineCluster* clusters_;
    int32_t* next_;
    double cell_ = 1, originX_ = 0, originY_ = 0, reach_ = 0;
    int64_t columns_ = 1, rows_ = 1;
    std::vector<int32_t> heads_;  // per cell, the last entry listed there, or -1
    std::vector<Entry> pool_;
    std::vector<Range> range_;
    std::vector<uint8_t> wide_;
    std::vector<int32_t> wideList_;
    std::vector<uint32_t> seen_;
    uint32_t query_ = 0;
    std::vector<Pair> heap_;
};

bool plainNumbers(const AIRealRect* bounds, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        const AIRealRect& r = bounds[i];
        if (!isfinite(r.left) || !isfinite(r.right) || !isfinite(r.top) || !isfinite(r.bottom) || r.left > r.right ||
            r.bottom > r.top)
            return false;
    }
    return true;
}

}  // namespace

ASErr orderPathsByArea(const float* areas, int32_t count, int32_t* order)
{
    for (int32_t i = 0; i < count; ++i) order[i] = i;
    if (std::any_of(areas, areas + count, [](float a) { return isnan(a); })) {
        // No order to sort by: the sort itself, pair by pair.
        for (int32_t i = 0; i < count; ++i)
            for (int32_t j = i + 1; j < count; ++j)
                if (areas[order[j]] > areas[order[i]]) std::swap(order[i], order[j]);
        return kNoErr;
    }
    try {
        std::vector<int32_t> byArea(order, order + count);
        std::stable_sort(byArea.begin(), byArea.end(), [&](int32_t a, int32_t b) { return areas[a] > areas[b]; });
        Marks larger(count);  // the places of the paths of a larger area than the ones at hand
        for (int32_t g = 0, h = 0; g < count; g = h) {
            for (h = g + 1; h < count && areas[byArea[size_t(h)]] == areas[byArea[size_t(g)]]; ++h) {
            }
            placeEqualAreas(&byArea[size_t(g)], h - g, larger, count, order + g);
            for (int32_t m = g; m < h; ++m) larger.add(byArea[size_t(m)], 1);
        }
    } catch (const std::bad_alloc&) {
        return kMemoryErr;
    }
    return kNoErr;
}

ASErr gatherOutlineClusters(const AIRealRect* bounds, int32_t count, int32_t aim, struct OutlineCluster* clusters,
                            int32_t* next, int32_t* made)
{
    *made = 0;
    for (int32_t i = 0; i < count; ++i) next[i] = -1;
    if (count == 0) return kNoErr;
    if (!plainNumbers(bounds, count)) {
        *made = gatherPlainly(bounds, count, aim, clusters, next);
        return kNoErr;
    }
    try {
        Gatherer gatherer(bounds, count, clusters, next);
        *made = gatherer.cluster();
        gatherer.merge(*made, aim);
    } catch (const std::bad_alloc&) {
        return kMemoryErr;
    }
    return kNoErr;
}
