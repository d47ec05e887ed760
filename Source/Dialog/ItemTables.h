// Every dialog-item table of the plug-in, with the dialog it builds and the
// size its rows are laid out for. The tests walk this list: item ids unique
// within a dialog, every row inside its dialog, every text and tip present in
// the string list. A new dialog adds its table here.
#pragma once

#include <stdint.h>

#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

struct ItemTableInfo {
    // The dialog, with the size the table's rows must fit in: the dialog's
    // size, or for a dialog that lays its items out again whenever it is
    // resized (Plot Out) the size it opens at, the only size at which the
    // table's own positions are shown.
    DialogResource dialog;
    const Item_Control_arg* table;
    int32_t count;
};

extern const ItemTableInfo kItemTables[];
extern const int32_t kItemTableCount;
