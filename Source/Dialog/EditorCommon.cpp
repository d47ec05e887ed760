#include "Dialog/EditorCommon.h"

#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"

void editorPlace(ADMDialogRef dialog, int left, int top, int width, int height, int titleIndex)
{
    ADMRect bounds;
    BoundsSet(&bounds, left, width, top, height);
    sADMDialog->SetBoundsRect(dialog, &bounds);
    char title[256];
    editorString(titleIndex, title, sizeof title);
    sADMDialog->SetText(dialog, title);
}

bool editorNameRefused(const char* name)
{
    if (strpbrk(name, "\r\n") == nullptr) return false;
    sADMBasic->ErrorAlert("A name must stay on one line. Please remove the line break.");
    return true;
}

void editorString(int index, char* text, int size)
{
    text[0] = 0;
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, index, text, size);
}

int editorRun(const EditorForm* form, ADMDialogInitProc init)
{
    int result = runModalDialog(form->dialog, init);
    return result == 2 ? 0 : result;
}

ASErr editorOpen(ADMDialogRef dialog, const EditorForm* form, int left, int top)
{
    editorPlace(dialog, left, top, form->dialog.width, form->dialog.height, form->titleIndex);
    if (loadDialogItems(form->items, form->itemCount, dialog) != 1) return kNoErr;
    justifyLabels(dialog, form->items, form->itemCount, form->leftJustified, form->leftJustifiedCount);
    return kNoErr;
}
