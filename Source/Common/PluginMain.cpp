#include "Common/PluginMain.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <iterator>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/About.h"
#include "Handlers/Handlers.h"

extern "C" ASErr PluginMain(const char* caller, const char* selector, void* message)
{
    SPMessageData* data = static_cast<SPMessageData*>(message);
    SPBasicSuite* basic = data->basic;

    // Access messages come while the module is being unloaded or reloaded:
    // the suites are not touched.
    if (basic->IsEqual(caller, kSPAccessCaller)) {
        if (basic->IsEqual(selector, kSPAccessUnloadSelector))
            return UnloadPlugin(static_cast<SPAccessMessage*>(message));
        if (basic->IsEqual(selector, kSPAccessReloadSelector))
            return ReloadPlugin(static_cast<SPAccessMessage*>(message));
        return kNoErr;
    }

    ASErr error = acquireSuites(basic);
    if (error == kNoErr) {
        if (basic->IsEqual(caller, kSPInterfaceCaller)) {
            if (basic->IsEqual(selector, kSPInterfaceStartupSelector))
                error = StartupPlugin(static_cast<SPInterfaceMessage*>(message));
            else if (basic->IsEqual(selector, kSPInterfaceAboutSelector))
                error = AboutPlugin(static_cast<SPInterfaceMessage*>(message));
            else if (basic->IsEqual(selector, kSPInterfaceShutdownSelector))
                error = ShutdownPlugin(static_cast<SPInterfaceMessage*>(message));
        } else {
            error = handlePluginCaller(caller, selector, message);
        }
    }
    // The handler's result is what the host must hear; a release that fails
    // leaves pointers set that the next acquisition overwrites anyway.
    (void)releaseSuites(basic);
    return error;
}

ASErr handlePluginCaller(const char* caller, const char* selector, void* message)
{
    SPBasicSuite* basic = static_cast<SPMessageData*>(message)->basic;
    // A message that needs the globals can only be handled after start-up.
    if (g == nullptr) return kNoErr;

    if (basic->IsEqual(caller, kCallerAIMenu)) {
        AIMenuMessage* m = static_cast<AIMenuMessage*>(message);
        if (basic->IsEqual(selector, kSelectorAIGoMenuItem)) return goMenuItem(m);
        if (basic->IsEqual(selector, kSelectorAIUpdateMenuItem)) return updateMenuItem(m);
    } else if (basic->IsEqual(caller, kCallerAITool)) {
        AIToolMessage* m = static_cast<AIToolMessage*>(message);
        if (basic->IsEqual(selector, kSelectorAITrackToolCursor)) return toolTrackCursor(m);
        if (basic->IsEqual(selector, kSelectorAIToolMouseDown)) return toolMouseDown(m);
        if (basic->IsEqual(selector, kSelectorAIToolMouseDrag)) return toolMouseDrag(m);
        if (basic->IsEqual(selector, kSelectorAIToolMouseUp)) return toolMouseUp(m);
        if (basic->IsEqual(selector, kSelectorAISelectTool)) return toolSelect(m);
        if (basic->IsEqual(selector, kSelectorAIDeselectTool)) return toolDeselect(m);
        if (basic->IsEqual(selector, kSelectorAIEditToolOptions)) return toolOptions(m);
    } else if (basic->IsEqual(caller, kCallerAINotify)) {
        if (basic->IsEqual(selector, kSelectorAINotify)) return goNotifier(static_cast<AINotifierMessage*>(message));
    } else if (basic->IsEqual(caller, kCallerAIFileFormat)) {
        if (basic->IsEqual(selector, kSelectorAIGetFileFormatParameters)) return goGetFormatParms(message);
        if (basic->IsEqual(selector, kSelectorAIGoFileFormat)) return goFileFormat(message);
        if (basic->IsEqual(selector, kSelectorAICheckFileFormat)) return goCheckFormat(message);
    } else if (basic->IsEqual(caller, kCallerAITimer)) {
        if (basic->IsEqual(selector, kSelectorAIGoTimer)) return goTimer(message);
    } else if (basic->IsEqual(caller, kCallerAITransformAgain)) {
        if (basic->IsEqual(selector, kSelectorAIGoTransformAgain)) return repeatTransform(message);
    } else if (basic->IsEqual(caller, kCallerAIPluginGroup)) {
        if (basic->IsEqual(selector, kSelectorAINotifyEdits)) return goNotifyEdits(message);
        if (basic->IsEqual(selector, kSelectorAIUpdateArt)) return goUpdateResultArt(message);
    } else if (basic->IsEqual(caller, kCallerActionManager)) {
        if (basic->IsEqual(selector, kSelectorActionDoAction)) return doAction(message);
    } else if (basic->IsEqual(caller, kCallerAIAnnotation)) {
        if (basic->IsEqual(selector, kSelectorAIDrawAnnotation) || basic->IsEqual(selector, kSelectorAIInvalAnnotation))
            return goAnnotator(message);
    }
    return kNoErr;
}

