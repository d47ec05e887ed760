// The host's dialog toolkit: dialogs, items, lists, entries, notifiers,
// trackers, drawers, icons, dialog groups and the basic services (string
// lists, alerts, file dialogs, the colour picker, the screen).
//
// Every handle is opaque. Every procedure the plug-in hands to the toolkit
// returns ASErr (ignored by the toolkit unless said otherwise) except the
// track procedures, which return true when they consumed the event.
#pragma once

#include "SPSuites.h"

// ---- Geometry --------------------------------------------------------------

// A rectangle of pixels; dialog bounds are screen coordinates, item bounds
// are coordinates within the dialog, local rectangles start at (0, 0).
typedef struct _t_ADMRect {
    ASInt16 top;
    ASInt16 left;
    ASInt16 bottom;
    ASInt16 right;
} ADMRect;
typedef ASPoint ADMPoint;

// ---- Handles -----------------------------------------------------------------

typedef struct ADMDialogOpaque* ADMDialogRef;
typedef struct ADMItemOpaque* ADMItemRef;
typedef struct ADMListOpaque* ADMListRef;
typedef struct ADMEntryOpaque* ADMEntryRef;
typedef struct ADMNotifierOpaque* ADMNotifierRef;
typedef struct ADMTrackerOpaque* ADMTrackerRef;
typedef struct ADMDrawerOpaque* ADMDrawerRef;
typedef struct ADMIconOpaque* ADMIconRef;
typedef void* ADMUserData;

// ---- Values --------------------------------------------------------------------

typedef float ADMFloat;
typedef uint16_t ADMUInt16;
typedef ASUInt32 ADMTime;          // tracker time, in ticks of 1/60 s
typedef ASInt32 ADMAction;         // tracker action, kADM...Action
typedef ASUInt32 ADMActionMask;    // which actions reach a track procedure
typedef ASUInt32 ADMModifiers;     // modifier keys held, kADM...Modifier bits
typedef ASUInt32 ADMColor;         // 0 black, 1 white, small values toolkit colours, else 0xRRGGBBFF
typedef ASInt32 ADMUnits;
typedef ASInt32 ADMJustify;
typedef ASInt32 ADMDrawMode;
typedef ASInt32 ADMDialogStyle;
typedef ASInt32 ADMItemStyle;
typedef ASInt32 ADMIconType;
typedef ASInt32 ADMFont;

// The colour picker works with 16-bit components.
typedef struct ADMRGBColor {
    ADMUInt16 red;
    ADMUInt16 green;
    ADMUInt16 blue;
} ADMRGBColor;

// Dialog styles.
enum {
    kADMModalDialogStyle = 0,
    kADMFloatingDialogStyle = 2,
    kADMTabbedFloatingDialogStyle = 3,
    kADMResizingModalDialogStyle = 10
};

// Units of numeric items. Values are always held in points; the units only
// say how they are shown and typed.
enum {
    kADMNoUnits = 0,
    kADMPointUnits = 1,
    kADMInchUnits = 2,
    kADMMillimeterUnits = 3
};

enum { kADMLeftJustify = 0, kADMCenterJustify = 1, kADMRightJustify = 2 };

enum { kADMNormalMode = 0, kADMXORMode = 1 };

// Text styles of items.
enum { kADMDefaultFont = 0, kADMDialogFont = 1, kADMPaletteFont = 2, kADMBoldFont = 3, kADMItalicFont = 4 };

// Toolkit colours (values below 256); any other value is 0xRRGGBBFF.
enum {
    kADMBlackColor = 0,
    kADMWhiteColor = 1,
    kADMHiliteColor = 2,
    kADMHiliteTextColor = 3,
    kADMLightColor = 4,
    kADMBackgroundColor = 5,
    kADMShadowColor = 6,
    kADMDisabledColor = 7,
    kADMButtonUpColor = 8,
    kADMButtonDownColor = 9,
    kADMButtonDownShadowColor = 10,
    kADMToolTipBackgroundColor = 11,
    kADMToolTipTextColor = 12,
    kADMWindowColor = 13,
    kADMTextColor = 14,
    kADMDarkShadowColor = 15,
    kADMGridColor = 16
};

