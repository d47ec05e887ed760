// The "ATE TextRange Suite": the text of a frame as bytes of UTF-8, read,
// cleared and added to through a range that covers the whole text.
#include <algorithm>
#include <cstring>

#include "Documents/DocumentSuites.h"
#include "Documents/TextRanges.h"
#include "Host.h"

namespace vt::host {

ATETextRangeRef TextRanges::open(AIArtHandle frame)
{
    ranges_[++last_] = frame;
    return reinterpret_cast<ATETextRangeRef>(last_ << 4);
}

bool TextRanges::frameOf(ATETextRangeRef range, AIArtHandle& frame) const
{
    auto it = ranges_.find(reinterpret_cast<uintptr_t>(range) >> 4);
    if (it == ranges_.end()) return false;
    frame = it->second;
    return true;
}

bool TextRanges::release(ATETextRangeRef range) { return ranges_.erase(reinterpret_cast<uintptr_t>(range) >> 4) != 0; }

TextRanges& textRanges() { return Host::current().service<TextRanges>(); }

namespace docsuites {
namespace {

// The frame of a live range whose frame still exists.
ArtNode* textOf(ATETextRangeRef range)
{
    AIArtHandle frame = nullptr;
    if (!textRanges().frameOf(range, frame)) return nullptr;
    ArtNode* n = artOf(frame);
    return n && n->type == kTextFrameArt ? n : nullptr;
}

struct TextRangeOps {
    using Suite = ATETextRangeSuite;

    static ASErr GetSize(ATETextRangeRef range, ASInt32* size)
    {
        ArtNode* n = textOf(range);
        if (!n) return kBadTextRangeErr;
        if (!size) return kBadParameterErr;
        *size = static_cast<ASInt32>(n->textFrame->text.size());
        return kNoErr;
    }

    static ASErr GetContents(ATETextRangeRef range, char* text, ASInt32 maxLength, ASInt32* length)
    {
        ArtNode* n = textOf(range);
        if (!n) return kBadTextRangeErr;
        if (!text || maxLength < 0) return kBadParameterErr;
        size_t count = std::min(n->textFrame->text.size(), static_cast<size_t>(maxLength));
        std::memcpy(text, n->textFrame->text.data(), count);
        if (length) *length = static_cast<ASInt32>(count);
        return kNoErr;
    }

    static ASErr Clear(ATETextRangeRef range)
    {
        ArtNode* n = textOf(range);
        if (!n) return kBadTextRangeErr;
        n->textFrame->text.clear();
        return kNoErr;
    }

    static ASErr InsertAfter(ATETextRangeRef range, const char* text, ASInt32 length)
    {
        ArtNode* n = textOf(range);
        if (!n) return kBadTextRangeErr;
        if ((!text && length > 0) || length < 0) return kBadParameterErr;
        n->textFrame->text.append(text ? text : "", static_cast<size_t>(length));
        return kNoErr;
    }

    static ASErr Release(ATETextRangeRef range)
    {
        return textRanges().release(range) ? ASErr(kNoErr) : ASErr(kBadTextRangeErr);
    }
};

SuiteInstaller installer(installOps<TextRangeOps>);

}  // namespace
}  // namespace docsuites
}  // namespace vt::host
