// Script commands of the dialog toolkit: queued answers for modal dialogs,
// the user's actions inside a dialog, file dialogs, the colour picker, the
// screen, pictures and checks.
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <ostream>

#include "Host.h"
#include "Script/Script.h"
#include "Script/ScriptArgs.h"
#include "Session.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/TextLayout.h"

namespace vt::host::toolkit {
namespace {

// What the toolkit's commands keep for one running script.
struct ScriptState {
    ScriptContext* context = nullptr;
    int depth = 0;  // nesting of dialog blocks being captured
    std::string blockName;
    std::vector<std::vector<std::string>> blockLines;
    std::unique_ptr<Driver> selected;  // a floating dialog chosen with select-dialog
};

// The driver of the innermost dialog whose queued answers are running.
Driver* g_activeDriver = nullptr;

std::map<ScriptContext*, std::weak_ptr<ScriptState>>& states()
{
    static std::map<ScriptContext*, std::weak_ptr<ScriptState>> map;
    return map;
}

Toolkit& tk() { return Toolkit::get(); }

std::shared_ptr<ScriptState> stateOf(ScriptContext& context)
{
    auto& map = states();
    auto it = map.find(&context);
    if (it != map.end())
        if (auto state = it->second.lock()) return state;
    auto state = std::make_shared<ScriptState>();
    state->context = &context;
    map[&context] = state;
    // The context owns its state through this check, so both end together.
    context.checks.push_back([state](bool atEnd, std::string& error) {
        auto& toolkit = tk();
        if (!toolkit.failures.empty()) {
            error = toolkit.failures.front();
            toolkit.failures.clear();
            return false;
        }
        if (atEnd && state->depth > 0) {
            error = "the block of \"dialog " + state->blockName + "\" has no end-dialog";
            return false;
        }
        if (atEnd && !toolkit.pendingQueues().empty()) {
            error = "the answers queued for \"" + toolkit.pendingQueues().front() + "\" were never used";
            toolkit.clearQueues();
            return false;
        }
        return true;
    });
    return state;
}

// Where a pointer event happens: "ID H V [mods]" (withItem) or "H V [mods]".
struct PointerWords {
    ASInt32 item = 0;
    ADMPoint point{};
    ADMModifiers modifiers = 0;
};

bool parsePointer(const ScriptArgs& args, bool withItem, PointerWords& words, std::string& error)
{
    size_t at = withItem ? 1 : 0;
    return (!withItem || parseItemId(args[0], words.item, error)) &&
           parsePoint(args[at], args[at + 1], words.point, error) && parseModifiers(args, at + 2, words.modifiers, error);
}

Driver* driverFor(ScriptContext& context, std::string& error)
{
    if (g_activeDriver) return g_activeDriver;
    auto state = stateOf(context);
    if (state->selected && state->selected->dialog()) return state->selected.get();
    error = "no dialog to act on: use it inside a dialog block, or select-dialog a floating dialog first";
    return nullptr;
}

// Registers a command that acts on the current dialog.
struct DialogCommand {
    DialogCommand(const char* name, const char* usage, size_t min, size_t max,
                  std::function<bool(Driver&, const std::vector<std::string>&, std::string&)> run)
        : registrar(name, usage, [min, max, run](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
              if (!expectArgs(args, min, max, error)) return false;
              Driver* driver = driverFor(c, error);
              return driver && run(*driver, args, error);
          })
    {
    }
    ScriptCommandRegistrar registrar;
};

// ---- Queued answers ----

bool captureLine(std::shared_ptr<ScriptState> state, const std::vector<std::string>& words, std::string& error)
{
    if (words[0] == "dialog") ++state->depth;
    if (words[0] == "end-dialog" && --state->depth == 0) {
        ScriptContext* context = state->context;
        std::weak_ptr<ScriptState> weak = state;
        std::vector<DialogAction> actions;
        for (const auto& line : state->blockLines)
            actions.push_back([weak, line](Driver& driver, std::string& problem) {
                auto owner = weak.lock();
                if (!owner) {
                    problem = "the script that queued this answer has ended";
                    return false;
                }
                Driver* outer = g_activeDriver;
                g_activeDriver = &driver;
                bool ok = runScriptCommand(*owner->context, line, problem);
                g_activeDriver = outer;
                return ok;
            });
        tk().queueDialog(state->blockName, std::move(actions));
        state->blockLines.clear();
        context->capture = nullptr;
        return true;
    }
    state->blockLines.push_back(words);
    return true;
}

ScriptCommandRegistrar dialogCommand(
    "dialog", "dialog NAME  the lines up to end-dialog answer the next modal dialog of that name",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        if (!expectArgs(args, 1, 1, error)) return false;
        auto state = stateOf(c);
        state->depth = 1;
        state->blockName = args[0];
        state->blockLines.clear();
        c.capture = [state](const std::vector<std::string>& words, std::string& e) { return captureLine(state, words, e); };
        return true;
    });

ScriptCommandRegistrar endDialogCommand("end-dialog", "end-dialog  ends a dialog block",
                                        [](ScriptContext&, const std::vector<std::string>&, std::string& error) {
                                            error = "end-dialog without dialog";
                                            return false;
                                        });

ScriptCommandRegistrar selectDialogCommand(
    "select-dialog", "select-dialog NAME  act on an open floating dialog (palette) outside dialog blocks",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        if (!expectArgs(args, 1, 1, error)) return false;
        Dialog* d = tk().findDialog(args[0]);
        if (!d) {
            error = "no open dialog \"" + args[0] + "\"";
            return false;
        }
        stateOf(c)->selected = std::make_unique<Driver>(tk(), d);
        return true;
    });

