// The names of the texts the dialogs take from the language's string list
// (Resources/Strings/StringList-<id>.txt), by index. A table row's text and
// tip are named after its item: kPlotOutAlignLeftItem's tip is
// kPlotOutAlignLeftTip. Scripts and tests keep using the numbers.
#pragma once

enum {
    // About dialog
    kAboutTitleString = 11,
    kAboutOKString = 12,
    kAboutNameString = 13,
    kAboutPurposeString = 14,
    kAboutMakerString = 15,
    kAboutRightsString = 16,

    // Any dialog
    kDialogNotBuiltString = 17,  // the alert when a dialog cannot be built

    // Plotter Setup dialog
    kPlotterSetupTitleString = 41,
    kPlotterSetupNewPlotterTip = 42,
    kPlotterSetupDeletePlotterTip = 43,
    kPlotterSetupLoadPlotterTip = 44,
    kPlotterSetupSavePlotterTip = 45,
    kPlotterSetupPlotterListBoxString = 46,
    kPlotterSetupNameLabelString = 47,
    kPlotterSetupMakerLabelString = 48,
    kPlotterSetupLanguageLabelString = 49,
    kPlotterSetupMediaSizeLabelString = 50,
    kPlotterSetupValuesBoxString = 51,
    kPlotterSetupEnvironmentCaptionString = 52,
    kPlotterSetupPenCaptionString = 53,

    // Pen values; also put in front of the pen values in the pen setup of a colour or layer
    kPenPressureLabelString = 54,
    kPenVelocityLabelString = 56,
    kPenOffsetLabelString = 58,
    kPlotterSetupNewEnvironmentTip = 59,
    kPlotterSetupDeleteEnvironmentTip = 60,
    kPlotterSetupNewPenTip = 61,
    kPlotterSetupDeletePenTip = 62,
    kPlotterSetupListsBoxString = 63,
    kPlotterSetupOKString = 64,
    kPlotterSetupCancelString = 65,
    kSavePlotterPromptString = 67,

    // Plotter Setup dialog, continued
    kPlotterSetupOriginLabelString = 75,
    kPlotterSetupStepLabelString = 76,

    // Checks made by OK (entry 78 at most 63 characters)
    kManyPlottersCheckedString = 77,  // the checks OK makes in Plotter Setup
    kNoPlotterCheckedString = 78,
    kManyEnvironmentsCheckedString = 79,
    kNoEnvironmentCheckedString = 80,

    // Plotter Setup dialog, continued
    kPlotterSetupUSBIdsLabelString = 84,

    // Plotter Setup alerts when a delete changes nothing
    kDeleteNotInListString = 85,
    kDeleteOutOfMemoryString = 86,

    // Plot Out dialog
    kPlotOutTitleString = 101,
    kPlotOutOffsetXLabelString = 102,
    kPlotOutOffsetYLabelString = 103,
    kPlotOutBoardCenterXTip = 104,
    kPlotOutBoardCenterYTip = 105,
    kPlotOutAutoGroupTip = 106,
    kPlotOutOffsetBoxString = 107,
    kPlotOutMirrorString = 108,
    kPlotOutRotationLabelString = 109,
    kPlotOutScaleXLabelString = 110,
    kPlotOutScaleYLabelString = 111,
    kPlotOutTransformBoxString = 112,
    kPlotOutCopiesXLabelString = 113,
    kPlotOutGapXLabelString = 114,
    kPlotOutCopiesYLabelString = 115,
    kPlotOutGapYLabelString = 116,
    kPlotOutAutoOrderTip = 117,
    kPlotOutRenumberToolTip = 118,
    kPlotOutCopiesBoxString = 119,
    kPlotOutFitLinesString = 120,
    kPlotOutFitArcsString = 121,
    kPlotOutFitPrecisionLabelString = 122,
    kPlotOutFitBoxString = 123,
    kPlotOutShowIndexString = 126,
    kPlotOutShowControlPointsString = 128,
    kPlotOutViewBoxString = 129,
    kPlotOutCutByLayerTip = 130,
    kPlotOutCutByColorTip = 131,
    kPlotOutListsBoxString = 132,
    kPlotOutZoomToolTip = 134,
    kPlotOutPanToolTip = 135,
    kPlotOutSelectToolTip = 136,
    kPlotOutBestFitTip = 137,
    kPlotOutPreviewOutputTip = 138,
    kPlotOutUSBOutputTip = 139,
    kPlotOutAlignLeftTip = 140,
    kPlotOutAlignCenterXTip = 141,
    kPlotOutAlignRightTip = 142,
    kPlotOutAlignTopTip = 143,
    kPlotOutAlignCenterYTip = 144,
    kPlotOutAlignBottomTip = 145,
    kSavePlotFilePromptString = 146,
    kPlotOutUndoTip = 148,
    kPlotOutShowStartPointsString = 149,
    kPlotOutPreviewOptionsTip = 150,
    kPlotOutMediaBoxString = 151,
    kPlotOutMediaWidthPictureTip = 152,
    kPlotOutMediaLengthPictureTip = 153,
    kPlotOutExitTip = 155,
    kPlotOutFileOutputTip = 156,

