// What the plotter, environment and pen editors share: how one is opened and
// answered, placement, justified labels, and the checks that keep the library
// file readable.
#pragma once

#include "AllSuites.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Places the dialog at left, top with the size given and sets its title from
// the string list.
void editorPlace(ADMDialogRef dialog, int left, int top, int width, int height, int titleIndex);

// A name must fit on one line of the library file: a line end would split
// the record and every later value would be read out of step. Shows why and
// returns true when the name is refused.
bool editorNameRefused(const char* name);

// The text of string-list entry index.
void editorString(int index, char* text, int size);

// What tells one editor from another when it opens: its dialog, size and
// title, its item table, and the static texts that stand left-justified
// (every other one is right-justified against its field).
struct EditorForm {
    DialogResource dialog;
    int titleIndex;
    const Item_Control_arg* items;
    int itemCount;
    const int* leftJustified;
    int leftJustifiedCount;
};

// Runs the editor's modal dialog with init as its init procedure. 1 for OK,
// 0 for Cancel, any other modal result unchanged.
int editorRun(const EditorForm* form, ADMDialogInitProc init);

// The work of an editor's init procedure: the dialog placed with its top-left
// corner at left, top, titled, its items made and its static texts justified.
// A dialog whose items could not all be made has been abandoned already.
VT_NODISCARD ASErr editorOpen(ADMDialogRef dialog, const EditorForm* form, int left, int top);

// Edits record through the editor of form: its working copy is taken from the
// record, and OK hands the copy to keep, which copies back the fields the
// editor shows. A null record opens nothing. 1 for OK, 0 for Cancel or a null
// record, any other modal result unchanged.
template <typename Record>
int editorEdit(Record* record, Record* copy, const EditorForm* form, ADMDialogInitProc init,
               void (*keep)(Record* to, const Record* from))
{
    if (record == nullptr) return 0;
    *copy = *record;
    int result = editorRun(form, init);
    if (result == 1) keep(record, copy);
    return result;
}
