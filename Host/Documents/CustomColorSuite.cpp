// The "AI Custom Color Suite": the named colours of the current document.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct CustomColorOps {
    using Suite = AICustomColorSuite;

    static ASErr NewCustomColor(const AICustomColor* color, const char* name, AICustomColorHandle* out)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!color || !name || !out) return kBadParameterErr;
        *out = Document::handle(d->newCustomColor(name, *color));
        return kNoErr;
    }

    static ASErr GetCustomColor(AICustomColorHandle h, AICustomColor* color)
    {
        Document* d = doc();
        CustomColorEntry* c = d ? d->customColor(h) : nullptr;
        if (!c || !color) return kBadParameterErr;
        *color = c->color;
        return kNoErr;
    }

    static ASErr SetCustomColor(AICustomColorHandle h, const AICustomColor* color)
    {
        Document* d = doc();
        CustomColorEntry* c = d ? d->customColor(h) : nullptr;
        if (!c || !color) return kBadParameterErr;
        c->color = *color;
        return kNoErr;
    }

    static ASErr GetCustomColorName(AICustomColorHandle h, char* name, size_t size)
    {
        Document* d = doc();
        CustomColorEntry* c = d ? d->customColor(h) : nullptr;
        if (!c || !name) return kBadParameterErr;
        copyUtf8(name, size, c->name);
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<CustomColorOps>);

}  // namespace
}  // namespace vt::host::docsuites
