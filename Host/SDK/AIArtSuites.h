// Host document and art suites: the art tree, paths, styles, layers, the
// selection, tags, views and the geometry helpers that work on art.
#pragma once

#include "SPSuites.h"

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 1012
#define VT_OPS_AIArtSuite(X)
VT_DECLARE_SUITE(AIArtSuite)

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 1006
#define VT_OPS_AIPathSuite(X)
VT_DECLARE_SUITE(AIPathSuite)

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 1008
#define VT_OPS_AIPathStyleSuite(X)
VT_DECLARE_SUITE(AIPathStyleSuite)

#define kAILayerSuite "AI Layer Suite"
#define kAILayerSuiteVersion 1011
#define VT_OPS_AILayerSuite(X)
VT_DECLARE_SUITE(AILayerSuite)

#define kAIMatchingArtSuite "AI Matching Art Suite"
#define kAIMatchingArtSuiteVersion 1005
#define VT_OPS_AIMatchingArtSuite(X)
VT_DECLARE_SUITE(AIMatchingArtSuite)

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 1009
#define VT_OPS_AIDocumentSuite(X)
VT_DECLARE_SUITE(AIDocumentSuite)

#define kAIDocumentViewSuite "AI Document View Suite"
#define kAIDocumentViewSuiteVersion 1008
#define VT_OPS_AIDocumentViewSuite(X)
VT_DECLARE_SUITE(AIDocumentViewSuite)

#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1001
#define VT_OPS_AITransformArtSuite(X)
VT_DECLARE_SUITE(AITransformArtSuite)

#define kAIRealBezierSuite "AI Real Bezier Suite"
#define kAIRealBezierSuiteVersion 1002
#define VT_OPS_AIRealBezierSuite(X)
VT_DECLARE_SUITE(AIRealBezierSuite)

#define kAIShapeConstructionSuite "AI Shape Construction Suite"
#define kAIShapeConstructionSuiteVersion 1004
#define VT_OPS_AIShapeConstructionSuite(X)
VT_DECLARE_SUITE(AIShapeConstructionSuite)

#define kAIHitTestSuite "AI Hit Test Suite"
#define kAIHitTestSuiteVersion 1003
#define VT_OPS_AIHitTestSuite(X)
VT_DECLARE_SUITE(AIHitTestSuite)

#define kAICustomColorSuite "AI Custom Color Suite"
#define kAICustomColorSuiteVersion 1006
#define VT_OPS_AICustomColorSuite(X)
VT_DECLARE_SUITE(AICustomColorSuite)

#define kAITagSuite "AI Tag Suite"
#define kAITagSuiteVersion 1002
#define VT_OPS_AITagSuite(X)
VT_DECLARE_SUITE(AITagSuite)

#define kAITextFrameSuite "AI Text Frame Suite"
#define kAITextFrameSuiteVersion 1001
#define VT_OPS_AITextFrameSuite(X)
VT_DECLARE_SUITE(AITextFrameSuite)

#define kATETextRangeSuite "ATE TextRange Suite"
#define kATETextRangeSuiteVersion 1
#define VT_OPS_ATETextRangeSuite(X)
VT_DECLARE_SUITE(ATETextRangeSuite)

#define kAIPathfinderSuite "AI Pathfinder Suite"
#define kAIPathfinderSuiteVersion 1004
#define VT_OPS_AIPathfinderSuite(X)
VT_DECLARE_SUITE(AIPathfinderSuite)
