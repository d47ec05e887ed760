// Host registration and event suites: menus, tools, notifiers, timers, actions
// and the suites that the plug-in acquires but never calls.
#pragma once

#include "IAIUnicodeString.h"
#include "SPSuites.h"

// ---- Notifiers -------------------------------------------------------------
#define kCallerAINotify "AI Notifier"
#define kSelectorAINotify "AI Notify"
#define kAIApplicationStartedNotifier "AI Application Started Notifier"

typedef struct AINotifierMessage {
    SPMessageData d;
    AINotifierHandle notifier;
    const char* type;
    void* notifyData;
} AINotifierMessage;

#define kAINotifierSuite "AI Notifier Suite"
#define kAINotifierSuiteVersion 1002
#define VT_OPS_AINotifierSuite(X) \
    X(ASErr, AddNotifier, (SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier)) \
    X(ASErr, GetNotifierName, (AINotifierHandle notifier, const char** name)) \
    X(ASErr, SetNotifierActive, (AINotifierHandle notifier, AIBoolean active))
VT_DECLARE_SUITE(AINotifierSuite)

// ---- Menus -----------------------------------------------------------------
#define kCallerAIMenu "AI Menu"
#define kSelectorAIGoMenuItem "AI Go"
#define kSelectorAIUpdateMenuItem "AI Update"

typedef struct AIMenuMessage {
    SPMessageData d;
    AIMenuItemHandle menuItem;
} AIMenuMessage;

// Options of a new menu item: ask the host for "AI Update" before the menu
// that holds the item is shown.
enum { kMenuItemWantsUpdateOption = 1 };

// A new menu item: the name of the menu group it goes into and its text.
// Building and destroying the record builds and destroys the text.
struct AIPlatformAddMenuItemDataUS {
    const char* groupName;
    ai::UnicodeString itemText;
};

#define kAIMenuSuite "AI Menu Suite"
#define kAIMenuSuiteVersion 1008
#define VT_OPS_AIMenuSuite(X) \
    /* Adds an item to a menu group; the key names the item to the host (several items may */ \
    /* share one). kSPBadParameterError for a group the host does not know. */ \
    X(ASErr, AddMenuItem, (SPPluginRef self, const char* key, const AIPlatformAddMenuItemDataUS* data, \
        ASInt32 options, AIMenuItemHandle* menuItem)) \
    /* Makes a menu group that shows as the submenu of an item. */ \
    X(ASErr, AddMenuGroupAsSubMenu, (const char* name, ASInt32 options, AIMenuItemHandle parentItem, \
        AIMenuGroup* group)) \
    X(ASErr, GetMenuItemKeyName, (AIMenuItemHandle menuItem, const char** key)) \
    X(ASErr, EnableItem, (AIMenuItemHandle menuItem)) \
    X(ASErr, DisableItem, (AIMenuItemHandle menuItem)) \
    X(ASErr, IsItemEnabled, (AIMenuItemHandle menuItem, AIBoolean* enabled)) \
    X(ASErr, SetItemText, (AIMenuItemHandle menuItem, AIUnicodeStringRef text)) \
    /* The item's text as a new host string; the caller adopts it. */ \
    X(ASErr, GetItemText, (AIMenuItemHandle menuItem, AIUnicodeStringRef* text))
VT_DECLARE_SUITE(AIMenuSuite)

// ---- Tools -----------------------------------------------------------------
#define kCallerAITool "AI Tool"
#define kSelectorAITrackToolCursor "AI Track Cursor"
#define kSelectorAIToolMouseDown "AI Mouse Down"
#define kSelectorAIToolMouseDrag "AI Mouse Drag"
#define kSelectorAIToolMouseUp "AI Mouse Up"
#define kSelectorAISelectTool "AI Select"
#define kSelectorAIDeselectTool "AI Deselect"
#define kSelectorAIEditToolOptions "AI Edit Options"

typedef struct AIEvent {
    ASUInt32 when;       // ticks
    ASUInt32 modifiers;  // shift is 0x200
} AIEvent;
#define aiEventModifiers_shiftKey 0x200

