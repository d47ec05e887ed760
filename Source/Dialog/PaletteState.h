// Where the command palette was, in which docking group, and whether it was
// shown: read when the palette is made, written when it is destroyed, under
// the plug-in's preference prefix.
#pragma once

#include "AllSuites.h"

#define kPaletteStatePrefix "Vantorel"
#define kPaletteLocationKey "kKorvelTools_LocationStr"
#define kPaletteSizeKey "kKorvelTools_SizeStr"
#define kPalettePositionCodeKey "kKorvelTools_PositionCodeStr"
#define kPaletteGroupNameKey "kKorvelTools_GroupNameStr"
#define kPaletteVisibleKey "kKorvelTools_VisibleStr"

// Where a palette without a group of its own docks, as the host numbers it.
enum { kPaletteDefaultPositionCode = 7168 };

// Places the palette (width x height, the size is not kept) at its saved top
// left corner, kept on the screen, or at the corner of the host's palette
// area; puts it into its saved docking group; shows or hides it. A key that
// does not read keeps its default: the palette area's corner, no group, code
// 7168, shown.
void restorePaletteState(ADMDialogRef dialog, int32_t width, int32_t height);
// Writes the position code, the group name (empty: no group), the top left
// corner, the size and the visibility, in that order.
void savePaletteState(ADMDialogRef dialog);
