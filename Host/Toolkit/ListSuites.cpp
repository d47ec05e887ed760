// "ADM List Suite" and "ADM Entry Suite": the entries of list boxes and popups.
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {
namespace {

Toolkit& tk() { return Toolkit::get(); }

#define LIST_OR(ret)                      \
    List* l = tk().list(list, __func__); \
    if (!l) return ret
#define ENTRY_OR(ret)                        \
    Entry* e = tk().entry(entry, __func__); \
    if (!e) return ret

// ---- List ----

ADMItemRef getItem(ADMListRef list)
{
    LIST_OR(nullptr);
    return ref(l->item);
}
ADMUserData getUserData(ADMListRef list)
{
    LIST_OR(nullptr);
    return l->userData;
}
void setUserData(ADMListRef list, ADMUserData data)
{
    LIST_OR();
    l->userData = data;
}
void setInitProc(ADMListRef list, ADMEntryInitProc p)
{
    LIST_OR();
    l->initProc = p;
}
void setDrawProc(ADMListRef list, ADMEntryDrawProc p)
{
    LIST_OR();
    l->drawProc = p;
    tk().invalidate(l->item);
}
void setTrackProc(ADMListRef list, ADMEntryTrackProc p)
{
    LIST_OR();
    l->trackProc = p;
}
void setNotifyProc(ADMListRef list, ADMEntryNotifyProc p)
{
    LIST_OR();
    l->notifyProc = p;
}
void setDestroyProc(ADMListRef list, ADMEntryDestroyProc p)
{
    LIST_OR();
    l->destroyProc = p;
}
void setMask(ADMListRef list, ADMActionMask mask)
{
    LIST_OR();
    l->mask = mask;
}
ADMActionMask getMask(ADMListRef list)
{
    LIST_OR(0);
    return l->mask;
}
ASErr setMenuID(ADMListRef list, SPPluginRef plugin, ASInt32 menuResID)
{
    LIST_OR(kBadParameterErr);
    std::vector<std::pair<ASInt32, std::string>> entries;
    if (!tk().loadMenu(menuResID, entries)) {
        tk().report("no menu resource " + std::to_string(menuResID));
        return kBadParameterErr;
    }
    while (!l->entries.empty()) tk().removeEntry(l, static_cast<int>(l->entries.size()) - 1);
    for (auto& [id, text] : entries) {
        Entry* e = tk().insertEntry(l, -1);
        e->id = id;
        e->text = text;
    }
    l->menuId = menuResID;
    return kNoErr;
}
ASInt32 getMenuID(ADMListRef list)
{
    LIST_OR(0);
    return l->menuId;
}
void setEntryWidth(ADMListRef list, ASInt32 w)
{
    LIST_OR();
    l->entryWidth = w;
}
ASInt32 getEntryWidth(ADMListRef list)
{
    LIST_OR(0);
    return l->entryWidth > 0 ? l->entryWidth : l->item->width();
}
void setEntryHeight(ADMListRef list, ASInt32 h)
{
    LIST_OR();
    l->entryHeight = h > 0 ? h : 1;
}
ASInt32 getEntryHeight(ADMListRef list)
{
    LIST_OR(0);
    return l->entryHeight;
}
ADMEntryRef insertEntry(ADMListRef list, ASInt32 index)
{
    LIST_OR(nullptr);
    return ref(tk().insertEntry(l, index));
}
void removeEntry(ADMListRef list, ASInt32 index)
{
    LIST_OR();
    tk().removeEntry(l, index);
}
void removeAllEntries(ADMListRef list)
{
    LIST_OR();
    while (!l->entries.empty()) tk().removeEntry(l, static_cast<int>(l->entries.size()) - 1);
}
ASInt32 numberOfEntries(ADMListRef list)
{
    LIST_OR(0);
    return static_cast<ASInt32>(l->entries.size());
}
ADMEntryRef indexEntry(ADMListRef list, ASInt32 index)
{
    LIST_OR(nullptr);
    if (index < 0 || index >= static_cast<ASInt32>(l->entries.size())) return nullptr;
    return ref(l->entries[index].get());
}
ADMEntryRef getEntry(ADMListRef list, ASInt32 entryID)
{
    LIST_OR(nullptr);
    for (auto& e : l->entries)
        if (e->id == entryID) return ref(e.get());
    return nullptr;
}
ADMEntryRef findEntry(ADMListRef list, const char* text)
{
    LIST_OR(nullptr);
    for (auto& e : l->entries)
        if (text && e->text == text) return ref(e.get());
    return nullptr;
}
ADMEntryRef pickEntry(ADMListRef list, const ADMPoint* point, ASInt32* index)
{
    LIST_OR(nullptr);
    if (index) *index = -1;
    if (!point || l->popup || point->v < 0 || point->h < 0) return nullptr;
    int width = l->entryWidth > 0 ? l->entryWidth : l->item->width();
    if (point->h >= width) return nullptr;
    int i = point->v / l->entryHeight;
    if (i >= static_cast<int>(l->entries.size())) return nullptr;
    if (index) *index = i;
    return ref(l->entries[i].get());
}
ADMEntryRef getActiveEntry(ADMListRef list)
{
    LIST_OR(nullptr);
    Entry* e = l->active();
    return e ? ref(e) : nullptr;
}
ASInt32 numberOfSelectedEntries(ADMListRef list)
{
    LIST_OR(0);
    ASInt32 n = 0;
    for (auto& e : l->entries) n += e->selected ? 1 : 0;
    return n;
}
ADMEntryRef indexSelectedEntry(ADMListRef list, ASInt32 selectionIndex)
{
    LIST_OR(nullptr);
    for (auto& e : l->entries)
        if (e->selected && selectionIndex-- == 0) return ref(e.get());
    return nullptr;
}
void deselectAll(ADMListRef list)
{
    LIST_OR();
    for (auto& e : l->entries) e->selected = false;
    if (l->popup)
        for (auto& e : l->entries) e->active = false;
    tk().invalidate(l->item);
}

// ---- Entry ----

ADMListRef entryList(ADMEntryRef entry)
{
    ENTRY_OR(nullptr);
    return ref(e->list);
}
ASInt32 getIndex(ADMEntryRef entry)
{
    ENTRY_OR(-1);
    return e->list->indexOf(e);
}
void setID(ADMEntryRef entry, ASInt32 id)
{
    ENTRY_OR();
    e->id = id;
}
ASInt32 getID(ADMEntryRef entry)
{
    ENTRY_OR(0);
    return e->id;
}
void entrySetUserData(ADMEntryRef entry, ADMUserData data)
{
    ENTRY_OR();
    e->userData = data;
}
ADMUserData entryGetUserData(ADMEntryRef entry)
{
    ENTRY_OR(nullptr);
    return e->userData;
}
void setText(ADMEntryRef entry, const char* text)
{
    ENTRY_OR();
    e->text = text ? text : "";
    tk().invalidate(e->list->item);
}
void getText(ADMEntryRef entry, char* text, ASInt32 maxLength)
{
    ENTRY_OR();
    copyText(e->text, text, maxLength);
}
void setPictureID(ADMEntryRef entry, ASInt32 id)
{
    ENTRY_OR();
    e->picture = id;
    if (id != 0) tk().pictureIds.insert(id);
    tk().invalidate(e->list->item);
}
ASInt32 getPictureID(ADMEntryRef entry)
{
    ENTRY_OR(0);
    return e->picture;
}
void setSelectedPictureID(ADMEntryRef entry, ASInt32 id)
{
    ENTRY_OR();
    e->selectedPicture = id;
    if (id != 0) tk().pictureIds.insert(id);
}
ASInt32 getSelectedPictureID(ADMEntryRef entry)
{
    ENTRY_OR(0);
    return e->selectedPicture;
}
// In a popup one entry is chosen: selecting it makes it the active one too.
void makeOnly(Entry* e, bool on)
{
    List* l = e->list;
    if (on)
        for (auto& other : l->entries)
            if (other.get() != e) other->selected = other->active = false;
    e->selected = e->active = on;
}
void select(ADMEntryRef entry, ASBoolean on)
{
    ENTRY_OR();
    if (e->list->popup)
        makeOnly(e, on != 0);
    else
        e->selected = on != 0;
    tk().invalidate(e->list->item);
}
ASBoolean isSelected(ADMEntryRef entry)
{
    ENTRY_OR(false);
    return e->selected;
}
void activate(ADMEntryRef entry, ASBoolean on)
{
    ENTRY_OR();
    if (e->list->popup) {
        makeOnly(e, on != 0);
    } else {
        if (on)
            for (auto& other : e->list->entries) other->active = false;
        e->active = on != 0;
    }
    tk().invalidate(e->list->item);
}
ASBoolean isActive(ADMEntryRef entry)
{
    ENTRY_OR(false);
    return e->active;
}
void enable(ADMEntryRef entry, ASBoolean on)
{
    ENTRY_OR();
    e->enabled = on != 0;
}
ASBoolean isEnabled(ADMEntryRef entry)
{
    ENTRY_OR(false);
    return e->enabled;
}
void getBoundsRect(ADMEntryRef entry, ADMRect* bounds)
{
    ENTRY_OR();
    if (!bounds) return;
    List* l = e->list;
    int i = l->indexOf(e);
    int w = l->entryWidth > 0 ? l->entryWidth : l->item->width();
    *bounds = ADMRect{static_cast<ASInt16>(i * l->entryHeight), 0, static_cast<ASInt16>((i + 1) * l->entryHeight),
                      static_cast<ASInt16>(w)};
}
void getLocalRect(ADMEntryRef entry, ADMRect* rect)
{
    ENTRY_OR();
    if (!rect) return;
    List* l = e->list;
    int w = l->entryWidth > 0 ? l->entryWidth : l->item->width();
    *rect = ADMRect{0, 0, static_cast<ASInt16>(l->entryHeight), static_cast<ASInt16>(w)};
}
void invalidate(ADMEntryRef entry)
{
    ENTRY_OR();
    tk().invalidate(e->list->item);
}
void defaultDraw(ADMEntryRef entry, ADMDrawerRef drawer)
{
    ENTRY_OR();
    Drawer* d = tk().drawer(drawer, "DefaultDraw");
    if (d) tk().drawDefault(e, *d);
}
ASBoolean defaultTrack(ADMEntryRef entry, ADMTrackerRef tracker)
{
    ENTRY_OR(false);
    Tracker* t = tk().tracker(tracker, "DefaultTrack");
    return t ? tk().defaultTrack(e, *t) : false;
}
// What an entry does not handle goes on to its list item.
void defaultNotify(ADMEntryRef entry, ADMNotifierRef notifier)
{
    ENTRY_OR();
    Notifier* n = tk().notifier(notifier, "DefaultNotify");
    if (!n) return;
    Item* item = e->list->item;
    if (item->notifyProc)
        item->notifyProc(ref(item), notifier);
    else
        tk().defaultNotify(item, *n);
}
void sendNotify(ADMEntryRef entry, const char* type)
{
    ENTRY_OR();
    tk().notify(e, type ? type : "");
}

SuiteInstaller installer([] {
    auto& s = suiteTable<ADMListSuite>();
    s.GetItem = getItem;
    s.GetUserData = getUserData;
    s.SetUserData = setUserData;
    s.SetInitProc = setInitProc;
    s.SetDrawProc = setDrawProc;
    s.SetTrackProc = setTrackProc;
    s.SetNotifyProc = setNotifyProc;
    s.SetDestroyProc = setDestroyProc;
    s.SetMask = setMask;
    s.GetMask = getMask;
    s.SetMenuID = setMenuID;
    s.GetMenuID = getMenuID;
    s.SetEntryWidth = setEntryWidth;
    s.GetEntryWidth = getEntryWidth;
    s.SetEntryHeight = setEntryHeight;
    s.GetEntryHeight = getEntryHeight;
    s.InsertEntry = insertEntry;
    s.RemoveEntry = removeEntry;
    s.RemoveAllEntries = removeAllEntries;
    s.NumberOfEntries = numberOfEntries;
    s.IndexEntry = indexEntry;
    s.GetEntry = getEntry;
    s.FindEntry = findEntry;
    s.PickEntry = pickEntry;
    s.GetActiveEntry = getActiveEntry;
    s.NumberOfSelectedEntries = numberOfSelectedEntries;
    s.IndexSelectedEntry = indexSelectedEntry;
    s.DeselectAll = deselectAll;

    auto& n = suiteTable<ADMEntrySuite>();
    n.GetList = entryList;
    n.GetIndex = getIndex;
    n.SetID = setID;
    n.GetID = getID;
    n.SetUserData = entrySetUserData;
    n.GetUserData = entryGetUserData;
    n.SetText = setText;
    n.GetText = getText;
    n.SetPictureID = setPictureID;
    n.GetPictureID = getPictureID;
    n.SetSelectedPictureID = setSelectedPictureID;
    n.GetSelectedPictureID = getSelectedPictureID;
    n.Select = select;
    n.IsSelected = isSelected;
    n.Activate = activate;
    n.IsActive = isActive;
    n.Enable = enable;
    n.IsEnabled = isEnabled;
    n.GetBoundsRect = getBoundsRect;
    n.GetLocalRect = getLocalRect;
    n.Invalidate = invalidate;
    n.DefaultDraw = defaultDraw;
    n.DefaultTrack = defaultTrack;
    n.DefaultNotify = defaultNotify;
    n.SendNotify = sendNotify;
});

}  // namespace
}  // namespace vt::host::toolkit
