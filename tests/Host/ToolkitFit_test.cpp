// The toolkit's fit check: a text that it passes is drawn whole, one it
// fails is cut or covered, and `expect-fits` names the item and the text.
#include "HostFixture.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Paint.h"
#include "Toolkit/TextLayout.h"
#include "ToolkitFixture.h"

using namespace vt;
using host::toolkit::Dialog;
using host::toolkit::Item;
using host::toolkit::Raster;

namespace {

class ToolkitFit : public test::ToolkitTest {
protected:
    std::vector<std::string> problems(ADMDialogRef d, ADMItemRef only = nullptr)
    {
        return host::toolkit::fitProblems(*reinterpret_cast<Dialog*>(d), reinterpret_cast<Item*>(only));
    }
    const Raster& drawn(ADMItemRef item)
    {
        I().Invalidate(item);
        I().Update(item);
        return reinterpret_cast<Item*>(item)->raster;
    }
};

// Pixels darker than the item's background: the text's ink.
int ink(const Raster& r)
{
    int n = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) != -1 && (r.pixel(x, y) & 0xFF) < 0x80) ++n;
    return n;
}

// The drawing is the oracle: in every width, a label the check passes shows
// all the ink it shows in a roomy item, and one that loses ink fails. The
// check asks for the two-pixel margins the toolkit keeps, so it fails a few
// widths before ink is lost, never after.
TEST_F(ToolkitFit, ALabelPassesOnlyInWidthsThatShowItWhole)
{
    for (const char* text : {"Spacing X:", "Mark height:", "マークの高さ:", "50000.00 mm"}) {
        ADMDialogRef d = floating();
        ADMItemRef roomy = make(d, 1, kADMTextStaticType, 0, 0, 300, 16);
        I().SetText(roomy, text);
        int whole = ink(drawn(roomy));
        ASSERT_GT(whole, 20) << text;
        int narrowestPassing = 0;
        for (int w = 10; w <= 120; ++w) {
            ADMDialogRef nd = floating("Narrow");
            ADMItemRef label = make(nd, 1, kADMTextStaticType, 0, 0, w, 16);
            I().SetText(label, text);
            bool passes = problems(nd).empty();
            int shown = ink(drawn(label));
            if (passes) {
                EXPECT_EQ(shown, whole) << text << " in " << w << " pixels passes but is cut";
            }
            if (shown < whole) {
                EXPECT_FALSE(passes) << text << " in " << w;
            }
            if (passes && !narrowestPassing) narrowestPassing = w;
            if (narrowestPassing) {
                EXPECT_TRUE(passes) << text << ": passes in " << narrowestPassing << ", not in " << w;
            }
            D().Destroy(nd);
        }
        EXPECT_EQ(narrowestPassing, host::toolkit::textWidth(text) + 4) << text;
        D().Destroy(d);
    }
}

// Each kind of item gives its text the room its look leaves: the width of
// the text, its margins and what else the item draws there.
TEST_F(ToolkitFit, EveryKindOfTextIsMeasuredInTheRoomItsItemGivesIt)
{
    const char* text = "Spacing";
    struct Row {
        const char* what;
        const char* type;
        int besides;  // pixels of the item's width that are not the text's
        int h;
    } rows[] = {
        {"a static text keeps two pixels at either end", kADMTextStaticType, 4, 16},
        {"a check box its box as well", kADMTextCheckBoxType, 19, 18},
        {"a radio button the same", kADMTextRadioButtonType, 19, 18},
        {"a push button centres its text", kADMTextPushButtonType, 4, 20},
        {"a group box's title starts after its corner", kADMFrameType, 10, 40},
        {"a text edit has its border", kADMTextEditType, 6, 20},
    };
    for (const Row& row : rows)
        for (int less : {0, 1}) {
            ADMDialogRef d = floating();
            int w = host::toolkit::textWidth(text) + row.besides - less;
            I().SetText(make(d, 3, row.type, 0, 0, w, row.h), text);
            EXPECT_EQ(problems(d).empty(), less == 0) << row.what << ", " << w << " pixels wide";
            D().Destroy(d);
        }
    ADMDialogRef d = floating();
    I().SetText(make(d, 3, kADMTextStaticType, 0, 0, 100, 9), text);
    EXPECT_FALSE(problems(d).empty()) << "a static text too low for the line";
}