typedef struct AIToolMessage {
    SPMessageData d;
    AIToolHandle tool;
    AIRealPoint cursor;
    AIEvent* event;
} AIToolMessage;

// A new tool of the toolbox: its title and tip as the toolbox shows them, its
// icon ("ADM Icon Suite"), and the numbers of the tool it shares a slot and a
// set with (tools given the same number sit together).
struct ADMIconOpaque;
typedef struct AIAddToolData {
    const char* title;
    const char* tooltip;
    struct ADMIconOpaque* icon;
    ASInt32 sameGroupAs;
    ASInt32 sameToolsetAs;
} AIAddToolData;

// Options of a new tool: the host sends it "AI Track Cursor" whenever the
// pointer moves over the document while it is the current tool.
enum { kToolWantsToTrackCursorOption = 1 };

// Errors of the tool suite.
enum { kNoSuchToolErr = 'TOL?' };  // not a tool of the toolbox

#define kAIToolSuite "AI Tool Suite"
#define kAIToolSuiteVersion 1009
#define VT_OPS_AIToolSuite(X) \
    /* Adds a tool to the toolbox; its messages go to the plug-in. The name must be new \
       (kSPBadParameterError otherwise); the title and tip are copied. */ \
    X(ASErr, AddTool, (SPPluginRef self, const char* name, const AIAddToolData* data, ASInt32 options, \
        AIToolHandle* tool)) \
    /* The name the tool was added with, owned by the host. */ \
    X(ASErr, GetToolName, (AIToolHandle tool, const char** name)) \
    /* Makes the tool current, as a click on it in the toolbox does: the tool that was \
       current hears "AI Deselect", the new one "AI Select". */ \
    X(ASErr, SetSelectedTool, (AIToolHandle tool)) \
    /* The current tool: one a plug-in added or the host's own "Selection Tool". */ \
    X(ASErr, GetSelectedTool, (AIToolHandle* tool))
VT_DECLARE_SUITE(AIToolSuite)

// ---- Timers, filters, file formats and the other callers ---------------------
#define kCallerAITimer "AI Timer"
#define kCallerAIFilter "AI Filter"
#define kCallerAIFileFormat "AI File Format"
#define kCallerAITransformAgain "AI Transform Again"
#define kCallerAIPluginGroup "AI Plugin Group"
#define kCallerActionManager "Action Manager"
#define kCallerAIAnnotation "AI Annotation"
#define kSelectorAIGetFileFormatParameters "AI Get Parameters"
#define kSelectorAIGoFileFormat "AI Go"
#define kSelectorAICheckFileFormat "AI Check"
#define kSelectorAIGoTimer "AI Go"
#define kSelectorAIGoTransformAgain "AI Go"
#define kSelectorAINotifyEdits "AI Notify Edits"
#define kSelectorAIUpdateArt "AI Update"
#define kSelectorActionDoAction "Do Action"
#define kSelectorAIDrawAnnotation "AI Draw"
#define kSelectorAIInvalAnnotation "AI Invalidate"

#define kAITimerSuite "AI Timer Suite"
#define kAITimerSuiteVersion 1003
#define VT_OPS_AITimerSuite(X) \
    X(ASErr, CountTimers, (ASInt32* count))
VT_DECLARE_SUITE(AITimerSuite)

#define kAIFileFormatSuite "AI File Format Suite"
#define kAIFileFormatSuiteVersion 1009
#define VT_OPS_AIFileFormatSuite(X)
VT_DECLARE_SUITE(AIFileFormatSuite)

#define kAIFilterSuite "AI Filter Suite"
#define kAIFilterSuiteVersion 1002
#define VT_OPS_AIFilterSuite(X)
VT_DECLARE_SUITE(AIFilterSuite)

#define kAITransformAgainSuite "AI Transform Again Suite"
#define kAITransformAgainSuiteVersion 1002
#define VT_OPS_AITransformAgainSuite(X)
VT_DECLARE_SUITE(AITransformAgainSuite)

