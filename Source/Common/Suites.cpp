#include "Common/Suites.h"

#include <stdio.h>

extern "C" {
SPSuitesSuite* sSPSuites;
SPBlocksSuite* sSPBlocks;
SPAccessSuite* sSPAccess;
SPPluginsSuite* sSPPlugins;
AIMenuSuite* sMenu;
AIFileFormatSuite* sFileFormat;
AIFilterSuite* sFilter;
AIToolSuite* sTool;
AITimerSuite* sTimer;
AINotifierSuite* sNotifier;
AITransformAgainSuite* sTransformAgain;
AIPluginGroupSuite* sPluginGroup;
AIActionManagerSuite* sActionManager;
AIAppContextSuite* sAIAppContext;
AIMdMemorySuite* sAIMdMemory;
AIFixedMathSuite* sAIMath;
AIArtSuite* sAIArt;
AIUserSuite* sAIUser;
AIUndoSuite* sAIUndo;
AIDocumentSuite* sAIDocument;
AIRuntimeSuite* sAIRuntime;
AIMatchingArtSuite* sMatchingArt;
AILayerSuite* sAILayer;
AIPathSuite* sAIPath;
AIPathStyleSuite* sAIPathStyle;
AIRealMathSuite* sAIRealMath;
AIShapeConstructionSuite* sAIShapeConstruction;
AIHitTestSuite* sAIHitTest;
AIPreferenceSuite* sAIPreference;
AIDocumentViewSuite* sAIDocumentView;
AIAnnotatorSuite* sAIAnnotator;
AICustomColorSuite* sAICustomColor;
AIPathfinderSuite* sAIPathfinder;
AITransformArtSuite* sAITransformArt;
AITagSuite* sAITag;
AIRealBezierSuite* sAIRealBezier;
ADMIconSuite* sADMIcon;
ADMDrawerSuite* sADMDrawer;
ADMEntrySuite* sADMEntry;
ADMListSuite* sADMList;
ADMDialogGroupSuite* sADMDialogGroup;
ADMTrackerSuite* sADMTracker;
ADMBasicSuite* sADMBasic;
ADMDialogSuite* sADMDialog;
ADMItemSuite* sADMItem;
ADMNotifierSuite* sADMNotifier;
AITextFrameSuite* sAITextFrame;
AIDocumentListSuite* sAIDocumentList;
AIUnicodeStringSuite* sAIUnicodeString;
AIFilePathSuite* sAIFilePath;
ATETextRangeSuite* sAITextRange;
}

