// The dialog toolkit: numeric items, radio groups, modal dialogs answered by
// queued actions, notifications, tracking, lists and the clock.
#include "Toolbox.h"
#include "ToolkitFixture.h"

using namespace vt;
using host::toolkit::Driver;

namespace {

class ToolkitValues : public test::ToolkitTest {};

// A value typed by the user in display units, held in points as a float.
struct TypedValue {
    const char* name;
    ADMUnits units;
    int precision;
    const char* typed;
    float points;
    const char* shown;
};

const TypedValue kTyped[] = {
    {"millimetres", kADMMillimeterUnits, 2, "100", 283.46457f, "100.00 mm"},
    {"inches", kADMInchUnits, 2, "4", 288.0f, "4.00 in"},
    {"points", kADMPointUnits, 1, "30", 30.0f, "30.0 pt"},
    {"bare number", kADMNoUnits, 0, "1234", 1234.0f, "1234"},
    {"unit written after the number", kADMMillimeterUnits, 3, "1 in", 72.0f, "25.400 mm"},
    {"step of 0.025 mm", kADMMillimeterUnits, 5, "0.025", 0.070866142f, "0.02500 mm"},
    {"negative offset", kADMMillimeterUnits, 3, "-2.5", -7.0866141f, "-2.500 mm"},
};

TEST_F(ToolkitValues, TypedValuesAreHeldInPointsAndShownInUnits)
{
    for (const auto& row : kTyped) {
        SCOPED_TRACE(row.name);
        ADMDialogRef d = floating();
        ADMItemRef item = make(d, 5, kADMSpinEditType);
        I().SetUnits(item, row.units);
        I().SetPrecision(item, row.precision);
        Driver user = driver(d);
        std::string error;
        ASSERT_TRUE(user.type(5, row.typed, error)) << error;
        EXPECT_NEAR(I().GetFloatValue(item), row.points, 1e-4);
        char text[64];
        I().GetText(item, text, sizeof text);
        EXPECT_STREQ(text, row.shown);
        D().Destroy(d);
    }
}

TEST_F(ToolkitValues, ValuesStayWithinTheLimits)
{
    ADMDialogRef d = floating();
    ADMItemRef size = make(d, 14, kADMSpinEditType);
    I().SetUnits(size, kADMMillimeterUnits);
    I().SetMinFloatValue(size, 0.0f);
    I().SetMaxFloatValue(size, 185768.52f);  // 65535 mm
    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.type(14, "70000", error)) << error;
    EXPECT_FLOAT_EQ(I().GetFloatValue(size), 185768.52f);
    ASSERT_TRUE(user.type(14, "-3", error)) << error;
    EXPECT_FLOAT_EQ(I().GetFloatValue(size), 0.0f);

    // A value set by the plug-in beyond the maximum is kept at the maximum.
    ADMItemRef adjust = make(d, 68, kADMSpinEditType);
    I().SetMinFloatValue(adjust, -7.1574807f);
    I().SetMaxFloatValue(adjust, 7.1574807f);
    I().SetFloatValue(adjust, 283.46457f);
    EXPECT_FLOAT_EQ(I().GetFloatValue(adjust), 7.1574807f);

    // A maximum set below the present value pulls the value down.
    I().SetMaxFloatValue(size, 10.0f);
    EXPECT_FLOAT_EQ(I().GetFloatValue(size), 0.0f);
    I().SetFloatValue(size, 50.0f);
    EXPECT_FLOAT_EQ(I().GetFloatValue(size), 10.0f);
}

TEST_F(ToolkitValues, TextThatIsNoNumberIsRefusedAndTheValueKept)
{
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 3, kADMTextEditType);
    I().SetUnits(item, kADMMillimeterUnits);
    I().SetFloatValue(item, 283.46457f);
    Driver user = driver(d);
    std::string error;
    EXPECT_TRUE(user.type(3, "ten", error));
    EXPECT_FLOAT_EQ(I().GetFloatValue(item), 283.46457f);
    EXPECT_NE(out_.str().find("refused \"ten\""), std::string::npos);
}

