// The cutter's device panel. Every button opens the USB link to the current
// plotter's cutter, exchanges a few short commands with it and closes the link
// again; nothing is kept in the plug-in.
//
// The cutter's commands are ASCII texts, most of them ESC "." followed by a
// letter, a digit and arguments. Its replies begin with "O" and the query's
// letter and digit ("OR1,..."), or with a digit for the hard-clip limits.
// Lengths on this link are in units of 0.025 mm.
//
// A reply is used only when every field it should carry scans: a short,
// garbled or over-long reply counts as no reply, and the query is asked again,
// so no value the cutter did not send ever reaches an item or the cutter.
#include "Dialog/VLCDDialog.h"

#include <algorithm>
#include <ctype.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/CutModel.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PlotOutDialog.h"  // the link's alert texts
#include "PlotOut/USB.h"
#include "Toolbox.h"

const Item_Control_arg dlgVLCDItem[kVLCDItemCount] = {
    {PUL, 0, 0, 0, kVLCDPlotterItem, 5, 160, 5, 21, dlgVLCDPopupListInitProc, NULL},
    {TPB, kVLCDReadString, 0, 0, kVLCDReadItem, 170, 80, 5, 21, dlgVLCDPushButtonInitProc, NULL},
    {TST, kVLCDModelString, 0, 0, kVLCDModelItem, 255, 320, 11, 15, NULL, NULL},
    {FRM, kVLCDSettingsFrameString, 0, 0, kVLCDSettingsFrameItem, 5, 250, 30, 280, NULL, NULL},
    {TST, kVLCDMediaWidthLabelString, 0, 0, kVLCDMediaWidthLabelItem, 10, 90, 50, 21, NULL, NULL},
    {TST, 0, 0, 0, kVLCDMediaWidthItem, 100, 90, 50, 21, dlgVLCDStaticTextInitProc, NULL},
    {TST, kVLCDMediaLengthLabelString, 0, 0, kVLCDMediaLengthLabelItem, 10, 90, 70, 21, NULL, NULL},
    {TST, 0, 0, 0, kVLCDMediaLengthItem, 100, 90, 70, 21, dlgVLCDStaticTextInitProc, NULL},
    {TST, kVLCDPressureLabelString, 0, 0, kVLCDPressureLabelItem, 10, 120, 100, 21, NULL, NULL},
    {SPE, 0, 0, 0, kVLCDPressureItem, 130, 120, 100, 21, dlgVLCDSpinEditInitProc, NULL},
    {TST, kVLCDBladeOffsetLabelString, 0, 0, kVLCDBladeOffsetLabelItem, 10, 120, 130, 21, NULL, NULL},
    {PUL, 0, 0, 0, kVLCDBladeOffsetItem, 130, 120, 125, 26, dlgVLCDPopupListInitProc, NULL},
    {TST, kVLCDMediaKindLabelString, 0, 0, kVLCDMediaKindLabelItem, 10, 120, 155, 21, NULL, NULL},
    {PUL, 0, 0, 0, kVLCDMediaKindItem, 130, 120, 152, 21, dlgVLCDPopupListInitProc, NULL},
    {TST, kVLCDHeavyLightLabelString, 0, 0, kVLCDHeavyLightLabelItem, 10, 120, 180, 21, NULL, NULL},
    {PUL, 0, 0, 0, kVLCDHeavyLightItem, 130, 120, 177, 21, dlgVLCDPopupListInitProc, NULL},
    {TST, kVLCDAutoFeedLabelString, 0, 0, kVLCDAutoFeedLabelItem, 10, 120, 205, 21, NULL, NULL},
    {PUL, 0, 0, 0, kVLCDAutoFeedItem, 130, 120, 202, 21, dlgVLCDPopupListInitProc, NULL},
    {TST, kVLCDQualityLabelString, 0, 0, kVLCDQualityLabelItem, 10, 120, 230, 21, NULL, NULL},
    {PUL, 0, 0, 0, kVLCDQualityItem, 130, 120, 227, 21, dlgVLCDPopupListInitProc, NULL},
    {TST, kVLCDSmoothingLabelString, 0, 0, kVLCDSmoothingLabelItem, 10, 120, 255, 21, NULL, NULL},
    {PUL, 0, 0, 0, kVLCDSmoothingItem, 130, 120, 252, 21, dlgVLCDPopupListInitProc, NULL},
    {TPB, kVLCDSendString, 0, 0, kVLCDSendItem, 75, 100, 280, 21, dlgVLCDPushButtonInitProc, NULL},
    {FRM, kVLCDTestFrameString, 0, 0, kVLCDTestFrameItem, 260, 315, 30, 280, NULL, NULL},
    {TRB, kVLCDMillimetreString, 0, 0, kVLCDMillimetreItem, 465, 100, 65, 21, dlgVLCDRadioButtonInitProc, NULL},
    {TRB, kVLCDInchString, 0, 0, kVLCDInchItem, 465, 100, 85, 21, dlgVLCDRadioButtonInitProc, NULL},
    {TST, kVLCDTestTitleString, 0, 0, kVLCDTestTitleItem, 265, 200, 50, 21, dlgVLCDStaticTextInitProc, NULL},
    {TST, kVLCDTestTextString, 0, 0, kVLCDTestTextItem, 265, 200, 70, 21, NULL, NULL},
    {TST, kXLabelString, 0, 0, kVLCDTestXLabelItem, 265, 80, 90, 21, NULL, NULL},
    {TED, 0, 0, 0, kVLCDTestXItem, 345, 100, 90, 21, dlgVLCDTextEditInitProc, NULL},
    {TST, kYLabelString, 0, 0, kVLCDTestYLabelItem, 265, 80, 110, 21, NULL, NULL},
    {TED, 0, 0, 0, kVLCDTestYItem, 345, 100, 110, 21, dlgVLCDTextEditInitProc, NULL},
    {TPB, kVLCDTestCutString, 0, 0, kVLCDTestCutItem, 465, 100, 110, 21, dlgVLCDPushButtonInitProc, NULL},
    {TST, kVLCDScaleTitleString, 0, 0, kVLCDScaleTitleItem, 365, 100, 130, 21, dlgVLCDStaticTextInitProc, NULL},
    {TST, kVLCDScaleTextString, 0, 0, kVLCDScaleTextItem, 265, 300, 150, 21, NULL, NULL},
    {TST, kXLabelString, 0, 0, kVLCDMeasuredXLabelItem, 265, 80, 170, 21, NULL, NULL},
    {TED, 0, 0, 0, kVLCDMeasuredXItem, 345, 100, 170, 21, dlgVLCDTextEditInitProc, NULL},
    {TST, kYLabelString, 0, 0, kVLCDMeasuredYLabelItem, 265, 80, 190, 21, NULL, NULL},
    {TED, 0, 0, 0, kVLCDMeasuredYItem, 345, 100, 190, 21, dlgVLCDTextEditInitProc, NULL},
    {TPB, kVLCDScaleString, 0, 0, kVLCDScaleItem, 465, 100, 180, 21, dlgVLCDPushButtonInitProc, NULL},
    {TST, kVLCDAASTitleString, 0, 0, kVLCDAASTitleItem, 265, 300, 210, 21, dlgVLCDStaticTextInitProc, NULL},
    {TST, kVLCDAASXTextString, 0, 0, kVLCDAASXTextItem, 265, 200, 230, 21, NULL, NULL},
    {SPE, 0, 0, 0, kVLCDAASXItem, 465, 100, 230, 21, dlgVLCDSpinEditInitProc, NULL},
    {TST, kVLCDAASYTextString, 0, 0, kVLCDAASYTextItem, 265, 200, 250, 21, NULL, NULL},
    {SPE, 0, 0, 0, kVLCDAASYItem, 465, 100, 250, 21, dlgVLCDSpinEditInitProc, NULL},
    {TPB, kVLCDAASSendString, 0, 0, kVLCDAASSendItem, 285, 150, 280, 21, dlgVLCDPushButtonInitProc, NULL},
    {TPB, kVLCDCloseString, 0, 0, kVLCDCloseItem, 465, 100, 280, 21, dlgVLCDPushButtonInitProc, NULL},
};

