// "ADM List Suite" and "ADM Entry Suite": the entries of list boxes and popups.
#include "Toolkit/SuiteOps.h"

namespace vt::host::toolkit {
namespace {

// In a popup one entry is chosen: selecting it makes it the active one too.
void makeOnly(Entry* e, bool on)
{
    List* l = e->list;
    if (on)
        for (auto& other : l->entries)
            if (other.get() != e) other->selected = other->active = false;
    e->selected = e->active = on;
}

struct ListOps {
    using Suite = ADMListSuite;

    static ADMItemRef GetItem(ADMListRef list)
    {
        LIST_OR(nullptr);
        return ref(l->item);
    }

    static ADMUserData GetUserData(ADMListRef list) { return getField(list, &List::userData, __func__); }
    static void SetUserData(ADMListRef list, ADMUserData data) { setField(list, &List::userData, data, __func__); }
    static void SetInitProc(ADMListRef list, ADMEntryInitProc p) { setField(list, &List::initProc, p, __func__); }

    static void SetDrawProc(ADMListRef list, ADMEntryDrawProc p)
    {
        LIST_OR();
        l->drawProc = p;
        tk().invalidate(l->item);
    }

    static void SetTrackProc(ADMListRef list, ADMEntryTrackProc p) { setField(list, &List::trackProc, p, __func__); }
    static void SetNotifyProc(ADMListRef list, ADMEntryNotifyProc p) { setField(list, &List::notifyProc, p, __func__); }

    static void SetDestroyProc(ADMListRef list, ADMEntryDestroyProc p)
    {
        setField(list, &List::destroyProc, p, __func__);
    }

    static void SetMask(ADMListRef list, ADMActionMask mask) { setField(list, &List::mask, mask, __func__); }
    static ADMActionMask GetMask(ADMListRef list) { return getField(list, &List::mask, __func__); }

    static ASErr SetMenuID(ADMListRef list, SPPluginRef plugin, ASInt32 menuResID)
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

    static ASInt32 GetMenuID(ADMListRef list) { return getField(list, &List::menuId, __func__); }
    static void SetEntryWidth(ADMListRef list, ASInt32 w) { setField(list, &List::entryWidth, w, __func__); }

    static ASInt32 GetEntryWidth(ADMListRef list)
    {
        LIST_OR(0);
        return l->entryWidth > 0 ? l->entryWidth : l->item->width();
    }

    static void SetEntryHeight(ADMListRef list, ASInt32 h)
    {
        setField(list, &List::entryHeight, h > 0 ? h : 1, __func__);
    }

    static ASInt32 GetEntryHeight(ADMListRef list) { return getField(list, &List::entryHeight, __func__); }

    static ADMEntryRef InsertEntry(ADMListRef list, ASInt32 index)
    {
        LIST_OR(nullptr);
        return ref(tk().insertEntry(l, index));
    }

    static void RemoveEntry(ADMListRef list, ASInt32 index)
    {
        LIST_OR();
        tk().removeEntry(l, index);
    }

    static void RemoveAllEntries(ADMListRef list)
    {
        LIST_OR();
        while (!l->entries.empty()) tk().removeEntry(l, static_cast<int>(l->entries.size()) - 1);
    }

    static ASInt32 NumberOfEntries(ADMListRef list)
    {
        LIST_OR(0);
        return static_cast<ASInt32>(l->entries.size());
    }

    static ADMEntryRef IndexEntry(ADMListRef list, ASInt32 index)
    {
        LIST_OR(nullptr);
        if (index < 0 || index >= static_cast<ASInt32>(l->entries.size())) return nullptr;
        return ref(l->entries[index].get());
    }

    static ADMEntryRef GetEntry(ADMListRef list, ASInt32 entryID)
    {
        LIST_OR(nullptr);
        for (auto& e : l->entries)
            if (e->id == entryID) return ref(e.get());
        return nullptr;
    }

    static ADMEntryRef FindEntry(ADMListRef list, const char* text)
    {
        LIST_OR(nullptr);
        for (auto& e : l->entries)
            if (text && e->text == text) return ref(e.get());
        return nullptr;
    }

    static ADMEntryRef PickEntry(ADMListRef list, const ADMPoint* point, ASInt32* index)
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

    static ADMEntryRef GetActiveEntry(ADMListRef list)
    {
        LIST_OR(nullptr);
        Entry* e = l->active();
        return e ? ref(e) : nullptr;
    }

    static ASInt32 NumberOfSelectedEntries(ADMListRef list)
    {
        LIST_OR(0);
        ASInt32 n = 0;
        for (auto& e : l->entries) n += e->selected ? 1 : 0;
        return n;
    }

    static ADMEntryRef IndexSelectedEntry(ADMListRef list, ASInt32 selectionIndex)
    {
        LIST_OR(nullptr);
        for (auto& e : l->entries)
            if (e->selected && selectionIndex-- == 0) return ref(e.get());
        return nullptr;
    }

