// The "AI Art Suite": creating, placing, disposing and walking the art tree, and
// the attributes, bounds and names of art.
#include <algorithm>
#include <set>
#include <string>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

void collectNames(const ArtNode* n, std::set<std::string>& names)
{
    if (!n->name.empty()) names.insert(n->name);
    for (const ArtNode* c : n->children) collectNames(c, names);
}

// A copy's names are its original's with "-2", "-3", ... added: a name is the
// art's SVG id, which must stay unique in the saved file.
void renameCopy(ArtNode* n, std::set<std::string>& names)
{
    if (!n->name.empty()) {
        std::string base = n->name;
        for (int k = 2;; ++k) {
            std::string candidate = base + "-" + std::to_string(k);
            if (names.insert(candidate).second) {
                n->name = candidate;
                break;
            }
        }
    }
    for (ArtNode* c : n->children) renameCopy(c, names);
}

template <typename F>
ASErr relative(AIArtHandle art, AIArtHandle* out, F pick)
{
    ArtNode* n = artOf(art);
    if (!n || !out) return kBadArtErr;
    *out = Document::handle(pick(n));
    return kNoErr;
}

struct ArtOps {
    using Suite = AIArtSuite;

    static ASErr NewArt(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArtOut)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (type < kGroupArt || type > kOtherArt) return kBadParameterErr;
        ArtNode* prepNode = nullptr;
        if (paintOrder != kPlaceAboveAll && paintOrder != kPlaceBelowAll) {
            prepNode = d->art(prep);
            if (!prepNode) return kBadArtErr;
        }
        ArtNode* node = d->newArt(type);
        ASErr err = d->place(node, paintOrder, prepNode);
        if (err) {
            d->dispose(node);
            return err;
        }
        if (newArtOut) *newArtOut = Document::handle(node);
        return kNoErr;
    }

    static ASErr DisposeArt(AIArtHandle art)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (n->isLayerGroup) return kBadParameterErr;  // a layer goes with DeleteLayer
        doc()->dispose(n);
        return kNoErr;
    }

    static ASErr ReorderArt(AIArtHandle art, int16_t paintOrder, AIArtHandle prep)
    {
        Document* d = doc();
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        ArtNode* p = d->art(prep);
        if (!p && paintOrder != kPlaceAboveAll && paintOrder != kPlaceBelowAll) return kBadArtErr;
        return d->place(n, paintOrder, p);
    }

    static ASErr DuplicateArt(AIArtHandle art, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArtOut)
    {
        Document* d = doc();
        ArtNode* n = artOf(art);
        if (!n || n->isLayerGroup) return kBadArtErr;
        ArtNode* p = d->art(prep);
        if (!p && paintOrder != kPlaceAboveAll && paintOrder != kPlaceBelowAll) return kBadArtErr;
        ArtNode* copy = d->duplicate(n);
        ASErr err = d->place(copy, paintOrder, p);
        if (err) {
            d->dispose(copy);
            return err;
        }
        std::set<std::string> names;
        for (LayerNode* l : d->layers()) collectNames(l->root, names);
        renameCopy(copy, names);
        if (newArtOut) *newArtOut = Document::handle(copy);
        return kNoErr;
    }

    static ASErr GetFirstArtOfLayer(AILayerHandle layer, AIArtHandle* art)
    {
        LayerNode* l = layerOf(layer);
        if (!l || !art) return kBadLayerErr;
        *art = Document::handle(l->root);
        return kNoErr;
    }

    static ASErr GetLayerOfArt(AIArtHandle art, AILayerHandle* layer)
    {
        ArtNode* n = artOf(art);
        if (!n || !layer) return kBadArtErr;
        *layer = Document::handle(n->layer);
        return kNoErr;
    }

    static ASErr GetArtType(AIArtHandle art, int16_t* type)
    {
        ArtNode* n = artOf(art);
        if (!n || !type) return kBadArtErr;
        *type = n->type;
        return kNoErr;
    }

    static ASErr GetArtUserAttr(AIArtHandle art, int32_t whichAttr, int32_t* attr)
    {
        ArtNode* n = artOf(art);
        if (!n || !attr) return kBadArtErr;
        *attr = n->attrs & whichAttr;
        return kNoErr;
    }

    static ASErr SetArtUserAttr(AIArtHandle art, int32_t whichAttr, int32_t attr)
    {
        ArtNode* n = artOf(art);
        if (!n) return kBadArtErr;
        if (whichAttr & kArtSelected) doc()->setSelected(n, (attr & kArtSelected) != 0);
        int32_t rest = whichAttr & ~kArtSelected;
        n->attrs = (n->attrs & ~rest) | (attr & rest);
        return kNoErr;
    }

    static ASErr GetArtParent(AIArtHandle art, AIArtHandle* parent)
    {
        return relative(art, parent, [](ArtNode* n) { return n->parent; });
    }

    static ASErr GetArtFirstChild(AIArtHandle art, AIArtHandle* child)
    {
        return relative(art, child, [](ArtNode* n) { return n->children.empty() ? nullptr : n->children.front(); });
    }

    static ASErr GetArtLastChild(AIArtHandle art, AIArtHandle* child)
    {
        return relative(art, child, [](ArtNode* n) { return n->children.empty() ? nullptr : n->children.back(); });
    }

    static ASErr GetArtSibling(AIArtHandle art, AIArtHandle* sibling)
    {
        return relative(art, sibling, [](ArtNode* n) { return n->next; });
    }

    static ASErr GetArtPriorSibling(AIArtHandle art, AIArtHandle* sibling)
    {
        return relative(art, sibling, [](ArtNode* n) { return n->prior; });
    }

    static ASErr GetArtBounds(AIArtHandle art, AIRealRect* bounds)
    {
        ArtNode* n = artOf(art);
        if (!n || !bounds) return kBadArtErr;
        if (!artBounds(n, true, *bounds)) *bounds = AIRealRect{0, 0, 0, 0};
        return kNoErr;
    }

    static AIBoolean ValidArt(AIArtHandle art) { return artOf(art) != nullptr; }

    static ASErr GetArtName(AIArtHandle art, char* name, size_t size)
    {
        return readText(artOf(art), &ArtNode::name, name, size, kBadArtErr);
    }

    static ASErr SetArtName(AIArtHandle art, const char* name)
    {
        return writeText(artOf(art), &ArtNode::name, name, kBadArtErr);
    }
};

SuiteInstaller installer(installOps<ArtOps>);

}  // namespace
}  // namespace vt::host::docsuites