// Tracker actions.
enum {
    kADMMouseMovedUpAction = -1,     // the mouse moved with the button up
    kADMButtonUpAction = -2,         // the button was released
    kADMMouseMovedDownAction = 1,    // the mouse moved with the button down
    kADMButtonDownAction = 2,        // the button was pressed
    kADMKeyStrokeAction = -15        // a key was typed; GetCharacter tells which
};

// Action masks. Items and entries get button, drag and release by default;
// hover and key strokes must be asked for.
enum {
    kADMButtonDownMask = 0x00000001,
    kADMMouseMovedDownMask = 0x00000002,
    kADMButtonUpMask = 0x00000004,
    kADMKeyStrokeMask = 0x00000040,
    kADMMouseMovedUpMask = 0x00020000,
    kADMUncapturedActionMask = 0x80000000,  // events no item took go to the dialog
    kADMDefaultItemActionMask = 0x00000007
};

// Modifier bits of a tracker.
enum {
    kADMShiftKeyModifier = 0x20,
    kADMControlKeyModifier = 0x40,
    kADMOptionKeyModifier = 0x80
};

// Icon types; an icon the plug-in's resources do not hold is unknown.
enum { kADMPictureIconType = 2, kADMUnknownIconType = 7 };

// Built-in pictures and cursors of the toolkit.
enum {
    kADMNewEntryPictureID = -16010,
    kADMDeleteEntryPictureID = -16020,
    kADMDeleteEntryDisabledPictureID = -16022,
    kADMArrowCursorID = -4,
    kADMCrossCursorID = -6,
    kADMHandCursorID = -7
};

// Item type names.
#define kADMFrameType "ADM Frame Type"
#define kADMListBoxType "ADM List Box Type"
#define kADMPicturePushButtonType "ADM Picture Push Button Type"
#define kADMPictureRadioButtonType "ADM Picture Radio Button Type"
#define kADMPictureStaticType "ADM Picture Static Type"
#define kADMPopupListType "ADM Popup List Type"
#define kADMSliderType "ADM Slider Type"
#define kADMSpinEditType "ADM Spin Edit Type"
#define kADMTextCheckBoxType "ADM Text Check Box Type"
#define kADMTextEditMultiLineType "ADM Text Edit Multi Line Type"
#define kADMTextEditType "ADM Text Edit Type"
#define kADMTextPushButtonType "ADM Text Push Button Type"
#define kADMTextRadioButtonType "ADM Text Radio Button Type"
#define kADMTextStaticType "ADM Text Static Type"

// Children of compound items (GetChildItem).
enum { kADMSpinEditTextEditChildID = 1, kADMSpinEditUpButtonChildID = 2, kADMSpinEditDownButtonChildID = 3 };

// Notifications the toolkit itself sends.
#define kADMUserChangedNotifier "ADM User Changed Notifier"
#define kADMBoundsChangedNotifier "ADM Bounds Changed Notifier"

// ---- Procedures ------------------------------------------------------------------

typedef ASErr (*ADMDialogInitProc)(ADMDialogRef dialog);
typedef ASErr (*ADMDialogDrawProc)(ADMDialogRef dialog, ADMDrawerRef drawer);
typedef ASBoolean (*ADMDialogTrackProc)(ADMDialogRef dialog, ADMTrackerRef tracker);
typedef ASErr (*ADMDialogNotifyProc)(ADMDialogRef dialog, ADMNotifierRef notifier);
typedef ASErr (*ADMDialogDestroyProc)(ADMDialogRef dialog);

typedef ASErr (*ADMItemInitProc)(ADMItemRef item);
typedef ASErr (*ADMItemDrawProc)(ADMItemRef item, ADMDrawerRef drawer);
typedef ASBoolean (*ADMItemTrackProc)(ADMItemRef item, ADMTrackerRef tracker);
typedef ASErr (*ADMItemNotifyProc)(ADMItemRef item, ADMNotifierRef notifier);
typedef ASErr (*ADMItemDestroyProc)(ADMItemRef item);

typedef ASErr (*ADMEntryInitProc)(ADMEntryRef entry);
typedef ASErr (*ADMEntryDrawProc)(ADMEntryRef entry, ADMDrawerRef drawer);
typedef ASBoolean (*ADMEntryTrackProc)(ADMEntryRef entry, ADMTrackerRef tracker);
typedef ASErr (*ADMEntryNotifyProc)(ADMEntryRef entry, ADMNotifierRef notifier);
typedef ASErr (*ADMEntryDestroyProc)(ADMEntryRef entry);

