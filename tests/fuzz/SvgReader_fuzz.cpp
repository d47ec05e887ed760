// Fuzz target for the SVG reader: any input is read or refused with a
// message, never a crash, an overrun or a recursion past the stack; what is
// read holds only finite points within a cutter's reach, and a document that
// was read can be saved and read again.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Documents/Document.h"
#include "Documents/Svg.h"

namespace {

using vt::host::ArtNode;

constexpr double kReach = 100000.0 * 72.0 / 25.4;  // 100 m in points

bool within(const AIRealPoint& p)
{
    return std::isfinite(p.h) && std::isfinite(p.v) && std::fabs(p.h) <= kReach && std::fabs(p.v) <= kReach;
}

size_t checkArt(const ArtNode* art, int depth)
{
    if (depth > 258) std::abort();  // layers, then at most 256 groups
    size_t count = 1;
    for (const AIPathSegment& s : art->segments)
        if (!within(s.p) || !within(s.in) || !within(s.out)) std::abort();
    if (art->type == kTextFrameArt && (!within(art->textFrame->origin) || !std::isfinite(art->textFrame->fontSize))) std::abort();
    for (const ArtNode* child : art->children) count += checkArt(child, depth + 1);
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vt::host::Documents store;
    std::string text(reinterpret_cast<const char*>(data), size), error;
    auto document = vt::host::readSvgText(store, text, "fuzz.svg", error);
    if (!document) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    size_t art = 0;
    for (const auto* layer : document->layers()) art += checkArt(layer->root, 0);
    // What was read can be saved and read back, with as many objects.
    std::string saved = vt::host::writeSvgText(*document);
    auto again = vt::host::readSvgText(store, saved, "saved.svg", error);
    if (!again) std::abort();
    size_t artAgain = 0;
    for (const auto* layer : again->layers()) artAgain += checkArt(layer->root, 0);
    if (artAgain != art) std::abort();
    return 0;
}
