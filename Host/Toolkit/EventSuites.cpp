// "ADM Notifier Suite" and "ADM Tracker Suite": what a notification is about
// and what the pointer and the keyboard did.
#include <cstring>

#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {
namespace {

Toolkit& tk() { return Toolkit::get(); }

#define NOTIFIER_OR(ret)                            \
    Notifier* n = tk().notifier(notifier, __func__); \
    if (!n) return ret
#define TRACKER_OR(ret)                          \
    Tracker* t = tk().tracker(tracker, __func__); \
    if (!t) return ret

struct NotifierOps {
    static ADMItemRef GetItem(ADMNotifierRef notifier)
    {
        NOTIFIER_OR(nullptr);
        return n->item ? ref(n->item) : nullptr;
    }

    static ADMDialogRef GetDialog(ADMNotifierRef notifier)
    {
        NOTIFIER_OR(nullptr);
        return n->dialog ? ref(n->dialog) : nullptr;
    }

    static ASBoolean IsNotifierType(ADMNotifierRef notifier, const char* type)
    {
        NOTIFIER_OR(false);
        return type != nullptr && n->type == type;
    }

    static void GetNotifierType(ADMNotifierRef notifier, char* type, ASInt32 maxLength)
    {
        NOTIFIER_OR();
        copyText(n->type, type, maxLength);
    }
};

struct TrackerOps {
    static void GetPoint(ADMTrackerRef tracker, ADMPoint* point)
    {
        TRACKER_OR();
        if (point) *point = t->point;
    }

    static ADMAction GetAction(ADMTrackerRef tracker)
    {
        TRACKER_OR(0);
        return t->action;
    }

    static ASBoolean TestAction(ADMTrackerRef tracker, ADMAction action)
    {
        TRACKER_OR(false);
        return t->action == action;
    }

    static ADMModifiers GetModifiers(ADMTrackerRef tracker)
    {
        TRACKER_OR(0);
        return t->modifiers;
    }

    static ASBoolean TestModifier(ADMTrackerRef tracker, ADMModifiers modifier)
    {
        TRACKER_OR(false);
        return (t->modifiers & modifier) != 0;
    }

    static ADMTime GetTime(ADMTrackerRef tracker)
    {
        TRACKER_OR(0);
        return t->time;
    }

    static void Abort(ADMTrackerRef tracker)
    {
        TRACKER_OR();
        t->aborted = true;
    }

    static ASBoolean GetMouseState(ADMTrackerRef tracker)
    {
        TRACKER_OR(false);
        return t->mouseDown;
    }

    static ADMUInt16 GetCharacter(ADMTrackerRef tracker)
    {
        TRACKER_OR(0);
        return t->character;
    }
};

SuiteInstaller installer([] {
    installOps<ADMNotifierSuite, NotifierOps>();
    installOps<ADMTrackerSuite, TrackerOps>();
});

}  // namespace
}  // namespace vt::host::toolkit