// ---- ADM Basic -------------------------------------------------------------------

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 8
#define VT_OPS_ADMBasicSuite(X) \
    /* The text at index of the string list listId, at most maxLength - 1 bytes, always terminated; */ \
    /* an index the list lacks gives an empty text. */ \
    X(void, GetIndexString, (SPPluginRef plugin, ASInt32 listId, ASInt32 index, char* buffer, ASInt32 maxLength)) \
    X(void, MessageAlert, (const char* message)) \
    X(void, ErrorAlert, (const char* message)) \
    X(void, Beep, (void)) \
    /* The main screen, {0, 0, height, width}. */ \
    X(void, GetScreenDimensions, (ADMRect* dimensions)) \
    /* The area in which the host lays out its palettes. */ \
    X(void, GetPaletteLayoutBounds, (ADMRect* bounds)) \
    /* The standard file dialogs; true when the user chose a file, which is then in result. */ \
    X(ASBoolean, StandardGetFileDialog, (const char* message, const char* filter, \
        const SPPlatformFileSpecification* startingDir, const char* startingFile, SPPlatformFileSpecification* result)) \
    X(ASBoolean, StandardPutFileDialog, (const char* message, const char* filter, \
        const SPPlatformFileSpecification* startingDir, const char* startingFile, SPPlatformFileSpecification* result)) \
    /* The colour picker, seeded with inColor; true when the user picked a colour. */ \
    X(ASBoolean, ChooseColor, (ADMPoint where, const ADMRGBColor* inColor, ADMRGBColor* outColor))
VT_DECLARE_SUITE(ADMBasicSuite)

