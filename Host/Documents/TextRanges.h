// The text ranges the host hands out: each one is the whole text of a frame,
// alive until it is released. A range whose frame is gone answers an error.
#pragma once

#include <cstdint>
#include <map>

#include "AllSuites.h"

namespace vt::host {

class TextRanges {
public:
    ATETextRangeRef open(AIArtHandle frame);
    // The frame of a live range; null when the range is not live.
    bool frameOf(ATETextRangeRef range, AIArtHandle& frame) const;
    bool release(ATETextRangeRef range);
    size_t live() const { return ranges_.size(); }

private:
    std::map<uintptr_t, AIArtHandle> ranges_;
    uintptr_t last_ = 0;
};

TextRanges& textRanges();  // of the current host

}  // namespace vt::host
