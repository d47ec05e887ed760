// The split palette, its guide grid and the bounds of the selected art.
#include "Dialog/SplitDialog.h"

#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/CutModel.h"
#include "Core/MarkSetting.h"
#include "Core/Split.h"
#include "Dialog/DialogCommon.h"

AIArtHandle g_artSplitGroup = NULL;
int32_t g_iAlignStyle = 0;

// The guide-grid cells start at 100 mm, stepping by 10 mm (arrows) or 100 mm.
static const float kSplitCellDefault = 283.46457f;
static const float kSplitCellSmallStep = 28.346458f;
static const float kSplitCellLargeStep = 283.46457f;

// Legend colours (the toolkit's: 1 white, others 0xRRGGBBFF).
static const ADMColor kSplitLegendLineColor = 0xFF00FF;
static const ADMColor kSplitLegendGlyphColor = 0xFFFF;

// ---- The palette's own suite acquisition -------------------------------------------

// The palette is used between host messages (a person clicks it while the host
// waits), when the suites may not be held. Each of its procedures takes a
// counted acquisition for its own run; when one is already held that only
// counts.
typedef void (*PaletteAction)(ADMItemRef item, ADMNotifierRef notifier);

VT_NODISCARD static ASErr runWithSuites(ADMItemRef item, ADMNotifierRef notifier, PaletteAction action)
{
    if (g == NULL) return kNoErr;
    ASErr err = acquireSuites(g->basic);
    if (err == kNoErr) {
        action(item, notifier);
        // Every notification goes on to the toolkit's own handling.
        sADMItem->DefaultNotify(item, notifier);
    }
    (void)releaseSuites(g->basic);
    return kNoErr;
}

static ADMItemRef paletteItem(ADMItemRef item, int32_t id)
{
    return sADMDialog->GetItem(sADMItem->GetDialog(item), id);
}

// ---- Notifications ------------------------------------------------------------------

static void markStyleChanged(ADMItemRef item, ADMNotifierRef notifier)
{
    if (!userChanged(notifier)) return;
    // With no entry active the last style chosen stays, rather than a style
    // that is none of the six.
    ADMEntryRef active = sADMList->GetActiveEntry(sADMItem->GetList(item));
    if (active != NULL) g_iAlignStyle = sADMEntry->GetIndex(active);
    ADMItemRef legend = paletteItem(item, kSplitLegendItem);
    if (legend != NULL) sADMItem->Invalidate(legend);
}

VT_NODISCARD static ASErr SplitDlgPopupListItemNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return runWithSuites(item, notifier, markStyleChanged);
}

static void sortMethodStepped(ADMItemRef item, ADMNotifierRef notifier)
{
    if (!userChanged(notifier)) return;
    int32_t order = sADMItem->GetIntValue(item);
    if (order < 1)
        order = 8;
    else if (order > 8)
        order = 1;
    sADMItem->SetIntValue(item, order);
    g->splitSortMethod = order;
    ADMItemRef picture = paletteItem(item, kSplitSortPictureItem);
    if (picture != NULL) sADMItem->SetPictureID(picture, kSplitSortPictureBase + order);
}

VT_NODISCARD static ASErr SplitDlgSortMethodSpinProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return runWithSuites(item, notifier, sortMethodStepped);
}

// The palette's lengths and the setting each shows and stores (millimetres).
static const struct SplitLength {
    int32_t itemId;
    double PluginGlobals::*setting;
} kSplitLengths[] = {
    {kSplitMarkWidthItem, &PluginGlobals::splitMarkWidth},
    {kSplitMarkHeightItem, &PluginGlobals::splitMarkHeight},
    {kSplitOverlapXItem, &PluginGlobals::splitOverlapX},
    {kSplitOverlapYItem, &PluginGlobals::splitOverlapY},
};

static double millimetresOf(ADMItemRef item, int32_t id)
{
    return sADMItem->GetFloatValue(paletteItem(item, id)) * kPointToMillimetre;
}

static void makePanels(ADMItemRef item, ADMNotifierRef notifier)
{
    if (!userChanged(notifier)) return;
    for (const SplitLength& length : kSplitLengths) g->*length.setting = millimetresOf(item, length.itemId);
    g->splitMarkStyle = g_iAlignStyle;
    if (g_artSplitGroup == NULL) return;
    // A guide group the user deleted is forgotten, not deleted again.
    if (sAIArt->ValidArt(g_artSplitGroup)) {
        // What the cutting meets is not shown: an object it could not cut
        // keeps its source, and guides that make no panels change nothing.
        (void)doClipArt(g_artSplitGroup);
        (void)sAIArt->DisposeArt(g_artSplitGroup);
    }
    g_artSplitGroup = NULL;
}