TEST_F(ToolkitFit, AValueIsMeasuredWithItsUnitBesideTheSpinArrows)
{
    ADMDialogRef d = floating();
    ADMItemRef spin = make(d, 2, kADMSpinEditType, 0, 0, 70, 20);
    I().SetUnits(spin, kADMMillimeterUnits);
    I().SetFloatValue(spin, 3 * 2.8346458f);
    EXPECT_TRUE(problems(d).empty()) << problems(d)[0];
    I().SetFloatValue(spin, 12345 * 2.8346458f);
    auto found = problems(d);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].rfind("item 2 (\"12345.00 mm\") is ", 0), 0u) << found[0];
    // A spin edit no wider than its arrows shows no field at all.
    ADMItemRef arrows = make(d, 4, kADMSpinEditType, 80, 0, 14, 20);
    I().SetFloatValue(arrows, 3);
    EXPECT_TRUE(problems(d, arrows).empty());
}

TEST_F(ToolkitFit, APopupShowsItsChoiceAndAListEachEntryInItsRow)
{
    ADMDialogRef d = floating();
    ADMItemRef popup = make(d, 5, kADMPopupListType, 0, 0, 100, 20);
    ADMListRef choices = I().GetList(popup);
    ADMEntryRef blade = L().InsertEntry(choices, 0);
    E().SetText(blade, "Blade");
    ADMEntryRef longer = L().InsertEntry(choices, 1);
    E().SetText(longer, "60 Degree Blade with a long name");
    E().Select(blade, true);
    ASSERT_EQ(problems(d).size(), 1u) << "the entry not chosen shows when it is";
    EXPECT_NE(problems(d)[0].find("item 5 entry 2 (\"60 Degree Blade with a long name\")"), std::string::npos)
        << problems(d)[0];
    E().Select(longer, true);
    ASSERT_EQ(problems(d).size(), 1u);
    EXPECT_NE(problems(d)[0].find("item 5 (\"60 Degree Blade with a long name\")"), std::string::npos);
    E().SetText(longer, "Pen Tool");
    EXPECT_TRUE(problems(d).empty()) << problems(d)[0];

    ADMItemRef list = make(d, 6, kADMListBoxType, 0, 30, 120, 40);
    ADMListRef entries = I().GetList(list);
    for (int i = 0; i < 5; ++i) E().SetText(L().InsertEntry(entries, i), i == 4 ? "An entry too wide for the list" : "Layer");
    auto found = problems(d, list);
    ASSERT_EQ(found.size(), 1u) << "an entry below the list's rows shows when scrolled to";
    EXPECT_NE(found[0].find("item 6 entry 5 (\"An entry too wide for the list\") is "), std::string::npos) << found[0];
    // An entry with a picture has its text after the picture: a list just
    // wide enough for the text alone is too narrow for both.
    const char* layer = "Lettering in vinyl";
    ADMItemRef layers = make(d, 7, kADMListBoxType, 0, 80, host::toolkit::textWidth(layer) + 6, 40);
    ADMEntryRef entry = L().InsertEntry(I().GetList(layers), 0);
    E().SetText(entry, layer);
    EXPECT_TRUE(problems(d, layers).empty()) << problems(d, layers)[0];
    E().SetPictureID(entry, 1004);
    EXPECT_FALSE(problems(d, layers).empty());
}

// Like the Plot Out lists: an eye, the entry's text, then a swatch drawn
// over the blanks the text leads with.
ASErr g_swatchBefore = 0;
ASErr drawSwatch(ADMEntryRef entry, ADMDrawerRef drawer)
{
    auto& Dr = host::suiteTable<ADMDrawerSuite>();
    ADMRect swatch{5, 24, 14, 33};
    if (g_swatchBefore) Dr.FillRect(drawer, &swatch);
    host::suiteTable<ADMEntrySuite>().DefaultDraw(entry, drawer);
    if (!g_swatchBefore) Dr.FillRect(drawer, &swatch);
    return kNoErr;
}

TEST_F(ToolkitFit, AMarkAListDrawsOverAnEntrysTextFailsIt)
{
    for (bool popup : {false, true}) {
        ADMDialogRef d = floating();
        ADMItemRef item = make(d, 55, popup ? kADMPopupListType : kADMListBoxType, 0, 0, 200, popup ? 20 : 40);
        ADMListRef list = I().GetList(item);
        L().SetDrawProc(list, drawSwatch);
        ADMEntryRef entry = L().InsertEntry(list, 0);
        E().SetPictureID(entry, 1041);
        E().SetText(entry, "   Lettering");
        if (popup) E().Select(entry, true);
        g_swatchBefore = 0;
        EXPECT_TRUE(problems(d).empty()) << problems(d)[0] << ": the blanks leave the swatch its room";
        E().SetText(entry, "Lettering");
        auto found = problems(d);
        ASSERT_EQ(found.size(), 1u) << (popup ? "popup" : "list");
        EXPECT_EQ(found[0], std::string("item 55 ") + (popup ? "" : "entry 1 ") +
                                "(\"Lettering\") lies under what the list's draw procedure draws over it");
        g_swatchBefore = 1;
        EXPECT_TRUE(problems(d).empty()) << "drawn before the text, the swatch is painted over";
        D().Destroy(d);
    }
}