// ---- Popup entries ---------------------------------------------------------------------

struct PopupEntry {
    const char* text;
    ASInt32 id;
};

static const PopupEntry kBladeOffsets[] = {{"0.000", 0},   {"0.175", 175}, {"0.250", 250}, {"0.275", 275},
                                           {"0.300", 300}, {"0.500", 500}, {"0.750", 750}, {"1.000", 1000}};
static const PopupEntry kMediaKinds[] = {{"Single", 0}, {"Roll", 1}};
static const PopupEntry kHeavyLight[] = {{"Heavy", 0}, {"Light", 1}};
static const PopupEntry kOnOff[] = {{"Disable", 0}, {"Enable", 1}};
static const PopupEntry kQualities[] = {{"Fine", 0}, {"Draft", 1}};

#define COUNT_OF(a) ((int)(sizeof(a) / sizeof((a)[0])))

// ---- Sizes -------------------------------------------------------------------------------

// The sizes' start value, 100 mm, and the inch preset's, 4 inches, in points.
static const float kHundredMillimetres = 283.4645690917969f;
static const float kFourInches = 288.0f;
// The AAS adjustment spins: within +-2.525 mm, in steps of 0.025 mm (one unit
// of the link).
static const float kAASLimit = 7.1574807f;
static const float kAASStep = 0.070866145f;
// Link units per millimetre.
static const double kUnitsPerMillimetre = 40.0;