VT_NODISCARD static ASErr SplitDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return runWithSuites(item, notifier, makePanels);
}

static void passOn(ADMItemRef, ADMNotifierRef) {}

VT_NODISCARD static ASErr SplitDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return runWithSuites(item, notifier, passOn);
}

static void toggleMoreOptions(ADMItemRef item, ADMNotifierRef notifier)
{
    if (!userChanged(notifier)) return;
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    ADMRect r;
    sADMDialog->GetLocalRect(dialog, &r);
    bool expand = r.bottom - r.top < kSplitDialogExpandedFrom;
    int32_t picture = expand ? kSplitFewerOptionsPicture : kSplitMoreOptionsPicture;
    sADMDialog->SetSize(dialog, kSplitDialog.width, expand ? kSplitDialogExpandedHeight : kSplitDialog.height);
    sADMItem->SetPictureID(item, picture);
    sADMItem->SetSelectedPictureID(item, picture);
}

VT_NODISCARD static ASErr SplitDlgMoreOptionProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return runWithSuites(item, notifier, toggleMoreOptions);
}

static void drawGrid(ADMItemRef item, ADMNotifierRef notifier)
{
    if (!userChanged(notifier)) return;
    // Nothing to say when nothing is drawn: the selection fits one cell, or
    // nothing that counts is selected.
    (void)drawSplitLine(sADMItem->GetFloatValue(paletteItem(item, kSplitCellWidthItem)),
                        sADMItem->GetFloatValue(paletteItem(item, kSplitCellHeightItem)), 0);
}

VT_NODISCARD static ASErr SplitDlgDoButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return runWithSuites(item, notifier, drawGrid);
}

// ---- The legend ---------------------------------------------------------------------

static ADMRect glyphRect(int top, int left)
{
    ADMRect r;
    r.top = (ASInt16)top;
    r.left = (ASInt16)left;
    r.bottom = (ASInt16)(top + 12);
    r.right = (ASInt16)(left + 12);
    return r;
}

static void drawStyle(ADMDrawerRef drawer, ADMRect r, int32_t style, int32_t side)
{
    sADMDrawer->SetColor(drawer, kSplitLegendGlyphColor);
    int midH = (r.left + r.right) / 2, midV = (r.top + r.bottom) / 2;
    ADMPoint top = admPoint(midH, r.top), bottom = admPoint(midH, r.bottom);
    ADMPoint left = admPoint(r.left, midV), right = admPoint(r.right, midV);
    switch (style) {
    case kSplitMarkCircle:
        // Rings, each a pixel inside the last, fill the circle. The glyph sits
        // where the others do, inside the legend.
        while (r.right > r.left && r.bottom > r.top) {
            sADMDrawer->DrawOval(drawer, &r);
            r.left++;
            r.top++;
            r.right--;
            r.bottom--;
        }
        break;
    case kSplitMarkRectangle: {
        ADMPoint square[4] = {admPoint(r.left, r.top), admPoint(r.right, r.top), admPoint(r.right, r.bottom),
                              admPoint(r.left, r.bottom)};
        sADMDrawer->DrawPolygon(drawer, square, 4);
        break;
    }
    case kSplitMarkTriangleUp:
    case kSplitMarkTriangleDown: {
        // Up points away from the picture, down towards it.
        int away = style == kSplitMarkTriangleUp;
        ADMPoint t[3];
        switch (side) {
        case kSplitGlyphAbove:
            t[0] = away ? top : bottom;
            t[1] = away ? admPoint(r.left, r.bottom) : admPoint(r.left, r.top);
            t[2] = away ? admPoint(r.right, r.bottom) : admPoint(r.right, r.top);
            break;
        case kSplitGlyphBelow:
            t[0] = away ? bottom : top;
            t[1] = away ? admPoint(r.left, r.top) : admPoint(r.left, r.bottom);
            t[2] = away ? admPoint(r.right, r.top) : admPoint(r.right, r.bottom);
            break;
        case kSplitGlyphLeft:
            t[0] = away ? left : right;
            t[1] = away ? admPoint(r.right, r.top) : admPoint(r.left, r.top);
            t[2] = away ? admPoint(r.right, r.bottom) : admPoint(r.left, r.bottom);
            break;
        default:
            t[0] = away ? right : left;
            t[1] = away ? admPoint(r.left, r.top) : admPoint(r.right, r.top);
            t[2] = away ? admPoint(r.left, r.bottom) : admPoint(r.right, r.bottom);
            break;
        }
        sADMDrawer->DrawPolygon(drawer, t, 3);
        break;
    }
    case kSplitMarkDiamond: {
        ADMPoint d[4] = {top, right, bottom, left};
        sADMDrawer->DrawPolygon(drawer, d, 4);
        break;
    }
    default:
        break;  // no marks
    }
}

