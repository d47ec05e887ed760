// The Plot Out dialog's cut order: the layer and colour lists (items 55, 56),
// where an entry shows its group's colour and visibility, is reordered by
// dragging, hidden or shown with its eye and opened with a double click in
// the pen setup; the automatic order button (57) and the two manual order
// tools (58 renumber by clicking, 59 swap two numbers) that the preview runs.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/PlotterRecords.h"

// Sent by the preview's renumber and swap tools to radio 58 or 59 when the
// user ends them; the lists come back and the select tool is chosen again.
#define kManuSortFinishedNotify "Manu Sort Finished"

// The preview tools of the manual order (values of g_iPreviewOpType).
enum { kPreviewOpSelect = 1, kPreviewOpRenumber = 64, kPreviewOpSwap = 128 };

// The number the next renumbering click gives (0 when renumbering starts),
// and the volumes picked by the swap tool (array positions, -1 none).
extern int32_t g_iCurrentIndex;
extern int32_t g_iSwapA;
extern int32_t g_iSwapB;

// Automatic order (57): numbers the volumes group by group in the order of
// the list shown.
ASErr PlotOutDlgAutoIndexPushButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgAutoIndexPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

// Manual order (58, 59): a click shows only the volumes of the list's active
// entry, makes the lists and the layer/colour radios inactive and starts the
// tool; "Manu Sort Finished" ends it.
ASErr PlotOutDlgManuIndexRadioButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgManuIndexRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

// Ends a manual order that is running, as "Manu Sort Finished" does: every
// group's own visibility comes back. A job written while only the ordered
// group is shown would silently lack the others.
void endManualOrder(ADMDialogRef dialog);

// ---- The layer and colour lists ----------------------------------------------------------

// Two presses on one pixel of a list less than this many ticks apart make a
// double click, which opens the entry's pen setup.
enum { kListDoubleClickTicks = 500 };

// Where an entry's eye lies across the entry (pixels, both ends included) and
// the colour swatch drawn beside it.
enum { kEntryEyeLeft = 3, kEntryEyeRight = 19 };
enum { kEntrySwatchLeft = 24, kEntrySwatchTop = 5, kEntrySwatchRight = 33, kEntrySwatchBottom = 14 };

// Both lists: entries 200 x 20 that also hear the pointer moving.
ASErr PlotOutDlgLayerColorListBoxInitProc(ADMItemRef item);

// The lists themselves: "Update Item Setting Notify" rebuilds them from the
// job's tables; a click on the colour list off its entries clears the status
// line.
ASErr PlotOutDlgLayerListNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgColorListNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

// Their entries: a press shows the entry's pen in the status line and toggles
// the eye or counts toward a double click; a drag selects the entry under the
// pointer; a release on another entry exchanges the two groups' places in the
// cut order. A double click opens the pen setup.
ASBoolean PlotOutDlgLayerListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
ASErr PlotOutDlgLayerListListNotifyProc(ADMEntryRef entry, ADMNotifierRef notifier);
ASErr PlotOutDlgLayerListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer);
ASBoolean PlotOutDlgColorListListTrackProc(ADMEntryRef entry, ADMTrackerRef tracker);
ASErr PlotOutDlgColorListListNotifyProc(ADMEntryRef entry, ADMNotifierRef notifier);
ASErr PlotOutDlgColorListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer);

// The status line's text for the pen at penIndex of the current environment:
// "name, 80.0g, 30.0cm/s, 0.25mm", or the "no pen" text when the environment
// has no such pen. At most size - 1 bytes.
void formatListPenStatus(int32_t penIndex, char* text, size_t size);

// The pen at an index of the current environment, or null when it has none.
const Pen* currentEnvironmentPen(int32_t penIndex);