static ADMItemRef itemOf(ADMDialogRef dialog, ASInt32 id) { return sADMDialog->GetItem(dialog, id); }

static double millimetresOf(ADMDialogRef dialog, ASInt32 id)
{
    return sADMItem->GetFloatValue(itemOf(dialog, id)) * kPointToMillimetre;
}

// A whole number for the link, when value (already rounded as the command
// wants) fits one; typed sizes are not limited by their items.
static bool fitsInt32(double value) { return value >= -2147483647.0 && value <= 2147483647.0; }

// ---- Alerts --------------------------------------------------------------------------------

static void alertString(int32_t index)
{
    char text[256];
    text[0] = 0;
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, index, text, sizeof text);
    sADMBasic->ErrorAlert(text);
}

// The queries' own messages are the cutter's command names and stay as they are.
static void alertMessage(const char* text) { sADMBasic->MessageAlert(text); }

// ---- Replies -------------------------------------------------------------------------------

int ScanReplyInts(const char* text, const char* prefix, int32_t* values, int count)
{
    if (text == NULL || prefix == NULL) return 0;
    size_t prefixLength = strlen(prefix);
    if (strncmp(text, prefix, prefixLength) != 0) return 0;
    const char* p = text + prefixLength;
    int scanned = 0;
    while (scanned < count) {
        if (scanned > 0) {
            if (*p != ',') break;
            ++p;
        }
        while (*p == ' ' || *p == '\t') ++p;
        int negative = 0;
        if (*p == '+' || *p == '-') negative = *p++ == '-';
        if (!isdigit((unsigned char)*p)) break;
        int64_t magnitude = 0;
        int fits = 1;
        for (; isdigit((unsigned char)*p); ++p) {
            magnitude = magnitude * 10 + (*p - '0');
            if (magnitude > 2147483648LL) {
                fits = 0;
                magnitude = 2147483648LL;  // keeps the sum bounded while the digits run on
            }
        }
        int64_t value = negative ? -magnitude : magnitude;
        if (!fits || value > 2147483647LL || value < -2147483648LL) break;
        values[scanned++] = (int32_t)value;
    }
    return scanned;
}

void GetSubString(const char* text, char separator, int n, char* out, size_t outSize)
{
    if (out == NULL || outSize == 0) return;
    size_t length = strnlen(out, outSize - 1);
    out[length] = 0;
    if (text == NULL || n < 0) return;
    int field = 0;
    for (const char* p = text; *p != 0; ++p) {
        if (*p == separator) {
            if (++field > n) break;
            continue;
        }
        if (field == n && length < outSize - 1) out[length++] = *p;
    }
    out[length] = 0;
}

// What a query asks and what makes its reply whole.
struct CutterQuery {
    const char* command;
    const char* expected;  // the reply's first three characters; NULL: a digit first
    const char* prefix;    // what precedes the reply's numbers; NULL: texts, not numbers
    int fields;            // numbers after the prefix, or (texts) fields split at commas
};

static const CutterQuery kToolSettingsQuery = {"\x1b.R1:", "OR1", "OR1,", 7};
static const CutterQuery kScaleQuery = {"\x1b.R3:", "OR3", "OR3,", 2};
static const CutterQuery kModelQuery = {"\x1b.R4:", "OR4", NULL, 4};
static const CutterQuery kAASQuery = {"\x1b.R5:", "OR5", "OR5,", 2};
// The HPGL instruction that outputs the hard-clip limits.
static const CutterQuery kMediaQuery = {"OH;", NULL, "", 4};

enum QueryOutcome { kQueryAnswered, kQueryNotAnswered, kQueryLinkFailed };