// ---- ADM Dialog ------------------------------------------------------------------

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 5
#define VT_OPS_ADMDialogSuite(X) \
    /* A floating dialog: lives until Destroy. Null when the init procedure fails. */ \
    X(ADMDialogRef, Create, (SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style, \
        ADMDialogInitProc initProc, ADMUserData userData, ASInt32 options)) \
    /* A modal dialog: returns the result given to EndModal. */ \
    X(ASInt32, Modal, (SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style, \
        ADMDialogInitProc initProc, ADMUserData userData, ASInt32 options)) \
    X(void, Destroy, (ADMDialogRef dialog)) \
    X(void, EndModal, (ADMDialogRef dialog, ASInt32 modalResult, ASBoolean cancelling)) \
    X(SPPluginRef, GetPluginRef, (ADMDialogRef dialog)) \
    X(const char*, GetDialogName, (ADMDialogRef dialog)) \
    X(ADMDialogStyle, GetDialogStyle, (ADMDialogRef dialog)) \
    X(ADMUserData, GetUserData, (ADMDialogRef dialog)) \
    X(void, SetUserData, (ADMDialogRef dialog, ADMUserData userData)) \
    X(void, SetText, (ADMDialogRef dialog, const char* text)) \
    X(void, GetText, (ADMDialogRef dialog, char* text, ASInt32 maxLength)) \
    X(void, Show, (ADMDialogRef dialog, ASBoolean show)) \
    X(ASBoolean, IsVisible, (ADMDialogRef dialog)) \
    X(void, Enable, (ADMDialogRef dialog, ASBoolean enable)) \
    X(ASBoolean, IsEnabled, (ADMDialogRef dialog)) \
    /* Bounds on the screen; the local rectangle is {0, 0, height, width}. */ \
    X(void, GetBoundsRect, (ADMDialogRef dialog, ADMRect* bounds)) \
    X(void, SetBoundsRect, (ADMDialogRef dialog, const ADMRect* bounds)) \
    X(void, GetLocalRect, (ADMDialogRef dialog, ADMRect* rect)) \
    X(void, Move, (ADMDialogRef dialog, ASInt32 h, ASInt32 v)) \
    X(void, SetSize, (ADMDialogRef dialog, ASInt32 width, ASInt32 height)) \
    X(void, SetMinWidth, (ADMDialogRef dialog, ASInt32 width)) \
    X(void, SetMinHeight, (ADMDialogRef dialog, ASInt32 height)) \
    X(void, SetMaxWidth, (ADMDialogRef dialog, ASInt32 width)) \
    X(void, SetMaxHeight, (ADMDialogRef dialog, ASInt32 height)) \
    X(void, SetHorizontalIncrement, (ADMDialogRef dialog, ASInt32 increment)) \
    X(void, SetVerticalIncrement, (ADMDialogRef dialog, ASInt32 increment)) \
    X(ASInt32, GetMinWidth, (ADMDialogRef dialog)) \
    X(ASInt32, GetMinHeight, (ADMDialogRef dialog)) \
    X(ASInt32, GetHorizontalIncrement, (ADMDialogRef dialog)) \
    X(ASInt32, GetVerticalIncrement, (ADMDialogRef dialog)) \
    X(void, SetDrawProc, (ADMDialogRef dialog, ADMDialogDrawProc proc)) \
    X(void, SetTrackProc, (ADMDialogRef dialog, ADMDialogTrackProc proc)) \
    X(void, SetNotifyProc, (ADMDialogRef dialog, ADMDialogNotifyProc proc)) \
    X(void, SetDestroyProc, (ADMDialogRef dialog, ADMDialogDestroyProc proc)) \
    X(ADMDialogDrawProc, GetDrawProc, (ADMDialogRef dialog)) \
    X(ADMDialogTrackProc, GetTrackProc, (ADMDialogRef dialog)) \
    X(ADMDialogNotifyProc, GetNotifyProc, (ADMDialogRef dialog)) \
    X(ADMDialogDestroyProc, GetDestroyProc, (ADMDialogRef dialog)) \
    X(void, SetMask, (ADMDialogRef dialog, ADMActionMask mask)) \
    X(ADMActionMask, GetMask, (ADMDialogRef dialog)) \
    X(void, DefaultDraw, (ADMDialogRef dialog, ADMDrawerRef drawer)) \
    X(ASBoolean, DefaultTrack, (ADMDialogRef dialog, ADMTrackerRef tracker)) \
    X(void, DefaultNotify, (ADMDialogRef dialog, ADMNotifierRef notifier)) \
    /* Sends a named notification to the dialog's notify procedure. */ \
    X(void, SendNotify, (ADMDialogRef dialog, const char* notifierType)) \
    X(ADMItemRef, GetItem, (ADMDialogRef dialog, ASInt32 itemID)) \
    X(void, SetDefaultItemID, (ADMDialogRef dialog, ASInt32 itemID)) \
    X(ASInt32, GetDefaultItemID, (ADMDialogRef dialog)) \
    X(void, SetCancelItemID, (ADMDialogRef dialog, ASInt32 itemID)) \
    X(ASInt32, GetCancelItemID, (ADMDialogRef dialog)) \
    X(void, Invalidate, (ADMDialogRef dialog)) \
    X(void, Update, (ADMDialogRef dialog))
VT_DECLARE_SUITE(ADMDialogSuite)

