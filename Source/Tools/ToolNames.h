// The plug-in's three tools: their names, the notifications that keep the
// command palette's radios in step with them, their cursors, the pointer
// modes they work in, and the platform cursor call they share.
#pragma once

#include <stdint.h>

#include "AllSuites.h"

#define kSplitToolName "Korvel tool-Split data"
#define kStartPointToolName "Korvel tool-Change start pt"
#define kCheckGroupToolName "Korvel tool-Check group"

// Sent to the command palette when a tool is picked or put down; the palette
// turns its matching radio on, or all three off.
#define kToolSplitSelectedNotifier "Korvel ToolSplit Selected!"
#define kToolStartPointSelectedNotifier "Korvel ToolStartPoint Selected!"
#define kToolGroupCheckSelectedNotifier "Korvel ToolGroupCheck Selected!"
#define kToolSplitDeselectedNotifier "Korvel ToolSplit DeSelected!"
#define kToolStartPointDeselectedNotifier "Korvel ToolStartPoint DeSelected!"
#define kToolGroupCheckDeselectedNotifier "Korvel ToolGroupCheck DeSelected!"

// String-list texts: each tool's title and tip, and the start-point tool's
// message for an open path.
enum {
    kSplitToolTitleString = 401,
    kSplitToolTipString = 402,
    kStartPointToolTitleString = 403,
    kStartPointToolTipString = 404,
    kCheckGroupToolTitleString = 405,
    kCheckGroupToolTipString = 406,
    kOpenPathStartPointString = 407
};

// Icons of the toolbox, and the number that keeps the three tools in one slot.
enum { kSplitToolIcon = 1025, kStartPointToolIcon = 1026, kCheckGroupToolIcon = 1027, kToolGroupNumber = 973 };

// Cursor resources.
enum {
    kSplitHorizontalCursor = 6000,
    kSplitVerticalCursor = 6001,
    kStartPointAnchorCursor = 6002,  // over an anchor, or over the path off its curves
    kCheckGroupCursor = 6003,
    kMarqueeZoomCursor = 6013,
    kStartPointNothingCursor = 6015,  // over nothing
    kStartPointSegmentCursor = 6016   // over a curve between anchors
};

// What the pointer does, set at every cursor tracking.
enum {
    kToolModeSplitVertical = 1,
    kToolModeSplitHorizontal = 2,
    kToolModeStartPoint = 3,
    kToolModeCheckGroup = 4,
    kToolModeMarqueeZoom = 5
};

// Makes the plug-in's cursor resource of that id the pointer's shape; a
// cursor the plug-in lacks leaves the pointer as it is.
void SetPlatformCursor(SPPluginRef plugin, int32_t cursorId);

// True when the tool message says shift is held.
bool toolShiftHeld(const AIToolMessage* message);
