// The "AI Document View Suite": the one view of the current document, its zoom,
// centre and visible bounds.
#include <algorithm>
#include <cstdint>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

// The one view of the current document; its handle is fixed.
AIDocumentViewHandle const kTheView = reinterpret_cast<AIDocumentViewHandle>(uintptr_t(0x10));

Document* viewDoc(AIDocumentViewHandle view) { return view == nullptr || view == kTheView ? doc() : nullptr; }

struct DocumentViewOps {
    using Suite = AIDocumentViewSuite;

    static ASErr GetNthDocumentView(int32_t n, AIDocumentViewHandle* view)
    {
        if (!doc()) return kNoDocumentErr;
        if (n != 0 || !view) return kBadParameterErr;
        *view = kTheView;
        return kNoErr;
    }

    static ASErr GetDocumentViewZoom(AIDocumentViewHandle view, AIReal* zoom)
    {
        return readDocumentField(viewDoc(view), &Document::zoom, zoom);
    }

    static ASErr SetDocumentViewZoom(AIDocumentViewHandle view, AIReal zoom)
    {
        Document* d = viewDoc(view);
        if (!d) return kNoDocumentErr;
        // The zoom range of a drawing program's view: 3 % to 6400 %.
        if (!(zoom > 0)) return kBadParameterErr;
        d->zoom = std::clamp(zoom, 0.03125f, 64.0f);
        return kNoErr;
    }

    static ASErr GetDocumentViewCenter(AIDocumentViewHandle view, AIRealPoint* center)
    {
        return readDocumentField(viewDoc(view), &Document::center, center);
    }

    static ASErr SetDocumentViewCenter(AIDocumentViewHandle view, const AIRealPoint* center)
    {
        return writeDocumentField(viewDoc(view), &Document::center, center);
    }

    static ASErr GetDocumentViewBounds(AIDocumentViewHandle view, AIRealRect* bounds)
    {
        Document* d = viewDoc(view);
        if (!d) return kNoDocumentErr;
        if (!bounds) return kBadParameterErr;
        // A window of 800 x 600 pixels at one point per pixel at 100 %.
        AIReal hw = 400 / d->zoom, hh = 300 / d->zoom;
        *bounds = AIRealRect{d->center.h - hw, d->center.v + hh, d->center.h + hw, d->center.v - hh};
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<DocumentViewOps>);

}  // namespace
}  // namespace vt::host::docsuites