    static void DeselectAll(ADMListRef list)
    {
        LIST_OR();
        for (auto& e : l->entries) e->selected = false;
        if (l->popup)
            for (auto& e : l->entries) e->active = false;
        tk().invalidate(l->item);
    }
};

struct EntryOps {
    using Suite = ADMEntrySuite;

    static ADMListRef GetList(ADMEntryRef entry)
    {
        ENTRY_OR(nullptr);
        return ref(e->list);
    }

    static ASInt32 GetIndex(ADMEntryRef entry)
    {
        ENTRY_OR(-1);
        return e->list->indexOf(e);
    }

    static void SetID(ADMEntryRef entry, ASInt32 id) { setField(entry, &Entry::id, id, __func__); }
    static ASInt32 GetID(ADMEntryRef entry) { return getField(entry, &Entry::id, __func__); }
    static void SetUserData(ADMEntryRef entry, ADMUserData data) { setField(entry, &Entry::userData, data, __func__); }
    static ADMUserData GetUserData(ADMEntryRef entry) { return getField(entry, &Entry::userData, __func__); }

    static void SetText(ADMEntryRef entry, const char* text)
    {
        ENTRY_OR();
        e->text = text ? text : "";
        tk().invalidate(e->list->item);
    }

    static void GetText(ADMEntryRef entry, char* text, ASInt32 maxLength)
    {
        ENTRY_OR();
        copyText(e->text, text, maxLength);
    }

    static void SetPictureID(ADMEntryRef entry, ASInt32 id)
    {
        ENTRY_OR();
        e->picture = id;
        if (id != 0) tk().pictureIds.insert(id);
        tk().invalidate(e->list->item);
    }

    static ASInt32 GetPictureID(ADMEntryRef entry) { return getField(entry, &Entry::picture, __func__); }

    static void SetSelectedPictureID(ADMEntryRef entry, ASInt32 id)
    {
        ENTRY_OR();
        e->selectedPicture = id;
        if (id != 0) tk().pictureIds.insert(id);
    }

    static ASInt32 GetSelectedPictureID(ADMEntryRef entry)
    {
        return getField(entry, &Entry::selectedPicture, __func__);
    }

    static void Select(ADMEntryRef entry, ASBoolean on)
    {
        ENTRY_OR();
        if (e->list->popup)
            makeOnly(e, on != 0);
        else
            e->selected = on != 0;
        tk().invalidate(e->list->item);
    }

    static ASBoolean IsSelected(ADMEntryRef entry) { return getField(entry, &Entry::selected, __func__); }

    static void Activate(ADMEntryRef entry, ASBoolean on)
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

    static ASBoolean IsActive(ADMEntryRef entry) { return getField(entry, &Entry::active, __func__); }
    static void Enable(ADMEntryRef entry, ASBoolean on) { setField(entry, &Entry::enabled, on != 0, __func__); }
    static ASBoolean IsEnabled(ADMEntryRef entry) { return getField(entry, &Entry::enabled, __func__); }

    static void GetBoundsRect(ADMEntryRef entry, ADMRect* bounds)
    {
        ENTRY_OR();
        if (!bounds) return;
        List* l = e->list;
        int i = l->indexOf(e);
        int w = l->entryWidth > 0 ? l->entryWidth : l->item->width();
        *bounds = ADMRect{static_cast<ASInt16>(i * l->entryHeight), 0, static_cast<ASInt16>((i + 1) * l->entryHeight),
                          static_cast<ASInt16>(w)};
    }

    static void GetLocalRect(ADMEntryRef entry, ADMRect* rect)
    {
        ENTRY_OR();
        if (!rect) return;
        List* l = e->list;
        int w = l->entryWidth > 0 ? l->entryWidth : l->item->width();
        *rect = ADMRect{0, 0, static_cast<ASInt16>(l->entryHeight), static_cast<ASInt16>(w)};
    }

    static void Invalidate(ADMEntryRef entry)
    {
        ENTRY_OR();
        tk().invalidate(e->list->item);
    }

    static void DefaultDraw(ADMEntryRef entry, ADMDrawerRef drawer) { defaultDraw(entry, drawer, __func__); }

    static ASBoolean DefaultTrack(ADMEntryRef entry, ADMTrackerRef tracker)
    {
        return defaultTrack(entry, tracker, __func__);
    }

    // What an entry does not handle goes on to its list item.
    static void DefaultNotify(ADMEntryRef entry, ADMNotifierRef notifier)
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

    static void SendNotify(ADMEntryRef entry, const char* type)
    {
        ENTRY_OR();
        tk().notify(e, type ? type : "");
    }
};

SuiteInstaller installer(installOps<ListOps, EntryOps>);

}  // namespace
}  // namespace vt::host::toolkit