TEST_F(ToolkitValues, SpinArrowsStepByTheIncrements)
{
    ADMDialogRef d = floating();
    ADMItemRef spin = make(d, 12, kADMSpinEditType);
    I().SetMinIntValue(spin, 0);
    I().SetMaxIntValue(spin, 9);
    I().SetSmallIncrement(spin, 1);
    I().SetLargeIncrement(spin, 5);
    I().SetIntValue(spin, 8);
    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.spin(12, 3, false, error)) << error;
    EXPECT_EQ(I().GetIntValue(spin), 9);
    ASSERT_TRUE(user.spin(12, -1, true, error)) << error;
    EXPECT_EQ(I().GetIntValue(spin), 4);
    // Its text is typed into an edit; its arrows are picture buttons.
    EXPECT_STREQ(I().GetItemType(I().GetChildItem(spin, kADMSpinEditTextEditChildID)), kADMTextEditType);
    for (ASInt32 arrow : {kADMSpinEditUpButtonChildID, kADMSpinEditDownButtonChildID})
        EXPECT_STREQ(I().GetItemType(I().GetChildItem(spin, arrow)), kADMPicturePushButtonType);
}

TEST_F(ToolkitValues, ASpinEditGivenAnEmptyTextShowsNothingUntilItsValueIsSet)
{
    ADMDialogRef d = floating();
    ADMItemRef gap = make(d, 33, kADMSpinEditType);
    I().SetUnits(gap, kADMMillimeterUnits);
    I().SetSmallIncrement(gap, 2.8346458f);
    I().SetFloatValue(gap, 8.5039374f);  // 3 mm
    I().SetText(gap, "");
    char text[64];
    I().GetText(gap, text, sizeof text);
    EXPECT_STREQ(text, "") << "nothing shown";
    EXPECT_FLOAT_EQ(I().GetFloatValue(gap), 8.5039374f) << "the value is kept under it";
    // An arrow steps from the value kept, and the value shows again.
    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.spin(33, 1, false, error)) << error;
    I().GetText(gap, text, sizeof text);
    EXPECT_STREQ(text, "4.00 mm");
    I().SetText(gap, "");
    I().SetFloatValue(gap, 2.8346458f);
    I().GetText(gap, text, sizeof text);
    EXPECT_STREQ(text, "1.00 mm") << "a value set shows again";
}

class ToolkitItems : public test::ToolkitTest {};

// A handle the plug-in kept after its object went: every operation answers
// as for nothing there, changes nothing, and names itself in the report.
TEST_F(ToolkitItems, AStaleHandleReadsAsZeroSetsNothingAndIsReportedByOperation)
{
    ADMDialogRef d = floating();
    ADMItemRef kept = make(d, 1, kADMSpinEditType);
    I().SetMinIntValue(kept, 5);
    ADMItemRef stale = make(d, 2, kADMTextEditType);
    I().SetMinIntValue(stale, 3);  // the handle last found live, just before it goes
    I().Destroy(stale);

    testing::internal::CaptureStderr();
    I().SetUserData(stale, reinterpret_cast<ADMUserData>(1));
    I().SetMinIntValue(stale, 9);
    I().SetPictureID(stale, 7);
    EXPECT_EQ(I().GetID(stale), 0);
    EXPECT_FALSE(I().IsVisible(stale));
    EXPECT_EQ(I().GetMinIntValue(stale), 0);
    EXPECT_EQ(I().GetUserData(stale), nullptr);
    std::string report = testing::internal::GetCapturedStderr();

    EXPECT_NE(report.find("SetMinIntValue: stale or unknown item handle"), std::string::npos) << report;
    EXPECT_NE(report.find("GetID: stale or unknown item handle"), std::string::npos) << report;
    EXPECT_EQ(I().GetMinIntValue(kept), 5);
    EXPECT_EQ(tk().pictureIds.count(7), 0u);
    // The item that went is the one the dialog let go, and the other stays.
    const auto& items = reinterpret_cast<host::toolkit::Dialog*>(d)->items;
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].get(), reinterpret_cast<host::toolkit::Item*>(kept));
    D().Destroy(d);
}