// A count written above an entry's text, its descender reaching into it.
ASErr writeAbove(ADMEntryRef entry, ADMDrawerRef drawer)
{
    host::suiteTable<ADMEntrySuite>().DefaultDraw(entry, drawer);
    ADMPoint at{4, 4};
    host::suiteTable<ADMDrawerSuite>().DrawText(drawer, "gy", &at);
    return kNoErr;
}

TEST_F(ToolkitFit, ATextADrawProcedureWritesOverAnEntrysTextCoversIt)
{
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 55, kADMListBoxType, 0, 0, 200, 40);
    ADMListRef list = I().GetList(item);
    L().SetDrawProc(list, writeAbove);
    E().SetText(L().InsertEntry(list, 0), "Frame");
    EXPECT_FALSE(problems(d).empty());
}

// A mark placed from the entry's bounds: halfway down, at the right end.
ASErr drawMarkAtEnd(ADMEntryRef entry, ADMDrawerRef drawer)
{
    auto& Dr = host::suiteTable<ADMDrawerSuite>();
    host::suiteTable<ADMEntrySuite>().DefaultDraw(entry, drawer);
    ADMRect b;
    Dr.GetBoundsRect(drawer, &b);
    int middle = (b.top + b.bottom) / 2;
    ADMRect mark{static_cast<ASInt16>(middle - 4), static_cast<ASInt16>(b.right - 12), static_cast<ASInt16>(middle + 5),
                 static_cast<ASInt16>(b.right - 3)};
    Dr.FillRect(drawer, &mark);
    return kNoErr;
}

// The draw procedure is asked with the bounds the entry is drawn in: its row
// of the list, or the choice of the closed popup (short of the arrow).
TEST_F(ToolkitFit, AMarkIsLookedForWhereTheDrawProcedurePlacesItInTheEntrysBounds)
{
    // A text that fits an entry 120 pixels wide but reaches under the mark.
    std::string reaching = "Lettering";
    while (host::toolkit::textWidth(reaching) < 106) reaching += " x";
    ASSERT_LE(host::toolkit::textWidth(reaching), 114);
    for (bool popup : {false, true}) {
        ADMDialogRef d = floating();
        ADMItemRef item = make(d, 56, popup ? kADMPopupListType : kADMListBoxType, 0, 0, popup ? 134 : 120, popup ? 20 : 60);
        ADMListRef list = I().GetList(item);
        L().SetDrawProc(list, drawMarkAtEnd);
        E().SetText(L().InsertEntry(list, 0), "Frame");
        ADMEntryRef second = L().InsertEntry(list, 1);
        E().SetText(second, "Lettering");
        EXPECT_TRUE(problems(d).empty()) << problems(d)[0];
        E().SetText(second, reaching.c_str());
        auto found = problems(d);
        ASSERT_EQ(found.size(), 1u) << (popup ? "popup" : "list");
        EXPECT_NE(found[0].find("item 56 entry 2 (\"Lettering x"), std::string::npos) << found[0];
        EXPECT_NE(found[0].find("lies under what the list's draw procedure draws over it"), std::string::npos);
        D().Destroy(d);
    }
}

// Like an open menu's highlight: a mark over the text of a selected entry.
ASErr drawMarkWhenSelected(ADMEntryRef entry, ADMDrawerRef drawer)
{
    host::suiteTable<ADMEntrySuite>().DefaultDraw(entry, drawer);
    if (host::suiteTable<ADMEntrySuite>().IsSelected(entry)) {
        ADMRect mark{5, 4, 14, 12};
        host::suiteTable<ADMDrawerSuite>().FillRect(drawer, &mark);
    }
    return kNoErr;
}

// A closed popup shows its choice at rest; a list shows its selected entry
// selected.
TEST_F(ToolkitFit, EachEntryIsLookedAtInTheStateItIsShownIn)
{
    for (bool popup : {false, true}) {
        ADMDialogRef d = floating();
        ADMItemRef item = make(d, 5, popup ? kADMPopupListType : kADMListBoxType, 0, 0, 120, popup ? 20 : 40);
        ADMListRef list = I().GetList(item);
        L().SetDrawProc(list, drawMarkWhenSelected);
        ADMEntryRef entry = L().InsertEntry(list, 0);
        E().SetText(entry, "Blade");
        E().Select(entry, true);
        EXPECT_EQ(problems(d).empty(), popup) << (popup ? "popup" : "list");
        D().Destroy(d);
    }
}