// ---- ADM Item --------------------------------------------------------------------

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 7
#define VT_OPS_ADMItemSuite(X) \
    /* Creates an item of a type named kADM...Type; runs initProc; null for an unknown type, */ \
    /* a taken id is allowed (the toolkit keeps both items; GetItem finds the first). */ \
    X(ADMItemRef, Create, (ADMDialogRef dialog, ASInt32 itemID, const char* itemType, const ADMRect* bounds, \
        ADMItemInitProc initProc, ADMUserData userData, ASInt32 options)) \
    X(void, Destroy, (ADMItemRef item)) \
    X(ADMDialogRef, GetDialog, (ADMItemRef item)) \
    X(ASInt32, GetID, (ADMItemRef item)) \
    X(const char*, GetItemType, (ADMItemRef item)) \
    X(ADMItemRef, GetChildItem, (ADMItemRef item, ASInt32 childID)) \
    X(ADMListRef, GetList, (ADMItemRef item)) \
    X(ADMUserData, GetUserData, (ADMItemRef item)) \
    X(void, SetUserData, (ADMItemRef item, ADMUserData userData)) \
    X(void, SetItemStyle, (ADMItemRef item, ADMItemStyle style)) \
    X(ADMItemStyle, GetItemStyle, (ADMItemRef item)) \
    X(void, Show, (ADMItemRef item, ASBoolean show)) \
    X(ASBoolean, IsVisible, (ADMItemRef item)) \
    /* Enabled items take input; disabled ones are greyed out. */ \
    X(void, Enable, (ADMItemRef item, ASBoolean enable)) \
    X(ASBoolean, IsEnabled, (ADMItemRef item)) \
    /* The item's activation, as for list entries: a picture button deactivated shows as the */ \
    /* choice in use. It still takes input; only Enable decides that. */ \
    X(void, Activate, (ADMItemRef item, ASBoolean activate)) \
    X(ASBoolean, IsActive, (ADMItemRef item)) \
    X(void, GetBoundsRect, (ADMItemRef item, ADMRect* bounds)) \
    X(void, SetBoundsRect, (ADMItemRef item, const ADMRect* bounds)) \
    X(void, GetLocalRect, (ADMItemRef item, ADMRect* rect)) \
    X(void, Move, (ADMItemRef item, ASInt32 h, ASInt32 v)) \
    X(void, Size, (ADMItemRef item, ASInt32 width, ASInt32 height)) \
    X(void, SetDrawProc, (ADMItemRef item, ADMItemDrawProc proc)) \
    X(void, SetTrackProc, (ADMItemRef item, ADMItemTrackProc proc)) \
    X(void, SetNotifyProc, (ADMItemRef item, ADMItemNotifyProc proc)) \
    X(void, SetDestroyProc, (ADMItemRef item, ADMItemDestroyProc proc)) \
    X(ADMItemDrawProc, GetDrawProc, (ADMItemRef item)) \
    X(ADMItemTrackProc, GetTrackProc, (ADMItemRef item)) \
    X(ADMItemNotifyProc, GetNotifyProc, (ADMItemRef item)) \
    X(ADMItemDestroyProc, GetDestroyProc, (ADMItemRef item)) \
    X(void, SetMask, (ADMItemRef item, ADMActionMask mask)) \
    X(ADMActionMask, GetMask, (ADMItemRef item)) \
    X(void, DefaultDraw, (ADMItemRef item, ADMDrawerRef drawer)) \
    X(ASBoolean, DefaultTrack, (ADMItemRef item, ADMTrackerRef tracker)) \
    X(void, DefaultNotify, (ADMItemRef item, ADMNotifierRef notifier)) \
    /* Sends a named notification to the item's notify procedure. */ \
    X(void, SendNotify, (ADMItemRef item, const char* notifierType)) \
    /* The item's draw procedure runs at the next update. */ \
    X(void, Invalidate, (ADMItemRef item)) \
    /* Draws the item now when it is invalid. */ \
    X(void, Update, (ADMItemRef item)) \
    X(void, SetCursorID, (ADMItemRef item, SPPluginRef plugin, ASInt32 cursorID)) \
    X(ASInt32, GetCursorID, (ADMItemRef item)) \
    X(void, SetPictureID, (ADMItemRef item, ASInt32 pictureID)) \
    X(ASInt32, GetPictureID, (ADMItemRef item)) \
    X(void, SetSelectedPictureID, (ADMItemRef item, ASInt32 pictureID)) \
    X(ASInt32, GetSelectedPictureID, (ADMItemRef item)) \
    X(void, SetDisabledPictureID, (ADMItemRef item, ASInt32 pictureID)) \
    X(ASInt32, GetDisabledPictureID, (ADMItemRef item)) \
    X(void, SetTipString, (ADMItemRef item, const char* tip)) \
    X(void, GetTipString, (ADMItemRef item, char* tip, ASInt32 maxLength)) \
    X(void, EnableTip, (ADMItemRef item, ASBoolean enable)) \
    X(ASBoolean, IsTipEnabled, (ADMItemRef item)) \
    /* Text; numeric items show their value in their units. GetText stores at most maxLength - 1 bytes. */ \
    X(void, SetText, (ADMItemRef item, const char* text)) \
    X(void, GetText, (ADMItemRef item, char* text, ASInt32 maxLength)) \
    X(ASInt32, GetTextLength, (ADMItemRef item)) \
    X(void, SetJustify, (ADMItemRef item, ADMJustify justify)) \
    X(void, SetFont, (ADMItemRef item, ADMFont font)) \
    X(ADMFont, GetFont, (ADMItemRef item)) \
    X(ADMJustify, GetJustify, (ADMItemRef item)) \
    /* Numeric values, held as 32-bit floats in points and kept within the minimum and maximum. */ \
    X(void, SetUnits, (ADMItemRef item, ADMUnits units)) \
    X(ADMUnits, GetUnits, (ADMItemRef item)) \
    X(void, SetPrecision, (ADMItemRef item, ASInt32 precision)) \
    X(ASInt32, GetPrecision, (ADMItemRef item)) \
    X(void, SetBooleanValue, (ADMItemRef item, ASBoolean value)) \
    X(ASBoolean, GetBooleanValue, (ADMItemRef item)) \
    X(void, SetIntValue, (ADMItemRef item, ASInt32 value)) \
    X(ASInt32, GetIntValue, (ADMItemRef item)) \
    X(void, SetFloatValue, (ADMItemRef item, ADMFloat value)) \
    X(ADMFloat, GetFloatValue, (ADMItemRef item)) \
    X(void, SetMinIntValue, (ADMItemRef item, ASInt32 value)) \
    X(ASInt32, GetMinIntValue, (ADMItemRef item)) \
    X(void, SetMaxIntValue, (ADMItemRef item, ASInt32 value)) \
    X(ASInt32, GetMaxIntValue, (ADMItemRef item)) \
    X(void, SetMinFloatValue, (ADMItemRef item, ADMFloat value)) \
    X(ADMFloat, GetMinFloatValue, (ADMItemRef item)) \
    X(void, SetMaxFloatValue, (ADMItemRef item, ADMFloat value)) \
    X(ADMFloat, GetMaxFloatValue, (ADMItemRef item)) \
    X(void, SetSmallIncrement, (ADMItemRef item, ADMFloat increment)) \
    X(ADMFloat, GetSmallIncrement, (ADMItemRef item)) \
    X(void, SetLargeIncrement, (ADMItemRef item, ADMFloat increment)) \
    X(ADMFloat, GetLargeIncrement, (ADMItemRef item))