// ---- The user's actions ----

DialogCommand clickCommand("click", "click ID [shift|ctrl|option...]  click an item (buttons, check boxes, radios)", 1, 4,
                           [](Driver& d, const auto& args, std::string& error) {
                               ASInt32 id;
                               ADMModifiers mods;
                               return parseItemId(args[0], id, error) && parseModifiers(args, 1, mods, error) &&
                                      d.click(id, error, mods);
                           });

DialogCommand typeCommand("type", "type ID TEXT  type into an edit; numbers in the item's units (or 12 mm, 1 in, 30 pt)", 2, 2,
                          [](Driver& d, const auto& args, std::string& error) {
                              ASInt32 id;
                              return parseItemId(args[0], id, error) && d.type(id, args[1], error);
                          });

DialogCommand chooseCommand("choose", "choose ID ENTRY  pick a popup or list entry by text, #INDEX or id=ID", 2, 2,
                            [](Driver& d, const auto& args, std::string& error) {
                                ASInt32 id;
                                return parseItemId(args[0], id, error) && d.choose(id, args[1], error);
                            });

DialogCommand spinCommand("spin", "spin ID up|down [N] [large]  press a spin edit's arrows", 2, 4,
                          [](Driver& d, const auto& args, std::string& error) {
                              ASInt32 id;
                              if (!parseItemId(args[0], id, error)) return false;
                              std::optional<bool> up = parseSwitch(args[1], "up", "down");
                              if (!up) {
                                  error = "spin up or down";
                                  return false;
                              }
                              int direction = *up ? 1 : -1;
                              long n = 1;
                              bool large = false;
                              for (size_t i = 2; i < args.size(); ++i) {
                                  if (args[i] == "large")
                                      large = true;
                                  else if (!parseInt(args[i], n, error))
                                      return false;
                              }
                              if (n < 1 || n > Driver::kMostSpinPresses) {
                                  error = "\"" + std::to_string(n) + "\": the arrow is pressed 1 to " +
                                          std::to_string(Driver::kMostSpinPresses) + " times";
                                  return false;
                              }
                              return d.spin(id, static_cast<int>(direction * n), large, error);
                          });