TEST_F(ToolkitFit, ATextUnderAnItemPaintedAfterItFailsAndAHiddenItemCoversNothing)
{
    ADMDialogRef d = floating();
    ADMItemRef box = make(d, 60, kADMFrameType, 0, 0, 200, 100);
    I().SetText(box, "Cut Order");
    ADMItemRef radio = make(d, 53, kADMPictureRadioButtonType, 6, 7, 22, 20);
    auto found = problems(d);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], "item 60 (\"Cut Order\") lies under item 53");
    // Group boxes lie behind every other item, wherever they stand in the
    // table: a label made before the box it overlaps is covered by nothing.
    I().Show(radio, false);
    EXPECT_TRUE(problems(d).empty());
    I().Show(radio, true);
    I().Move(radio, 120, 7);
    EXPECT_TRUE(problems(d).empty());
}

TEST_F(ToolkitFit, WhatADialogIsTooSmallToHoldIsCutAndWhatLiesWhollyOutsideIsOutOfSight)
{
    ADMDialogRef d = floating();
    D().SetSize(d, 100, 50);
    ADMItemRef label = make(d, 1, kADMTextStaticType, 60, 0, 100, 16);
    I().SetText(label, "Overlap X:");
    ADMItemRef folded = make(d, 2, kADMTextStaticType, 0, 60, 100, 16);
    I().SetText(folded, "Cell width:");
    auto found = problems(d);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("item 1 (\"Overlap X:\")"), std::string::npos) << found[0];
}

TEST_F(ToolkitFit, AWrappedTextNeedsRoomForAllItsLines)
{
    ADMDialogRef d = floating();
    ADMItemRef text = make(d, 3, kADMTextStaticType, 0, 0, 120, 28);
    I().SetText(text, "Checks every plotter you use.");
    EXPECT_TRUE(problems(d).empty()) << problems(d)[0];
    I().SetText(text, "Checks every plotter you use, then press OK to keep it.");
    auto found = problems(d);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find(" reaches from y "), std::string::npos) << found[0];
}

}  // namespace

namespace {

class ToolkitFitScript : public test::HostTest {};

// expect-fits names the dialog, each item and its text; with an id it looks
// at that item alone.
TEST_F(ToolkitFitScript, ExpectFitsNamesEachTextThatDoesNotFit)
{
    startSession();
    auto& D = host::suiteTable<ADMDialogSuite>();
    auto& I = host::suiteTable<ADMItemSuite>();
    ADMDialogRef palette = D.Create(session().plugin(), "Fit Dialog", 1, kADMFloatingDialogStyle, nullptr, nullptr, 0);
    ADMRect wide{0, 0, 16, 120}, narrow{20, 0, 36, 30}, field{40, 0, 60, 40};
    I.SetText(I.Create(palette, 1, kADMTextStaticType, &wide, nullptr, nullptr, 0), "Mark height:");
    ADMItemRef label = I.Create(palette, 3, kADMTextStaticType, &narrow, nullptr, nullptr, 0);
    I.SetText(label, "Mark width:");
    ADMItemRef spin = I.Create(palette, 4, kADMSpinEditType, &field, nullptr, nullptr, 0);
    I.SetUnits(spin, kADMMillimeterUnits);

    std::string error;
    EXPECT_TRUE(runScript("select-dialog \"Fit Dialog\"\nexpect-fits 1\n", error)) << error;
    EXPECT_FALSE(runScript("select-dialog \"Fit Dialog\"\nexpect-fits\n", error));
    EXPECT_EQ(error.rfind("line 2: expect-fits: in \"Fit Dialog\": item 3 (\"Mark width:\") is ", 0), 0u) << error;
    EXPECT_NE(error.find("; item 4 (\"0.00 mm\") is "), std::string::npos) << error;
    EXPECT_FALSE(runScript("select-dialog \"Fit Dialog\"\nexpect-fits 4\n", error));
    EXPECT_EQ(error.find("item 3"), std::string::npos) << "only item 4: " << error;
    EXPECT_FALSE(runScript("select-dialog \"Fit Dialog\"\nexpect-fits 9\n", error));
    EXPECT_NE(error.find("no item 9"), std::string::npos) << error;
    D.Destroy(palette);
}

}  // namespace
