#include "Dialog/ItemControl.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"

void BoundsSet(ADMRect* rect, int32_t x, int32_t width, int32_t y, int32_t height)
{
    rect->top = (ASInt16)y;
    rect->left = (ASInt16)x;
    rect->bottom = (ASInt16)(y + height);
    rect->right = (ASInt16)(x + width);
}

int LoadItemControl(const Item_Control_arg* table, int count, ADMDialogRef dialog)
{
    // The dialog's plug-in owns the string list.
    SPPluginRef plugin = sADMDialog->GetPluginRef(dialog);
    for (int i = 0; i < count; i++) {
        const Item_Control_arg* row = &table[i];
        ADMRect rect;
        BoundsSet(&rect, row->x, row->width, row->y, row->height);
        ADMItemRef item =
            sADMItem->Create(dialog, row->itemId, row->itemType, &rect, row->initProc, row->userData, 0);
        if (item == nullptr) return -1;
        // Picture, text and tip come after Create, that is after the row's
        // init procedure has run.
        if (row->pictureId != 0) {
            sADMItem->SetPictureID(item, row->pictureId);
            sADMItem->SetSelectedPictureID(item, row->pictureId);
        }
        char text[256];
        if (row->textIndex != 0) {
            sADMBasic->GetIndexString(plugin, g->stringListId, row->textIndex, text, 256);
            sADMItem->SetText(item, text);
        }
        if (row->tipIndex != 0) {
            sADMBasic->GetIndexString(plugin, g->stringListId, row->tipIndex, text, 256);
            sADMItem->SetTipString(item, text);
            sADMItem->EnableTip(item, TRUE);
        }
    }
    return 1;
}

void abandonDialog(ADMDialogRef dialog)
{
    ADMDialogStyle style = sADMDialog->GetDialogStyle(dialog);
    if (style == kADMFloatingDialogStyle || style == kADMTabbedFloatingDialogStyle)
        sADMDialog->Show(dialog, FALSE);
    else
        sADMDialog->EndModal(dialog, 2, TRUE);
}

int loadDialogItems(const Item_Control_arg* table, int count, ADMDialogRef dialog)
{
    int result = LoadItemControl(table, count, dialog);
    if (result != 1) {
        char text[256];
        text[0] = 0;
        sADMBasic->GetIndexString(sADMDialog->GetPluginRef(dialog), g->stringListId, kDialogNotBuiltString, text,
                                  sizeof text);
        // A string list from an older installation may lack the text; the
        // alert must still say something.
        sADMBasic->ErrorAlert(text[0] != 0 ? text : "The dialog could not be built completely and was closed.");
        abandonDialog(dialog);
    }
    return result;
}