static bool startsAsExpected(const CutterQuery* query, const char* reply)
{
    if (query->expected == NULL) return isdigit((unsigned char)reply[0]) != 0;
    return strncmp(reply, query->expected, 3) == 0;
}

static bool hasEnded(const char* reply) { return strchr(reply, '\r') != NULL || strchr(reply, '\n') != NULL; }

static bool isWhole(const CutterQuery* query, const char* reply, int32_t* values)
{
    if (!startsAsExpected(query, reply)) return false;
    if (query->prefix != NULL) return ScanReplyInts(reply, query->prefix, values, query->fields) == query->fields;
    int fields = 1;
    for (const char* p = reply; *p != 0; ++p)
        if (*p == ',') ++fields;
    return fields >= query->fields;
}

// One reply into reply (kUSBReadBufferSize bytes). A reply that starts as
// expected but has not reached its end yet is read on: a cutter may hand one
// reply over in several transfers. A read that times out is no failure here;
// the query asks again.
static ASErr readReply(const CutterQuery* query, char* reply, uint32_t start)
{
    ASErr error = USB_Read(reply);
    if (error != kNoErr && error != kVTUSBErrTimeout) return error;
    size_t length = strnlen(reply, kUSBReadBufferSize - 1);
    while (error == kNoErr && length > 0 && length < kUSBReadBufferSize - 1 && startsAsExpected(query, reply) &&
           !hasEnded(reply) && TickCount() - start < kVLCDQueryTicks) {
        char more[kUSBReadBufferSize];
        error = USB_Read(more);
        if (error != kNoErr && error != kVTUSBErrTimeout) return error;
        size_t n = strnlen(more, kUSBReadBufferSize - 1);
        if (n == 0) break;
        size_t room = kUSBReadBufferSize - 1 - length;
        n = std::min(n, room);  // an over-long reply keeps its first bytes only
        memcpy(reply + length, more, n);
        length += n;
        reply[length] = 0;
    }
    return kNoErr;
}

// Sends the query and reads its reply until a whole one comes, at most
// kVLCDQueryTries times and for at most kVLCDQueryTicks. A send or read that
// fails for any other reason than a time-out ends the query at once: the
// link is gone or stuck, and asking again would only wait longer.
static QueryOutcome askCutter(const CutterQuery* query, char* reply, int32_t* values)
{
    char command[kUSBReadBufferSize];
    memset(command, 0, sizeof command);
    snprintf(command, sizeof command, "%s", query->command);
    int length = (int)strlen(command);
    uint32_t start = TickCount();
    for (int tries = 0; tries < kVLCDQueryTries; ++tries) {
        if (tries > 0 && TickCount() - start >= kVLCDQueryTicks) break;
        if (USB_Send(command, length) != kNoErr) return kQueryLinkFailed;
        if (readReply(query, reply, start) != kNoErr) return kQueryLinkFailed;
        if (isWhole(query, reply, values)) return kQueryAnswered;
    }
    return kQueryNotAnswered;
}

// ---- The link ----------------------------------------------------------------------------

static bool openLink(void)
{
    ASErr error = USB_Open((unsigned short)(g->curPlotter.PlotterPID & 0xFFFF),
                           (unsigned short)(g->curPlotter.PlotterVID & 0xFFFF));
    if (error == kNoErr) return true;
    // What the failed opening left open is given back; the button does nothing more.
    (void)USB_Close();
    alertString(kCutterNotFoundString);
    return false;
}

// A failed close leaves nothing the next opening depends on: it starts afresh.
static void closeLink(void) { (void)USB_Close(); }

// One command as one transfer.
static bool sendCommand(const char* format, ...)
{
    char command[kUSBReadBufferSize];
    memset(command, 0, sizeof command);
    va_list args;
    va_start(args, format);
    vsnprintf(command, sizeof command, format, args);
    va_end(args);
    return USB_Send(command, (int)strlen(command)) == kNoErr;
}

// ---- Items ---------------------------------------------------------------------------------

void SelectItemEntryIndex(ADMItemRef item, int index)
{
    ADMListRef list = item != NULL ? sADMItem->GetList(item) : NULL;
    if (list == NULL) return;
    int count = sADMList->NumberOfEntries(list);
    if (index >= 0 && index < count) {
        ADMEntryRef entry = sADMList->IndexEntry(list, index);
        sADMEntry->Select(entry, TRUE);
        sADMEntry->Activate(entry, TRUE);
        return;
    }
    for (int i = 0; i < count; ++i) {
        ADMEntryRef entry = sADMList->IndexEntry(list, i);
        sADMEntry->Select(entry, FALSE);
        sADMEntry->Activate(entry, FALSE);
    }
}

