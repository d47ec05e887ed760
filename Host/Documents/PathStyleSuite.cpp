// The "AI Path Style Suite": the fill and stroke of paths and text frames. A
// group or compound path reads the style of its first path or text frame and
// gives a new one to all of them.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

bool styled(const ArtNode* n) { return n->type == kPathArt || n->type == kTextFrameArt; }

const ArtNode* firstPath(const ArtNode* n)
{
    if (styled(n)) return n;
    for (const ArtNode* c : n->children)
        if (const ArtNode* p = firstPath(c)) return p;
    return nullptr;
}

void setStyleDeep(ArtNode* n, const AIPathStyle& style)
{
    if (styled(n)) n->style = style;
    for (ArtNode* c : n->children) setStyleDeep(c, style);
}

struct PathStyleOps {
    using Suite = AIPathStyleSuite;

    static ASErr GetPathStyle(AIArtHandle art, AIPathStyle* style)
    {
        ArtNode* n = artOf(art);
        if (!n || !style) return kBadArtErr;
        const ArtNode* p = firstPath(n);
        if (!p) return kWrongArtTypeErr;
        *style = p->style;
        return kNoErr;
    }

    static ASErr SetPathStyle(AIArtHandle art, const AIPathStyle* style)
    {
        ArtNode* n = artOf(art);
        if (!n || !style) return kBadArtErr;
        if (!firstPath(n)) return kWrongArtTypeErr;
        setStyleDeep(n, *style);
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<PathStyleOps>);

}  // namespace
}  // namespace vt::host::docsuites
