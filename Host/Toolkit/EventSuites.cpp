// "ADM Notifier Suite" and "ADM Tracker Suite": what a notification is about
// and what the pointer and the keyboard did.
#include <cstring>

#include "Toolkit/SuiteOps.h"

namespace vt::host::toolkit {
namespace {

struct NotifierOps {
    using Suite = ADMNotifierSuite;

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
    using Suite = ADMTrackerSuite;

    static void GetPoint(ADMTrackerRef tracker, ADMPoint* point)
    {
        TRACKER_OR();
        if (point) *point = t->point.narrow();
    }

    static ADMAction GetAction(ADMTrackerRef tracker) { return getField(tracker, &Tracker::action, __func__); }

    static ASBoolean TestAction(ADMTrackerRef tracker, ADMAction action)
    {
        TRACKER_OR(false);
        return t->action == action;
    }

    static ADMModifiers GetModifiers(ADMTrackerRef tracker) { return getField(tracker, &Tracker::modifiers, __func__); }

    static ASBoolean TestModifier(ADMTrackerRef tracker, ADMModifiers modifier)
    {
        TRACKER_OR(false);
        return (t->modifiers & modifier) != 0;
    }

    static ADMTime GetTime(ADMTrackerRef tracker) { return getField(tracker, &Tracker::time, __func__); }
    static void Abort(ADMTrackerRef tracker) { setField(tracker, &Tracker::aborted, true, __func__); }
    static ASBoolean GetMouseState(ADMTrackerRef tracker) { return getField(tracker, &Tracker::mouseDown, __func__); }
    static ADMUInt16 GetCharacter(ADMTrackerRef tracker) { return getField(tracker, &Tracker::character, __func__); }
};

SuiteInstaller installer(installOps<NotifierOps, TrackerOps>);

}  // namespace
}  // namespace vt::host::toolkit
