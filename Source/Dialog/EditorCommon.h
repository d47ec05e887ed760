// What the plotter, environment and pen editors share: placement, justified
// labels, the millimetre/point conversions of the toolkit's numeric items,
// and the checks that keep the library file readable.
#pragma once

#include "AllSuites.h"
#include "Dialog/ItemControl.h"

// Lengths are held by the toolkit in points (32-bit floats) and shown in mm.
#define kMillimetreToPoints 2.8346458
#define kPointsToMillimetre 0.3527777615108032

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