// The defaults that are not zero: the globals start cleared, so every other
// field already holds its default.
static void setStartupDefaults()
{
    g->viewShowIndex = 1;
    g->viewShowControlPoints = 1;
    g->viewShowStartPoint = 1;
    g->savedViewZoom = 1.0f;
    static const uint32_t previewWords[] = {0xFFFFFFFF, 0x808080FF, 0xFFFFFFFF, 0x40E040FF, 0xFF0000FF, 0x4040C0FF, 1,
                                            3,          0x4040C0FF, 2,          3,          0x00FFFFFF, 255};
    static_assert(sizeof previewWords <= sizeof g->previewOption.words, "the preview's defaults fit its words");
    std::copy(std::begin(previewWords), std::end(previewWords), g->previewOption.words);
    g->Precious = 0.1;
    g->FitType = 2;
    g->offsetSize = 1.0f;
    g->ripMarginX = 1.0;
    g->ripMarginY = 1.0;
    g->ripVLines = 1;
    g->ripHLines = 1;
    g->splitMarkWidth = 5.0;
    g->splitMarkHeight = 5.0;
    g->splitSortMethod = 1;
}

ASErr StartupPlugin(SPInterfaceMessage* message)
{
    void* block = nullptr;
    ASErr error = sSPBlocks->AllocateBlock(sizeof(PluginGlobals), "globals", &block);
    if (error != kNoErr) return error;
    // Every field not given a default starts at zero, not at whatever the
    // block happened to hold.
    memset(block, 0, sizeof(PluginGlobals));
    g = static_cast<PluginGlobals*>(block);

    g->basic = message->d.basic;
    g->pluginRef = message->d.self;
    (void)GetLanguageIndex();  // cannot fail: without a readable language file English is chosen
    setStartupDefaults();
    return pluginStartup(message);
}

ASErr pluginStartup(SPInterfaceMessage* message)
{
    ASErr error = GetArdoSettings();
    if (error == kNoErr) error = addMenu(message);
    if (error == kNoErr) error = addNotifiers(message);
    if (error == kNoErr) error = addTool(message);
    if (error == kNoErr) error = addAnnotator(message);
    if (error == kNoErr) error = addTimers(message);
    return error;
}

ASErr ShutdownPlugin(SPInterfaceMessage* message)
{
    // Whatever writing the settings says, the globals and pens are freed
    // below: the host is going away either way. A setting that could not be
    // written is still what the host hears, so that it is not lost unseen.
    ASErr settings = g != nullptr ? pluginShutdown() : kNoErr;

    SPBlocksSuite* blocks = nullptr;
    ASErr error = message->d.basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, (const void**)&blocks);
    if (error == kNoErr && blocks != nullptr) {
        if (g != nullptr) {
            if (g->curEnvironment.Pens != nullptr) {
                free(g->curEnvironment.Pens);
                g->curEnvironment.Pens = nullptr;
            }
            blocks->FreeBlock(g);
            g = nullptr;
        }
        message->d.basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
    }
    message->d.globals = nullptr;
    return settings != kNoErr ? settings : error;
}

ASErr AboutPlugin(SPInterfaceMessage* message)
{
    // The About box is a courtesy: whatever it reports, the host is told
    // the message was handled. Without the globals (a reload that handed
    // back none) there is no dialog to show.
    if (g == nullptr) return kNoErr;
    (void)goAbout(message);
    return kNoErr;
}

ASErr UnloadPlugin(SPAccessMessage* message)
{
    // Nothing to report to a module that is being unloaded; the routine holds
    // nothing that can fail.
    if (message->d.globals != nullptr) (void)unloadPluginSuiteFunctions(message);
    message->d.globals = g;
    return kNoErr;
}

ASErr ReloadPlugin(SPAccessMessage* message)
{
    ASErr error = kNoErr;
    if (message->d.globals != nullptr) error = reloadPluginSuiteFunctions(message);
    g = static_cast<PluginGlobals*>(message->d.globals);
    gAcquireCount = 0;
    return error;
}

ASErr doAction(void*) { return kNoErr; }
ASErr goAnnotator(void*) { return kNoErr; }
ASErr goGetFormatParms(void*) { return kNoErr; }
ASErr goFileFormat(void*) { return kNoErr; }
ASErr goCheckFormat(void*) { return kNoErr; }
ASErr goTimer(void*) { return kNoErr; }
ASErr repeatTransform(void*) { return kNoErr; }
ASErr goNotifyEdits(void*) { return kNoErr; }
ASErr goUpdateResultArt(void*) { return kNoErr; }
ASErr toolOptions(AIToolMessage*) { return kNoErr; }
ASErr addAnnotator(SPInterfaceMessage*) { return kNoErr; }
ASErr addTimers(SPInterfaceMessage*) { return kNoErr; }
ASErr reloadPluginSuiteFunctions(SPAccessMessage*) { return kNoErr; }
ASErr unloadPluginSuiteFunctions(SPAccessMessage*) { return kNoErr; }
