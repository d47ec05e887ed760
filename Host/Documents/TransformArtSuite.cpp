// The "AI Transform Art Suite": a matrix applied to art.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct TransformArtOps {
    using Suite = AITransformArtSuite;

    static ASErr TransformArt(AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale, int32_t flags)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (!matrix) return kBadParameterErr;
        if (flags & kTransformObjects) transformArt(n, *matrix, lineScale, (flags & kScaleLines) != 0);
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<TransformArtOps>);

}  // namespace
}  // namespace vt::host::docsuites
