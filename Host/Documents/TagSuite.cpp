// The "AI Tag Suite": named string tags kept on art.
#include <algorithm>
#include <cstring>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct TagOps {
    using Suite = AITagSuite;

    static ASErr SetTag(AIArtHandle art, const char* name, const char* type, const void* value)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (!name || !*name || !type || std::strcmp(type, "string") != 0 || !value) return kBadParameterErr;
        n->setTag(name, static_cast<const char*>(value));
        return kNoErr;
    }

    static ASErr GetTag(AIArtHandle art, const char* name, const char* type, void* value)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (!name || !type || std::strcmp(type, "string") != 0) return kBadParameterErr;
        const std::string* text = n->tag(name);
        if (!text) return kNoSuchTagErr;
        if (value) *static_cast<const char**>(value) = text->c_str();
        return kNoErr;
    }

    static ASErr HasTag(AIArtHandle art, const char* name, AIBoolean* has)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (!name || !has) return kBadParameterErr;
        *has = n->tag(name) != nullptr;
        return kNoErr;
    }

    static ASErr RemoveTag(AIArtHandle art, const char* name)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (!name) return kBadParameterErr;
        if (!n->removeTag(name)) return kNoSuchTagErr;
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<TagOps>);

}  // namespace
}  // namespace vt::host::docsuites