#define kAIPluginGroupSuite "AI Plugin Group Suite"
#define kAIPluginGroupSuiteVersion 1004
#define VT_OPS_AIPluginGroupSuite(X)
VT_DECLARE_SUITE(AIPluginGroupSuite)

// Host actions played by name with a record of parameters. A parameter's key
// is a four-character code ('fill'); setting a key again replaces its value.
typedef ASUInt32 ActionParamKeyID;
typedef ASInt32 ActionDialogStatus;
enum { kDialogNone = 0, kDialogOn = 1, kDialogOff = 2 };

// The actions the stand-in host plays, all on the current selection.
#define kExpandActionName "ai_plugin_expand"          // 'objt', 'fill', 'strk', 'smth': booleans
#define kPathfinderActionName "ai_plugin_pathfinder"  // 'name': enumerated, "merge" (8)
#define kOutlineActionName "ai_plugin_outline"        // no parameters; changes nothing
enum { kPathfinderMergeValue = 8 };

// Errors of the action manager.
enum {
    kUnknownActionErr = 'ACT?',  // no action of that name
    kActionParamErr = 'KEY?'     // a key the action needs is missing or of another kind, or a value it cannot do
};

#define kAIActionManagerSuite "AI Action Manager Suite"
#define kAIActionManagerSuiteVersion 1003
#define VT_OPS_AIActionManagerSuite(X) \
    /* a new, empty parameter record, the caller's until AIDeleteActionParamValue */ \
    X(ASErr, AINewActionParamValue, (AIActionParamValueRef* param)) \
    X(ASErr, AIDeleteActionParamValue, (AIActionParamValueRef param)) \
    X(ASErr, AIActionSetBoolean, (AIActionParamValueRef param, ActionParamKeyID key, ASBoolean value)) \
    /* an enumerated value: its name and its number */ \
    X(ASErr, AIActionSetEnumerated, (AIActionParamValueRef param, ActionParamKeyID key, const char* name, ASInt32 value)) \
    X(ASErr, AIActionSetReal, (AIActionParamValueRef param, ActionParamKeyID key, AIReal value)) \
    /* plays the action on the current document's selection; parameters may be null for an \
       action that needs none. A failed action changes nothing. */ \
    X(ASErr, PlayActionEvent, (const char* eventName, ActionDialogStatus dialogStatus, AIActionParamValueRef parameters))
VT_DECLARE_SUITE(AIActionManagerSuite)

#define kAIAppContextSuite "AI Context Suite"
#define kAIAppContextSuiteVersion 1003
#define VT_OPS_AIAppContextSuite(X) \
    X(ASErr, PushAppContext, (SPPluginRef plugin, AIAppContextHandle* appContext)) \
    X(ASErr, PopAppContext, (AIAppContextHandle appContext))
VT_DECLARE_SUITE(AIAppContextSuite)

#define kAIAnnotatorSuite "AI Annotator Suite"
#define kAIAnnotatorSuiteVersion 1003
#define VT_OPS_AIAnnotatorSuite(X)
VT_DECLARE_SUITE(AIAnnotatorSuite)

#define kAIUndoSuite "AI Undo Suite"
#define kAIUndoSuiteVersion 1004
#define VT_OPS_AIUndoSuite(X)
VT_DECLARE_SUITE(AIUndoSuite)

#define kAIRuntimeSuite "AI Runtime Suite"
#define kAIRuntimeSuiteVersion 1008
#define VT_OPS_AIRuntimeSuite(X)
VT_DECLARE_SUITE(AIRuntimeSuite)

#define kAIDocumentListSuite "AI Document List Suite"
#define kAIDocumentListSuiteVersion 1004
#define VT_OPS_AIDocumentListSuite(X)
VT_DECLARE_SUITE(AIDocumentListSuite)

#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 1007
#define VT_OPS_AIUserSuite(X)
VT_DECLARE_SUITE(AIUserSuite)
