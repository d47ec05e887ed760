// Every window of the plug-in's dialogs and palettes in one list, as its texts
// are in Texts.h and its pictures in Pictures.h: the name the toolkit knows a
// dialog by (scripts and tests answer it by that name), its window resource
// and the size it opens at. Several dialogs share a window resource (121, 132,
// 133); the list shows which.
#pragma once

#include <stdint.h>

struct DialogResource {
    const char* name;
    int32_t resource;
    int32_t width;
    int32_t height;
};

// Resource 121, "Plot Out Dialog": the Plot Out dialog (the size it opens
// at; it can be resized), the cutting settings and the overcut dialog, which
// a script answers with further "Plot Out Dialog" blocks queued in the order
// they open, and the error message box.
constexpr DialogResource kPlotOutDialog = {"Plot Out Dialog", 121, 840, 637};
constexpr DialogResource kCuttingSettingsDialog = {kPlotOutDialog.name, kPlotOutDialog.resource, 300, 200};
constexpr DialogResource kOverCutDialog = {kPlotOutDialog.name, kPlotOutDialog.resource, 205, 120};
constexpr DialogResource kErrorMessageDialog = {"Error Message Dialog", 121, 268, 134};

// The plotter library: its setup dialog and the three editors it opens.
constexpr DialogResource kPlotterSetupDialog = {"Plotter Setup Dialog", 109, 640, 305};
constexpr DialogResource kPlotterDialog = {"Plotter Dialog", 133, 468, 301};
constexpr DialogResource kEnvironmentDialog = {"Environment Dialog", 132, 235, 101};
constexpr DialogResource kPenDialog = {"Pen Dialog", 133, 235, 185};

// The Plot Out dialog's own dialogs.
constexpr DialogResource kPreviewDialog = {"Preview Dialog", 157, 732, 630};
constexpr DialogResource kPreviewOptionDialog = {"Preview Option Dialog", 153, 585, 475};
constexpr DialogResource kColorLayerDialog = {"ColorLayer Dialog", 134, 430, 180};
constexpr DialogResource kAutoGroupSpaceDialog = {"AutoGroupSpace Dialog", 155, 228, 86};

// The cutter's device panel.
constexpr DialogResource kVLCDDialog = {"VLCD Dialog", 132, 580, 330};

// The palettes (the split palette at its collapsed size) and the dialogs of
// document preparation.
constexpr DialogResource kPreProcessDialog = {"PreProcess Plot", 130, 212, 100};
constexpr DialogResource kSplitDialog = {"Split Dialog", 146, 278, 168};
constexpr DialogResource kOffsetSizeDialog = {"OffsetSize Dialog", 168, 238, 65};
constexpr DialogResource kDotCutDialog = {"MAKE_DoT_CUt_Dialog", 132, 340, 110};
constexpr DialogResource kRipSettingDialog = {"RipSetting Dialog", 174, 255, 135};
constexpr DialogResource kAASSettingDialog = {"AASSetting Dialog", 132, 200, 375};

constexpr DialogResource kAboutDialog = {"About Dialog", 16050, 500, 120};
