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
    {kAboutDialogName, dlgAboutItem, kAboutItemCount, kAboutDialogWidth, kAboutDialogHeight},
    {kPlotterSetupDialogName, dlgPlotterSetupItem, kPlotterSetupItemCount, kPlotterSetupDialogWidth,
     kPlotterSetupDialogHeight},
    {kPlotterDialogName, dlgPlotterItem, kPlotterItemCount, kPlotterDialogWidth, kPlotterDialogHeight},
    {kEnvironmentDialogName, dlgEnvironmentItem, kEnvironmentItemCount, kEnvironmentDialogWidth,
     kEnvironmentDialogHeight},
    {kPenDialogName, dlgPenItem, kPenItemCount, kPenDialogWidth, kPenDialogHeight},
    {kPlotOutDialogName, dlgPlotOutItem, kPlotOutItemCount, kPlotOutDialogWidth, kPlotOutDialogHeight},
    // Shares the Plot Out dialog's name and window; its items are its own.
    {kCuttingSettingsDialogName, dlgArdoSettingItem, kCuttingSettingsItemCount, kCuttingSettingsDialogWidth,
     kCuttingSettingsDialogHeight},
    {kPreviewDialogName, dlgPreviewItem, kPreviewItemCount, kPreviewDialogWidth, kPreviewDialogHeight},
    // The palette's guide-grid items lie below its collapsed height; they are
    // laid out for the expanded palette.
    {kSplitDialogName, dlgSplitItem, kSplitItemCount, kSplitDialogWidth, kSplitDialogExpandedHeight},
    {kPreProcessDialogName, dlgPreProcessItem, kPreProcessItemCount, kPreProcessDialogWidth,
     kPreProcessDialogHeight},
    {kOffsetSizeDialogName, dlgOffsetSizeItem, kOffsetSizeItemCount, kOffsetSizeDialogWidth,
     kOffsetSizeDialogHeight},
    {kVLCDDialogName, dlgVLCDItem, kVLCDItemCount, kVLCDDialogWidth, kVLCDDialogHeight},
    {kPreviewOptionDialogName, dlgPreviewOptionItem, kPreviewOptionItemCount, kPreviewOptionDialogWidth,
     kPreviewOptionDialogHeight},
    {kColorLayerDialogName, dlgColorLayerItem, kColorLayerItemCount, kColorLayerDialogWidth, kColorLayerDialogHeight},
    {kAutoGroupSpaceDialogName, dlgAutoGroupSpaceItem, kAutoGroupSpaceItemCount, kAutoGroupSpaceDialogWidth,
     kAutoGroupSpaceDialogHeight},
    {kAASSettingDialogName, dlgAASSteingItem, kAASSettingItemCount, kAASSettingDialogWidth,
     kAASSettingDialogHeight},
    {kDotCutDialogName, dlgDotCutItem, kDotCutItemCount, kDotCutDialogWidth, kDotCutDialogHeight},
    {kRipSettingDialogName, dlgRipSettingItem, kRipSettingItemCount, kRipSettingDialogWidth,
     kRipSettingDialogHeight},
};
const int32_t kItemTableCount = sizeof(kItemTables) / sizeof(kItemTables[0]);
