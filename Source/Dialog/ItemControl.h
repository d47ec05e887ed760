// Dialog-item tables and their loader: every dialog builds its items from a
// static table of rows, with texts and tips from the language's string list.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/Pictures.h"
#include "Dialog/Texts.h"

// One row of a dialog-item table.
struct Item_Control_arg {
    const char* itemType;  // the toolkit's item type name
    int32_t textIndex;     // string-list index of the text; 0 = none
    int32_t tipIndex;      // string-list index of the tool tip; 0 = none
    int32_t pictureId;     // picture for the normal and the selected state; 0 = none
    int32_t itemId;
    int32_t x;
    int32_t width;
    int32_t y;
    int32_t height;
    ADMItemInitProc initProc;  // or null
    ADMUserData userData;
};

// rect = {top y, left x, bottom y + height, right x + width}.
void BoundsSet(ADMRect* rect, int32_t x, int32_t width, int32_t y, int32_t height);

// Creates count items from table in dialog, in table order; returns 1, or -1
// at the first item the toolkit refuses (the items made so far stay).
VT_NODISCARD int LoadItemControl(const Item_Control_arg* table, int count, ADMDialogRef dialog);

// Ends a dialog that could not be built or filled, before anyone works in
// it: a modal dialog ends at once with result 2 (a cancel), a floating one is
// hidden. Its destroy procedure still frees whatever it holds.
void abandonDialog(ADMDialogRef dialog);

// LoadItemControl for a dialog's init procedure. When the toolkit refuses an
// item, an alert says so and the dialog is abandoned rather than shown with
// items missing. Returns what LoadItemControl returned.
VT_NODISCARD int loadDialogItems(const Item_Control_arg* table, int count, ADMDialogRef dialog);