VT_NODISCARD static ASErr SplitDlgFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer)
{
    if (g == NULL) return kNoErr;
    if (acquireSuites(g->basic) == kNoErr) {
        ADMRect all;
        sADMItem->GetLocalRect(item, &all);
        int W = all.right - all.left, H = all.bottom - all.top;
        sADMDrawer->SetColor(drawer, kADMWhiteColor);
        sADMDrawer->FillRect(drawer, &all);
        int px = (W - kSplitLegendPictureWidth) / 2, py = (H - kSplitLegendPictureHeight) / 2;
        ADMPoint at = admPoint(px, py);
        sADMDrawer->DrawPicture(drawer, kSplitLegendPicture, &at);
        // Two cutting lines across the panel and one down it, with the marks
        // of the chosen style where they cross the panel's edges.
        for (int line = 1; line <= 2; line++) {
            int y = line * H / 3;
            ADMPoint a = admPoint(0, y), b = admPoint(W, y);
            sADMDrawer->SetColor(drawer, kSplitLegendLineColor);
            sADMDrawer->DrawLine(drawer, &a, &b);
            drawStyle(drawer, glyphRect(y - 6, px - 16), g_iAlignStyle, kSplitGlyphLeft);
            drawStyle(drawer, glyphRect(y - 6, px + 65), g_iAlignStyle, kSplitGlyphRight);
        }
        ADMPoint a = admPoint(W / 2, 0), b = admPoint(W / 2, H);
        sADMDrawer->SetColor(drawer, kSplitLegendLineColor);
        sADMDrawer->DrawLine(drawer, &a, &b);
        drawStyle(drawer, glyphRect(py - 16, W / 2 - 6), g_iAlignStyle, kSplitGlyphAbove);
        drawStyle(drawer, glyphRect(py + 72, W / 2 - 6), g_iAlignStyle, kSplitGlyphBelow);
        sADMItem->DefaultDraw(item, drawer);
    }
    (void)releaseSuites(g->basic);
    return kNoErr;
}

// ---- Items --------------------------------------------------------------------------

VT_NODISCARD static ASErr SplitDlgPopupListInit(ADMItemRef item)
{
    static const int32_t texts[] = {kSplitCircleString,       kSplitRectangleString, kSplitTriangleUpString,
                                    kSplitTriangleDownString, kSplitDiamondString,   kSplitNoMarksString};
    sADMItem->SetNotifyProc(item, SplitDlgPopupListItemNotifyProc);
    ADMListRef list = sADMItem->GetList(item);
    for (int32_t i = 0; i < (int32_t)(sizeof texts / sizeof texts[0]); i++) {
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        if (entry == NULL) continue;
        char text[256];
        text[0] = 0;
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, texts[i], text, sizeof text);
        sADMEntry->SetText(entry, text);
        if (i == g_iAlignStyle) {
            sADMEntry->Select(entry, TRUE);
            sADMEntry->Activate(entry, TRUE);
        }
    }
    return kNoErr;
}

VT_NODISCARD static ASErr SplitDlgTextEditInit(ADMItemRef item)
{
    sADMItem->SetMinFloatValue(item, 0.0f);
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    ASInt32 id = sADMItem->GetID(item);
    for (const SplitLength& length : kSplitLengths)
        if (length.itemId == id) sADMItem->SetFloatValue(item, (float)(g->*length.setting * kMillimetreToPoint));
    switch (id) {
    case kSplitCellWidthItem:
    case kSplitCellHeightItem:
        sADMItem->SetFloatValue(item, kSplitCellDefault);
        sADMItem->SetSmallIncrement(item, kSplitCellSmallStep);
        sADMItem->SetLargeIncrement(item, kSplitCellLargeStep);
        break;
    case kSplitSortMethodItem: {
        // Only the arrows: the range reaches one past each end so that a step
        // off either end is seen and wrapped round.
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinIntValue(item, 0);
        sADMItem->SetMaxIntValue(item, 9);
        sADMItem->SetIntValue(item, g->splitSortMethod);
        ADMItemRef field = sADMItem->GetChildItem(item, kADMSpinEditTextEditChildID);
        if (field != NULL) {
            sADMItem->Enable(field, FALSE);
            sADMItem->Show(field, FALSE);
        }
        sADMItem->SetNotifyProc(item, SplitDlgSortMethodSpinProc);
        break;
    }
    default:
        break;
    }
    return kNoErr;
}