static void fillPopup(ADMItemRef item, const PopupEntry* entries, int count)
{
    ADMListRef list = sADMItem->GetList(item);
    if (list == NULL) return;
    for (int i = 0; i < count; ++i) {
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        if (entry == NULL) return;
        sADMEntry->SetText(entry, entries[i].text);
        sADMEntry->SetID(entry, entries[i].id);
    }
}

static void setItemText(ADMDialogRef dialog, ASInt32 id, const char* text)
{
    ADMItemRef item = itemOf(dialog, id);
    if (item != NULL) sADMItem->SetText(item, text);
}

// A reply the cutter sends outside a query shows in the media-width line
// while the panel is open.
static void showUnaskedReply(const char* reply)
{
    if (g->vlcdDialog != NULL) setItemText(g->vlcdDialog, kVLCDMediaWidthItem, reply);
}

// ---- Procedures ----------------------------------------------------------------------------

ASErr goVLCDDialog()
{
    // Without a current plotter freshly loaded the ids of the cutter would be
    // an earlier plotter's.
    if (checkData(0) != kNoErr) return 0;
    if ((g->curPlotter.PlotterReserved & kPlotterDevicePanelBit) == 0) return 0;
    g->vlcdDialog = NULL;
    ASInt32 result = runModalDialog(kVLCDDialog, VLCDDialogInitProc);
    g->vlcdDialog = NULL;
    g->usbReplySink = NULL;
    return result;
}

ASErr VLCDDialogInitProc(ADMDialogRef dialog)
{
    sADMDialog->SetSize(dialog, kVLCDDialog.width, kVLCDDialog.height);
    char title[256];
    title[0] = 0;
    sADMBasic->GetIndexString(sADMDialog->GetPluginRef(dialog), g->stringListId, kVLCDTitleString, title, sizeof title);
    sADMDialog->SetText(dialog, title);
    if (loadDialogItems(dlgVLCDItem, kVLCDItemCount, dialog) != 1) return kNoErr;
    sADMDialog->SetDefaultItemID(dialog, kVLCDCloseItem);
    sADMDialog->SetCancelItemID(dialog, kVLCDCloseItem);
    g->vlcdDialog = dialog;
    g->usbReplySink = showUnaskedReply;
    return kNoErr;
}

ASErr dlgVLCDPopupListInitProc(ADMItemRef item)
{
    switch (sADMItem->GetID(item)) {
    case kVLCDPlotterItem: {
        ADMListRef list = sADMItem->GetList(item);
        ADMEntryRef entry = list != NULL ? sADMList->InsertEntry(list, 0) : NULL;
        if (entry != NULL) {
            sADMEntry->SetText(entry, g->curPlotter.PlotterName);
            sADMEntry->SetID(entry, g->curPlotter.PlotterPID);
        }
        SelectItemEntryIndex(item, 0);
        break;
    }
    case kVLCDBladeOffsetItem: fillPopup(item, kBladeOffsets, COUNT_OF(kBladeOffsets)); break;
    case kVLCDMediaKindItem: fillPopup(item, kMediaKinds, COUNT_OF(kMediaKinds)); break;
    case kVLCDHeavyLightItem: fillPopup(item, kHeavyLight, COUNT_OF(kHeavyLight)); break;
    case kVLCDAutoFeedItem:
    case kVLCDSmoothingItem: fillPopup(item, kOnOff, COUNT_OF(kOnOff)); break;
    case kVLCDQualityItem: fillPopup(item, kQualities, COUNT_OF(kQualities)); break;
    default: break;
    }
    return kNoErr;
}

ASErr dlgVLCDPushButtonInitProc(ADMItemRef item)
{
    ASInt32 id = sADMItem->GetID(item);
    if (id == kVLCDReadItem || id == kVLCDSendItem) sADMItem->Activate(item, TRUE);
    return useNotifyProc(item, dlgVLCDPushButtonNotifyProc);
}

