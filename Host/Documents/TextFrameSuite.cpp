// The "AI Text Frame Suite": a text frame's outlines and its text range.
#include "Documents/DocumentSuites.h"
#include "Documents/TextLayout.h"
#include "Documents/TextRanges.h"
#include "Host.h"

namespace vt::host::docsuites {
namespace {

ArtNode* frameOf(AIArtHandle h, ASErr& err) { return artOfType(h, kTextFrameArt, err); }

struct TextFrameOps {
    using Suite = AITextFrameSuite;

    static ASErr CreateOutline(AIArtHandle textFrame, AIArtHandle* outline)
    {
        ASErr err;
        ArtNode* frame = frameOf(textFrame, err);
        if (!frame) return err;
        if (!outline) return kBadParameterErr;
        TextLayout layout;
        std::string error;
        if (!layoutText(*frame, layout, error)) {
            Host::current().reportProblem("text outline: " + error + "; it is not outlined");
            return kNoFontErr;
        }
        Document* d = doc();
        ArtNode* group = d->newArt(kGroupArt);
        err = d->place(group, kPlaceAbove, frame);
        if (err) {
            d->dispose(group);
            return err;
        }
        for (const GlyphShape& glyph : layout.glyphs)
            for (const auto& contour : glyph.contours) {
                ArtNode* path = d->newArt(kPathArt);
                path->segments = contour;
                path->closed = true;
                path->style = frame->style;
                d->place(path, kPlaceInsideOnBottom, group);
            }
        *outline = Document::handle(group);
        return kNoErr;
    }

    static ASErr GetATETextRange(AIArtHandle textFrame, ATETextRangeRef* range)
    {
        ASErr err;
        ArtNode* frame = frameOf(textFrame, err);
        if (!frame) return err;
        if (!range) return kBadParameterErr;
        *range = textRanges().open(textFrame);
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<TextFrameOps>);

}  // namespace
}  // namespace vt::host::docsuites