DialogCommand pressCommand("press", "press ID H V [mods]  press the button at a point local to the item", 3, 6,
                           [](Driver& d, const auto& args, std::string& error) {
                               PointerWords w;
                               return parsePointer(args, true, w, error) && d.press(w.item, w.point, w.modifiers, error);
                           });

DialogCommand dragCommand("drag", "drag H V [mods]  move the pressed mouse to a point local to the pressed item", 2, 5,
                          [](Driver& d, const auto& args, std::string& error) {
                              PointerWords w;
                              return parsePointer(args, false, w, error) && d.drag(w.point, w.modifiers, error);
                          });

DialogCommand releaseCommand("release", "release H V [mods]  release the button at a point local to the pressed item", 2, 5,
                             [](Driver& d, const auto& args, std::string& error) {
                                 PointerWords w;
                                 return parsePointer(args, false, w, error) && d.release(w.point, w.modifiers, error);
                             });

DialogCommand hoverCommand("hover", "hover ID H V [mods]  move the mouse over an item with the button up", 3, 6,
                           [](Driver& d, const auto& args, std::string& error) {
                               PointerWords w;
                               return parsePointer(args, true, w, error) && d.hover(w.item, w.point, w.modifiers, error);
                           });

DialogCommand doubleClickCommand("double-click", "double-click ID H V [mods]  two quick clicks at a point local to the item",
                                 3, 6, [](Driver& d, const auto& args, std::string& error) {
                                     PointerWords w;
                                     return parsePointer(args, true, w, error) &&
                                            d.doubleClick(w.item, w.point, w.modifiers, error);
                                 });

DialogCommand keyCommand("key", "key CHAR|^X|CODE [mods]  type a key (^Z is Control-Z, code 26)", 1, 4,
                         [](Driver& d, const auto& args, std::string& error) {
                             const std::string& k = args[0];
                             ADMModifiers mods;
                             if (!parseModifiers(args, 1, mods, error)) return false;
                             ADMUInt16 ch;
                             if (k.size() == 2 && k[0] == '^' && std::isalpha(static_cast<unsigned char>(k[1]))) {
                                 ch = static_cast<ADMUInt16>(std::toupper(static_cast<unsigned char>(k[1])) - 'A' + 1);
                                 mods |= kADMControlKeyModifier;
                             } else if (k.size() == 1) {
                                 ch = static_cast<unsigned char>(k[0]);
                             } else {
                                 long code;
                                 if (!parseInt(k, code, error)) return false;
                                 ch = static_cast<ADMUInt16>(code);
                             }
                             return d.key(ch, mods, error);
                         });

DialogCommand resizeCommand("resize", "resize W H  resize the dialog as the user would", 2, 2,
                            [](Driver& d, const auto& args, std::string& error) {
                                long w, h;
                                if (!parseInt(args[0], w, error) || !parseInt(args[1], h, error)) return false;
                                const ADMRect& screen = tk().screen;
                                long wide = screen.right - screen.left, high = screen.bottom - screen.top;
                                // Nobody drags a window larger than the screen, nor to nothing.
                                if (w < 1 || h < 1 || w > wide || h > high) {
                                    error = "a dialog is 1 to " + std::to_string(wide) + " pixels wide and 1 to " +
                                            std::to_string(high) + " high on this screen, not " + std::to_string(w) +
                                            " x " + std::to_string(h);
                                    return false;
                                }
                                return d.resize(static_cast<int>(w), static_cast<int>(h), error);
                            });

DialogCommand closeCommand("close", "close  the window's close box (a modal dialog ends as a cancel)", 0, 0,
                           [](Driver& d, const auto&, std::string& error) { return d.close(error); });

DialogCommand waitCommand("wait", "wait TICKS [PASSES]  let time pass (1/60 s ticks) and redraw up to PASSES times", 1, 2,
                          [](Driver& d, const auto& args, std::string& error) {
                              long ticks, passes = 1;
                              if (!parseInt(args[0], ticks, error)) return false;
                              if (args.size() > 1 && !parseInt(args[1], passes, error)) return false;
                              d.wait(static_cast<uint32_t>(ticks), static_cast<int>(passes));
                              return true;
                          });

