#include "Dialog/PreviewOptionDialog.h"

#include <stdio.h>
#include <string.h>

#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/EditorCommon.h"

PreviewOption g_popTemp;
PreviewOption g_popPreSet[kPreviewPresetCount];

const uint32_t kPreviewColors[kPreviewColorCount] = {0xFFFFFFFF, 0x4080C0FF, 0xE04040FF, 0x40E040FF, 0x4040C0FF,
                                                     0xE0E040FF, 0xE040C0FF, 0x00FFFFFF, 0x808080FF, 0x000000FF};

// Popup entries begin with blanks so that their swatch or sample, drawn over
// the entry's left end, leaves the text readable.
static const char kEntryIndent[] = "      ";

// Rows: type, text, tip, picture, id, x, width, y, height, init procedure, user data.
const Item_Control_arg dlgPreviewOptionItem[kPreviewOptionItemCount] = {
    {kADMTextPushButtonType, kPreviewOptionOKString, 0, 0, kPreviewOptionOKItem, 230, 100, 415, 21,
     PreviewOptionDlgTextPushButtonInitProc, NULL},
    {kADMTextPushButtonType, kPreviewOptionCancelString, 0, 0, kPreviewOptionCancelItem, 470, 100, 415, 21,
     PreviewOptionDlgTextPushButtonInitProc, NULL},
    {TST, kPreviewOptionBackgroundLabelString, 0, 0, kPreviewOptionBackgroundLabelItem, 5, 65, 22, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionBackgroundItem, 75, 150, 17, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {TST, kPreviewOptionPageLabelString, 0, 0, kPreviewOptionPageLabelItem, 5, 65, 47, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionPageItem, 75, 150, 42, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {TST, kPreviewOptionBoardLabelString, 0, 0, kPreviewOptionBoardLabelItem, 5, 65, 72, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionBoardItem, 75, 150, 67, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {kADMFrameType, kPreviewOptionSheetBoxString, 0, 0, kPreviewOptionSheetBoxItem, 2, 227, 1, 92, NULL, NULL},
    {TST, kPreviewOptionLineLabelString, 0, 0, kPreviewOptionLineLabelItem, 5, 65, 120, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionLineItem, 75, 150, 115, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {TST, kPreviewOptionArcLabelString, 0, 0, kPreviewOptionArcLabelItem, 5, 65, 145, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionArcItem, 75, 150, 140, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {TST, kPreviewOptionControlColorLabelString, 0, 0, kPreviewOptionControlColorLabelItem, 5, 65, 170, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionControlColorItem, 75, 150, 165, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {TST, kPreviewOptionControlShapeLabelString, 0, 0, kPreviewOptionControlShapeLabelItem, 5, 65, 195, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionControlShapeItem, 75, 150, 190, 20, PreviewOptionDlgTypePopUpListInitProc, NULL},
    {TST, kPreviewOptionControlSizeLabelString, 0, 0, kPreviewOptionControlSizeLabelItem, 5, 65, 220, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPreviewOptionControlSizeItem, 75, 150, 215, 20, PreviewOptionDlgSizeSpinEditInitProc,
     NULL},
    {TST, kPreviewOptionStartColorLabelString, 0, 0, kPreviewOptionStartColorLabelItem, 3, 67, 245, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionStartColorItem, 75, 150, 240, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {TST, kPreviewOptionStartShapeLabelString, 0, 0, kPreviewOptionStartShapeLabelItem, 5, 65, 270, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionStartShapeItem, 75, 150, 265, 20, PreviewOptionDlgTypePopUpListInitProc, NULL},
    {TST, kPreviewOptionStartSizeLabelString, 0, 0, kPreviewOptionStartSizeLabelItem, 5, 65, 295, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPreviewOptionStartSizeItem, 75, 150, 290, 20, PreviewOptionDlgSizeSpinEditInitProc,
     NULL},
    {TST, kPreviewOptionSelectionColorLabelString, 0, 0, kPreviewOptionSelectionColorLabelItem, 5, 65, 320, 15, NULL,
     NULL},
    {PUL, 0, 0, 0, kPreviewOptionSelectionColorItem, 75, 150, 315, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {TST, kPreviewOptionLabelColorLabelString, 0, 0, kPreviewOptionLabelColorLabelItem, 5, 65, 345, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionLabelColorItem, 75, 150, 340, 20, PreviewOptionDlgColorPopUpListInitProc, NULL},
    {kADMFrameType, kPreviewOptionMarkersBoxString, 0, 0, kPreviewOptionMarkersBoxItem, 2, 227, 100, 269, NULL, NULL},
    // The check box reaches across its group so that no language's text is cut.
    {kADMTextCheckBoxType, kPreviewOptionFillString, 0, 0, kPreviewOptionFillItem, 5, 215, 385, 20,
     PreviewOptionDlgFillCheckBoxInitProc, NULL},
    {kADMFrameType, kPreviewOptionFillBoxString, 0, 0, kPreviewOptionFillBoxItem, 2, 227, 370, 38, NULL, NULL},
    {kADMFrameType, 0, 0, 0, kPreviewOptionSampleItem, 230, 340, 8, 400, PreviewOptionDlgPreviewFrameInitProc, NULL},
    {TST, kPreviewOptionPresetLabelString, 0, 0, kPreviewOptionPresetLabelItem, 5, 80, 420, 15, NULL, NULL},
    {PUL, 0, 0, 0, kPreviewOptionPresetItem, 90, 135, 415, 20, PreviewOptionDlgCustomPopUpListInitProc, NULL},
};

// ---- Which word an item edits ---------------------------------------------------------------

// What colorWordOf says of an item that edits no colour.
static const int32_t kNoColorWord = -1;

static int32_t colorWordOf(int32_t id)
{
    switch (id) {
    case kPreviewOptionBackgroundItem: return kPreviewBackgroundWord;
    case kPreviewOptionPageItem: return kPreviewPageWord;
    case kPreviewOptionBoardItem: return kPreviewBoardWord;
    case kPreviewOptionLineItem: return kPreviewLineWord;
    case kPreviewOptionArcItem: return kPreviewArcWord;
    case kPreviewOptionControlColorItem: return kPreviewControlColorWord;
    case kPreviewOptionStartColorItem: return kPreviewStartColorWord;
    case kPreviewOptionSelectionColorItem: return kPreviewSelectionColorWord;
    case kPreviewOptionLabelColorItem: return kPreviewLabelColorWord;
    default: return kNoColorWord;
    }
}

static bool isShapeItem(int32_t id)
{
    return id == kPreviewOptionControlShapeItem || id == kPreviewOptionStartShapeItem;
}

static bool isSizeItem(int32_t id) { return id == kPreviewOptionControlSizeItem || id == kPreviewOptionStartSizeItem; }

static int32_t shapeWordOf(int32_t id)
{
    return id == kPreviewOptionControlShapeItem ? kPreviewControlShapeWord : kPreviewStartShapeWord;
}

static int32_t sizeWordOf(int32_t id)
{
    return id == kPreviewOptionControlSizeItem ? kPreviewControlSizeWord : kPreviewStartSizeWord;
}

// The colour an item shows; an item that edits no colour shows grey.
static uint32_t colorOfItem(int32_t id)
{
    int32_t word = colorWordOf(id);
    return word != kNoColorWord ? g_popTemp.words[word] : 0x808080FFu;
}

// The entry of the fixed colour, or the entry of any other colour.
static int32_t entryOfColor(uint32_t color)
{
    for (int32_t i = 0; i < kPreviewColorCount; i++)
        if (kPreviewColors[i] == color)
            return i;
    return kPreviewOtherColorEntry;
}

// ---- Helpers ------------------------------------------------------------------------------

static void invalidateItem(ADMDialogRef dialog, int32_t id)
{
    ADMItemRef item = sADMDialog->GetItem(dialog, id);
    if (item != NULL)
        sADMItem->Invalidate(item);
}

static void invalidateSample(ADMItemRef from) { invalidateItem(sADMItem->GetDialog(from), kPreviewOptionSampleItem); }

// Fills a popup with count texts from firstString on (entry i: id i), makes
// entry active its chosen one and gives its entries draw (none: the
// toolkit's own drawing).
static void fillEntries(ADMItemRef item, int32_t firstString, int32_t count, int32_t active,
                        ADMEntryDrawProc draw = NULL)
{
    ADMListRef list = sADMItem->GetList(item);
    if (list == NULL)
        return;
    sADMList->RemoveAllEntries(list);
    for (int32_t i = 0; i < count; i++) {
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        if (entry == NULL)
            continue;
        char text[256];
        editorString(firstString + i, text, sizeof text);
        char shown[300];
        snprintf(shown, sizeof shown, "%s%s", kEntryIndent, text);
        sADMEntry->SetID(entry, i);
        sADMEntry->SetText(entry, shown);
        if (i == active) {
            sADMEntry->Select(entry, TRUE);
            sADMEntry->Activate(entry, TRUE);
        }
    }
    if (draw != NULL) sADMList->SetDrawProc(list, draw);
}

// Makes entry index the popup's one active entry.
static void showEntry(ADMItemRef item, int32_t index)
{
    ADMListRef list = sADMItem->GetList(item);
    if (list == NULL)
        return;
    int32_t count = sADMList->NumberOfEntries(list);
    for (int32_t i = 0; i < count; i++) {
        ADMEntryRef entry = sADMList->IndexEntry(list, i);
        sADMEntry->Select(entry, i == index);
        sADMEntry->Activate(entry, i == index);
    }
    sADMItem->Invalidate(item);
}

static int32_t activeIndex(ADMItemRef item)
{
    ADMListRef list = sADMItem->GetList(item);
    ADMEntryRef entry = list != NULL ? sADMList->GetActiveEntry(list) : NULL;
    return entry != NULL ? sADMEntry->GetIndex(entry) : -1;
}

// ---- Opening and closing --------------------------------------------------------------------

static void setPreset(PreviewOption* p, uint32_t control, int32_t controlShape, int32_t controlSize, uint32_t start,
                      int32_t startShape, int32_t startSize)
{
    memset(p, 0, sizeof *p);  // a preset leaves the fill off
    p->words[kPreviewBackgroundWord] = 0x808080FF;
    p->words[kPreviewPageWord] = 0x808080FF;
    p->words[kPreviewBoardWord] = 0xFFFFFFFF;
    p->words[kPreviewLineWord] = 0x4040C0FF;
    p->words[kPreviewArcWord] = 0x40E040FF;
    p->words[kPreviewControlColorWord] = control;
    p->words[kPreviewControlShapeWord] = (uint32_t)controlShape;
    p->words[kPreviewControlSizeWord] = (uint32_t)controlSize;
    p->words[kPreviewStartColorWord] = start;
    p->words[kPreviewStartShapeWord] = (uint32_t)startShape;
    p->words[kPreviewStartSizeWord] = (uint32_t)startSize;
    p->words[kPreviewSelectionColorWord] = 0x00FFFFFF;
    p->words[kPreviewLabelColorWord] = 0x000000FF;
    p->words[13] = 0x000000FF;
}

ASErr goPreviewOption(void)
{
    g_popTemp = g->previewOption;
    setPreset(&g_popPreSet[0], 0xE040C0FF, kMarkerCircle, 2, 0x000000FF, kMarkerFilledSquare, 2);
    setPreset(&g_popPreSet[1], 0xE04040FF, kMarkerDisc, 3, 0xE04040FF, kMarkerDisc, 3);
    setPreset(&g_popPreSet[2], 0xE040C0FF, kMarkerCircle, 2, 0xE04040FF, kMarkerFilledSquare, 3);
    setPreset(&g_popPreSet[3], 0xE040C0FF, kMarkerCircle, 1, 0x000000FF, kMarkerFilledSquare, 1);
    return runModalDialog(kPreviewOptionDialog, PreviewOptionDialogInitProc);
}

ASErr PreviewOptionDialogInitProc(ADMDialogRef dialog)
{
    ADMRect screen;
    sADMBasic->GetScreenDimensions(&screen);
    editorPlace(dialog, (screen.left + screen.right) / 2 - 286, (screen.top + screen.bottom) / 2 - 235,
                kPreviewOptionDialog.width, kPreviewOptionDialog.height, kPreviewOptionTitleString);
    sADMDialog->SetDefaultItemID(dialog, kPreviewOptionOKItem);
    sADMDialog->SetCancelItemID(dialog, kPreviewOptionCancelItem);
    if (loadDialogItems(dlgPreviewOptionItem, kPreviewOptionItemCount, dialog) != 1)
        return kNoErr;
    justifyLabels(dialog, dlgPreviewOptionItem, kPreviewOptionItemCount);
    return kNoErr;
}

ASErr PreviewOptionDlgTextPushButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, PreviewOptionDlgTextPushButtonNotifyProc);
}

ASErr PreviewOptionDlgTextPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        int32_t id = sADMItem->GetID(item);
        // Only OK changes the preview; Cancel drops every edit.
        if (id == kPreviewOptionOKItem)
            g->previewOption = g_popTemp;
        sADMDialog->EndModal(sADMItem->GetDialog(item), id, id == kPreviewOptionCancelItem);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Showing a record -----------------------------------------------------------------------

void updateItem(ADMDialogRef dialog, PreviewOption option)
{
    for (int i = 0; i < kPreviewOptionItemCount; i++) {
        int32_t id = dlgPreviewOptionItem[i].itemId;
        ADMItemRef item = sADMDialog->GetItem(dialog, id);
        if (item == NULL)
            continue;
        int32_t word = colorWordOf(id);
        if (word != kNoColorWord)
            showEntry(item, entryOfColor(option.words[word]));
        else if (isShapeItem(id))
            showEntry(item, (int32_t)option.words[shapeWordOf(id)]);
        else if (isSizeItem(id))
            sADMItem->SetIntValue(item, (ASInt32)option.words[sizeWordOf(id)]);
        else if (id == kPreviewOptionFillItem)
            sADMItem->SetBooleanValue(item, option.fill != 0);
    }
    g_popTemp = option;
}

void enableItem(ADMDialogRef dialog, uint8_t on)
{
    for (int i = 0; i < kPreviewOptionItemCount; i++) {
        const Item_Control_arg& row = dlgPreviewOptionItem[i];
        bool popup = strcmp(row.itemType, kADMPopupListType) == 0 && row.itemId != kPreviewOptionPresetItem;
        bool spin = strcmp(row.itemType, kADMSpinEditType) == 0;
        if (!popup && !spin)
            continue;
        ADMItemRef item = sADMDialog->GetItem(dialog, row.itemId);
        if (item != NULL)
            sADMItem->Enable(item, on ? TRUE : FALSE);
    }
}

// ---- Colour popups --------------------------------------------------------------------------

ASErr PreviewOptionDlgColorPopUpListInitProc(ADMItemRef item)
{
    fillEntries(item, kPreviewFirstColorString, kPreviewColorCount + 1,
                entryOfColor(colorOfItem(sADMItem->GetID(item))), PreviewOptionDlgColorListListDrawProc);
    return useNotifyProc(item, PreviewOptionDlgColorListItemNotifyProc);
}

ASErr PreviewOptionDlgColorListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer)
{
    sADMEntry->DefaultDraw(entry, drawer);
    int32_t index = sADMEntry->GetIndex(entry);
    if (index >= 0 && index < kPreviewColorCount) {
        ADMRect swatch = {1, 2, 16, 18};
        sADMDrawer->SetColor(drawer, kPreviewColors[index]);
        sADMDrawer->FillRect(drawer, &swatch);
    }
    return kNoErr;
}

// A 16-bit picker component to a byte: its high byte, so that a byte widened
// as c * 257 comes back as c and the nearest byte is kept for any other value.
static uint32_t byteOfComponent(uint16_t component) { return (uint32_t)(component >> 8); }

static uint16_t componentOfByte(uint32_t byte) { return (uint16_t)((byte & 0xFF) * 257); }

ASErr PreviewOptionDlgColorListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    int32_t id = sADMItem->GetID(item);
    int32_t word = colorWordOf(id);
    if (userChanged(notifier) && word != kNoColorWord) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        int32_t index = activeIndex(item);
        uint32_t color = g_popTemp.words[word];
        if (index == kPreviewOtherColorEntry) {
            ADMRGBColor in = {componentOfByte(color >> 24), componentOfByte(color >> 16), componentOfByte(color >> 8)};
            ADMRGBColor out = in;
            ADMRect bounds;
            sADMDialog->GetBoundsRect(dialog, &bounds);
            ADMPoint where = {(ASInt16)((bounds.left + bounds.right) / 2), (ASInt16)((bounds.top + bounds.bottom) / 2)};
            if (sADMBasic->ChooseColor(where, &in, &out))
                g_popTemp.words[word] = (byteOfComponent(out.red) << 24) | (byteOfComponent(out.green) << 16) |
                                        (byteOfComponent(out.blue) << 8) | 0xFFu;
            else
                showEntry(item, entryOfColor(color));  // cancelled: the colour and its entry stay
        } else if (index >= 0 && index < kPreviewColorCount) {
            g_popTemp.words[word] = kPreviewColors[index];
        }
        // The shape popups show their samples in the marker colours.
        if (word == kPreviewControlColorWord)
            invalidateItem(dialog, kPreviewOptionControlShapeItem);
        if (word == kPreviewStartColorWord)
            invalidateItem(dialog, kPreviewOptionStartShapeItem);
        invalidateSample(item);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Shape popups ---------------------------------------------------------------------------

ASErr PreviewOptionDlgTypePopUpListInitProc(ADMItemRef item)
{
    int32_t id = sADMItem->GetID(item);
    fillEntries(item, kPreviewFirstShapeString, 5, (int32_t)g_popTemp.words[shapeWordOf(id)],
                PreviewOptionDlgTypeListListDrawProc);
    return useNotifyProc(item, PreviewOptionDlgTypeListItemNotifyProc);
}

ASErr PreviewOptionDlgTypeListListDrawProc(ADMEntryRef entry, ADMDrawerRef drawer)
{
    sADMEntry->DefaultDraw(entry, drawer);
    ADMItemRef item = sADMList->GetItem(sADMEntry->GetList(entry));
    int32_t id = item != NULL ? sADMItem->GetID(item) : kPreviewOptionControlShapeItem;
    uint32_t color = g_popTemp.words[id == kPreviewOptionStartShapeItem ? kPreviewStartColorWord
                                                                          : kPreviewControlColorWord];
    sADMDrawer->SetColor(drawer, color);
    ADMRect square = {4, 5, 14, 15};
    switch (sADMEntry->GetIndex(entry)) {
    case kMarkerCircle: sADMDrawer->DrawOval(drawer, &square); break;
    case kMarkerDisc: sADMDrawer->FillOval(drawer, &square); break;
    case kMarkerSquare: sADMDrawer->DrawRect(drawer, &square); break;
    case kMarkerFilledSquare: sADMDrawer->FillRect(drawer, &square); break;
    case kMarkerPlus: {
        ADMPoint left = {5, 9}, right = {14, 9}, top = {10, 4}, bottom = {10, 13};
        sADMDrawer->DrawLine(drawer, &left, &right);
        sADMDrawer->DrawLine(drawer, &top, &bottom);
        break;
    }
    default: break;
    }
    return kNoErr;
}

ASErr PreviewOptionDlgTypeListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        int32_t index = activeIndex(item);
        if (index >= 0)
            g_popTemp.words[shapeWordOf(sADMItem->GetID(item))] = (uint32_t)index;
        invalidateSample(item);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Marker sizes ---------------------------------------------------------------------------

ASErr PreviewOptionDlgSizeSpinEditInitProc(ADMItemRef item)
{
    sADMItem->SetUnits(item, kADMPointUnits);
    sADMItem->SetSmallIncrement(item, 1);
    sADMItem->SetMinIntValue(item, 1);
    sADMItem->SetIntValue(item, (ASInt32)g_popTemp.words[sizeWordOf(sADMItem->GetID(item))]);
    return useNotifyProc(item, PreviewOptionDlgSizeSpinEditNotifyProc);
}

ASErr PreviewOptionDlgSizeSpinEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        // The field keeps to its minimum of one (set at its init): a half-size
        // below one pixel would draw nothing.
        g_popTemp.words[sizeWordOf(sADMItem->GetID(item))] = (uint32_t)sADMItem->GetIntValue(item);
        invalidateSample(item);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Fill -----------------------------------------------------------------------------------

ASErr PreviewOptionDlgFillCheckBoxInitProc(ADMItemRef item)
{
    sADMItem->SetBooleanValue(item, g_popTemp.fill != 0);
    return useNotifyProc(item, PreviewOptionDlgFillCheckBoxNotifyProc);
}

ASErr PreviewOptionDlgFillCheckBoxNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        g_popTemp.fill = sADMItem->GetBooleanValue(item) ? 1 : 0;
        invalidateSample(item);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Presets --------------------------------------------------------------------------------

ASErr PreviewOptionDlgCustomPopUpListInitProc(ADMItemRef item)
{
    fillEntries(item, kPreviewFirstPresetString, kPreviewPresetCount + 1, kPreviewCustomEntry);
    return useNotifyProc(item, PreviewOptionDlgCustomListItemNotifyProc);
}

ASErr PreviewOptionDlgCustomListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        int32_t index = activeIndex(item);
        if (index >= 0 && index < kPreviewPresetCount) {
            updateItem(dialog, g_popPreSet[index]);
            enableItem(dialog, 0);
        } else if (index == kPreviewCustomEntry) {
            enableItem(dialog, 1);
        }
        invalidateSample(item);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- The sample ----------------------------------------------------------------------------

ASErr PreviewOptionDlgPreviewFrameInitProc(ADMItemRef item)
{
    return useDrawProc(item, PreviewOptionDlgPreviewFrameDrawProc);
}

ASErr PreviewOptionDlgPreviewFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer)
{
    ADMRect all;
    sADMDrawer->GetBoundsRect(drawer, &all);
    ASInt16 w = (ASInt16)(all.right - all.left), h = (ASInt16)(all.bottom - all.top);
    ADMRect page = {10, 10, (ASInt16)(h - 10), (ASInt16)(w - 10)};
    ADMRect board = {20, 20, (ASInt16)(h - 20), (ASInt16)(w - 20)};
    sADMDrawer->SetColor(drawer, g_popTemp.words[kPreviewBackgroundWord]);
    sADMDrawer->FillRect(drawer, &all);
    sADMDrawer->SetColor(drawer, g_popTemp.words[kPreviewPageWord]);
    sADMDrawer->FillRect(drawer, &page);
    sADMDrawer->SetColor(drawer, g_popTemp.words[kPreviewBoardWord]);
    sADMDrawer->FillRect(drawer, &board);
    sADMItem->DefaultDraw(item, drawer);
    return kNoErr;
}
