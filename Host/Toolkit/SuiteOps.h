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