TEST_F(ToolkitItems, RadioButtonsMadeOneAfterAnotherExcludeEachOther)
{
    ADMDialogRef d = floating();
    ADMItemRef a = make(d, 65, kADMPictureRadioButtonType);
    ADMItemRef b = make(d, 66, kADMPictureRadioButtonType);
    ADMItemRef c = make(d, 67, kADMPictureRadioButtonType);
    make(d, 68, kADMPicturePushButtonType);
    ADMItemRef other = make(d, 70, kADMTextRadioButtonType);
    I().SetBooleanValue(other, true);
    I().SetBooleanValue(c, true);

    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.click(65, error)) << error;
    EXPECT_TRUE(I().GetBooleanValue(a));
    EXPECT_FALSE(I().GetBooleanValue(b));
    EXPECT_FALSE(I().GetBooleanValue(c));
    EXPECT_TRUE(I().GetBooleanValue(other));  // another group

    // Turning one on from the plug-in turns the others off too.
    I().SetBooleanValue(b, true);
    EXPECT_FALSE(I().GetBooleanValue(a));
    // Clicking a radio that is on leaves it on.
    ASSERT_TRUE(user.click(66, error)) << error;
    EXPECT_TRUE(I().GetBooleanValue(b));
}

TEST_F(ToolkitItems, CheckBoxesToggleAndInactiveItemsRefuseClicks)
{
    ADMDialogRef d = floating();
    ADMItemRef box = make(d, 8, kADMTextCheckBoxType);
    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.click(8, error)) << error;
    EXPECT_TRUE(I().GetBooleanValue(box));
    ASSERT_TRUE(user.click(8, error)) << error;
    EXPECT_FALSE(I().GetBooleanValue(box));
    I().Enable(box, false);
    EXPECT_FALSE(user.click(8, error));
    EXPECT_EQ(error, "item 8 is disabled");
    EXPECT_FALSE(user.click(99, error));
}

TEST_F(ToolkitItems, TwoItemsWithOneIdAreBothKept)
{
    ADMDialogRef d = floating();
    ADMItemRef icon = make(d, 3, kADMTextStaticType);
    ADMItemRef text = make(d, 3, kADMTextStaticType);
    ASSERT_NE(icon, text);
    EXPECT_EQ(D().GetItem(d, 3), icon);
    EXPECT_EQ(tk().findDialog("Test Dialog")->items.size(), 2u);
    EXPECT_EQ(make(d, 4, "ADM No Such Type"), nullptr);
}

// ---- Modal dialogs ----

class ToolkitModal : public test::ToolkitTest {};