struct PictureCommand {
    ScriptCommandRegistrar registrar{
        "save-picture", "save-picture FILE [ID]  save the dialog (or one item) as a PNG picture",
        [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
            if (!expectArgs(args, 1, 2, error)) return false;
            Driver* d = driverFor(c, error);
            ASInt32 id = 0;
            if (!d || (args.size() > 1 && !parseItemId(args[1], id, error))) return false;
            if (!d->savePicture(c.path(args[0]), id, error)) return false;
            c.out << "picture: " << args[0] << "\n";
            return true;
        }};
} pictureCommand;

// ---- Checks inside a dialog ----

// What an item shows: a popup its chosen entry (nothing when none is chosen).
std::string shownText(const Item& item)
{
    if (item.kind == ItemKind::PopupList && item.list) {
        Entry* chosen = item.list->active();
        return chosen ? chosen->text : std::string();
    }
    return item.displayText();
}

DialogCommand expectTextCommand("expect-text",
                                "expect-text ID TEXT  fail unless the item shows exactly TEXT (a popup: its chosen entry)",
                                2, 2, [](Driver& d, const auto& args, std::string& error) {
                                    ASInt32 id;
                                    if (!parseItemId(args[0], id, error)) return false;
                                    Item* item = d.find(id, error);
                                    if (!item) return false;
                                    std::string shown = shownText(*item);
                                    if (shown != args[1]) {
                                        error = "item " + args[0] + " shows \"" + shown + "\"";
                                        return false;
                                    }
                                    return true;
                                });

DialogCommand expectTitleCommand("expect-title", "expect-title TEXT  fail unless the dialog's title is TEXT", 1, 1,
                                 [](Driver& d, const auto& args, std::string& error) {
                                     if (!d.dialog()) {
                                         error = "the dialog is gone";
                                         return false;
                                     }
                                     if (d.dialog()->title != args[0]) {
                                         error = "the title is \"" + d.dialog()->title + "\"";
                                         return false;
                                     }
                                     return true;
                                 });

// Enabled decides whether an item takes input; active is its activation (its
// highlight), which a picture button shows as the tool in use.
DialogCommand expectStateCommand(
    "expect-state",
    "expect-state ID on|off|enabled|disabled|active|inactive|shown|hidden...  fail unless the item is so", 2, 8,
    [](Driver& d, const auto& args, std::string& error) {
        ASInt32 id;
        if (!parseItemId(args[0], id, error)) return false;
        Item* item = d.find(id, error);
        if (!item) return false;
        for (size_t i = 1; i < args.size(); ++i) {
            const std::string& w = args[i];
            bool ok = w == "on"         ? item->value != 0.0f
                      : w == "off"      ? item->value == 0.0f
                      : w == "enabled"  ? item->enabled
                      : w == "disabled" ? !item->enabled
                      : w == "active"   ? item->active
                      : w == "inactive" ? !item->active
                      : w == "shown"    ? item->visible
                      : w == "hidden"   ? !item->visible
                                        : false;
            if (!ok) {
                error = "item " + args[0] + " is not " + w;
                return false;
            }
        }
        return true;
    });

DialogCommand expectCursorCommand(
    "expect-cursor", "expect-cursor ID CURSOR  fail unless the item's cursor (SetCursorID) is CURSOR", 2, 2,
    [](Driver& d, const auto& args, std::string& error) {
        ASInt32 id;
        long expected;
        if (!parseItemId(args[0], id, error) || !parseInt(args[1], expected, error)) return false;
        Item* item = d.find(id, error);
        if (!item) return false;
        if (item->cursor != expected) {
            error = "item " + args[0] + " has cursor " + std::to_string(item->cursor) + ", not " + args[1];
            return false;
        }
        return true;
    });

