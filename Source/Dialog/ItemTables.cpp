#include "Dialog/ItemTables.h"

#include "Dialog/About.h"
#include "Dialog/AutoGroupSpaceDialog.h"
#include "Dialog/ColorLayerDialog.h"
#include "Dialog/CuttingSettingsDialog.h"
#include "Dialog/DotCutDialog.h"
#include "Dialog/EnvironmentEditor.h"
#include "Dialog/MarkSettingDialog.h"
#include "Dialog/OffsetSizeDialog.h"
#include "Dialog/OutputPreview.h"
#include "Dialog/PenEditor.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotterEditor.h"
#include "Dialog/PlotterSetup.h"
#include "Dialog/PreProcessDialog.h"
#include "Dialog/PreviewOptionDialog.h"
#include "Dialog/RipSettingDialog.h"
#include "Dialog/SplitDialog.h"
#include "Dialog/VLCDDialog.h"

const ItemTableInfo kItemTables[] = {
    {kAboutDialog, dlgAboutItem, kAboutItemCount},
    {kPlotterSetupDialog, dlgPlotterSetupItem, kPlotterSetupItemCount},
    {kPlotterDialog, dlgPlotterItem, kPlotterItemCount},
    {kEnvironmentDialog, dlgEnvironmentItem, kEnvironmentItemCount},
    {kPenDialog, dlgPenItem, kPenItemCount},
    {kPlotOutDialog, dlgPlotOutItem, kPlotOutItemCount},
    // Shares the Plot Out dialog's name and window; its items are its own.
    {kCuttingSettingsDialog, dlgArdoSettingItem, kCuttingSettingsItemCount},
    {kPreviewDialog, dlgPreviewItem, kPreviewItemCount},
    // The palette's guide-grid items lie below its collapsed height; they are
    // laid out for the expanded palette.
    {{kSplitDialog.name, kSplitDialog.resource, kSplitDialog.width, kSplitDialogExpandedHeight},
     dlgSplitItem,
     kSplitItemCount},
    {kPreProcessDialog, dlgPreProcessItem, kPreProcessItemCount},
    {kOffsetSizeDialog, dlgOffsetSizeItem, kOffsetSizeItemCount},
    {kVLCDDialog, dlgVLCDItem, kVLCDItemCount},
    {kPreviewOptionDialog, dlgPreviewOptionItem, kPreviewOptionItemCount},
    {kColorLayerDialog, dlgColorLayerItem, kColorLayerItemCount},
    {kAutoGroupSpaceDialog, dlgAutoGroupSpaceItem, kAutoGroupSpaceItemCount},
    {kAASSettingDialog, dlgAASSteingItem, kAASSettingItemCount},
    {kDotCutDialog, dlgDotCutItem, kDotCutItemCount},
    {kRipSettingDialog, dlgRipSettingItem, kRipSettingItemCount},
};
const int32_t kItemTableCount = sizeof(kItemTables) / sizeof(kItemTables[0]);
