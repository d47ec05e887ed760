// The "AI Custom Color Suite": the named colours of the current document.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

CustomColorEntry* colorOf(AICustomColorHandle h)
{
    Document* d = doc();
    return d ? d->customColor(h) : nullptr;
}

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
        return readField(colorOf(h), &CustomColorEntry::color, color, kBadParameterErr);
    }

    static ASErr SetCustomColor(AICustomColorHandle h, const AICustomColor* color)
    {
        CustomColorEntry* c = colorOf(h);
        if (!c || !color) return kBadParameterErr;
        c->color = *color;
        return kNoErr;
    }

    static ASErr GetCustomColorName(AICustomColorHandle h, char* name, size_t size)
    {
        return readText(colorOf(h), &CustomColorEntry::name, name, size, kBadParameterErr);
    }
};

SuiteInstaller installer(installOps<CustomColorOps>);

}  // namespace
}  // namespace vt::host::docsuites
