// The words of script commands: counts, item ids, numbers, points, modifier
// keys and two-way words, read alike by every command and worded alike when
// they are wrong.
#include "HostFixture.h"
#include "Script/ScriptArgs.h"
#include "Suites/SuiteTables.h"

using namespace vt;

namespace {

TEST(ScriptArgs, WordsAreReadOrRefusedWithOneWording)
{
    std::string error;
    long n = 0;
    EXPECT_TRUE(host::parseInt("-12", n, error));
    EXPECT_EQ(n, -12);
    for (const char* bad : {"", "1.5", "12x", "x"}) {
        EXPECT_FALSE(host::parseInt(bad, n, error)) << bad;
        EXPECT_EQ(error, "\"" + std::string(bad) + "\" is not a whole number");
    }
    ASInt32 id = 0;
    EXPECT_TRUE(host::parseItemId("54", id, error));
    EXPECT_EQ(id, 54);

    ADMPoint p{};
    EXPECT_TRUE(host::parsePoint("10", "-30", p, error));
    EXPECT_EQ(p.h, 10);
    EXPECT_EQ(p.v, -30);

    ADMModifiers mods = 0;
    EXPECT_TRUE(host::parseModifiers({"3", "shift", "control", "alt"}, 1, mods, error));
    EXPECT_EQ(mods, kADMShiftKeyModifier | kADMControlKeyModifier | kADMOptionKeyModifier);
    EXPECT_TRUE(host::parseModifiers({"3"}, 1, mods, error));
    EXPECT_EQ(mods, 0);
    EXPECT_FALSE(host::parseModifiers({"3", "ctrl", "hyper"}, 1, mods, error));
    EXPECT_EQ(error, "unknown modifier \"hyper\" (shift, ctrl, option)");

    EXPECT_EQ(host::parseSwitch("on", "on", "off"), std::optional<bool>(true));
    EXPECT_EQ(host::parseSwitch("off", "on", "off"), std::optional<bool>(false));
    EXPECT_EQ(host::parseSwitch("On", "on", "off"), std::nullopt);

    EXPECT_TRUE(host::expectArgs({"a"}, 1, 2, error));
    EXPECT_FALSE(host::expectArgs({}, 1, 2, error));
    EXPECT_EQ(error, "expects 1 to 2 argument(s), got 0");
    EXPECT_FALSE(host::expectArgs({"a", "b"}, 1, 1, error));
    EXPECT_EQ(error, "expects 1 argument(s), got 2");
    EXPECT_FALSE(host::expectNoArgs({"a"}, error));
    EXPECT_EQ(error, "expects no arguments");
    EXPECT_FALSE(host::expectOneArg({}, "the SVG file", error));
    EXPECT_EQ(error, "expects 1 argument (the SVG file)");
}

class ScriptCommandWords : public test::HostTest {};

// What each command says about words it cannot use; the script stops there.
TEST_F(ScriptCommandWords, EveryCommandNamesTheWordItCannotUse)
{
    startSession();
    auto& D = host::suiteTable<ADMDialogSuite>();
    auto& I = host::suiteTable<ADMItemSuite>();
    ADMDialogRef palette = D.Create(session().plugin(), "Split Dialog", 146, kADMFloatingDialogStyle, nullptr, nullptr, 0);
    ADMRect r{28, 70, 48, 170};
    I.Create(palette, 4, kADMSpinEditType, &r, nullptr, nullptr, 0);
    const std::string onPalette = "select-dialog \"Split Dialog\"\n";

    struct Row {
        std::string script;
        const char* error;
    } rows[] = {
        // The host's own commands.
        {"about now", "line 1: about: expects 0 argument(s), got 1"},
        {"prefs", "line 1: prefs: expects 1 argument(s), got 0"},
        {"expect-alert a b", "line 1: expect-alert: expects 1 argument(s), got 2"},
        // Documents.
        {"open", "line 1: open: expects 1 argument (the SVG file)"},
        {"new-document x", "line 1: new-document: expects no arguments"},
        {"close-document x", "line 1: close-document: expects no arguments"},
        {"select all", "line 1: select: no document is open"},
        {"view", "line 1: view: no document is open"},
        {"expect-view 1 0 0", "line 1: expect-view: no document is open"},
        {"new-document\nselect", "line 2: select: expects \"all\" or one or more ids"},
        {"new-document\ndeselect x", "line 2: deselect: expects no arguments"},
        {"new-document\nsave", "line 2: save: expects 1 argument (the SVG file)"},
        // The view.
        {"new-document\nview 2 x 0", "line 2: view: \"x\" is not a number"},
        {"new-document\nexpect-view 2 0 y", "line 2: expect-view: \"y\" is not a number"},
        {"new-document\nview 0 0 0", "line 2: view: the zoom must be more than 0"},
        // Menus.
        {"menu", "line 1: menu: expects 1 argument (the item's text or key)"},
        {"menus all", "line 1: menus: expects no arguments"},
        {"expect-menu \"Plot Out\" on", "line 1: expect-menu: expects the item and \"enabled\" or \"disabled\""},
        {"expect-menu \"Plot Out\"", "line 1: expect-menu: expects the item and \"enabled\" or \"disabled\""},
        // Dialogs: counts first, then the dialog acted on, then the words.
        {"click", "line 1: click: expects 1 to 4 argument(s), got 0"},
        {"click 4", "line 1: click: no dialog to act on: use it inside a dialog block, or select-dialog a floating "
                    "dialog first"},
        {onPalette + "click four", "line 2: click: \"four\" is not a whole number"},
        {onPalette + "click 4 hyper", "line 2: click: unknown modifier \"hyper\" (shift, ctrl, option)"},
        {onPalette + "type x 12", "line 2: type: \"x\" is not a whole number"},
        {onPalette + "choose 4", "line 2: choose: expects 2 argument(s), got 1"},
        {onPalette + "spin 4 sideways", "line 2: spin: spin up or down"},
        {onPalette + "spin 4 up many", "line 2: spin: \"many\" is not a whole number"},
        {onPalette + "spin 4 up 2000000000", "line 2: spin: \"2000000000\": the arrow is pressed 1 to 10000 times"},
        {onPalette + "spin 4 down -2147483648",
         "line 2: spin: \"-2147483648\": the arrow is pressed 1 to 10000 times"},
        {onPalette + "spin 4 up 0", "line 2: spin: \"0\": the arrow is pressed 1 to 10000 times"},
        {onPalette + "press 4 10", "line 2: press: expects 3 to 6 argument(s), got 2"},
        {onPalette + "press 4 10 y", "line 2: press: \"y\" is not a whole number"},
        {onPalette + "press 4 10 10 meta", "line 2: press: unknown modifier \"meta\" (shift, ctrl, option)"},
        {onPalette + "drag x 10", "line 2: drag: \"x\" is not a whole number"},
        {onPalette + "release 10 10 super", "line 2: release: unknown modifier \"super\" (shift, ctrl, option)"},
        {onPalette + "hover 4 h 1", "line 2: hover: \"h\" is not a whole number"},
        {onPalette + "double-click 4 1 1 fn", "line 2: double-click: unknown modifier \"fn\" (shift, ctrl, option)"},
        {onPalette + "key ab", "line 2: key: \"ab\" is not a whole number"},
        {onPalette + "key a cmd", "line 2: key: unknown modifier \"cmd\" (shift, ctrl, option)"},
        {onPalette + "resize 100 tall", "line 2: resize: \"tall\" is not a whole number"},
        {onPalette + "resize 2000000000 2000000000",
         "line 2: resize: a dialog is 1 to 1024 pixels wide and 1 to 768 high on this screen, not 2000000000 x 2000000000"},
        {onPalette + "resize 1025 100", "line 2: resize: a dialog is 1 to 1024 pixels wide and 1 to 768 high on this screen, not 1025 x 100"},
        {onPalette + "resize 100 0", "line 2: resize: a dialog is 1 to 1024 pixels wide and 1 to 768 high on this screen, not 100 x 0"},
        {onPalette + "close now", "line 2: close: expects 0 argument(s), got 1"},
        {onPalette + "wait soon", "line 2: wait: \"soon\" is not a whole number"},
        {onPalette + "wait 1 x", "line 2: wait: \"x\" is not a whole number"},
        {onPalette + "save-picture a.png one", "line 2: save-picture: \"one\" is not a whole number"},
        {onPalette + "expect-text four x", "line 2: expect-text: \"four\" is not a whole number"},
        {onPalette + "expect-state 4 lit", "line 2: expect-state: item 4 is not lit"},
        {onPalette + "expect-state 4 disabled", "line 2: expect-state: item 4 is not disabled"},
        {onPalette + "expect-cursor 4", "line 2: expect-cursor: expects 2 argument(s), got 1"},
        {onPalette + "expect-cursor 4 arrow", "line 2: expect-cursor: \"arrow\" is not a whole number"},
        {onPalette + "expect-cursor 4 -4", "line 2: expect-cursor: item 4 has cursor 0, not -4"},
        {onPalette + "expect-cursor 9 0", "line 2: expect-cursor: \"Split Dialog\" has no item 9"},
        {onPalette + "expect-glyphs four", "line 2: expect-glyphs: \"four\" is not a whole number"},
        {onPalette + "expect-glyphs 4 5", "line 2: expect-glyphs: expects 0 to 1 argument(s), got 2"},
        {"dialog", "line 1: dialog: expects 1 argument(s), got 0"},
        {"select-dialog", "line 1: select-dialog: expects 1 argument(s), got 0"},
        // Around the dialogs.
        {"answer-file", "line 1: answer-file: expects 1 argument(s), got 0"},
        {"answer-color 1 2", "line 1: answer-color: expects 3 argument(s), got 2"},
        {"answer-color 1 2 blue", "line 1: answer-color: \"blue\" is not a whole number"},
        {"answer-color 1 2 70000", "line 1: answer-color: colour components run from 0 to 65535"},
        {"screen 800", "line 1: screen: expects 2 argument(s), got 1"},
        {"screen wide 600", "line 1: screen: \"wide\" is not a whole number"},
        {"screen 10 10", "line 1: screen: a screen runs from 100 to 30000 pixels each way"},
        {"expect-dialog", "line 1: expect-dialog: expects 1 to 2 argument(s), got 0"},
    };
    for (const Row& row : rows) {
        std::string error;
        EXPECT_FALSE(runScript(row.script + "\n", error)) << row.script;
        EXPECT_EQ(error, row.error) << row.script;
    }
    D.Destroy(palette);
}

}  // namespace