VT_DECLARE_SUITE(ADMItemSuite)

// ---- ADM List --------------------------------------------------------------------

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1
#define VT_OPS_ADMListSuite(X) \
    X(ADMItemRef, GetItem, (ADMListRef list)) \
    X(ADMUserData, GetUserData, (ADMListRef list)) \
    X(void, SetUserData, (ADMListRef list, ADMUserData userData)) \
    /* Procedures of every entry of the list. */ \
    X(void, SetInitProc, (ADMListRef list, ADMEntryInitProc proc)) \
    X(void, SetDrawProc, (ADMListRef list, ADMEntryDrawProc proc)) \
    X(void, SetTrackProc, (ADMListRef list, ADMEntryTrackProc proc)) \
    X(void, SetNotifyProc, (ADMListRef list, ADMEntryNotifyProc proc)) \
    X(void, SetDestroyProc, (ADMListRef list, ADMEntryDestroyProc proc)) \
    X(void, SetMask, (ADMListRef list, ADMActionMask mask)) \
    X(ADMActionMask, GetMask, (ADMListRef list)) \
    /* Fills the list from a menu resource of the plug-in (entry ids and texts). */ \
    X(ASErr, SetMenuID, (ADMListRef list, SPPluginRef plugin, ASInt32 menuResID)) \
    X(ASInt32, GetMenuID, (ADMListRef list)) \
    X(void, SetEntryWidth, (ADMListRef list, ASInt32 width)) \
    X(ASInt32, GetEntryWidth, (ADMListRef list)) \
    X(void, SetEntryHeight, (ADMListRef list, ASInt32 height)) \
    X(ASInt32, GetEntryHeight, (ADMListRef list)) \
    /* Inserts a new entry before index (at the end when index is out of range). */ \
    X(ADMEntryRef, InsertEntry, (ADMListRef list, ASInt32 index)) \
    X(void, RemoveEntry, (ADMListRef list, ASInt32 index)) \
    X(void, RemoveAllEntries, (ADMListRef list)) \
    X(ASInt32, NumberOfEntries, (ADMListRef list)) \
    X(ADMEntryRef, IndexEntry, (ADMListRef list, ASInt32 index)) \
    X(ADMEntryRef, GetEntry, (ADMListRef list, ASInt32 entryID)) \
    X(ADMEntryRef, FindEntry, (ADMListRef list, const char* text)) \
    /* The entry at a point local to the list item, or null; index gets its index or -1. */ \
    X(ADMEntryRef, PickEntry, (ADMListRef list, const ADMPoint* point, ASInt32* index)) \
    X(ADMEntryRef, GetActiveEntry, (ADMListRef list)) \
    X(ASInt32, NumberOfSelectedEntries, (ADMListRef list)) \
    X(ADMEntryRef, IndexSelectedEntry, (ADMListRef list, ASInt32 selectionIndex)) \
    X(void, DeselectAll, (ADMListRef list))