ASErr endWithOne(ADMItemRef item, ADMNotifierRef notifier)
{
    auto& N = host::suiteTable<ADMNotifierSuite>();
    auto& I = host::suiteTable<ADMItemSuite>();
    if (N.IsNotifierType(notifier, kADMUserChangedNotifier))
        host::suiteTable<ADMDialogSuite>().EndModal(I.GetDialog(item), 1, false);
    I.DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr okCancelInit(ADMDialogRef dialog)
{
    auto& I = host::suiteTable<ADMItemSuite>();
    ADMRect r{0, 0, 20, 80};
    ADMItemRef ok = I.Create(dialog, 1, kADMTextPushButtonType, &r, nullptr, nullptr, 0);
    I.SetNotifyProc(ok, endWithOne);
    host::suiteTable<ADMDialogSuite>().SetCancelItemID(dialog, 7);
    return kNoErr;
}

TEST_F(ToolkitModal, QueuedActionsAnswerTheDialogOfTheirName)
{
    tk().queueDialog("Pen Dialog", {[](Driver& user, std::string& error) { return user.click(1, error); }});
    EXPECT_EQ(D().Modal(nullptr, "Other Dialog", 1, 0, okCancelInit, nullptr, 0), 7);
    EXPECT_EQ(D().Modal(nullptr, "Pen Dialog", 1, 0, okCancelInit, nullptr, 0), 1);
    ASSERT_EQ(tk().modalLog.size(), 2u);
    EXPECT_FALSE(tk().modalLog[0].answered);
    EXPECT_TRUE(tk().modalLog[1].answered);
    EXPECT_TRUE(tk().dialogs().empty());
}

TEST_F(ToolkitModal, AnUnansweredDialogEndsAsACancelAndIsReported)
{
    ASErr (*bare)(ADMDialogRef) = [](ADMDialogRef) -> ASErr { return kNoErr; };
    EXPECT_EQ(D().Modal(nullptr, "Bare Dialog", 1, 0, bare, nullptr, 0), 2);
    EXPECT_NE(out_.str().find("\"Bare Dialog\" was not answered; closed as a cancel with result 2"), std::string::npos);
}

TEST_F(ToolkitModal, AFailingActionIsRecordedAndTheDialogStillEnds)
{
    tk().queueDialog("Pen Dialog", {[](Driver& user, std::string& error) { return user.click(42, error); },
                                    [](Driver& user, std::string& error) { return user.click(1, error); }});
    EXPECT_EQ(D().Modal(nullptr, "Pen Dialog", 1, 0, okCancelInit, nullptr, 0), 7);
    ASSERT_EQ(tk().failures.size(), 1u);
    EXPECT_NE(tk().failures[0].find("has no item 42"), std::string::npos);
}

// A modal dialog opened from a button of another one takes its own answers.
ASErr openNested(ADMItemRef item, ADMNotifierRef notifier)
{
    auto& D = host::suiteTable<ADMDialogSuite>();
    if (host::suiteTable<ADMNotifierSuite>().IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ASInt32 inner = D.Modal(nullptr, "Inner Dialog", 2, 0, okCancelInit, nullptr, 0);
        D.EndModal(host::suiteTable<ADMItemSuite>().GetDialog(item), 100 + inner, false);
    }
    return kNoErr;
}

TEST_F(ToolkitModal, NestedDialogsAreAnsweredFromTheirOwnQueues)
{
    ASErr (*outerInit)(ADMDialogRef) = [](ADMDialogRef dialog) -> ASErr {
        ADMRect r{0, 0, 20, 80};
        ADMItemRef b = host::suiteTable<ADMItemSuite>().Create(dialog, 4, kADMTextPushButtonType, &r, nullptr, nullptr, 0);
        host::suiteTable<ADMItemSuite>().SetNotifyProc(b, openNested);
        return kNoErr;
    };
    tk().queueDialog("Outer Dialog", {[](Driver& user, std::string& error) { return user.click(4, error); }});
    tk().queueDialog("Inner Dialog", {[](Driver& user, std::string& error) { return user.click(1, error); }});
    EXPECT_EQ(D().Modal(nullptr, "Outer Dialog", 1, 0, outerInit, nullptr, 0), 101);
}

// ---- Driving a modal dialog from code ----

ASErr failingInit(ADMDialogRef) { return 'Init'; }

TEST_F(ToolkitModal, DrivingADialogFromCodeReturnsWhatHappened)
{
    using Opener = std::function<bool(std::string&)>;
    auto penDialog = [](ADMDialogInitProc init) -> Opener {
        return [init](std::string&) {
            host::suiteTable<ADMDialogSuite>().Modal(nullptr, "Pen Dialog", 1, 0, init, nullptr, 0);
            return true;
        };
    };
    auto click = [](ASInt32 id) -> host::toolkit::DialogAction {
        return [id](Driver& user, std::string& error) { return user.click(id, error); };
    };
    struct Row {
        const char* shows;
        Opener open;
        std::vector<host::toolkit::DialogAction> actions;
        bool opened;
        ASInt32 result;
        bool cancelled;
        const char* openError;
        size_t alerts;
        const char* failure;  // part of the one failure expected, or null
    } rows[] = {
        {"an answered dialog", penDialog(okCancelInit), {click(1)}, true, 1, false, "", 0, nullptr},
        {"a failing action, taken from the toolkit", penDialog(okCancelInit), {click(42), click(1)}, true, 7, true, "", 0,
         "has no item 42"},
        {"an unanswered dialog", penDialog(okCancelInit), {}, true, 7, true, "", 0, nullptr},
        {"a failing init: never shown", penDialog(failingInit), {click(1)}, false, -1, true, "", 0, nullptr},
        {"an opener that cannot open it",
         [](std::string& error) {
             error = "the menu item is greyed out";
             return false;
         },
         {click(1)}, false, 0, false, "the menu item is greyed out", 0, nullptr},
        {"an opener that shows an alert instead",
         [](std::string&) {
             host::Host::current().alert("error", "The plotter is incomplete.");
             return true;
         },
         {click(1)}, false, 0, false, "", 1, nullptr},
        {"an opener that fails without a word",
         [](std::string&) { return false; }, {}, false, 0, false, "\"Pen Dialog\" could not be opened", 0, nullptr},
    };
    for (Row& row : rows) {
        tk().queueDialog("Other Dialog", {click(1)});
        tk().failures.push_back("an earlier failure");
        host::toolkit::ModalOutcome outcome = tk().driveModal("Pen Dialog", std::move(row.actions), row.open);
        EXPECT_EQ(outcome.name, "Pen Dialog") << row.shows;
        EXPECT_EQ(outcome.opened, row.opened) << row.shows;
        EXPECT_EQ(outcome.result, row.result) << row.shows;
        EXPECT_EQ(outcome.cancelled, row.cancelled) << row.shows;
        EXPECT_EQ(outcome.openError, row.openError) << row.shows;
        EXPECT_EQ(outcome.alerts.size(), row.alerts) << row.shows;
        if (row.failure) {
            ASSERT_EQ(outcome.failures.size(), 1u) << row.shows;
            EXPECT_NE(outcome.failures[0].find(row.failure), std::string::npos) << outcome.failures[0];
        } else {
            EXPECT_TRUE(outcome.failures.empty()) << row.shows << ": " << outcome.failures.front();
        }
        EXPECT_EQ(outcome.clean(), row.opened && !row.failure && !row.alerts && !*row.openError) << row.shows;
        // The answer never taken is taken back; what others queued or failed stays.
        EXPECT_EQ(tk().queuedFor("Pen Dialog"), 0u) << row.shows;
        EXPECT_EQ(tk().queuedFor("Other Dialog"), 1u) << row.shows;
        EXPECT_EQ(tk().failures, std::vector<std::string>{"an earlier failure"}) << row.shows;
        tk().clearQueues();
        tk().failures.clear();
    }
}

TEST_F(ToolkitModal, ADialogDrivenFromCodeTakesAnAnswerQueuedBeforeItsOwn)
{
    // The older answer is used first, as for any dialog; the driven one's
    // own answer is taken back unused.
    tk().queueDialog("Pen Dialog", {[](Driver& user, std::string& error) { return user.click(1, error); }});
    host::toolkit::ModalOutcome outcome = tk().driveModal(
        "Pen Dialog", {[](Driver& user, std::string& error) { return user.click(42, error); }}, [](std::string&) {
            host::suiteTable<ADMDialogSuite>().Modal(nullptr, "Pen Dialog", 1, 0, okCancelInit, nullptr, 0);
            return true;
        });
    EXPECT_TRUE(outcome.clean());
    EXPECT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(tk().queuedFor("Pen Dialog"), 0u);
}

// ---- Notifications and tracking ----

class ToolkitEvents : public test::ToolkitTest {};

std::vector<std::string> g_seen;

ASErr recordDialogNotify(ADMDialogRef dialog, ADMNotifierRef notifier)
{
    char type[64];
    host::suiteTable<ADMNotifierSuite>().GetNotifierType(notifier, type, sizeof type);
    ADMItemRef item = host::suiteTable<ADMNotifierSuite>().GetItem(notifier);
    g_seen.push_back(std::string(type) + (item ? " item " + std::to_string(host::suiteTable<ADMItemSuite>().GetID(item)) : " dialog"));
    return kNoErr;
}

TEST_F(ToolkitEvents, ItemNotificationsReachTheDialogThroughTheDefaultHandling)
{
    g_seen.clear();
    ADMDialogRef d = floating();
    D().SetNotifyProc(d, recordDialogNotify);
    ADMItemRef list = make(d, 11, kADMListBoxType);
    I().SendNotify(list, "Update Command List Notifier");
    D().SendNotify(d, "Korvel ToolSplit Selected!");
    ADMRect moved{10, 10, 50, 50};
    I().SetBoundsRect(list, &moved);
    std::vector<std::string> expected = {"Update Command List Notifier item 11", "Korvel ToolSplit Selected! dialog",
                                         "ADM Bounds Changed Notifier item 11"};
    EXPECT_EQ(g_seen, expected);
}

TEST_F(ToolkitEvents, ResizingKeepsTheMinimumAndTheIncrementsAndTellsTheDialog)
{
    g_seen.clear();
    ASErr (*init)(ADMDialogRef) = [](ADMDialogRef dialog) -> ASErr {
        auto& D = host::suiteTable<ADMDialogSuite>();
        ADMRect b{0, 0, 637, 840};
        D.SetBoundsRect(dialog, &b);
        D.SetMinWidth(dialog, 840);
        D.SetMinHeight(dialog, 587);
        D.SetHorizontalIncrement(dialog, 20);
        D.SetVerticalIncrement(dialog, 20);
        D.SetNotifyProc(dialog, recordDialogNotify);
        return kNoErr;
    };
    tk().queueDialog("Plot Out Dialog", {[](Driver& user, std::string& error) {
                                             if (!user.resize(700, 500, error)) return false;
                                             return user.resize(905, 650, error);
                                         },
                                         [](Driver& user, std::string& error) {
                                             ADMRect r;
                                             host::suiteTable<ADMDialogSuite>().GetLocalRect(ref(user.dialog()), &r);
                                             EXPECT_EQ(r.right, 900);
                                             EXPECT_EQ(r.bottom, 647);
                                             return true;
                                         }});
    D().Modal(nullptr, "Plot Out Dialog", 121, kADMResizingModalDialogStyle, init, nullptr, 0);
    std::vector<std::string> expected = {"ADM Bounds Changed Notifier dialog", "ADM Bounds Changed Notifier dialog"};
    EXPECT_EQ(g_seen, expected);
}

// Double clicks as the plotter lists detect them: two presses less than 500
// ticks apart on the same pixel.
ADMTime g_lastTime = 0;
ADMPoint g_lastPoint{-1, -1};
int g_doubleClicks = 0;

ASBoolean listTrack(ADMEntryRef entry, ADMTrackerRef tracker)
{
    auto& T = host::suiteTable<ADMTrackerSuite>();
    ASBoolean handled = host::suiteTable<ADMEntrySuite>().DefaultTrack(entry, tracker);
    if (T.GetAction(tracker) != kADMButtonDownAction) return handled;
    ADMPoint p;
    T.GetPoint(tracker, &p);
    ADMTime now = T.GetTime(tracker);
    if (now - g_lastTime < 500 && p.h == g_lastPoint.h && p.v == g_lastPoint.v) {
        ++g_doubleClicks;
        T.Abort(tracker);
        handled = true;
    }
    g_lastTime = now;
    g_lastPoint = p;
    return handled;
}

TEST_F(ToolkitEvents, ListEntriesAreChosenTrackedAndDoubleClicked)
{
    g_doubleClicks = 0;
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 3, kADMListBoxType, 5, 15, 165, 206);
    ADMListRef list = I().GetList(item);
    L().SetEntryHeight(list, 20);
    L().SetTrackProc(list, listTrack);
    const char* names[] = {"Cutter A", "Cutter B", "Cutter C"};
    for (int i = 0; i < 3; ++i) {
        ADMEntryRef e = L().InsertEntry(list, i);
        E().SetText(e, names[i]);
        E().SetID(e, 10 + i);
    }
    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.choose(3, "Cutter B", error)) << error;
    ADMEntryRef active = L().GetActiveEntry(list);
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(E().GetIndex(active), 1);
    EXPECT_EQ(g_doubleClicks, 0);  // a moment passed since nothing

    ADMPoint p{10, 45};
    ASSERT_TRUE(user.doubleClick(3, p, 0, error)) << error;
    EXPECT_EQ(g_doubleClicks, 1);
    EXPECT_EQ(E().GetIndex(L().GetActiveEntry(list)), 2);

    ASInt32 index;
    ADMPoint far{10, 65};
    EXPECT_EQ(L().PickEntry(list, &far, &index), nullptr);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(E().GetID(L().PickEntry(list, &p, &index)), 12);
    EXPECT_EQ(index, 2);
    // A double click below the last entry (the list is 206 pixels high, its
    // entries 60) hits none: nothing is chosen or opened.
    ASSERT_TRUE(user.doubleClick(3, far, 0, error)) << error;
    EXPECT_EQ(g_doubleClicks, 1);
    EXPECT_EQ(E().GetIndex(L().GetActiveEntry(list)), 2);

    L().RemoveEntry(list, 0);
    EXPECT_EQ(L().NumberOfEntries(list), 2);
    EXPECT_EQ(E().GetIndex(L().GetEntry(list, 12)), 1);
}

