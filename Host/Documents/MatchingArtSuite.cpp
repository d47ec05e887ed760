// The "AI Matching Art Suite": the art of the current document that matches a
// type and attributes, handed out in a memory block; the selection.
#include <cstring>
#include <vector>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct MatchingArtOps {
    using Suite = AIMatchingArtSuite;

    static ASErr GetMatchingArt(const AIMatchingArtSpec* specs, int16_t numSpecs, AIArtHandle*** matches,
                                int32_t* numMatches)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!matches || !numMatches || (numSpecs > 0 && !specs) || numSpecs < 0) return kBadParameterErr;
        *matches = nullptr;
        *numMatches = 0;
        std::vector<AIArtHandle> found;
        for (ArtNode* n : d->allArt()) {
            for (int i = 0; i < numSpecs; ++i) {
                const AIMatchingArtSpec& s = specs[i];
                if ((s.type == kAnyArt || s.type == n->type) && (n->attrs & s.whichAttr) == s.attr) {
                    found.push_back(Document::handle(n));
                    break;
                }
            }
        }
        if (found.empty()) return kNoErr;
        AIMdMemoryHandle h = nullptr;
        ASErr err = suiteTable<AIMdMemorySuite>().MdMemoryNewHandle(found.size() * sizeof(AIArtHandle), &h);
        if (err) return err;
        std::memcpy(*h, found.data(), found.size() * sizeof(AIArtHandle));
        *matches = reinterpret_cast<AIArtHandle**>(h);
        *numMatches = static_cast<int32_t>(found.size());
        return kNoErr;
    }

    static ASErr GetSelectedArt(AIArtHandle*** matches, int32_t* numMatches)
    {
        AIMatchingArtSpec spec{kAnyArt, kArtSelected, kArtSelected};
        return GetMatchingArt(&spec, 1, matches, numMatches);
    }
};

SuiteInstaller installer(installOps<MatchingArtOps>);

}  // namespace
}  // namespace vt::host::docsuites