    // Plot Out alerts when the job cannot start
    kUnsupportedObjectString = 157,
    kNothingSelectedString = 158,
    kNoCurrentPlotterString = 159,

    // Plot Out dialog, continued
    kPlotOutRedoTip = 160,
    kPlotOutSwapToolTip = 161,

    // Cut Settings dialog (also the Plot Out button that opens it)
    kCuttingSettingsTitleString = 163,  // also the Plot Out button's text
    kCuttingSettingsBackToHomeString = 164,
    kCuttingSettingsUsePlotterSettingString = 165,

    // Overcut dialog of the command palette
    kOverCutCheckString = 166,

    // Cut Settings dialog, continued
    kCuttingSettingsCutOffString = 167,

    // Plot Out dialog, continued
    kPlotOutResetPositionsTip = 168,

    // Plot Out output failures (the file or what failed follows the text)
    kPlotFileNotCreatedString = 180,
    kPlotFileNotWrittenString = 181,
    kCutterNotFoundString = 182,
    kCutterSendFailedString = 183,
    kPreviewFileNotWrittenString = 184,

    // Plot Out alert when the job cannot be loaded
    kJobOutOfMemoryString = 185,

    // Plot Out warning before a job that reaches beyond the media (the job's extent follows 186, the media size 187)
    kJobBeyondMediaString = 186,
    kMediaSizeString = 187,

    // Command palette
    kPreProcessLabelTip = 301,
    kPreProcessLineWidthTip = 302,
    kPreProcessOffsetTip = 303,
    kPreProcessSplitToolTip = 304,
    kPreProcessStartPointToolTip = 305,
    kPreProcessCheckGroupToolTip = 306,
    kPreProcessTitleString = 307,
    kPreProcessInvertTextTip = 308,
    kPreProcessTextOutlineTip = 309,
    kPreProcessWeedingTip = 310,
    kPreProcessPlotOutTip = 311,
    kPreProcessPlotterSetupTip = 312,
    kPreProcessMarksTip = 314,
    kPreProcessDotCutTip = 315,
    kPreProcessOverCutTip = 316,
    kPreProcessDevicePanelTip = 317,

    // Weeding Lines dialog
    kRipSettingOKString = 351,
    kRipSettingCancelString = 352,
    kRipSettingMarginLabelString = 353,
    kRipSettingLinesLabelString = 354,
    kRipSettingTitleString = 355,

    // Environment dialog
    kEnvironmentTitleString = 501,
    kEnvironmentEditorNameLabelString = 502,
    kEnvironmentEditorOKString = 503,
    kEnvironmentEditorCancelString = 504,

    // Output Preview dialog
    kOutputPreviewTitleString = 551,
    kPreviewPlayTip = 552,
    kPreviewPauseTip = 553,
    kPreviewStopTip = 554,
    kPreviewFasterTip = 555,
    kPreviewSlowerTip = 556,
    kPreviewLoopTip = 557,
    kPreviewStepForwardTip = 558,
    kPreviewStepBackTip = 559,
    kPreviewCloseTip = 560,