ASErr dlgVLCDSpinEditInitProc(ADMItemRef item)
{
    if (sADMItem->GetID(item) == kVLCDPressureItem) {
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetPrecision(item, 0);
        sADMItem->SetFloatValue(item, 0.0f);
        sADMItem->SetSmallIncrement(item, 1.0f);
        sADMItem->SetLargeIncrement(item, 10.0f);
        double minimum = 0.0, maximum = 400.0;
        if (g->curEnvironment.PenNumber > 0 && g->curEnvironment.Pens != NULL) {
            const Pen* pen = &g->curEnvironment.Pens[0];
            minimum = pen->minPressure < 0.0 ? 0.0 : pen->minPressure;
            maximum = pen->maxPressure > pen->minPressure + 100.0 ? pen->maxPressure : 400.0;
        }
        sADMItem->SetMinFloatValue(item, (float)minimum);
        sADMItem->SetMaxFloatValue(item, (float)maximum);
        return kNoErr;
    }
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetPrecision(item, 3);
    sADMItem->SetFloatValue(item, 0.0f);
    sADMItem->SetMinFloatValue(item, -kAASLimit);
    sADMItem->SetMaxFloatValue(item, kAASLimit);
    sADMItem->SetSmallIncrement(item, kAASStep);
    sADMItem->SetLargeIncrement(item, kAASStep);
    return kNoErr;
}

ASErr dlgVLCDTextEditInitProc(ADMItemRef item)
{
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetFloatValue(item, kHundredMillimetres);
    return kNoErr;
}

ASErr dlgVLCDStaticTextInitProc(ADMItemRef item)
{
    sADMItem->SetJustify(item, kADMCenterJustify);
    ASInt32 id = sADMItem->GetID(item);
    if (id == kVLCDMediaWidthItem || id == kVLCDMediaLengthItem)
        sADMItem->SetText(item, "0");
    else
        sADMItem->SetFont(item, kADMBoldFont);  // the titles of the right-hand groups
    return kNoErr;
}

ASErr dlgVLCDRadioButtonInitProc(ADMItemRef item)
{
    if (sADMItem->GetID(item) == kVLCDMillimetreItem) sADMItem->SetBooleanValue(item, TRUE);
    return useNotifyProc(item, dlgVLCDRadioButtonNotifyProc);
}

// The presets change how the sizes are shown. The test and measured sizes
// start again from 100 mm (or 4 inches); the AAS adjustments keep their
// values, since a preset size far beyond their limits would become their
// limit and move the sensor at the next adjustment.
ASErr dlgVLCDRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        bool inches = sADMItem->GetID(item) == kVLCDInchItem;
        ADMUnits units = inches ? kADMInchUnits : kADMMillimeterUnits;
        static const ASInt32 sizes[] = {kVLCDTestXItem, kVLCDTestYItem, kVLCDMeasuredXItem, kVLCDMeasuredYItem};
        for (int i = 0; i < COUNT_OF(sizes); ++i) {
            ADMItemRef size = itemOf(dialog, sizes[i]);
            sADMItem->SetUnits(size, units);
            sADMItem->SetFloatValue(size, inches ? kFourInches : kHundredMillimetres);
        }
        sADMItem->SetUnits(itemOf(dialog, kVLCDAASXItem), units);
        sADMItem->SetUnits(itemOf(dialog, kVLCDAASYItem), units);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Buttons -------------------------------------------------------------------------------

static void showAASOffsets(ADMDialogRef dialog, const int32_t* offsets)
{
    char text[128];
    snprintf(text, sizeof text, "AAS X Offset %.2f Adjust", 0.025 * offsets[0]);
    setItemText(dialog, kVLCDAASXTextItem, text);
    snprintf(text, sizeof text, "AAS Y Offset %.2f Adjust", 0.025 * offsets[1]);
    setItemText(dialog, kVLCDAASYTextItem, text);
}

static void showToolSettings(ADMDialogRef dialog, const int32_t* v)
{
    int32_t a = v[0], c = v[2], d = v[3];
    SelectItemEntryIndex(itemOf(dialog, kVLCDHeavyLightItem), a >= 1 && a <= 29 ? 0 : 1);
    sADMItem->SetFloatValue(itemOf(dialog, kVLCDPressureItem), (float)v[1]);
    int blade = c == 0 ? 0 : c <= 175 ? 1 : c <= 250 ? 2 : c <= 275 ? 3 : c <= 300 ? 4 : c <= 500 ? 5 : c <= 750 ? 6 : 7;
    SelectItemEntryIndex(itemOf(dialog, kVLCDBladeOffsetItem), blade);
    SelectItemEntryIndex(itemOf(dialog, kVLCDQualityItem), d == 1 || d == 2 ? 0 : d == 3 || d == 5 ? 1 : -1);
    SelectItemEntryIndex(itemOf(dialog, kVLCDSmoothingItem), v[4] != 0 ? 1 : 0);
    SelectItemEntryIndex(itemOf(dialog, kVLCDAutoFeedItem), v[5] != 0 ? 1 : 0);
    SelectItemEntryIndex(itemOf(dialog, kVLCDMediaKindItem), v[6] == 3 ? 0 : 1);
}