ImportSuite imports[] = {
    {kSPSuitesSuite, kSPSuitesSuiteVersion, &sSPSuites},
    {kSPBlocksSuite, kSPBlocksSuiteVersion, &sSPBlocks},
    {kSPAccessSuite, kSPAccessSuiteVersion, &sSPAccess},
    {kSPPluginsSuite, kSPPluginsSuiteVersion, &sSPPlugins},
    {kAIMenuSuite, kAIMenuSuiteVersion, &sMenu},
    {kAIFileFormatSuite, kAIFileFormatSuiteVersion, &sFileFormat},
    {kAIFilterSuite, kAIFilterSuiteVersion, &sFilter},
    {kAIToolSuite, kAIToolSuiteVersion, &sTool},
    {kAITimerSuite, kAITimerSuiteVersion, &sTimer},
    {kAINotifierSuite, kAINotifierSuiteVersion, &sNotifier},
    {kAITransformAgainSuite, kAITransformAgainSuiteVersion, &sTransformAgain},
    {kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, &sPluginGroup},
    {kAIActionManagerSuite, kAIActionManagerSuiteVersion, &sActionManager},
    {kAIAppContextSuite, kAIAppContextSuiteVersion, &sAIAppContext},
    {kAIMdMemorySuite, kAIMdMemorySuiteVersion, &sAIMdMemory},
    {kAIFixedMathSuite, kAIFixedMathSuiteVersion, &sAIMath},
    {kAIArtSuite, kAIArtSuiteVersion, &sAIArt},
    {kAIUserSuite, kAIUserSuiteVersion, &sAIUser},
    {kAIUndoSuite, kAIUndoSuiteVersion, &sAIUndo},
    {kAIDocumentSuite, kAIDocumentSuiteVersion, &sAIDocument},
    {kAIRuntimeSuite, kAIRuntimeSuiteVersion, &sAIRuntime},
    {kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, &sMatchingArt},
    {kAILayerSuite, kAILayerSuiteVersion, &sAILayer},
    {kAIPathSuite, kAIPathSuiteVersion, &sAIPath},
    {kAIPathStyleSuite, kAIPathStyleSuiteVersion, &sAIPathStyle},
    {kAIRealMathSuite, kAIRealMathSuiteVersion, &sAIRealMath},
    {kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion, &sAIShapeConstruction},
    {kAIHitTestSuite, kAIHitTestSuiteVersion, &sAIHitTest},
    {kAIPreferenceSuite, kAIPreferenceSuiteVersion, &sAIPreference},
    {kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &sAIDocumentView},
    {kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, &sAIAnnotator},
    {kAICustomColorSuite, kAICustomColorSuiteVersion, &sAICustomColor},
    {kAIPathfinderSuite, kAIPathfinderSuiteVersion, &sAIPathfinder},
    {kAITransformArtSuite, kAITransformArtSuiteVersion, &sAITransformArt},
    {kAITagSuite, kAITagSuiteVersion, &sAITag},
    {kAIRealBezierSuite, kAIRealBezierSuiteVersion, &sAIRealBezier},
    {kADMIconSuite, kADMIconSuiteVersion, &sADMIcon},
    {kADMDrawerSuite, kADMDrawerSuiteVersion, &sADMDrawer},
    {kADMEntrySuite, kADMEntrySuiteVersion, &sADMEntry},
    {kADMListSuite, kADMListSuiteVersion, &sADMList},
    {kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, &sADMDialogGroup},
    {kADMTrackerSuite, kADMTrackerSuiteVersion, &sADMTracker},
    {kADMBasicSuite, kADMBasicSuiteVersion, &sADMBasic},
    {kADMDialogSuite, kADMDialogSuiteVersion, &sADMDialog},
    {kADMItemSuite, kADMItemSuiteVersion, &sADMItem},
    {kADMNotifierSuite, kADMNotifierSuiteVersion, &sADMNotifier},
    {kAITextFrameSuite, kAITextFrameSuiteVersion, &sAITextFrame},
    {kAIDocumentListSuite, kAIDocumentListSuiteVersion, &sAIDocumentList},
    {kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &sAIUnicodeString},
    {kAIFilePathSuite, kAIFilePathSuiteVersion, &sAIFilePath},
    {kATETextRangeSuite, kATETextRangeSuiteVersion, &sAITextRange},
};
const int kImportCount = sizeof(imports) / sizeof(imports[0]);

uint16_t gAcquireCount = 0;

ASErr acquireSuites(SPBasicSuite* basic)
{
    ASErr error = kNoErr;
    if (gAcquireCount == 0) {
        ASErr firstError = kNoErr;
        for (int i = 0; i < kImportCount; ++i) {
            if (imports[i].suite == nullptr) continue;
            error = basic->AcquireSuite(imports[i].name, imports[i].version,
                                        (const void**)imports[i].suite);
            if (error == kNoErr) continue;
            if (firstError == kNoErr) firstError = error;
            // Only once the toolkit's basic suite is held can the failure be
            // shown; before that the loop goes on.
            if (sADMBasic != nullptr) {
                char message[256];
                snprintf(message, sizeof(message), "Error: %d, suite: %s, version: %d!", (int)error,
                         imports[i].name, (int)imports[i].version);
                sADMBasic->ErrorAlert(message);
                break;
            }
        }
        // A suite that failed silently must not be reported as success just
        // because a later row was acquired: the first failure is the result.
        error = firstError;
    }
    ++gAcquireCount;
    return error;
}

ASErr releaseSuites(SPBasicSuite* basic)
{
    ASErr error = kNoErr;
    if (gAcquireCount == 1) {
        for (int i = 0; i < kImportCount; ++i) {
            if (imports[i].suite == nullptr) continue;
            if (*(void**)imports[i].suite == nullptr) continue;  // never acquired
            error = basic->ReleaseSuite(imports[i].name, imports[i].version);
            if (error != kNoErr) break;
            *(void**)imports[i].suite = nullptr;
        }
    }
    if (gAcquireCount > 0) --gAcquireCount;
    return error;
}
