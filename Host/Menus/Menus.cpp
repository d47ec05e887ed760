#include "Menus/Menus.h"

#include <cstring>

#include "Suites/SuiteTables.h"

namespace vt::host {

// The host's own menus that plug-ins may add to.
static const char* const kHostMenuGroups[] = {"File Menu", "Export Document", "Edit Menu", "Object Menu",
                                              "Window Menu", "Help Menu"};

Menus::Menus()
{
    for (const char* name : kHostMenuGroups) groups_.push_back(std::make_unique<MenuGroup>(MenuGroup{name}));
}

Menus& menus() { return Host::current().service<Menus>(); }

MenuGroup* Menus::group(const std::string& name) const
{
    for (auto& g : groups_)
        if (g->name == name) return g.get();
    return nullptr;
}

MenuItem* Menus::item(AIMenuItemHandle handle) const
{
    for (auto& i : items_)
        if (Menus::handle(i.get()) == handle) return i.get();
    return nullptr;
}

MenuItem* Menus::addItem(SPPlugin* plugin, const std::string& key, const std::string& groupName,
                         const std::string& text, ASInt32 options, std::string& error)
{
    MenuGroup* g = group(groupName);
    if (!g) {
        error = "no menu group \"" + groupName + "\"";
        return nullptr;
    }
    items_.push_back(std::make_unique<MenuItem>(MenuItem{plugin, key, g, text, options, true}));
    return items_.back().get();
}

MenuGroup* Menus::addSubGroup(const std::string& name, ASInt32 options, MenuItem* parent, std::string& error)
{
    if (group(name)) {
        error = "the menu group \"" + name + "\" exists already";
        return nullptr;
    }
    if (!parent) {
        error = "a submenu group needs the item it hangs from";
        return nullptr;
    }
    groups_.push_back(std::make_unique<MenuGroup>(MenuGroup{name, parent, options}));
    return groups_.back().get();
}

std::vector<MenuItem*> Menus::itemsOf(const MenuGroup* group) const
{
    std::vector<MenuItem*> list;
    for (auto& i : items_)
        if (i->group == group) list.push_back(i.get());
    return list;
}

static std::string withoutEllipsis(const std::string& text)
{
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, "...") == 0) return text.substr(0, text.size() - 3);
    return text;
}

MenuItem* Menus::find(const std::string& what, std::string& error) const
{
    std::vector<MenuItem*> byText, byKey;
    for (auto& i : items_) {
        if (i->text == what || withoutEllipsis(i->text) == what) byText.push_back(i.get());
        if (i->key == what) byKey.push_back(i.get());
    }
    const std::vector<MenuItem*>& found = byText.empty() ? byKey : byText;
    if (found.size() == 1) return found[0];
    if (found.empty())
        error = "no menu item \"" + what + "\"";
    else
        error = "\"" + what + "\" names " + std::to_string(found.size()) + " menu items; use the item's text";
    return nullptr;
}

std::string Menus::pathOf(const MenuItem* item) const
{
    std::string path = item->text;
    for (const MenuGroup* g = item->group; g; g = g->parent ? g->parent->group : nullptr) {
        path = (g->parent ? g->parent->text : g->name) + " > " + path;
        if (!g->parent) break;
    }
    return path;
}

ASErr Menus::send(MenuItem* item, const char* selector)
{
    AIMenuMessage message{};
    message.menuItem = handle(item);
    return Host::current().send(item->plugin, kCallerAIMenu, selector, &message.d);
}

ASErr Menus::update(MenuItem* item)
{
    if (!item || !item->plugin || !(item->options & kMenuItemWantsUpdateOption)) return kNoErr;
    return send(item, kSelectorAIUpdateMenuItem);
}

ASErr Menus::updateAll()
{
    ASErr result = kNoErr;
    // By index: an update may add items.
    for (size_t i = 0; i < items_.size(); ++i) {
        ASErr e = update(items_[i].get());
        if (e != kNoErr && result == kNoErr) result = e;
    }
    return result;
}