VT_NODISCARD static ASErr SplitDlgFrameLegendInit(ADMItemRef item) { return useDrawProc(item, SplitDlgFrameDrawProc); }

VT_NODISCARD static ASErr SplitDlgTextPushButtonInit(ADMItemRef item)
{
    static const ItemNotifyProc procs[] = {
        {kSplitOKItem, SplitDlgOKButtonProc},
        {kSplitDoItem, SplitDlgDoButtonProc},
        {kSplitCancelItem, SplitDlgCancelButtonProc},
    };
    return useNotifyProcOf(item, procs);
}

VT_NODISCARD static ASErr SplitDlgPicturePushButtonMoreOptionInit(ADMItemRef item)
{
    return useNotifyProc(item, SplitDlgMoreOptionProc);
}

// The labels take the room every language's texts need ("マークの高さ:" is
// the widest); the fields keep enough for a metre with its unit.
const Item_Control_arg dlgSplitItem[kSplitItemCount] = {
    {kADMTextStaticType, kSplitMarkStyleLabelString, 0, 0, kSplitMarkStyleLabelItem, 2, 73, 11, 15, NULL, NULL},
    {kADMPopupListType, 0, 0, 0, kSplitMarkStyleItem, 77, 93, 5, 21, SplitDlgPopupListInit, NULL},
    {kADMTextStaticType, kSplitMarkWidthLabelString, 0, 0, kSplitMarkWidthLabelItem, 2, 73, 33, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kSplitMarkWidthItem, 77, 93, 28, 20, SplitDlgTextEditInit, NULL},
    {kADMTextStaticType, kSplitMarkHeightLabelString, 0, 0, kSplitMarkHeightLabelItem, 2, 73, 55, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kSplitMarkHeightItem, 77, 93, 50, 20, SplitDlgTextEditInit, NULL},
    {kADMTextStaticType, kSplitOverlapXLabelString, 0, 0, kSplitOverlapXLabelItem, 2, 73, 77, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kSplitOverlapXItem, 77, 93, 72, 20, SplitDlgTextEditInit, NULL},
    {kADMTextStaticType, kSplitOverlapYLabelString, 0, 0, kSplitOverlapYLabelItem, 2, 73, 99, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kSplitOverlapYItem, 77, 93, 94, 20, SplitDlgTextEditInit, NULL},
    {kADMTextStaticType, kSplitSortMethodLabelString, 0, 0, kSplitSortMethodLabelItem, 2, 73, 121, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kSplitSortMethodItem, 77, 17, 116, 20, SplitDlgTextEditInit, NULL},
    {kADMPictureStaticType, 0, 0, 0, kSplitSortPictureItem, 97, 20, 116, 20, NULL, NULL},
    {kADMFrameType, 0, 0, 0, kSplitLegendItem, 175, 100, 5, 135, SplitDlgFrameLegendInit, NULL},
    {kADMTextPushButtonType, kSplitOKString, 0, 0, kSplitOKItem, 175, 100, 145, 20, SplitDlgTextPushButtonInit, NULL},
    {kADMPicturePushButtonType, 0, kSplitMoreOptionsTip, kSplitMoreOptionsPicture, kSplitMoreOptionsItem, 5, 20, 145,
     20, SplitDlgPicturePushButtonMoreOptionInit, NULL},
    {kADMTextStaticType, kSplitCellWidthLabelString, 0, 0, kSplitCellWidthLabelItem, 2, 73, 175, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kSplitCellWidthItem, 77, 93, 170, 20, SplitDlgTextEditInit, NULL},
    {kADMTextStaticType, kSplitCellHeightLabelString, 0, 0, kSplitCellHeightLabelItem, 2, 73, 197, 15, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kSplitCellHeightItem, 77, 93, 192, 20, SplitDlgTextEditInit, NULL},
    {kADMTextPushButtonType, kSplitDoString, 0, 0, kSplitDoItem, 175, 100, 192, 20, SplitDlgTextPushButtonInit, NULL},
};

// ---- Init -----------------------------------------------------------------------------

