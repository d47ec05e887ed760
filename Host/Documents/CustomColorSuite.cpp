// The "AI Custom Color Suite": the named colours of the current document.
#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

ASErr newCustomColor(const AICustomColor* color, const char* name, AICustomColorHandle* out)
{
    Document* d = doc();
    if (!d) return kNoDocumentErr;
    if (!color || !name || !out) return kBadParameterErr;
    *out = Document::handle(d->newCustomColor(name, *color));
    return kNoErr;
}

ASErr getCustomColor(AICustomColorHandle h, AICustomColor* color)
{
    Document* d = doc();
    CustomColorEntry* c = d ? d->customColor(h) : nullptr;
    if (!c || !color) return kBadParameterErr;
    *color = c->color;
    return kNoErr;
}

ASErr setCustomColor(AICustomColorHandle h, const AICustomColor* color)
{
    Document* d = doc();
    CustomColorEntry* c = d ? d->customColor(h) : nullptr;
    if (!c || !color) return kBadParameterErr;
    c->color = *color;
    return kNoErr;
}

ASErr getCustomColorName(AICustomColorHandle h, char* name, size_t size)
{
    Document* d = doc();
    CustomColorEntry* c = d ? d->customColor(h) : nullptr;
    if (!c || !name) return kBadParameterErr;
    copyUtf8(name, size, c->name);
    return kNoErr;
}

SuiteInstaller installer([] {
    auto& cc = suiteTable<AICustomColorSuite>();
    cc.NewCustomColor = newCustomColor;
    cc.GetCustomColor = getCustomColor;
    cc.SetCustomColor = setCustomColor;
    cc.GetCustomColorName = getCustomColorName;
});

}  // namespace
}  // namespace vt::host::docsuites
