// The command palette "PreProcess Plot": its frame, its item table and the
// buttons that run the job's preparation.
#include "Dialog/PreProcessDialog.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/PlotterRecords.h"
#include "Core/PreProcess.h"
#include "Core/RipMake.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/DotCutDialog.h"
#include "Dialog/MarkSettingDialog.h"
#include "Dialog/OffsetSizeDialog.h"
#include "Dialog/OverCutDialog.h"
#include "Dialog/PaletteState.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotterSetup.h"
#include "Dialog/PreProcessTools.h"
#include "Dialog/RipSettingDialog.h"
#include "Dialog/SplitDialog.h"
#include "Dialog/VLCDDialog.h"

const Item_Control_arg dlgPreProcessItem[kPreProcessItemCount] = {
    {kADMPictureStaticType, 0, kPreProcessLabelTip, kPreProcessLabelPicture, kPreProcessLabelItem, 4, 110, 27, 24,
     nullptr, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessPlotOutTip, kPreProcessPlotOutPicture, kPreProcessPlotOutItem, 4, 24, 2,
     24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessPlotterSetupTip, kPreProcessPlotterSetupPicture,
     kPreProcessPlotterSetupItem, 29, 24, 2, 24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessDotCutTip, kPreProcessDotCutPicture, kPreProcessDotCutItem, 53, 24, 2, 24,
     PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessTextOutlineTip, kPreProcessTextOutlinePicture, kPreProcessTextOutlineItem,
     90, 24, 2, 24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessInvertTextTip, kPreProcessInvertTextPicture, kPreProcessInvertTextItem,
     114, 24, 2, 24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessLineWidthTip, kPreProcessLineWidthPicture, kPreProcessLineWidthItem, 138,
     24, 2, 24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessOffsetTip, kPreProcessOffsetPicture, kPreProcessOffsetItem, 162, 24, 2,
     24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessWeedingTip, kPreProcessWeedingPicture, kPreProcessWeedingItem, 186, 24, 2,
     24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPictureRadioButtonType, 0, kPreProcessSplitToolTip, kPreProcessSplitToolPicture, kPreProcessSplitToolItem, 138,
     24, 27, 24, PreProcessDlgPicRadioButtonInit, nullptr},
    {kADMPictureRadioButtonType, 0, kPreProcessStartPointToolTip, kPreProcessStartPointToolPicture,
     kPreProcessStartPointToolItem, 162, 24, 27, 24, PreProcessDlgPicRadioButtonInit, nullptr},
    {kADMPictureRadioButtonType, 0, kPreProcessCheckGroupToolTip, kPreProcessCheckGroupToolPicture,
     kPreProcessCheckGroupToolItem, 186, 24, 27, 24, PreProcessDlgPicRadioButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessMarksTip, kPreProcessMarksPicture, kPreProcessMarksItem, 114, 24, 27, 24,
     PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessOverCutTip, kPreProcessOverCutPicture, kPreProcessOverCutItem, 186, 24,
     52, 24, PreProcessDlgPicButtonInit, nullptr},
    {kADMPicturePushButtonType, 0, kPreProcessDevicePanelTip, kPreProcessDevicePanelPicture, kPreProcessDevicePanelItem,
     162, 24, 52, 24, PreProcessDlgPicButtonInit, nullptr},
};

ASErr PreProcessDlgInit(ADMDialogRef dialog)
{
    // The palette's callbacks come outside any host message, so it keeps the
    // plug-in loaded and the suites acquired for as long as it exists; the
    // destroy procedure gives both back.
    AIAppContextHandle context = nullptr;
    ASErr contextError = sAIAppContext->PushAppContext(g->pluginRef, &context);
    (void)sSPAccess->AcquirePlugin(g->pluginRef, &g->panelAccess);  // without it the palette still works
    (void)acquireSuites(g->basic);  // nested inside the host message that creates the palette: it only counts

    char title[256];
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kPreProcessTitleString, title, sizeof title);
    sADMDialog->SetText(dialog, title);

    // Where the user left it, docked as it was, shown or hidden as it was.
    restorePaletteState(dialog, kPreProcessDialog.width, kPreProcessDialog.height);

    sADMDialog->SetNotifyProc(dialog, ProProcessDlgNotifyProc);
    sADMDialog->SetDestroyProc(dialog, ProProcessDlgDestroyProc);
    // A palette that cannot be built whole is hidden, not shown with buttons missing.
    (void)loadDialogItems(dlgPreProcessItem, kPreProcessItemCount, dialog);
    if (contextError == kNoErr) (void)sAIAppContext->PopAppContext(context);
    return kNoErr;
}