ASErr SplitPluginInitProc(ADMDialogRef dialog)
{
    sADMDialog->SetSize(dialog, kSplitDialog.width, kSplitDialog.height);
    char title[256];
    title[0] = 0;
    sADMBasic->GetIndexString(sADMDialog->GetPluginRef(dialog), g->stringListId, kSplitTitleString, title,
                              sizeof title);
    sADMDialog->SetText(dialog, title);
    g_iAlignStyle = g->splitMarkStyle;
    if (loadDialogItems(dlgSplitItem, kSplitItemCount, dialog) != 1) return kNoErr;
    justifyLabels(dialog, dlgSplitItem, kSplitItemCount);
    ADMItemRef picture = sADMDialog->GetItem(dialog, kSplitSortPictureItem);
    if (picture != NULL) sADMItem->SetPictureID(picture, kSplitSortPictureBase + g->splitSortMethod);
    return kNoErr;
}

// ---- The selection and the guides ---------------------------------------------------

ASErr getSelectedArtBound(AIRealRect* bounds)
{
    AIMatchingArtSpec spec = {kAnyArt, kArtSelected, kArtSelected};
    AIArtHandle** matches = NULL;
    int32_t n = 0;
    ASErr err = sMatchingArt->GetMatchingArt(&spec, 1, &matches, &n);
    if (err) return err;
    if (n <= 0 || matches == NULL) return 1;
    AIRealRect total = {0, 0, 0, 0};
    bool have = false;
    for (int32_t i = 0; i < n && err == kNoErr; i++) {
        AIArtHandle art = (*matches)[i];
        AIRealRect r;
        uint8_t found = 0;
        if (art == g_artSplitGroup || isOnMarksLayer(art) || !isTopLevel(art)) continue;
        err = GetArtBoundsWithoutStroke(art, &r, &found);
        if (!found) continue;
        if (have)
            sAIRealMath->AIRealRectUnion(&total, &r, &total);
        else
            total = r;
        have = true;
    }
    (void)sAIMdMemory->MdMemoryDisposeHandle((AIMdMemoryHandle)matches);
    if (err) return err;
    if (!have) return 1;
    *bounds = total;
    return kNoErr;
}

static AIPathSegment cornerAt(AIReal x, AIReal y)
{
    AIPathSegment s;
    s.p.h = s.in.h = s.out.h = x;
    s.p.v = s.in.v = s.out.v = y;
    s.corner = 1;
    return s;
}

VT_NODISCARD static ASErr addGuide(AIReal x1, AIReal y1, AIReal x2, AIReal y2)
{
    AIArtHandle path = NULL;
    AIPathSegment seg[2] = {cornerAt(x1, y1), cornerAt(x2, y2)};
    ASErr err = sAIArt->NewArt(kPathArt, kPlaceInsideOnTop, g_artSplitGroup, &path);
    if (!err) err = sAIPath->SetPathSegmentCount(path, 2);
    if (!err) err = sAIPath->SetPathSegments(path, 0, 2, seg);
    if (!err) err = sAIPath->SetPathClosed(path, 0);
    if (!err) err = sAIPath->SetPathGuide(path, 1);
    return err;
}

ASErr drawSplitLine(float cellWidth, float cellHeight, int32_t unused)
{
    (void)unused;
    if (!(cellWidth > 0.0f && cellHeight > 0.0f)) return kNoErr;
    AIRealRect page, sel;
    ASErr err = sAIDocument->GetDocumentPageBounds(&page);
    if (err) return err;
    err = getSelectedArtBound(&sel);
    if (err == 1) return kNoErr;  // nothing that counts is selected
    if (err) return err;
    float width = sel.right - sel.left, height = sel.top - sel.bottom;
    if (!(width > cellWidth) && !(height > cellHeight)) return kNoErr;

    if (g_artSplitGroup == NULL || !sAIArt->ValidArt(g_artSplitGroup)) {
        g_artSplitGroup = NULL;
        AIArtHandle group = NULL;
        if ((err = sAIArt->NewArt(kGroupArt, kPlaceAboveAll, NULL, &group))) return err;
        g_artSplitGroup = group;
    }
    // The positions are summed in single precision; far from the origin a step
    // may stop moving them, and the count is held in bounds besides.
    int made = 0;
    for (float x = sel.left + cellWidth; x < sel.right && made < kSplitMaxGuides && err == kNoErr; made++) {
        err = addGuide(x, page.bottom, x, page.top);
        float next = x + cellWidth;
        if (next == x) break;
        x = next;
    }
    made = 0;
    for (float y = sel.bottom + cellHeight; y < sel.top && made < kSplitMaxGuides && err == kNoErr; made++) {
        err = addGuide(page.left, y, page.right, y);
        float next = y + cellHeight;
        if (next == y) break;
        y = next;
    }
    return err;
}