ASErr Menus::choose(MenuItem* item, std::string& error)
{
    update(item);
    if (!item->enabled) {
        error = "the menu item \"" + pathOf(item) + "\" is greyed out";
        return kSPBadParameterError;
    }
    if (!item->plugin) return kNoErr;
    return send(item, kSelectorAIGoMenuItem);
}

// ---- "AI Menu Suite" ---------------------------------------------------------------------

namespace {

std::string textOf(AIUnicodeStringRef ref)
{
    auto& u = suiteTable<AIUnicodeStringSuite>();
    size_t length = 0;
    if (!ref || u.GetUTF8Length(ref, &length) != kNoErr) return {};
    std::string text(length + 1, '\0');
    if (u.GetUTF8(ref, text.data(), text.size()) != kNoErr) return {};
    text.resize(std::strlen(text.c_str()));
    return text;
}

ASErr setEnabled(AIMenuItemHandle handle, bool enabled)
{
    MenuItem* i = menus().item(handle);
    if (!i) return kSPBadParameterError;
    i->enabled = enabled;
    return kNoErr;
}

struct MenuOps {
    using Suite = AIMenuSuite;

    static ASErr AddMenuItem(SPPluginRef self, const char* key, const AIPlatformAddMenuItemDataUS* data,
                             ASInt32 options, AIMenuItemHandle* menuItem)
    {
        if (!self || !key || !data || !data->groupName) return kSPBadParameterError;
        std::string error;
        MenuItem* item = menus().addItem(self, key, data->groupName, textOf(data->itemText.ref()), options, error);
        if (!item) {
            Host::current().out() << "vantorel-host: AddMenuItem \"" << key << "\": " << error << "\n";
            return kSPBadParameterError;
        }
        if (menuItem) *menuItem = Menus::handle(item);
        return kNoErr;
    }

    static ASErr AddMenuGroupAsSubMenu(const char* name, ASInt32 options, AIMenuItemHandle parentItem,
                                       AIMenuGroup* group)
    {
        if (!name) return kSPBadParameterError;
        std::string error;
        MenuGroup* g = menus().addSubGroup(name, options, menus().item(parentItem), error);
        if (!g) {
            Host::current().out() << "vantorel-host: AddMenuGroupAsSubMenu \"" << name << "\": " << error << "\n";
            return kSPBadParameterError;
        }
        if (group) *group = Menus::handle(g);
        return kNoErr;
    }

    static ASErr GetMenuItemKeyName(AIMenuItemHandle handle, const char** key)
    {
        MenuItem* i = menus().item(handle);
        if (!i || !key) return kSPBadParameterError;
        *key = i->key.c_str();
        return kNoErr;
    }

    static ASErr EnableItem(AIMenuItemHandle handle) { return setEnabled(handle, true); }

    static ASErr DisableItem(AIMenuItemHandle handle) { return setEnabled(handle, false); }

    static ASErr IsItemEnabled(AIMenuItemHandle handle, AIBoolean* enabled)
    {
        MenuItem* i = menus().item(handle);
        if (!i || !enabled) return kSPBadParameterError;
        *enabled = i->enabled;
        return kNoErr;
    }

    static ASErr SetItemText(AIMenuItemHandle handle, AIUnicodeStringRef text)
    {
        MenuItem* i = menus().item(handle);
        if (!i || !text) return kSPBadParameterError;
        i->text = textOf(text);
        return kNoErr;
    }

    static ASErr GetItemText(AIMenuItemHandle handle, AIUnicodeStringRef* text)
    {
        MenuItem* i = menus().item(handle);
        if (!i || !text) return kSPBadParameterError;
        return suiteTable<AIUnicodeStringSuite>().Initialize(text, i->text.c_str());
    }
};

SuiteInstaller installer(installOps<MenuOps>);

}  // namespace
}  // namespace vt::host