VT_DECLARE_SUITE(ADMListSuite)

// ---- ADM Entry -------------------------------------------------------------------

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2
#define VT_OPS_ADMEntrySuite(X) \
    X(ADMListRef, GetList, (ADMEntryRef entry)) \
    X(ASInt32, GetIndex, (ADMEntryRef entry)) \
    X(void, SetID, (ADMEntryRef entry, ASInt32 entryID)) \
    X(ASInt32, GetID, (ADMEntryRef entry)) \
    X(void, SetUserData, (ADMEntryRef entry, ADMUserData userData)) \
    X(ADMUserData, GetUserData, (ADMEntryRef entry)) \
    X(void, SetText, (ADMEntryRef entry, const char* text)) \
    X(void, GetText, (ADMEntryRef entry, char* text, ASInt32 maxLength)) \
    X(void, SetPictureID, (ADMEntryRef entry, ASInt32 pictureID)) \
    X(ASInt32, GetPictureID, (ADMEntryRef entry)) \
    X(void, SetSelectedPictureID, (ADMEntryRef entry, ASInt32 pictureID)) \
    X(ASInt32, GetSelectedPictureID, (ADMEntryRef entry)) \
    /* A list may have several selected entries and one active entry; in a popup they go together. */ \
    X(void, Select, (ADMEntryRef entry, ASBoolean select)) \
    X(ASBoolean, IsSelected, (ADMEntryRef entry)) \
    X(void, Activate, (ADMEntryRef entry, ASBoolean activate)) \
    X(ASBoolean, IsActive, (ADMEntryRef entry)) \
    X(void, Enable, (ADMEntryRef entry, ASBoolean enable)) \
    X(ASBoolean, IsEnabled, (ADMEntryRef entry)) \
    /* The entry's rectangle within the list item. */ \
    X(void, GetBoundsRect, (ADMEntryRef entry, ADMRect* bounds)) \
    X(void, GetLocalRect, (ADMEntryRef entry, ADMRect* rect)) \
    X(void, Invalidate, (ADMEntryRef entry)) \
    X(void, DefaultDraw, (ADMEntryRef entry, ADMDrawerRef drawer)) \
    X(ASBoolean, DefaultTrack, (ADMEntryRef entry, ADMTrackerRef tracker)) \
    X(void, DefaultNotify, (ADMEntryRef entry, ADMNotifierRef notifier)) \
    X(void, SendNotify, (ADMEntryRef entry, const char* notifierType))
VT_DECLARE_SUITE(ADMEntrySuite)

// ---- ADM Notifier ------------------------------------------------------------------

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 2
#define VT_OPS_ADMNotifierSuite(X) \
    /* The item the notification concerns; null when it concerns the dialog itself. */ \
    X(ADMItemRef, GetItem, (ADMNotifierRef notifier)) \
    X(ADMDialogRef, GetDialog, (ADMNotifierRef notifier)) \
    X(ASBoolean, IsNotifierType, (ADMNotifierRef notifier, const char* notifierType)) \
    X(void, GetNotifierType, (ADMNotifierRef notifier, char* notifierType, ASInt32 maxLength))
VT_DECLARE_SUITE(ADMNotifierSuite)

// ---- ADM Tracker -------------------------------------------------------------------

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1
#define VT_OPS_ADMTrackerSuite(X) \
    /* The pointer, local to the item (or to the dialog for a dialog's tracker). */ \
    X(void, GetPoint, (ADMTrackerRef tracker, ADMPoint* point)) \
    X(ADMAction, GetAction, (ADMTrackerRef tracker)) \
    X(ASBoolean, TestAction, (ADMTrackerRef tracker, ADMAction action)) \
    X(ADMModifiers, GetModifiers, (ADMTrackerRef tracker)) \
    X(ASBoolean, TestModifier, (ADMTrackerRef tracker, ADMModifiers modifier)) \
    X(ADMTime, GetTime, (ADMTrackerRef tracker)) \
    /* Ends the tracking of the present press: no further drag or release reaches the procedure. */ \
    X(void, Abort, (ADMTrackerRef tracker)) \
    X(ASBoolean, GetMouseState, (ADMTrackerRef tracker)) \
    X(ADMUInt16, GetCharacter, (ADMTrackerRef tracker))
