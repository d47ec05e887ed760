// The host suites the plug-in works with. Each pointer is set while the suites
// are acquired (between acquireSuites and the matching releaseSuites) and null
// otherwise.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

extern "C" {
extern SPSuitesSuite* sSPSuites;
extern SPBlocksSuite* sSPBlocks;
extern SPAccessSuite* sSPAccess;
extern SPPluginsSuite* sSPPlugins;
extern AIMenuSuite* sMenu;
extern AIFileFormatSuite* sFileFormat;
extern AIFilterSuite* sFilter;
extern AIToolSuite* sTool;
extern AITimerSuite* sTimer;
extern AINotifierSuite* sNotifier;
extern AITransformAgainSuite* sTransformAgain;
extern AIPluginGroupSuite* sPluginGroup;
extern AIActionManagerSuite* sActionManager;
extern AIAppContextSuite* sAIAppContext;
extern AIMdMemorySuite* sAIMdMemory;
extern AIFixedMathSuite* sAIMath;
extern AIArtSuite* sAIArt;
extern AIUserSuite* sAIUser;
extern AIUndoSuite* sAIUndo;
extern AIDocumentSuite* sAIDocument;
extern AIRuntimeSuite* sAIRuntime;
extern AIMatchingArtSuite* sMatchingArt;
extern AILayerSuite* sAILayer;
extern AIPathSuite* sAIPath;
extern AIPathStyleSuite* sAIPathStyle;
extern AIRealMathSuite* sAIRealMath;
extern AIShapeConstructionSuite* sAIShapeConstruction;
extern AIHitTestSuite* sAIHitTest;
extern AIPreferenceSuite* sAIPreference;
extern AIDocumentViewSuite* sAIDocumentView;
extern AIAnnotatorSuite* sAIAnnotator;
extern AICustomColorSuite* sAICustomColor;
extern AIPathfinderSuite* sAIPathfinder;
extern AITransformArtSuite* sAITransformArt;
extern AITagSuite* sAITag;
extern AIRealBezierSuite* sAIRealBezier;
extern ADMIconSuite* sADMIcon;
extern ADMDrawerSuite* sADMDrawer;
extern ADMEntrySuite* sADMEntry;
extern ADMListSuite* sADMList;
extern ADMDialogGroupSuite* sADMDialogGroup;
extern ADMTrackerSuite* sADMTracker;
extern ADMBasicSuite* sADMBasic;
extern ADMDialogSuite* sADMDialog;
extern ADMItemSuite* sADMItem;
extern ADMNotifierSuite* sADMNotifier;
extern AITextFrameSuite* sAITextFrame;
extern AIDocumentListSuite* sAIDocumentList;
extern AIUnicodeStringSuite* sAIUnicodeString;
extern AIFilePathSuite* sAIFilePath;
extern ATETextRangeSuite* sAITextRange;
}

// One row of the import table: the suites are acquired in this order and
// released in the same order.
struct ImportSuite {
    const char* name;
    int32_t version;
    void* suite;  // address of the suite pointer global
};

extern ImportSuite imports[];
extern const int kImportCount;
extern uint16_t gAcquireCount;

VT_NODISCARD ASErr acquireSuites(SPBasicSuite* basic);
VT_NODISCARD ASErr releaseSuites(SPBasicSuite* basic);