    // Pen dialog
    kPenTitleString = 601,
    kPenEditorNameLabelString = 602,
    kPenEditorPressureLabelString = 603,
    kPenEditorPressureUnitString = 604,
    kPenEditorVelocityLabelString = 605,
    kPenEditorVelocityUnitString = 606,
    kPenEditorExtraLabelString = 607,
    kPenEditorOKString = 608,
    kPenEditorCancelString = 609,
    kPenEditorLevelLabelString = 610,

    // Pen dialog, acceleration levels 0 to 4
    kPenLevelVeryLowString = 611,  // the acceleration levels, 611 + level
    kPenLevelLowString = 612,
    kPenLevelMediumString = 613,
    kPenLevelHighString = 614,
    kPenLevelVeryHighString = 615,

    // Contour Offset dialog
    kOffsetSizeTitleString = 651,
    kOffsetSizeLabelString = 652,
    kOffsetSizeOKString = 653,
    kOffsetSizeCancelString = 654,

    // Pen setup of a colour or layer
    kColorLayerColorTitleString = 701,
    kColorLayerLayerTitleString = 702,
    kColorLayerPauseString = 703,
    kColorLayerPenLabelString = 704,
    kColorLayerOKString = 705,
    kColorLayerCancelString = 706,
    kColorLayerPreTextLabelString = 707,
    kColorLayerPostTextLabelString = 708,
    kNoPenString = 709,               // an entry whose pen the current environment lacks
    kCommandTextNotKeptString = 710,  // memory ran out; the earlier text is kept

    // Registration Marks dialog
    kAASSettingTitleString = 771,
    kAASSetting4PointString = 772,
    kAASSettingLengthLabelString = 773,
    kAASSettingThicknessLabelString = 774,
    kAASSettingMarginLabelString = 775,
    kAASSettingSegmentalString = 776,
    kAASSettingXStepLabelString = 777,
    kAASSettingYStepLabelString = 778,
    kAASSettingMultipleCopiesString = 779,
    kAASSettingXCopiesLabelString = 780,
    kAASSettingYCopiesLabelString = 781,
    kAASSettingWithOutlineString = 782,
    kAASSettingOKString = 783,
    kAASSettingCancelString = 784,
    kAASSettingSpaceLabelString = 785,
    kAASSettingNotMadeString = 786,

    // Dot Cut dialog
    kDotCutTitleString = 791,
    kDotCutThroughLabelString = 792,
    kDotCutHalfCutLabelString = 793,
    kDotCutOKString = 794,
    kDotCutCancelString = 795,

    // Plotter dialog
    kPlotterTitleString = 801,
    kPlotterEditorNameLabelString = 802,
    kPlotterEditorMakerLabelString = 803,
    kPlotterEditorLanguageLabelString = 804,
    kPlotterEditorMediaSizeLabelString = 805,
    kPlotterEditorOKString = 806,
    kPlotterEditorCancelString = 807,
    kPlotterEditorOriginLabelString = 808,
    kPlotterEditorStartCommandsLabelString = 809,
    kPlotterEditorEndCommandsLabelString = 810,
    kPlotterEditorPlotterBoxString = 811,
    kPlotterEditorCommandsBoxString = 812,
    kPlotterEditorStepLabelString = 813,
    kPlotterEditorSpecialMachineString = 814,
    kPlotterEditorProductIdLabelString = 815,
    kPlotterEditorVendorIdLabelString = 816,

    // Auto Group Spacing dialog
    kAutoGroupSpaceGapXLabelString = 851,
    kAutoGroupSpaceGapYLabelString = 852,
    kAutoGroupSpaceOKString = 853,
    kAutoGroupSpaceCancelString = 854,
    kAutoGroupSpaceTitleString = 855,
    kVolumesNotPackedString = 856,  // followed by how many

