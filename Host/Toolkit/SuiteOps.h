// What the toolkit's suite files share: the toolkit itself, and the first
// line of every operation that takes a handle, which looks the object up (a
// stale or unknown handle is reported under the operation's name) or returns
// `ret` at once. The handle parameter is named as the toolkit's lookup is
// (item, list, entry, dialog, drawer, notifier, tracker).
// Internal to the suite files.
#pragma once

#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {

inline Toolkit& tk() { return Toolkit::get(); }

// The object a handle names, found as the toolkit finds it for the operation
// `op` (a stale or unknown handle is reported under that name).
inline Item* lookup(ADMItemRef r, const char* op) { return tk().item(r, op); }
inline List* lookup(ADMListRef r, const char* op) { return tk().list(r, op); }
inline Entry* lookup(ADMEntryRef r, const char* op) { return tk().entry(r, op); }
inline Dialog* lookup(ADMDialogRef r, const char* op) { return tk().dialog(r, op); }
inline Drawer* lookup(ADMDrawerRef r, const char* op) { return tk().drawer(r, op); }
inline Notifier* lookup(ADMNotifierRef r, const char* op) { return tk().notifier(r, op); }
inline Tracker* lookup(ADMTrackerRef r, const char* op) { return tk().tracker(r, op); }

// The operations that only read or set one field of the object: a stale
// handle reads as zero and sets nothing. Call them with __func__ as `op`.
template <typename Ref, typename Object, typename T>
T getField(Ref ref, T Object::*field, const char* op)
{
    Object* o = lookup(ref, op);
    return o ? o->*field : T{};
}

template <typename Ref, typename Object, typename T, typename V>
void setField(Ref ref, T Object::*field, V value, const char* op)
{
    if (Object* o = lookup(ref, op)) o->*field = value;
}

// The toolkit's own drawing and tracking of an item or a list entry, with the
// drawer or tracker the plug-in passed (found under the same operation name).
template <typename Ref>
void defaultDraw(Ref ref, ADMDrawerRef drawer, const char* op)
{
    auto* o = lookup(ref, op);
    if (!o) return;
    if (Drawer* d = tk().drawer(drawer, op)) tk().drawDefault(o, *d);
}

template <typename Ref>
ASBoolean defaultTrack(Ref ref, ADMTrackerRef tracker, const char* op)
{
    auto* o = lookup(ref, op);
    if (!o) return false;
    Tracker* t = tk().tracker(tracker, op);
    return t ? tk().defaultTrack(o, *t) : false;
}

// Sets a field that shows, so that the item is drawn again.
template <typename T, typename V>
void setFieldAndInvalidate(ADMItemRef ref, T Item::*field, V value, const char* op)
{
    if (Item* i = lookup(ref, op)) {
        i->*field = value;
        tk().invalidate(i);
    }
}

}  // namespace vt::host::toolkit

#define VT_LOOKUP_OR(Type, var, handle, ret)   \
    Type* var = tk().handle(handle, __func__); \
    if (!var) return ret

#define ITEM_OR(ret) VT_LOOKUP_OR(Item, i, item, ret)
#define LIST_OR(ret) VT_LOOKUP_OR(List, l, list, ret)
#define ENTRY_OR(ret) VT_LOOKUP_OR(Entry, e, entry, ret)
#define DIALOG_OR(ret) VT_LOOKUP_OR(Dialog, d, dialog, ret)
#define DRAWER_OR(ret) VT_LOOKUP_OR(Drawer, d, drawer, ret)
#define NOTIFIER_OR(ret) VT_LOOKUP_OR(Notifier, n, notifier, ret)
#define TRACKER_OR(ret) VT_LOOKUP_OR(Tracker, t, tracker, ret)