// A query without a message of its own whose link failed: the cutter went
// away (or stuck) while the panel talked to it.
static void alertLinkLost(QueryOutcome outcome)
{
    if (outcome == kQueryLinkFailed) alertString(kCutterNotFoundString);
}

static void readSettings(ADMDialogRef dialog)
{
    char reply[kUSBReadBufferSize];
    int32_t v[7];

    QueryOutcome outcome = askCutter(&kToolSettingsQuery, reply, v);
    if (outcome == kQueryAnswered)
        showToolSettings(dialog, v);
    else
        alertMessage("Get OR1 command error!");
    if (outcome == kQueryLinkFailed) return;

    outcome = askCutter(&kModelQuery, reply, v);
    if (outcome == kQueryAnswered) {
        char model[256], version[256], text[600];
        model[0] = version[0] = 0;
        GetSubString(reply, ',', 2, model, sizeof model);
        GetSubString(reply, ',', 3, version, sizeof version);
        snprintf(text, sizeof text, "Model:%s Version:%s", model, version);
        setItemText(dialog, kVLCDModelItem, text);
    } else {
        alertMessage("Get OR4 command error!");
    }
    if (outcome == kQueryLinkFailed) return;

    outcome = askCutter(&kMediaQuery, reply, v);
    if (outcome == kQueryAnswered) {
        char text[64];
        // Differences of two 32-bit limits can exceed 32 bits: taken in double.
        snprintf(text, sizeof text, "%.2fmm", 0.025 * ((double)v[2] - (double)v[0]));
        setItemText(dialog, kVLCDMediaWidthItem, text);
        snprintf(text, sizeof text, "%.2fmm", 0.025 * ((double)v[3] - (double)v[1]));
        setItemText(dialog, kVLCDMediaLengthItem, text);
    } else {
        alertMessage("Get paper size command error!");
    }
    if (outcome == kQueryLinkFailed) return;

    // Cutters without the alignment sensor do not answer this one; that is no error.
    outcome = askCutter(&kAASQuery, reply, v);
    if (outcome == kQueryAnswered) showAASOffsets(dialog, v);
    alertLinkLost(outcome);
}

// Truncated toward zero, within the 32-bit range (NaN gives 0).
static int32_t truncatedInt(double value)
{
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return (-2147483647 - 1);
    return (int32_t)value;
}

// One tool setting from a popup; a popup without a choice sends nothing.
static bool sendChoice(ADMDialogRef dialog, int code, ASInt32 popup)
{
    ASInt32 id = GetSelectedEntryID(itemOf(dialog, popup));
    return id == -1 || sendCommand("\x1b.C1;%d;%d:", code, id);
}

// The pressure as the spin shows it, never above the spin's maximum.
static bool sendPressure(ADMDialogRef dialog)
{
    ADMItemRef pressure = itemOf(dialog, kVLCDPressureItem);
    int32_t typed = truncatedInt(sADMItem->GetFloatValue(pressure));
    int32_t maximum = truncatedInt(sADMItem->GetMaxFloatValue(pressure));
    return sendCommand("\x1b.C1;22;%d:", std::min(typed, maximum));
}

// The settings the panel shows, each line as its own transfer, then the
// command that keeps them. Stops at the first failure.
static bool sendSettings(ADMDialogRef dialog)
{
    return sendChoice(dialog, 17, kVLCDHeavyLightItem) && sendPressure(dialog) &&
           sendChoice(dialog, 16, kVLCDBladeOffsetItem) && sendChoice(dialog, 18, kVLCDQualityItem) &&
           sendChoice(dialog, 19, kVLCDSmoothingItem) && sendChoice(dialog, 20, kVLCDAutoFeedItem) &&
           sendChoice(dialog, 21, kVLCDMediaKindItem) && sendCommand("\x1b.C1;0;:");
}