VT_DECLARE_SUITE(ADMTrackerSuite)

// ---- ADM Drawer --------------------------------------------------------------------

#define kADMDrawerSuite "ADM Drawer Suite"
#define kADMDrawerSuiteVersion 3
#define VT_OPS_ADMDrawerSuite(X) \
    /* The rectangle drawn into: {0, 0, height, width} of the item or entry. */ \
    X(void, GetBoundsRect, (ADMDrawerRef drawer, ADMRect* bounds)) \
    X(void, SetColor, (ADMDrawerRef drawer, ADMColor color)) \
    X(ADMColor, GetColor, (ADMDrawerRef drawer)) \
    X(void, SetDrawMode, (ADMDrawerRef drawer, ADMDrawMode mode)) \
    X(ADMDrawMode, GetDrawMode, (ADMDrawerRef drawer)) \
    X(void, DrawLine, (ADMDrawerRef drawer, const ADMPoint* start, const ADMPoint* end)) \
    X(void, DrawRect, (ADMDrawerRef drawer, const ADMRect* rect)) \
    X(void, FillRect, (ADMDrawerRef drawer, const ADMRect* rect)) \
    X(void, ClearRect, (ADMDrawerRef drawer, const ADMRect* rect)) \
    X(void, DrawOval, (ADMDrawerRef drawer, const ADMRect* rect)) \
    X(void, FillOval, (ADMDrawerRef drawer, const ADMRect* rect)) \
    X(void, DrawPolygon, (ADMDrawerRef drawer, const ADMPoint* points, ASInt32 count)) \
    X(void, FillPolygon, (ADMDrawerRef drawer, const ADMPoint* points, ASInt32 count)) \
    /* Text with its baseline starting at point. */ \
    X(void, DrawText, (ADMDrawerRef drawer, const char* text, const ADMPoint* point)) \
    X(ASInt32, GetTextWidth, (ADMDrawerRef drawer, const char* text)) \
    X(void, DrawPicture, (ADMDrawerRef drawer, ASInt32 pictureID, const ADMPoint* topLeft)) \
    /* an icon (ADM Icon Suite) at its own size, centred in rect */ \
    X(void, DrawIconCentered, (ADMDrawerRef drawer, ADMIconRef icon, const ADMRect* rect))
VT_DECLARE_SUITE(ADMDrawerSuite)

// ---- ADM Icon ----------------------------------------------------------------------

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1
#define VT_OPS_ADMIconSuite(X) \
    /* An icon of the plug-in's resources; its type is kADMUnknownIconType when there is none. */ \
    X(ADMIconRef, GetFromResource, (SPPluginRef plugin, ASInt32 iconID, ASInt32 iconIndex)) \
    X(void, Destroy, (ADMIconRef icon)) \
    X(ADMIconType, GetType, (ADMIconRef icon)) \
    X(ASInt32, GetWidth, (ADMIconRef icon)) \
    X(ASInt32, GetHeight, (ADMIconRef icon))
VT_DECLARE_SUITE(ADMIconSuite)

// ---- ADM Dialog Group ----------------------------------------------------------------

#define kADMDialogGroupSuite "ADM Dialog Group Suite"
#define kADMDialogGroupSuiteVersion 1
#define VT_OPS_ADMDialogGroupSuite(X) \
    /* The docking group of a floating dialog: its name (null: none) and position code. The */ \
    /* name returned stays valid while the dialog exists. */ \
    X(ASErr, GetDialogGroupInfo, (ADMDialogRef dialog, const char** groupName, ASInt32* positionCode)) \
    X(ASErr, SetDialogGroupInfo, (ADMDialogRef dialog, const char* groupName, ASInt32 positionCode))
VT_DECLARE_SUITE(ADMDialogGroupSuite)
