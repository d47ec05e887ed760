// The "AI Document Suite": the current document's page, handle and file name.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct DocumentOps {
    using Suite = AIDocumentSuite;

    static ASErr GetDocumentPageBounds(AIRealRect* bounds)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!bounds) return kBadParameterErr;
        *bounds = d->page;
        return kNoErr;
    }

    static ASErr SetDocumentPageBounds(const AIRealRect* bounds)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!bounds) return kBadParameterErr;
        d->page = *bounds;
        return kNoErr;
    }

    static ASErr GetDocument(AIDocumentHandle* document)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (document) *document = reinterpret_cast<AIDocumentHandle>(d);
        return kNoErr;
    }

    static ASErr GetDocumentFileName(char* name, size_t size)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!name) return kBadParameterErr;
        copyUtf8(name, size, d->fileName);
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<DocumentOps>);

}  // namespace
}  // namespace vt::host::docsuites
