// Every suite the plug-in can acquire.
#pragma once

#include "ADMSuites.h"
#include "AIArtSuites.h"
#include "AIShellSuites.h"
#include "AIUtilitySuites.h"
#include "SPSuites.h"

// The list of all suites by type, for code that must treat them alike (the
// host's table of not-implemented operations, the plug-in's import table).
#define VT_ALL_SUITES(X) \
    X(SPSuitesSuite) X(SPBlocksSuite) X(SPAccessSuite) X(SPPluginsSuite) \
    X(AIMenuSuite) X(AIFileFormatSuite) X(AIFilterSuite) X(AIToolSuite) X(AITimerSuite) \
    X(AINotifierSuite) X(AITransformAgainSuite) X(AIPluginGroupSuite) X(AIActionManagerSuite) \
    X(AIAppContextSuite) X(AIMdMemorySuite) X(AIFixedMathSuite) X(AIArtSuite) X(AIUserSuite) \
    X(AIUndoSuite) X(AIDocumentSuite) X(AIRuntimeSuite) X(AIMatchingArtSuite) X(AILayerSuite) \
    X(AIPathSuite) X(AIPathStyleSuite) X(AIRealMathSuite) X(AIShapeConstructionSuite) \
    X(AIHitTestSuite) X(AIPreferenceSuite) X(AIDocumentViewSuite) X(AIAnnotatorSuite) \
    X(AICustomColorSuite) X(AIPathfinderSuite) X(AITransformArtSuite) X(AITagSuite) \
    X(AIRealBezierSuite) X(ADMIconSuite) X(ADMDrawerSuite) X(ADMEntrySuite) X(ADMListSuite) \
    X(ADMDialogGroupSuite) X(ADMTrackerSuite) X(ADMBasicSuite) X(ADMDialogSuite) X(ADMItemSuite) \
    X(ADMNotifierSuite) X(AITextFrameSuite) X(AIDocumentListSuite) X(AIUnicodeStringSuite) \
    X(AIFilePathSuite) X(ATETextRangeSuite)
