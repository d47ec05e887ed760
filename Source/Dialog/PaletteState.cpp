#include "Dialog/PaletteState.h"

#include <algorithm>
#include <string.h>

#include "Common/Suites.h"

// A corner saved on a larger screen, or with another arrangement of screens,
// would put the palette where nobody can reach it: it is moved back just far
// enough to lie wholly on the main screen (its top left corner first, for a
// palette larger than the screen).
static ASPoint keepOnScreen(ASPoint corner, int32_t width, int32_t height)
{
    ADMRect screen;
    sADMBasic->GetScreenDimensions(&screen);
    int32_t h = std::max(std::min<int32_t>(corner.h, screen.right - width), int32_t{screen.left});
    int32_t v = std::max(std::min<int32_t>(corner.v, screen.bottom - height), int32_t{screen.top});
    return ASPoint{static_cast<ASInt16>(h), static_cast<ASInt16>(v)};
}

void restorePaletteState(ADMDialogRef dialog, int32_t width, int32_t height)
{
    ADMRect area;
    sADMBasic->GetPaletteLayoutBounds(&area);
    AIPoint corner;
    corner.h = area.left;
    corner.v = area.top;
    AIPoint saved;
    if (sAIPreference->GetPointPreference(kPaletteStatePrefix, kPaletteLocationKey, &saved) == kNoErr)
        corner = keepOnScreen(saved, width, height);
    ADMRect bounds;
    bounds.left = corner.h;
    bounds.top = corner.v;
    bounds.right = static_cast<ASInt16>(corner.h + width);
    bounds.bottom = static_cast<ASInt16>(corner.v + height);
    sADMDialog->SetBoundsRect(dialog, &bounds);

    ASInt32 positionCode = kPaletteDefaultPositionCode;
    ASInt32 savedCode = 0;
    if (sAIPreference->GetIntegerPreference(kPaletteStatePrefix, kPalettePositionCodeKey, &savedCode) == kNoErr)
        positionCode = savedCode;
    char group[256];
    if (sAIPreference->GetStringPreference(kPaletteStatePrefix, kPaletteGroupNameKey, group, sizeof group) == kNoErr &&
        group[0] != '\0')
        (void)sADMDialogGroup->SetDialogGroupInfo(dialog, group, positionCode);  // ungrouped it still works

    AIBoolean visible = true;
    AIBoolean savedVisible = true;
    if (sAIPreference->GetBooleanPreference(kPaletteStatePrefix, kPaletteVisibleKey, &savedVisible) == kNoErr)
        visible = savedVisible;
    sADMDialog->Show(dialog, visible);
}

void savePaletteState(ADMDialogRef dialog)
{
    const char* group = nullptr;
    ASInt32 positionCode = kPaletteDefaultPositionCode;
    (void)sADMDialogGroup->GetDialogGroupInfo(dialog, &group, &positionCode);  // unread: the defaults are kept
    ADMRect bounds;
    sADMDialog->GetBoundsRect(dialog, &bounds);
    const AIBoolean visible = sADMDialog->IsVisible(dialog);

    // Nothing can be done about a preference that is not written at shutdown;
    // the palette then opens as it did before.
    (void)sAIPreference->PutIntegerPreference(kPaletteStatePrefix, kPalettePositionCodeKey, positionCode);
    (void)sAIPreference->PutStringPreference(kPaletteStatePrefix, kPaletteGroupNameKey, group ? group : "");
    const AIPoint corner = {bounds.left, bounds.top};
    (void)sAIPreference->PutPointPreference(kPaletteStatePrefix, kPaletteLocationKey, &corner);
    const AIPoint size = {static_cast<ASInt16>(bounds.right - bounds.left),
                          static_cast<ASInt16>(bounds.bottom - bounds.top)};
    (void)sAIPreference->PutPointPreference(kPaletteStatePrefix, kPaletteSizeKey, &size);
    (void)sAIPreference->PutBooleanPreference(kPaletteStatePrefix, kPaletteVisibleKey, visible);
}