static void cutTestRectangle(ADMDialogRef dialog)
{
    double x = kUnitsPerMillimetre * millimetresOf(dialog, kVLCDTestXItem) + 0.5;
    double y = kUnitsPerMillimetre * millimetresOf(dialog, kVLCDTestYItem) + 0.5;
    if (!fitsInt32(x) || !fitsInt32(y)) {
        alertString(kVLCDTestSizeRefusedString);
        return;
    }
    if (!openLink()) return;
    int32_t X = (int32_t)x, Y = (int32_t)y;
    if (!sendCommand("VS30;;SP1;PR;PU0,0;PD0,0,%d,0,0,%d,%d,0,0,%d;PU;", X, Y, -X, -Y))
        alertString(kCutterSendFailedString);
    closeLink();
}

// A scale value the cutter can hold: from 1 to 2^31 - 1.
static bool isScale(double value) { return value >= 1.0 && value <= 2147483647.0; }

static void correctScale(ADMDialogRef dialog)
{
    if (!openLink()) return;
    char reply[kUSBReadBufferSize];
    int32_t scale[2];
    if (askCutter(&kScaleQuery, reply, scale) != kQueryAnswered) {
        alertMessage("Get Original Scale error!");
        closeLink();
        return;
    }
    double nominalX = millimetresOf(dialog, kVLCDTestXItem), nominalY = millimetresOf(dialog, kVLCDTestYItem);
    double measuredX = millimetresOf(dialog, kVLCDMeasuredXItem), measuredY = millimetresOf(dialog, kVLCDMeasuredYItem);
    double sX = scale[0], sY = scale[1];
    bool usable = true;
    // A nominal size of 0.1 mm or less leaves its scale as the cutter has it.
    if (nominalX > 0.1) {
        usable = usable && measuredX > 0.0;
        sX = trunc(sX * measuredX / nominalX);
    }
    if (nominalY > 0.1) {
        usable = usable && measuredY > 0.0;
        sY = trunc(sY * measuredY / nominalY);
    }
    if (!usable || !isScale(sX) || !isScale(sY)) {
        alertString(kVLCDScaleRefusedString);
        closeLink();
        return;
    }
    if (!sendCommand("\x1b.C6;1;%d:\x1b.C6;0;%d:\x1b.C1;0:\x1b.C6;2;:", (int32_t)sX, (int32_t)sY))
        alertString(kCutterSendFailedString);
    closeLink();
}

static void adjustAAS(ADMDialogRef dialog)
{
    if (!openLink()) return;
    char reply[kUSBReadBufferSize];
    int32_t offsets[2];
    QueryOutcome outcome = askCutter(&kAASQuery, reply, offsets);
    if (outcome == kQueryAnswered) {
        // Rounded to the nearest unit, not truncated: a millimetre value comes
        // back from the spin a hair under what was typed (1 mm reads as
        // 0.99999998 mm), and truncating would move the sensor one unit short.
        double x = offsets[0] + round(kUnitsPerMillimetre * millimetresOf(dialog, kVLCDAASXItem));
        double y = offsets[1] + round(kUnitsPerMillimetre * millimetresOf(dialog, kVLCDAASYItem));
        if (!fitsInt32(x) || !fitsInt32(y)) {
            alertString(kVLCDTestSizeRefusedString);
            closeLink();
            return;
        }
        if (!sendCommand("\x1b.D6;%d;%d:", (int32_t)x, (int32_t)y) || !sendCommand("\x1b.C1;0;:")) {
            alertString(kCutterSendFailedString);
            closeLink();
            return;
        }
    } else {
        alertMessage("Does not support AAS update command!");
        if (outcome == kQueryLinkFailed) {
            closeLink();
            return;
        }
    }
    outcome = askCutter(&kAASQuery, reply, offsets);
    if (outcome == kQueryAnswered) showAASOffsets(dialog, offsets);
    alertLinkLost(outcome);
    closeLink();
}

ASErr dlgVLCDPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        switch (sADMItem->GetID(item)) {
        case kVLCDReadItem:
            if (openLink()) {
                readSettings(dialog);
                closeLink();
            }
            break;
        case kVLCDSendItem:
            if (openLink()) {
                if (!sendSettings(dialog)) alertString(kCutterSendFailedString);
                closeLink();
            }
            break;
        case kVLCDTestCutItem: cutTestRectangle(dialog); break;
        case kVLCDScaleItem: correctScale(dialog); break;
        case kVLCDAASSendItem: adjustAAS(dialog); break;
        case kVLCDCloseItem: sADMDialog->EndModal(dialog, kVLCDCloseItem, FALSE); break;
        default: break;
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
