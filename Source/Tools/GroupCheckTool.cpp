#include "Tools/GroupCheckTool.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Tools/HeldArt.h"

// How far a frame lies outside its object's bounds, points.
static const AIReal kGroupCheckMargin = 2.0f;

AIArtHandle g_artGroupShow = NULL;

ASErr toolGroupCheckSelect(AIToolMessage*)
{
    g_artGroupShow = NULL;
    return kNoErr;
}

static ASErr disposeFrames() { return disposeHeldArt(&g_artGroupShow); }

static bool isGuide(AIArtHandle art)
{
    int16_t type = kUnknownArt;
    AIBoolean guide = false;
    return sAIArt->GetArtType(art, &type) == kNoErr && type == kPathArt &&
           sAIPath->GetPathGuide(art, &guide) == kNoErr && guide;
}

// Guides are never cut, so they are not framed: neither a guide path nor a
// group that holds nothing but guides (the split tool's own group).
static bool isGuideOnly(AIArtHandle art)
{
    if (isGuide(art)) return true;
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type) != kNoErr || type != kGroupArt) return false;
    AIArtHandle child = NULL;
    if (sAIArt->GetArtFirstChild(art, &child) != kNoErr || child == NULL) return false;
    for (; child != NULL;) {
        if (!isGuide(child)) return false;
        if (sAIArt->GetArtSibling(child, &child) != kNoErr) return false;
    }
    return true;
}

static ASErr frameObject(AIArtHandle art)
{
    AIRealRect bounds;
    // Art that paints nothing (an empty group) has no bounds and no frame.
    if (sAIArt->GetArtBounds(art, &bounds) != kNoErr) return kNoErr;
    AIArtHandle frame = NULL;
    ASErr err = sAIShapeConstruction->NewRect(bounds.top + kGroupCheckMargin, bounds.left - kGroupCheckMargin,
                                              bounds.bottom - kGroupCheckMargin, bounds.right + kGroupCheckMargin,
                                              false, &frame);
    if (err == kNoErr) err = sAIArt->ReorderArt(frame, kPlaceInsideOnTop, g_artGroupShow);
    return err;
}

ASErr toolGroupCheckMouseDown(AIToolMessage*)
{
    ASErr err = disposeFrames();
    if (err != kNoErr) return err;
    err = sAIArt->NewArt(kGroupArt, kPlaceAboveAll, NULL, &g_artGroupShow);
    if (err != kNoErr) {
        g_artGroupShow = NULL;
        return err;
    }
    int32_t layerCount = 0;
    err = sAILayer->CountLayers(&layerCount);
    for (int32_t i = 0; err == kNoErr && i < layerCount; ++i) {
        AILayerHandle layer = NULL;
        AIArtHandle top = NULL, art = NULL;
        err = sAILayer->GetNthLayer(i, &layer);
        if (err == kNoErr) err = sAIArt->GetFirstArtOfLayer(layer, &top);
        if (err == kNoErr) err = sAIArt->GetArtFirstChild(top, &art);
        while (err == kNoErr && art != NULL) {
            // The frames' own group lies among the objects it frames; it is
            // the tool's, not the user's, and is never framed itself.
            if (art != g_artGroupShow && !isGuideOnly(art)) err = frameObject(art);
            if (err == kNoErr) err = sAIArt->GetArtSibling(art, &art);
        }
    }
    return err;
}

ASErr toolGroupCheckMouseUp(AIToolMessage*) { return disposeFrames(); }

ASErr toolGroupCheckDeselect(AIToolMessage*) { return disposeFrames(); }