ASErr ProProcessDlgDestroyProc(ADMDialogRef dialog)
{
    savePaletteState(dialog);
    if (g->panelAccess != nullptr) {
        (void)sSPAccess->ReleasePlugin(g->panelAccess);  // nothing is left to do about a refusal
        g->panelAccess = nullptr;
    }
    return releaseSuites(g->basic);
}

// Shows the device-panel button only for a current plotter that has a panel.
static void showDevicePanelButton(ADMItemRef item)
{
    // The capability word is read whatever the load gave: a failed load
    // leaves the value of an earlier read (0 before any).
    (void)checkData(0);
    sADMItem->Show(item, (g->curPlotter.PlotterReserved & kPlotterDevicePanelBit) != 0);
}

ASErr PreProcessDlgPicButtonInit(ADMItemRef item)
{
    if (sADMItem->GetID(item) == kPreProcessDevicePanelItem) showDevicePanelButton(item);
    return useNotifyProc(item, ProProcessDlgPictureButtonNotifyProc);
}

ASErr PreProcessDlgPicRadioButtonInit(ADMItemRef item)
{
    return useNotifyProc(item, ProProcessDlgPictureRadioButtonNotifyProc);
}

ASErr ProProcessDlgPictureButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        // Each operation reports its own failures; the palette shows nothing more.
        switch (sADMItem->GetID(item)) {
        case kPreProcessPlotOutItem:
            (void)goPlotOut(nullptr);
            break;
        case kPreProcessPlotterSetupItem: {
            (void)goPlotterSetup();
            ADMItemRef panel = sADMDialog->GetItem(sADMItem->GetDialog(item), kPreProcessDevicePanelItem);
            if (panel != nullptr) showDevicePanelButton(panel);
            break;
        }
        case kPreProcessDotCutItem:
            (void)goMakeDotCut();
            break;
        case kPreProcessTextOutlineItem:
            (void)doTextOutline();
            break;
        case kPreProcessInvertTextItem:
            (void)doInvertWord();
            break;
        case kPreProcessLineWidthItem:
            (void)doLineWidthConfirm();
            break;
        case kPreProcessOffsetItem:
            // Cancel in the distance dialog: no offset.
            if (goOffsetSize() == kNoErr) (void)doOffset();
            break;
        case kPreProcessMarksItem:
            (void)goPrint4Marks(sADMItem->GetDialog(item));
            break;
        case kPreProcessWeedingItem:
            // Cancel in the settings dialog: no lines.
            if (goRipSetting() == kNoErr) (void)doRipMake(g->ripMarginX, g->ripMarginY, g->ripVLines, g->ripHLines);
            break;
        case kPreProcessOverCutItem:
            (void)goOverCut();  // always 0: the dialog stores what it must
            break;
        case kPreProcessDevicePanelItem:
            (void)goVLCDDialog();
            break;
        default:
            break;
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr goPrint4Marks(ADMDialogRef dialog)
{
    (void)dialog;
    AIRealRect bounds;
    // Any failure of the selection test leaves the bounds unset: no dialog then.
    ASErr selected = getSelectedArtBound(&bounds);
    if (selected != kNoErr) {
        sADMBasic->MessageAlert(kNoObjectSelectedAlert);
        return selected;
    }
    (void)goAASSettingDialog(bounds);  // it reports its own failure
    return kNoErr;
}
