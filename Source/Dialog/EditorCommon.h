// What the plotter, environment and pen editors share: placement, justified
// labels, and the checks that keep the library file readable.
#pragma once

#include "AllSuites.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/ItemControl.h"

// Places the dialog at left, top with the size given and sets its title from
// the string list.
void editorPlace(ADMDialogRef dialog, int left, int top, int width, int height, int titleIndex);

// Right-justifies every static text of the table except the ids listed,
// which are left-justified.
void editorJustify(ADMDialogRef dialog, const Item_Control_arg* table, int count, const int* leftIds, int leftCount);

// A name must fit on one line of the library file: a line end would split
// the record and every later value would be read out of step. Shows why and
// returns true when the name is refused.
bool editorNameRefused(const char* name);

// The text of string-list entry index.
void editorString(int index, char* text, int size);
