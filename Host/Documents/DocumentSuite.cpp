// The "AI Document Suite": the current document's page, handle and file name.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct DocumentOps {
    using Suite = AIDocumentSuite;

    static ASErr GetDocumentPageBounds(AIRealRect* bounds) { return readDocumentField(doc(), &Document::page, bounds); }

    static ASErr SetDocumentPageBounds(const AIRealRect* bounds)
    {
        return writeDocumentField(doc(), &Document::page, bounds);
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
        return readText(d, &Document::fileName, name, size, kBadParameterErr);
    }
};

SuiteInstaller installer(installOps<DocumentOps>);

}  // namespace
}  // namespace vt::host::docsuites
