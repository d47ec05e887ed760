// Choosing the current plotter through the plug-in's own Plotter Setup dialog,
// driven the way a user would drive it: check the plotter, check the
// environment, OK. Used by `vantorel-host setup` and by commands that need a
// current plotter.
#include <memory>

#include "App.h"
#include "Dialog/PlotterSetup.h"
#include "ErrorText.h"
#include "Host.h"
#include "Menus/Menus.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Toolkit.h"

namespace vt::app {
namespace {

namespace tk = host::toolkit;

const char* const kSetupDialog = "Plotter Setup Dialog";
const char* const kPrefix = "Korvel-Ulmaren";
constexpr ASInt32 kCheckedPicture = 1004;
constexpr int kCheckColumn = 10;    // within the check picture (3 to 19)
constexpr int kOutsideCheck = 100;  // on the name: selects without touching the check

// Selects the entry named name in a check list (the first of that name; an
// empty name: the first entry) and makes sure it is checked. A click in the
// check column toggles, so an entry already checked is clicked on its name.
bool checkEntry(tk::Driver& driver, ASInt32 listId, const std::string& name, const std::string& missing,
                std::string& error)
{
    tk::Item* item = driver.find(listId, error);
    if (!item) return false;
    if (!item->list) {
        error = "item " + std::to_string(listId) + " is not a list";
        return false;
    }
    const auto& entries = item->list->entries;
    int index = -1;
    for (size_t i = 0; i < entries.size() && index < 0; ++i)
        if (name.empty() || entries[i]->text == name) index = static_cast<int>(i);
    if (index < 0) {
        error = missing;
        std::string names;
        for (const auto& e : entries) names += (names.empty() ? "" : ", ") + ("\"" + e->text + "\"");
        error += names.empty() ? " (the list is empty)" : " (it holds " + names + ")";
        return false;
    }
    bool checked = entries[index]->picture == kCheckedPicture;
    int height = item->list->entryHeight;
    tk::Point point{checked ? kOutsideCheck : kCheckColumn, index * height + height / 2};
    return driver.press(listId, point, 0, error) && driver.release(point, 0, error);
}

// The menu road: the plug-in's "Plotter Setup..." item in its own submenu
// (the About item in the Help menu shares its key), chosen as a user would.
bool openFromMenu(host::Session& session, std::string& error)
{
    host::MenuItem* found = nullptr;
    for (const auto& item : host::menus().items())
        if (item->plugin == session.plugin() && item->key == "Plotter Setup Menu" && item->group &&
            item->group->parent != nullptr)
            found = item.get();
    if (found == nullptr) {
        error = "the plug-in has no Plotter Setup menu item";
        return false;
    }
    ASErr result = host::menus().choose(found, error);
    if (result != kNoErr) {
        if (error.empty()) error = "the Plotter Setup menu item failed with error " + errorText(result);
        return false;
    }
    return true;
}

}  // namespace

PlotterSetupOpener& plotterSetupOpener()
{
    static PlotterSetupOpener opener = openFromMenu;
    return opener;
}

bool choosePlotter(host::Session& session, const std::string& plotter, const std::string& environment,
                   std::string& error)
{
    if (plotter.empty()) {
        error = "no plotter name given";
        return false;
    }
    tk::Toolkit& toolkit = tk::Toolkit::get();
    // What went wrong inside the dialog, in the user's words rather than the
    // driver's.
    auto problem = std::make_shared<std::string>();
    std::vector<tk::DialogAction> actions;
    actions.push_back([plotter, problem](tk::Driver& d, std::string& e) {
        bool ok = checkEntry(d, kPlotterSetupPlotterListItem, plotter,
                             "no plotter named \"" + plotter + "\" in the plotter library", e);
        if (!ok) *problem = e;
        return ok;
    });
    actions.push_back([plotter, environment, problem](tk::Driver& d, std::string& e) {
        bool ok = checkEntry(d, kPlotterSetupEnvironmentListItem, environment,
                             environment.empty()
                                 ? "the plotter \"" + plotter + "\" has no environment"
                                 : "the plotter \"" + plotter + "\" has no environment named \"" + environment + "\"",
                             e);
        if (!ok) *problem = e;
        return ok;
    });
    auto alertsBeforeOk = std::make_shared<size_t>(0);
    actions.push_back([alertsBeforeOk, &session](tk::Driver& d, std::string& e) {
        *alertsBeforeOk = session.host().alerts().size();
        return d.click(kPlotterSetupOKItem, e);
    });

    tk::ModalOutcome setup = toolkit.driveModal(kSetupDialog, std::move(actions), [&session](std::string& e) {
        return plotterSetupOpener()(session, e);
    });
    if (!setup.openError.empty()) {
        error = setup.openError;
        return false;
    }
    if (!setup.opened) {
        error = "the Plotter Setup dialog did not open";
        return false;
    }
    // The failure came back in the outcome, so a script going on after it does
    // not stop at the driver's copy; the caller hears it in the user's words.
    if (!problem->empty()) {
        error = *problem;
        // What the dialog said first (a library that cannot be read, say) is
        // the cause; the missing name only follows from it.
        if (!setup.alerts.empty()) error = setup.alerts.front() + " (" + error + ")";
        return false;
    }
    if (setup.result != 1) {
        error = "the Plotter Setup dialog did not accept \"" + plotter + "\"";
        if (!setup.alerts.empty()) error += ": " + setup.alerts.back();
        return false;
    }
    // The choice was taken, but something the dialog does on OK failed (the
    // library could not be saved, say): that is a failure of the run.
    const auto& alerts = session.host().alerts();
    for (size_t i = *alertsBeforeOk; i < alerts.size(); ++i)
        if (alerts[i].kind != "message") {
            error = alerts[i].text;
            return false;
        }
    std::string chosen;
    if (!session.host().prefs().getString(kPrefix, "PlotterName", &chosen) || chosen != plotter) {
        error = "the preferences do not hold \"" + plotter + "\" after the Plotter Setup dialog";
        return false;
    }
    return true;
}

}  // namespace vt::app