// A colour written RRGGBB: six hexadecimal digits, 0x in front allowed (a #
// would start a comment).
bool parseColour(const std::string& word, uint32_t& rgb, std::string& error)
{
    std::string digits = word;
    if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) digits.erase(0, 2);
    bool ok = digits.size() == 6;
    for (char c : digits) ok = ok && std::isxdigit(static_cast<unsigned char>(c));
    if (!ok) {
        error = "\"" + word + "\" is not a colour RRGGBB";
        return false;
    }
    rgb = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
    return true;
}

std::string colourText(long rgb)
{
    char text[24];  // room for any long, though colours take six digits
    std::snprintf(text, sizeof text, "%06lX", rgb);
    return text;
}

DialogCommand expectPixelCommand(
    "expect-pixel", "expect-pixel ID H V RRGGBB  fail unless the item's picture (0: the dialog's) has that colour at (H, V)",
    4, 4, [](Driver& d, const auto& args, std::string& error) {
        ASInt32 id;
        ADMPoint at;
        uint32_t expected;
        if (!parseItemId(args[0], id, error) || !parsePoint(args[1], args[2], at, error) ||
            !parseColour(args[3], expected, error))
            return false;
        long found;
        std::string what = "item " + args[0];
        if (id == 0) {
            if (!d.dialog()) {
                error = "the dialog is gone";
                return false;
            }
            Raster picture;
            d.toolkit().renderDialog(d.dialog(), picture);
            found = picture.pixel(at.h, at.v);
            what = "the dialog";
        } else {
            Item* item = d.find(id, error);
            if (!item) return false;
            if (item->invalid || !item->raster.surface()) d.toolkit().draw(item);
            found = item->raster.pixel(at.h, at.v);
        }
        if (found < 0) {
            error = "(" + args[1] + ", " + args[2] + ") lies outside " + what;
            return false;
        }
        if (static_cast<uint32_t>(found) != expected) {
            error = what + " has " + colourText(found) + " at (" + args[1] + ", " + args[2] + "), not " +
                    colourText(expected);
            return false;
        }
        return true;
    });

// The first character an item shows (its text, its children's, its list
// entries') that no font of the toolkit can draw, described for the script.
bool missingGlyphIn(const Item& item, std::string& where, char32_t& missing)
{
    auto check = [&](const std::string& text, const std::string& what) {
        missing = firstMissingGlyph(text);
        if (missing) where = what + " (\"" + text + "\")";
        return missing != 0;
    };
    std::string name = "item " + std::to_string(item.id);
    if (check(item.displayText(), name)) return true;
    for (const auto& child : item.children)
        if (check(child->displayText(), name)) return true;
    if (item.list)
        for (size_t i = 0; i < item.list->entries.size(); ++i)
            if (check(item.list->entries[i]->text, "entry " + std::to_string(i + 1) + " of " + name)) return true;
    return false;
}

DialogCommand expectGlyphsCommand(
    "expect-glyphs", "expect-glyphs [ID]  fail unless the toolkit's fonts hold every character the dialog (or item ID) shows",
    0, 1, [](Driver& d, const auto& args, std::string& error) {
        Dialog* dialog = d.dialog();
        if (!dialog) {
            error = "the dialog is gone";
            return false;
        }
        std::vector<const Item*> items;
        if (!args.empty()) {
            ASInt32 id;
            if (!parseItemId(args[0], id, error)) return false;
            Item* item = d.find(id, error);
            if (!item) return false;
            items.push_back(item);
        } else {
            for (const auto& item : dialog->items) items.push_back(item.get());
        }
        std::string where;
        char32_t missing = args.empty() ? firstMissingGlyph(dialog->title) : 0;
        if (missing) where = "the title (\"" + dialog->title + "\")";
        for (size_t i = 0; !missing && i < items.size(); ++i) missingGlyphIn(*items[i], where, missing);
        if (missing) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(missing));
            error = std::string(code) + " in " + where + " has no glyph in the toolkit's fonts";
            return false;
        }
        return true;
    });

