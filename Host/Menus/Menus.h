// The host's menus: its own menu groups, the items and submenu groups that
// plug-ins add to them, their enabled state and texts. Before a menu is shown
// the host sends "AI Menu"/"AI Update" for every item that asked for it; a
// chosen item gets "AI Menu"/"AI Go".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Host.h"

namespace vt::host {

struct MenuItem;

struct MenuGroup {
    std::string name;
    MenuItem* parent = nullptr;  // the item whose submenu this group is; null for the host's own menus
    ASInt32 options = 0;
};

struct MenuItem {
    SPPlugin* plugin = nullptr;
    std::string key;  // several items may share one
    MenuGroup* group = nullptr;
    std::string text;
    ASInt32 options = 0;
    bool enabled = true;
};

class Menus {
public:
    Menus();

    MenuGroup* group(const std::string& name) const;
    MenuItem* item(AIMenuItemHandle handle) const;
    static AIMenuItemHandle handle(const MenuItem* item) { return reinterpret_cast<AIMenuItemHandle>(const_cast<MenuItem*>(item)); }
    static AIMenuGroup handle(const MenuGroup* group) { return reinterpret_cast<AIMenuGroup>(const_cast<MenuGroup*>(group)); }

    // Null (and error set) when the group is unknown.
    MenuItem* addItem(SPPlugin* plugin, const std::string& key, const std::string& groupName, const std::string& text,
                      ASInt32 options, std::string& error);
    // Null (and error set) when the name is taken or the parent unknown.
    MenuGroup* addSubGroup(const std::string& name, ASInt32 options, MenuItem* parent, std::string& error);

    const std::vector<std::unique_ptr<MenuGroup>>& groups() const { return groups_; }
    const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
    std::vector<MenuItem*> itemsOf(const MenuGroup* group) const;

    // The item a user means by TEXT: an item showing exactly that text (or
    // that text without a trailing "..."), else the one item with that key.
    // Null with error set when there is none or more than one.
    MenuItem* find(const std::string& textOrKey, std::string& error) const;

    // What the host does before it shows the menu holding the item: "AI
    // Update" when the item asked for it. Returns the plug-in's result.
    ASErr update(MenuItem* item);
    // Updates every item that asked for it, as before showing all menus.
    ASErr updateAll();
    // The user picks the item: update, then "AI Go" when it is enabled.
    // kSPBadParameterError, error set, for a disabled item.
    ASErr choose(MenuItem* item, std::string& error);

    // The path of an item for people: "Export Document > Vantorel > Plot Out...".
    std::string pathOf(const MenuItem* item) const;

private:
    ASErr send(MenuItem* item, const char* selector);

    std::vector<std::unique_ptr<MenuGroup>> groups_;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

// The menus of the running host.
Menus& menus();

}  // namespace vt::host
