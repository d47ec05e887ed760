// The host's dialog toolkit: dialogs, items, lists, entries, notifiers,
// trackers, drawers, icons, dialog groups and the basic services (string
// lists, alerts, file dialogs, the screen).
#pragma once

#include "SPSuites.h"

typedef struct _t_ADMRect {
    ASInt16 top;
    ASInt16 left;
    ASInt16 bottom;
    ASInt16 right;
} ADMRect;
typedef ASPoint ADMPoint;

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 8
#define VT_OPS_ADMBasicSuite(X) \
    /* The text at index of the string list listId, at most maxLength - 1 bytes, always terminated; */ \
    /* an index the list lacks gives an empty text. */ \
    X(void, GetIndexString, (SPPluginRef plugin, ASInt32 listId, ASInt32 index, char* buffer, ASInt32 maxLength)) \
    X(void, MessageAlert, (const char* message)) \
    X(void, ErrorAlert, (const char* message)) \
    X(void, Beep, (void))
VT_DECLARE_SUITE(ADMBasicSuite)

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 5
#define VT_OPS_ADMDialogSuite(X)
VT_DECLARE_SUITE(ADMDialogSuite)

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 7
#define VT_OPS_ADMItemSuite(X)
VT_DECLARE_SUITE(ADMItemSuite)

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1
#define VT_OPS_ADMListSuite(X)
VT_DECLARE_SUITE(ADMListSuite)

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2
#define VT_OPS_ADMEntrySuite(X)
VT_DECLARE_SUITE(ADMEntrySuite)

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 2
#define VT_OPS_ADMNotifierSuite(X)
VT_DECLARE_SUITE(ADMNotifierSuite)

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1
#define VT_OPS_ADMTrackerSuite(X)
VT_DECLARE_SUITE(ADMTrackerSuite)

#define kADMDrawerSuite "ADM Drawer Suite"
#define kADMDrawerSuiteVersion 3
#define VT_OPS_ADMDrawerSuite(X)
VT_DECLARE_SUITE(ADMDrawerSuite)

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1
#define VT_OPS_ADMIconSuite(X)
VT_DECLARE_SUITE(ADMIconSuite)

#define kADMDialogGroupSuite "ADM Dialog Group Suite"
#define kADMDialogGroupSuiteVersion 1
#define VT_OPS_ADMDialogGroupSuite(X)
VT_DECLARE_SUITE(ADMDialogGroupSuite)
