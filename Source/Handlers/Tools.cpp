// The plug-in's three tools in the host's toolbox: registering them and
// routing every tool message to the tool it is for. The split tool draws
// guides, the start-point tool moves start points, the check-group tool frames
// what is cut as one object; with shift held the last two zoom the view to a
// dragged rectangle instead.
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Handlers/Handlers.h"
#include "Tools/GroupCheckTool.h"
#include "Tools/MarqueeZoom.h"
#include "Tools/SplitTool.h"
#include "Tools/StartPointTool.h"
#include "Tools/ToolNames.h"

// The host copies only an icon's id into its toolbox: the icon itself stays
// the plug-in's, kept in *icon until releaseToolIcons destroys it.
static ASErr addOneTool(const char* name, int32_t titleIndex, int32_t tipIndex, int32_t iconId, ADMIconRef* icon,
                        AIToolHandle* tool)
{
    char title[256], tip[256];
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, titleIndex, title, sizeof title);
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, tipIndex, tip, sizeof tip);
    *icon = sADMIcon->GetFromResource(g->pluginRef, iconId, 0);
    if (*icon == NULL) return kIconLoadErr;
    if (sADMIcon->GetType(*icon) == kADMUnknownIconType) return kIconLoadErr;
    AIAddToolData data;
    data.title = title;
    data.tooltip = tip;
    data.icon = *icon;
    data.sameGroupAs = kToolGroupNumber;
    data.sameToolsetAs = kToolGroupNumber;
    return sTool->AddTool(g->pluginRef, name, &data, kToolWantsToTrackCursorOption, tool);
}

void releaseToolIcons()
{
    for (ADMIconRef& icon : g->toolIcons) {
        if (icon != NULL) sADMIcon->Destroy(icon);
        icon = NULL;
    }
}

ASErr addTool(SPInterfaceMessage*)
{
    ASErr err = addOneTool(kSplitToolName, kSplitToolTitleString, kSplitToolTipString, kSplitToolIcon,
                           &g->toolIcons[0], &g->toolSplit);
    if (err == kNoErr)
        err = addOneTool(kStartPointToolName, kStartPointToolTitleString, kStartPointToolTipString,
                         kStartPointToolIcon, &g->toolIcons[1], &g->toolStartPoint);
    if (err == kNoErr)
        err = addOneTool(kCheckGroupToolName, kCheckGroupToolTitleString, kCheckGroupToolTipString,
                         kCheckGroupToolIcon, &g->toolIcons[2], &g->toolCheckGroup);
    // A start-up that fails here gets no shutdown message: what was made for
    // the toolbox goes now.
    if (err != kNoErr) releaseToolIcons();
    return err;
}

static void tellPalette(const char* notification)
{
    if (g->preProcessPanel != NULL) sADMDialog->SendNotify(g->preProcessPanel, notification);
}

ASErr toolSelect(AIToolMessage* message)
{
    if (message->tool == g->toolSplit) {
        tellPalette(kToolSplitSelectedNotifier);
        splitToolSelect();
        if (g->splitPanel != NULL) sADMDialog->Show(g->splitPanel, true);
    } else if (message->tool == g->toolStartPoint) {
        tellPalette(kToolStartPointSelectedNotifier);
        // Without its layer the tool still moves nothing and shows no
        // markers; the host is told the tool was picked either way.
        (void)toolStartPointSelect();
    } else if (message->tool == g->toolCheckGroup) {
        tellPalette(kToolGroupCheckSelectedNotifier);
        (void)toolGroupCheckSelect(message);  // only forgets the frames' group
    }
    return kNoErr;
}

ASErr toolDeselect(AIToolMessage* message)
{
    if (message->tool == g->toolSplit) {
        tellPalette(kToolSplitDeselectedNotifier);
        if (g->splitPanel != NULL) sADMDialog->Show(g->splitPanel, false);
    } else if (message->tool == g->toolStartPoint) {
        tellPalette(kToolStartPointDeselectedNotifier);
        (void)toolStartPointDeselect();  // always 0
    } else if (message->tool == g->toolCheckGroup) {
        tellPalette(kToolGroupCheckDeselectedNotifier);
        // Frames that cannot be removed are tool art the user may delete;
        // nothing to report while the tool is put down.
        (void)toolGroupCheckDeselect(message);
    }
    return kNoErr;
}

ASErr toolTrackCursor(AIToolMessage* message)
{
    const bool shift = toolShiftHeld(message);
    if (message->tool == g->toolSplit) {
        g->toolMode = shift ? kToolModeSplitVertical : kToolModeSplitHorizontal;
        SetPlatformCursor(g->pluginRef, shift ? kSplitVerticalCursor : kSplitHorizontalCursor);
    } else if (message->tool == g->toolStartPoint) {
        if (shift) {
            g->toolMode = kToolModeMarqueeZoom;
            SetPlatformCursor(g->pluginRef, kMarqueeZoomCursor);
        } else {
            g->toolMode = kToolModeStartPoint;
            // A failed hit test leaves the pointer as it was.
            (void)toolStartPointMouseMove(message);
        }
    } else if (message->tool == g->toolCheckGroup) {
        g->toolMode = shift ? kToolModeMarqueeZoom : kToolModeCheckGroup;
        SetPlatformCursor(g->pluginRef, shift ? kMarqueeZoomCursor : kCheckGroupCursor);
    }
    return kNoErr;
}

// The start-point and check-group tools zoom instead while the last tracking
// saw shift held.
static bool zooming(AIToolMessage* message)
{
    return (message->tool == g->toolStartPoint || message->tool == g->toolCheckGroup) &&
           g->toolMode == kToolModeMarqueeZoom;
}

ASErr toolMouseDown(AIToolMessage* message)
{
    if (message->tool == g->toolSplit) return splitToolMouseDown(message);
    if (zooming(message)) return marqueeZoomMouseDown(message);
    if (message->tool == g->toolCheckGroup) return toolGroupCheckMouseDown(message);
    return kNoErr;
}

ASErr toolMouseDrag(AIToolMessage* message)
{
    if (message->tool == g->toolSplit) return splitToolMouseDrag(message);
    if (zooming(message)) return marqueeZoomMouseDrag(message);
    return kNoErr;
}

ASErr toolMouseUp(AIToolMessage* message)
{
    if (message->tool == g->toolSplit) return splitToolMouseUp(message);
    if (zooming(message)) return marqueeZoomMouseUp(message);
    if (message->tool != g->toolStartPoint && message->tool != g->toolCheckGroup) return kNoErr;
    ASErr err = disposeDragZoom();
    if (err != kNoErr) return err;
    if (message->tool == g->toolStartPoint) return toolStartPointMouseUp(message->cursor);
    return toolGroupCheckMouseUp(message);
}
