// Small helpers shared by the files that make up the Plot Out dialog's items.
#pragma once

#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PlotOutDialog.h"

// An item of the Plot Out dialog, or null when the dialog has no such item.
inline ADMItemRef plotOutItem(ADMDialogRef dialog, int32_t id) { return sADMDialog->GetItem(dialog, id); }

// The preview frame is drawn again: in full after a change of the job, or
// only what a drag shows (drawType, bits of g_iPreviewDrawType).
inline void redrawPlotOutPreview(ADMDialogRef dialog, int32_t drawType = kPreviewDrawAll)
{
    g_iPreviewDrawType = drawType;
    ADMItemRef preview = plotOutItem(dialog, kPlotOutPreviewItem);
    if (preview != NULL) sADMItem->Invalidate(preview);
}

// Whether the layer list is the one shown: the job is then ordered, hidden
// and cut by layer, else by colour.
inline bool layerListShown(ADMDialogRef dialog)
{
    ADMItemRef layers = plotOutItem(dialog, kPlotOutLayerListItem);
    return layers != NULL && sADMItem->IsVisible(layers);
}

inline void enablePlotOutItem(ADMDialogRef dialog, int32_t id, bool on)
{
    ADMItemRef item = plotOutItem(dialog, id);
    if (item != NULL) sADMItem->Enable(item, on);
}
