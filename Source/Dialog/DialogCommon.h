// What every dialog does the same way: set itself up from its item table,
// tell a user's change from the toolkit's own notifications, end a modal
// dialog when one of its buttons is clicked, and fill and read popups.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"

// Short names of the toolkit's item types, so that a row of an item table
// stays on one line. Every dialog that abbreviates uses these.
#define TPB kADMTextPushButtonType
#define TRB kADMTextRadioButtonType
#define TST kADMTextStaticType
#define TED kADMTextEditType
#define SPE kADMSpinEditType
#define PUL kADMPopupListType
#define FRM kADMFrameType
#define PPB kADMPicturePushButtonType
#define PRB kADMPictureRadioButtonType

// Runs the dialog modally, built by init; returns the modal result (as a rule
// the id of the button that ended it).
ASInt32 runModalDialog(const DialogResource& dialog, ADMDialogInitProc init,
                       ADMDialogStyle style = kADMModalDialogStyle);

// Creates the dialog as a floating palette of the given style, built by init.
ADMDialogRef createPalette(const DialogResource& palette, ADMDialogStyle style, ADMDialogInitProc init);

// Gives the dialog its size, titles it with string-list entry titleIndex and
// builds its items from table. Returns what loadDialogItems returned: 1 when
// every item was made; otherwise the dialog has already been abandoned.
VT_NODISCARD int setUpDialog(ADMDialogRef dialog, const DialogResource& resource, int32_t titleIndex,
                             const Item_Control_arg* table, int count);

// Right-justifies every static text of the table, a label standing against
// its field, except the ids listed (leftIds may be null), which are
// left-justified.
void justifyLabels(ADMDialogRef dialog, const Item_Control_arg* table, int count, const int32_t* leftIds = nullptr,
                   int leftCount = 0);

// A change the user made: a click, a typed value, a chosen entry.
bool userChanged(ADMNotifierRef notifier);

// A dialog's value as stored when its OK button is clicked. Returns false
// when the dialog must stay open (it has said why).
typedef bool (*DialogAcceptProc)(ADMDialogRef dialog);

// The notify procedure of a button that closes a modal dialog without
// storing anything: a click ends the dialog with result, as a cancel when
// cancelling. Every notification then goes on to the toolkit.
ASErr endModalOnClick(ADMItemRef item, ADMNotifierRef notifier, int32_t result, bool cancelling);

// The notify procedure of an OK button: a click runs accept and, when it
// agrees, ends the dialog with result. Every notification then goes on to the
// toolkit.
ASErr acceptOnClick(ADMItemRef item, ADMNotifierRef notifier, int32_t result, DialogAcceptProc accept);

// One notify procedure for a dialog's OK (okId) and Cancel buttons: OK as
// acceptOnClick with okResult, any other button as a cancel with cancelResult.
ASErr okOrCancelOnClick(ADMItemRef item, ADMNotifierRef notifier, int32_t okId, int32_t okResult,
                        int32_t cancelResult, DialogAcceptProc accept);

// The init procedure of an OK and a Cancel button: the item okId gets
// okProc, any other cancelProc.
ASErr setOkCancelProcs(ADMItemRef item, int32_t okId, ADMItemNotifyProc okProc, ADMItemNotifyProc cancelProc);

// The whole set-up of an item that needs only its notify (draw) procedure;
// returns kNoErr for the item's init procedure to return.
ASErr useNotifyProc(ADMItemRef item, ADMItemNotifyProc proc);
ASErr useDrawProc(ADMItemRef item, ADMItemDrawProc proc);

// One row of the notify procedures of items that share an init procedure.
struct ItemNotifyProc {
    int32_t itemId;
    ADMItemNotifyProc proc;
};

// The init procedure of such items: the item gets the procedure of its row
// (an item without one keeps the toolkit's). Returns kNoErr.
ASErr useNotifyProcOf(ADMItemRef item, const ItemNotifyProc* procs, int count);
template <int count>
ASErr useNotifyProcOf(ADMItemRef item, const ItemNotifyProc (&procs)[count])
{
    return useNotifyProcOf(item, procs, count);
}

// A point in an item's own coordinates, for drawing.
ADMPoint admPoint(int h, int v);

// A length field, which holds points and shows millimetres: it shows the
// length given and steps by 1 mm, and by 5 mm with the large step.
void setMillimetreField(ADMItemRef item, double millimetres);

// The id of the active entry of a popup's (or list's) entries, or -1 when no
// entry is active or the item has no list.
ASInt32 GetSelectedEntryID(ADMItemRef listItem);

// Fills a popup with the current environment's pens (entry i: id i, the
// pen's name) and chooses the entry of selectedPen. For a pen the environment
// lacks it chooses the first entry when firstWhenMissing, else none.
void InitializePenPopupList(ADMItemRef popupItem, int32_t selectedPen, bool firstWhenMissing = true);