    // VLCD cutter settings panel
    kVLCDTitleString = 861,
    kVLCDReadString = 862,
    kVLCDModelString = 863,
    kVLCDSettingsFrameString = 864,
    kVLCDMediaWidthLabelString = 865,
    kVLCDMediaLengthLabelString = 866,
    kVLCDPressureLabelString = 867,
    kVLCDBladeOffsetLabelString = 868,
    kVLCDMediaKindLabelString = 869,
    kVLCDHeavyLightLabelString = 870,
    kVLCDAutoFeedLabelString = 871,
    kVLCDQualityLabelString = 872,
    kVLCDSmoothingLabelString = 873,
    kVLCDSendString = 874,
    kVLCDMillimetreString = 875,
    kVLCDInchString = 876,
    kVLCDScaleRefusedString = 877,
    kVLCDTestSizeRefusedString = 878,
    kVLCDTestFrameString = 880,
    kVLCDTestTitleString = 881,
    kVLCDTestTextString = 882,
    kXLabelString = 883,
    kYLabelString = 886,
    kVLCDTestCutString = 889,
    kVLCDScaleTitleString = 890,
    kVLCDScaleTextString = 891,
    kVLCDScaleString = 894,
    kVLCDAASTitleString = 895,
    kVLCDAASXTextString = 896,
    kVLCDAASYTextString = 897,
    kVLCDAASSendString = 898,
    kVLCDCloseString = 899,

    // Split palette
    kSplitTitleString = 901,
    kSplitMarkStyleLabelString = 902,
    kSplitMarkWidthLabelString = 903,
    kSplitMarkHeightLabelString = 904,
    kSplitOKString = 905,
    kSplitCircleString = 907,
    kSplitRectangleString = 908,
    kSplitTriangleUpString = 909,
    kSplitTriangleDownString = 910,
    kSplitDiamondString = 911,
    kSplitOverlapXLabelString = 912,
    kSplitOverlapYLabelString = 913,
    kSplitSortMethodLabelString = 914,
    kSplitNoMarksString = 915,
    kSplitMoreOptionsTip = 916,
    kSplitCellWidthLabelString = 917,
    kSplitCellHeightLabelString = 918,
    kSplitDoString = 919,

    // Preview Options dialog
    kPreviewOptionOKString = 951,
    kPreviewOptionCancelString = 952,
    kPreviewOptionBackgroundLabelString = 953,

    // Preview Options dialog, colour popup entries
    kPreviewFirstColorString = 954,  // the colour popups' entries, 954 to 964

    // Preview Options dialog, continued
    kPreviewOptionBoardLabelString = 965,
    kPreviewOptionLineLabelString = 966,
    kPreviewOptionArcLabelString = 967,
    kPreviewOptionControlColorLabelString = 968,
    kPreviewOptionSelectionColorLabelString = 970,
    kPreviewOptionLabelColorLabelString = 971,
    kPreviewOptionSheetBoxString = 972,
    kPreviewOptionPageLabelString = 973,
    kPreviewOptionControlShapeLabelString = 974,
    kPreviewOptionMarkersBoxString = 975,
    kPreviewOptionFillString = 976,
    kPreviewOptionFillBoxString = 977,
    kPreviewOptionTitleString = 978,

    // Preview Options dialog, marker shape popup entries
    kPreviewFirstShapeString = 979,  // the shape popups' entries, 979 to 983

    // Preview Options dialog, continued
    kPreviewOptionControlSizeLabelString = 984,
    kPreviewOptionStartColorLabelString = 985,
    kPreviewOptionStartShapeLabelString = 986,
    kPreviewOptionStartSizeLabelString = 987,
    kPreviewOptionPresetLabelString = 988,

    // Preview Options dialog, preset popup entries
    kPreviewFirstPresetString = 989,  // the preset popup's entries, 989 to 993

    // Plot Out status line: labels put in front of the pointer position and the cut length
    kStatusXString = 994,  // the status line's labels
    kStatusYString = 995,
    kStatusLengthString = 996,
};
