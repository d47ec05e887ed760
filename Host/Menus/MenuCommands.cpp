// Script commands of the menus: choose an item, list the menus, check an
// item's state. Each looks at the menus as a user would: after the host's
// update messages.
#include <ostream>

#include "ErrorText.h"
#include "Menus/Menus.h"
#include "Script/Script.h"
#include "Script/ScriptArgs.h"

namespace vt::host {
namespace {

ScriptCommandRegistrar menuCommand(
    "menu", "menu TEXT|KEY  choose a menu item by its text (\"...\" may be left out) or its key",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        if (!expectOneArg(args, "the item's text or key", error)) return false;
        // A user picks an item by the text the opened menu shows, which the
        // update messages may have just changed ("Show"/"Hide").
        menus().updateAll();
        MenuItem* item = menus().find(args[0], error);
        if (!item) return false;
        c.out << "menu: " << menus().pathOf(item) << "\n";
        ASErr result = menus().choose(item, error);
        if (!error.empty()) return false;
        if (result != kNoErr) c.out << "menu result: " << errorText(result) << "\n";
        return true;
    });

ScriptCommandRegistrar menusCommand(
    "menus", "menus  list the menu groups and items that hold plug-in items, with state and text",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        if (!expectNoArgs(args, error)) return false;
        Menus& m = menus();
        m.updateAll();
        for (auto& g : m.groups()) {
            auto items = m.itemsOf(g.get());
            if (items.empty()) continue;
            c.out << "group \"" << g->name << "\"";
            if (g->parent) c.out << " (submenu of \"" << g->parent->text << "\")";
            c.out << "\n";
            for (MenuItem* i : items)
                c.out << "  " << (i->enabled ? "enabled " : "disabled") << " \"" << i->text << "\" (key \"" << i->key
                      << "\")\n";
        }
        return true;
    });

ScriptCommandRegistrar expectMenuCommand(
    "expect-menu", "expect-menu TEXT|KEY enabled|disabled  fail unless the item is so when its menu is shown",
    [](ScriptContext& c, const std::vector<std::string>& args, std::string& error) {
        std::optional<bool> enabled = args.size() == 2 ? parseSwitch(args[1], "enabled", "disabled") : std::nullopt;
        if (!enabled) {
            error = "expects the item and \"enabled\" or \"disabled\"";
            return false;
        }
        MenuItem* item = menus().find(args[0], error);
        if (!item) return false;
        menus().update(item);
        if (item->enabled != *enabled) {
            error = "the menu item \"" + menus().pathOf(item) + "\" is " + (item->enabled ? "enabled" : "disabled");
            return false;
        }
        return true;
    });

}  // namespace
}  // namespace vt::host
