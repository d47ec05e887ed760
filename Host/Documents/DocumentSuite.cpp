// The "AI Document Suite": the current document's page, handle and file name.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

ASErr getDocumentPageBounds(AIRealRect* bounds)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!bounds) return kBadParameterErr;
    *bounds = d->page;
    return kNoErr;
}

ASErr setDocumentPageBounds(const AIRealRect* bounds)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!bounds) return kBadParameterErr;
    d->page = *bounds;
    return kNoErr;
}

ASErr getDocument(AIDocumentHandle* document)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (document) *document = reinterpret_cast<AIDocumentHandle>(d);
    return kNoErr;
}

ASErr getDocumentFileName(char* name, size_t size)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!name) return kBadParameterErr;
    copyUtf8(name, size, d->fileName);
    return kNoErr;
}

SuiteInstaller installer([] {
    auto& d = suiteTable<AIDocumentSuite>();
    d.GetDocumentPageBounds = getDocumentPageBounds;
    d.SetDocumentPageBounds = setDocumentPageBounds;
    d.GetDocument = getDocument;
    d.GetDocumentFileName = getDocumentFileName;
});

}  // namespace
}  // namespace vt::host::docsuites