TEST_F(ToolkitEvents, PopupsHaveOneChosenEntry)
{
    ADMDialogRef d = floating();
    ADMItemRef popup = make(d, 19, kADMPopupListType);
    ADMListRef list = I().GetList(popup);
    const int ids[] = {0, 175, 250};
    for (int id : ids) {
        ADMEntryRef e = L().InsertEntry(list, -1);
        E().SetID(e, id);
        E().SetText(e, std::to_string(id).c_str());
    }
    E().Select(L().IndexEntry(list, 1), true);
    EXPECT_EQ(E().GetID(L().GetActiveEntry(list)), 175);
    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.choose(19, "id=250", error)) << error;
    EXPECT_EQ(E().GetID(L().GetActiveEntry(list)), 250);
    EXPECT_FALSE(E().IsSelected(L().IndexEntry(list, 1)));
    EXPECT_FALSE(user.choose(19, "id=300", error));
}

ADMUInt16 g_key = 0;
ADMModifiers g_keyModifiers = 0;

TEST_F(ToolkitEvents, KeyStrokesReachTheDialogOnlyWhenItAsksForThem)
{
    g_key = 0;
    ADMDialogRef d = floating();
    D().SetTrackProc(d, [](ADMDialogRef, ADMTrackerRef t) -> ASBoolean {
        auto& T = host::suiteTable<ADMTrackerSuite>();
        if (T.TestAction(t, kADMKeyStrokeAction)) {
            g_key = T.GetCharacter(t);
            g_keyModifiers = T.GetModifiers(t);
        }
        return false;
    });
    Driver user = driver(d);
    std::string error;
    ASSERT_TRUE(user.key(26, kADMControlKeyModifier, error));
    EXPECT_EQ(g_key, 0);
    D().SetMask(d, D().GetMask(d) | 0x80000040u);
    ASSERT_TRUE(user.key(26, kADMControlKeyModifier | kADMShiftKeyModifier, error));
    EXPECT_EQ(g_key, 26);
    EXPECT_EQ(g_keyModifiers, static_cast<ADMModifiers>(0x60));
}

