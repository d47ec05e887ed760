// The "AI Layer Suite": counting, finding, ordering and naming layers, and their
// colour and visibility.
#include <string>

#include "Documents/DocumentSuites.h"

namespace vt::host::docsuites {
namespace {

struct LayerOps {
    using Suite = AILayerSuite;

    static ASErr CountLayers(int32_t* count)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!count) return kBadParameterErr;
        *count = static_cast<int32_t>(d->layers().size());
        return kNoErr;
    }

    static ASErr GetNthLayer(int32_t n, AILayerHandle* layer)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!layer || n < 0 || static_cast<size_t>(n) >= d->layers().size()) return kBadLayerErr;
        *layer = Document::handle(d->layers()[n]);
        return kNoErr;
    }

    static ASErr GetFirstLayer(AILayerHandle* layer) { return GetNthLayer(0, layer); }

    static ASErr GetNextLayer(AILayerHandle layer, AILayerHandle* next)
    {
        LayerNode* l = layerOf(layer);
        if (!l || !next) return kBadLayerErr;
        const auto& all = doc()->layers();
        size_t i = doc()->layerIndex(l) + 1;
        *next = i < all.size() ? Document::handle(all[i]) : nullptr;
        return kNoErr;
    }

    static ASErr GetCurrentLayer(AILayerHandle* layer)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!layer) return kBadParameterErr;
        *layer = Document::handle(d->currentLayer());
        return kNoErr;
    }

    static ASErr SetCurrentLayer(AILayerHandle layer)
    {
        LayerNode* l = layerOf(layer);
        if (!l) return kBadLayerErr;
        doc()->setCurrentLayer(l);
        return kNoErr;
    }

    static ASErr GetLayerByTitle(AILayerHandle* layer, const char* title)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        if (!layer || !title) return kBadParameterErr;
        LayerNode* l = d->layerByTitle(title);
        *layer = Document::handle(l);
        return l ? ASErr(kNoErr) : ASErr(kBadLayerErr);
    }

    static ASErr GetLayerTitle(AILayerHandle layer, char* title, size_t size)
    {
        return readText(layerOf(layer), &LayerNode::title, title, size, kBadLayerErr);
    }

    static ASErr SetLayerTitle(AILayerHandle layer, const char* title)
    {
        return writeText(layerOf(layer), &LayerNode::title, title, kBadLayerErr);
    }

    static ASErr InsertLayer(AILayerHandle layer, int16_t paintOrder, AILayerHandle* newLayer)
    {
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        int index;
        switch (paintOrder) {
        case kPlaceAboveAll: index = 0; break;
        case kPlaceBelowAll: index = -1; break;
        case kPlaceAbove:
        case kPlaceBelow: {
            LayerNode* l = layerOf(layer);
            if (!l) return kBadLayerErr;
            index = d->layerIndex(l) + (paintOrder == kPlaceBelow ? 1 : 0);
            break;
        }
        default: return kBadPaintOrderErr;
        }
        LayerNode* l = d->insertLayer(index, "Layer " + std::to_string(d->layers().size() + 1));
        if (newLayer) *newLayer = Document::handle(l);
        return kNoErr;
    }

    static ASErr DeleteLayer(AILayerHandle layer)
    {
        LayerNode* l = layerOf(layer);
        if (!l) return kBadLayerErr;
        doc()->deleteLayer(l);
        return kNoErr;
    }

    static ASErr GetLayerColor(AILayerHandle layer, AIRGBColor* color)
    {
        return readField(layerOf(layer), &LayerNode::color, color, kBadLayerErr);
    }

    static ASErr SetLayerColor(AILayerHandle layer, AIRGBColor color)
    {
        return writeField(layerOf(layer), &LayerNode::color, color, kBadLayerErr);
    }

    static ASErr GetLayerVisible(AILayerHandle layer, AIBoolean* visible)
    {
        return readField(layerOf(layer), &LayerNode::visible, visible, kBadLayerErr);
    }

    static ASErr SetLayerVisible(AILayerHandle layer, AIBoolean visible)
    {
        return writeField(layerOf(layer), &LayerNode::visible, visible != 0, kBadLayerErr);
    }
};

SuiteInstaller installer(installOps<LayerOps>);

}  // namespace
}  // namespace vt::host::docsuites
