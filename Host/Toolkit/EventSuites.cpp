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

ADMItemRef getItem(ADMNotifierRef notifier)
{
    NOTIFIER_OR(nullptr);
    return n->item ? ref(n->item) : nullptr;
}
ADMDialogRef getDialog(ADMNotifierRef notifier)
{
    NOTIFIER_OR(nullptr);
    return n->dialog ? ref(n->dialog) : nullptr;
}
ASBoolean isNotifierType(ADMNotifierRef notifier, const char* type)
{
    NOTIFIER_OR(false);
    return type != nullptr && n->type == type;
}
void getNotifierType(ADMNotifierRef notifier, char* type, ASInt32 maxLength)
{
    NOTIFIER_OR();
    copyText(n->type, type, maxLength);
}

void getPoint(ADMTrackerRef tracker, ADMPoint* point)
{
    TRACKER_OR();
    if (point) *point = t->point;
}
ADMAction getAction(ADMTrackerRef tracker)
{
    TRACKER_OR(0);
    return t->action;
}
ASBoolean testAction(ADMTrackerRef tracker, ADMAction action)
{
    TRACKER_OR(false);
    return t->action == action;
}
ADMModifiers getModifiers(ADMTrackerRef tracker)
{
    TRACKER_OR(0);
    return t->modifiers;
}
ASBoolean testModifier(ADMTrackerRef tracker, ADMModifiers modifier)
{
    TRACKER_OR(false);
    return (t->modifiers & modifier) != 0;
}
ADMTime getTime(ADMTrackerRef tracker)
{
    TRACKER_OR(0);
    return t->time;
}
void abortTracker(ADMTrackerRef tracker)
{
    TRACKER_OR();
    t->aborted = true;
}
ASBoolean getMouseState(ADMTrackerRef tracker)
{
    TRACKER_OR(false);
    return t->mouseDown;
}
ADMUInt16 getCharacter(ADMTrackerRef tracker)
{
    TRACKER_OR(0);
    return t->character;
}

SuiteInstaller installer([] {
    auto& n = suiteTable<ADMNotifierSuite>();
    n.GetItem = getItem;
    n.GetDialog = getDialog;
    n.IsNotifierType = isNotifierType;
    n.GetNotifierType = getNotifierType;

    auto& t = suiteTable<ADMTrackerSuite>();
    t.GetPoint = getPoint;
    t.GetAction = getAction;
    t.TestAction = testAction;
    t.GetModifiers = getModifiers;
    t.TestModifier = testModifier;
    t.GetTime = getTime;
    t.Abort = abortTracker;
    t.GetMouseState = getMouseState;
    t.GetCharacter = getCharacter;
});

}  // namespace
}  // namespace vt::host::toolkit
