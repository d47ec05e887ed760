#include "Tools/SplitTool.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/SplitDialog.h"
#include "Tools/ToolNames.h"

AIArtHandle g_artSplitGuide = NULL;

void splitToolSelect()
{
    g_artSplitGroup = NULL;
    g_artSplitGuide = NULL;
}

// Lays the guide through the cursor across the page rectangle read at the
// mouse down. Shift is read on every event, so the line may turn while it is
// dragged.
static ASErr drawGuide(AIToolMessage* message)
{
    if (g_artSplitGuide == NULL) return kNoErr;  // a drag whose press never reached the tool
    const bool vertical = toolShiftHeld(message);
    const AIRealRect& page = g->splitToolBounds;
    AIPathSegment segments[2] = {};
    if (vertical) {
        segments[0].p = AIRealPoint{message->cursor.h, page.bottom};
        segments[1].p = AIRealPoint{message->cursor.h, page.top};
    } else {
        segments[0].p = AIRealPoint{page.left, message->cursor.v};
        segments[1].p = AIRealPoint{page.right, message->cursor.v};
    }
    for (AIPathSegment& s : segments) {
        s.in = s.p;
        s.out = s.p;
        s.corner = true;
    }
    SetPlatformCursor(g->pluginRef, vertical ? kSplitVerticalCursor : kSplitHorizontalCursor);
    ASErr err = sAIPath->SetPathSegmentCount(g_artSplitGuide, 2);
    if (err == kNoErr) err = sAIPath->SetPathSegments(g_artSplitGuide, 0, 2, segments);
    if (err == kNoErr) err = sAIPath->SetPathClosed(g_artSplitGuide, false);
    return err;
}

ASErr splitToolMouseDown(AIToolMessage* message)
{
    ASErr err = sAIDocument->GetDocumentPageBounds(&g->splitToolBounds);
    if (err != kNoErr) return err;
    // The group may have been deleted since the last guide: start a new one.
    if (g_artSplitGroup == NULL || !sAIArt->ValidArt(g_artSplitGroup)) {
        g_artSplitGroup = NULL;
        err = sAIArt->NewArt(kGroupArt, kPlaceAboveAll, NULL, &g_artSplitGroup);
        if (err != kNoErr) {
            g_artSplitGroup = NULL;
            return err;
        }
    }
    g_artSplitGuide = NULL;
    err = sAIArt->NewArt(kPathArt, kPlaceInsideOnTop, g_artSplitGroup, &g_artSplitGuide);
    if (err != kNoErr) {
        g_artSplitGuide = NULL;
        return err;
    }
    return drawGuide(message);
}

ASErr splitToolMouseDrag(AIToolMessage* message) { return drawGuide(message); }

ASErr splitToolMouseUp(AIToolMessage* message)
{
    if (g_artSplitGuide == NULL) return kNoErr;
    ASErr err = drawGuide(message);
    if (err == kNoErr) err = sAIPath->SetPathGuide(g_artSplitGuide, true);
    g_artSplitGuide = NULL;
    return err;
}