TEST_F(ToolkitEvents, TheClockIsVirtual)
{
    uint32_t start = TickCount();
    uint32_t after = 0;
    Delay(25, &after);
    EXPECT_EQ(after, start + 25);
    EXPECT_EQ(TickCount(), start + 25);
}

TEST_F(ToolkitEvents, TheScreenAndFileDialogsAreAnsweredByTheScript)
{
    ADMRect screen;
    B().GetScreenDimensions(&screen);
    EXPECT_EQ(screen.right, 1024);
    EXPECT_EQ(screen.bottom, 768);

    SPPlatformFileSpecification chosen;
    EXPECT_FALSE(B().StandardPutFileDialog("Save", nullptr, nullptr, "Temp.HPGL", &chosen));
    tk().fileAnswers.push_back(std::string("/tmp/out.hpgl"));
    tk().fileAnswers.push_back(std::nullopt);
    EXPECT_TRUE(B().StandardPutFileDialog("Save", nullptr, nullptr, "Temp.HPGL", &chosen));
    EXPECT_STREQ(chosen.path, "/tmp/out.hpgl");
    EXPECT_FALSE(B().StandardGetFileDialog("Load plotter...", nullptr, nullptr, "*.INI", &chosen));

    ADMRGBColor in{0x1212, 0x3434, 0x5656}, out{};
    tk().colorAnswers.push_back(ADMRGBColor{0xFFFF, 0, 0x8080});
    EXPECT_TRUE(B().ChooseColor(ADMPoint{0, 0}, &in, &out));
    EXPECT_EQ(out.red, 0xFFFF);
    EXPECT_FALSE(B().ChooseColor(ADMPoint{0, 0}, &in, &out));
    EXPECT_EQ(out.green, 0x3434);
}

}  // namespace