DialogCommand expectFitsCommand(
    "expect-fits",
    "expect-fits [ID]  fail unless every text the dialog (or item ID) shows fits its item and lies under no other", 0,
    1, [](Driver& d, const auto& args, std::string& error) {
        Dialog* dialog = d.dialog();
        if (!dialog) {
            error = "the dialog is gone";
            return false;
        }
        Item* item = nullptr;
        if (!args.empty()) {
            ASInt32 id;
            if (!parseItemId(args[0], id, error) || !(item = d.find(id, error))) return false;
        }
        std::vector<std::string> problems = fitProblems(*dialog, item);
        if (problems.empty()) return true;
        error = "in \"" + dialog->name + "\": " + problems[0];
        for (size_t i = 1; i < problems.size(); ++i) error += "; " + problems[i];
        return false;
    });

// ---- The host around the dialogs ----

ScriptCommandRegistrar answerFileCommand(
    "answer-file", "answer-file PATH|--cancel  the answer for the next standard open or save file dialog",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        if (!expectArgs(args, 1, 1, error)) return false;
        stateOf(c);
        if (args[0] == "--cancel")
            tk().fileAnswers.push_back(std::nullopt);
        else
            tk().fileAnswers.push_back(c.path(args[0]));
        return true;
    });

ScriptCommandRegistrar answerColorCommand(
    "answer-color", "answer-color R G B|--cancel  the answer for the next colour picker (16-bit components)",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        stateOf(c);
        if (args.size() == 1 && args[0] == "--cancel") {
            tk().colorAnswers.push_back(std::nullopt);
            return true;
        }
        if (!expectArgs(args, 3, 3, error)) return false;
        long r, g, b;
        if (!parseInt(args[0], r, error) || !parseInt(args[1], g, error) || !parseInt(args[2], b, error)) return false;
        if (r < 0 || g < 0 || b < 0 || r > 65535 || g > 65535 || b > 65535) {
            error = "colour components run from 0 to 65535";
            return false;
        }
        tk().colorAnswers.push_back(ADMRGBColor{static_cast<ADMUInt16>(r), static_cast<ADMUInt16>(g),
                                                static_cast<ADMUInt16>(b)});
        return true;
    });

ScriptCommandRegistrar screenCommand("screen", "screen W H  the size of the main screen (1024 x 768 by default)",
                                     [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
                                         if (!expectArgs(args, 2, 2, error)) return false;
                                         long w, h;
                                         if (!parseInt(args[0], w, error) || !parseInt(args[1], h, error)) return false;
                                         if (w < 100 || h < 100 || w > 30000 || h > 30000) {
                                             error = "a screen runs from 100 to 30000 pixels each way";
                                             return false;
                                         }
                                         tk().screen = ADMRect{0, 0, static_cast<ASInt16>(h), static_cast<ASInt16>(w)};
                                         tk().paletteArea = ADMRect{22, 0, static_cast<ASInt16>(h), static_cast<ASInt16>(w)};
                                         return true;
                                     });

ScriptCommandRegistrar expectDialogCommand(
    "expect-dialog", "expect-dialog NAME [RESULT]  fail unless the last modal dialog was NAME (ended with RESULT)",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        if (!expectArgs(args, 1, 2, error)) return false;
        const auto& log = tk().modalLog;
        if (log.empty()) {
            error = "no modal dialog was shown";
            return false;
        }
        const auto& last = log.back();
        if (last.name != args[0]) {
            error = "the last modal dialog was \"" + last.name + "\"";
            return false;
        }
        if (args.size() > 1) {
            long result;
            if (!parseInt(args[1], result, error)) return false;
            if (last.result != static_cast<ASInt32>(result)) {
                error = "\"" + last.name + "\" ended with " + std::to_string(last.result);
                return false;
            }
        }
        return true;
    });

}  // namespace
}  // namespace vt::host::toolkit
