// The plug-in's menu items: About in the Help menu, and a submenu under the
// export group with Plotter Setup, Plot Out, the command-palette toggle and the
// device panel. Plot Out is enabled only while the current plotter in the
// preferences is complete, the device panel only when that plotter has one.
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/PlotterPreferences.h"
#include "Dialog/About.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotterSetup.h"
#include "Dialog/VLCDDialog.h"
#include "Handlers/Handlers.h"

#define kMenuSubGroupName "Korvel Menu Group By Ulmaren & Brannock"
enum { kMenuTextSize = 255 };

static void getMenuText(int32_t index, char* text)
{
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, index, text, kMenuTextSize);
}

VT_NODISCARD static ASErr addItem(const char* key, const char* group, const char* text, int32_t options,
                                  AIMenuItemHandle* handle)
{
    try {
        AIPlatformAddMenuItemDataUS data = {group, ai::UnicodeString(text)};
        return sMenu->AddMenuItem(g->pluginRef, key, &data, options, handle);
    } catch (const ai::Error& error) {
        return error.code();
    }
}

ASErr addMenu(SPInterfaceMessage* message)
{
    char text[kMenuTextSize];
    AIMenuItemHandle groupItem = NULL;
    AIMenuGroup group = NULL;

    ASErr error = addItem("Plotter Setup Menu", "Help Menu", "Vantorel", kMenuItemWantsUpdateOption, &g->menuAbout);
    if (error == kNoErr) {
        getMenuText(25, text);
        error = addItem("Korvel Menu Group", "Export Document", text, 0, &groupItem);
    }
    if (error == kNoErr) {
        sMenu->AddMenuGroupAsSubMenu(kMenuSubGroupName, 0, groupItem, &group);
        getMenuText(21, text);
        error = addItem("Plotter Setup Menu", kMenuSubGroupName, text, kMenuItemWantsUpdateOption,
                        &g->menuPlotterSetup);
    }
    if (error == kNoErr) {
        getMenuText(22, text);
        error = addItem("Plot Out Menu", kMenuSubGroupName, text, kMenuItemWantsUpdateOption, &g->menuPlotOut);
    }
    if (error == kNoErr) {
        getMenuText(23, text);
        error = addItem("Korvel Tools Menu", kMenuSubGroupName, text, kMenuItemWantsUpdateOption,
                        &g->menuPreProcess);
    }
    if (error == kNoErr)
        error = addItem("Korvel Tools Menu", kMenuSubGroupName, "VLCD Setting...", kMenuItemWantsUpdateOption,
                        &g->menuVLCD);
    return error;
}

ASErr goMenuItem(AIMenuMessage* message)
{
    AIMenuItemHandle item = message->menuItem;
    if (item == NULL) return kNoErr;
    // Each command tells the user itself what went wrong, in its own alert;
    // the host only hears that the item was handled.
    if (item == g->menuPlotterSetup) {
        (void)goPlotterSetup();
    } else if (item == g->menuPlotOut) {
        (void)goPlotOut(message);
    } else if (item == g->menuPreProcess) {
        // Before the application has started there is no palette to show.
        if (g->preProcessPanel != NULL)
            sADMDialog->Show(g->preProcessPanel, !sADMDialog->IsVisible(g->preProcessPanel));
    } else if (item == g->menuAbout) {
        SPInterfaceMessage about;
        memset(&about, 0, sizeof about);
        about.d = message->d;
        (void)goAbout(&about);
    } else if (item == g->menuVLCD) {
        (void)goVLCDDialog();
    }
    return kNoErr;
}

// ---- The current plotter, as far as Plot Out needs it ----------------------------

// Reloads the current plotter, its environment and pens from the preferences;
// 1 when every entry Plot Out needs is there.
static uint8_t reloadCurrentPlotter(void)
{
    return readCurrentPlotterPreferences(&g->curPlotter, &g->curEnvironment, kPlotterPrefMenuRead);
}

ASErr updateMenuItem(AIMenuMessage* message)
{
    AIMenuItemHandle item = message->menuItem;
    if (item == NULL) return kNoErr;
    if (item == g->menuVLCD) {
        // The capability word is tested whatever the load gave: a failed load
        // leaves the value of an earlier read (0 before any).
        (void)checkData(0);
        if (g->curPlotter.PlotterReserved & kPlotterDevicePanelBit)
            sMenu->EnableItem(item);
        else
            sMenu->DisableItem(item);
    } else if (item == g->menuPreProcess) {
        char text[kMenuTextSize];
        uint8_t visible = g->preProcessPanel != NULL && sADMDialog->IsVisible(g->preProcessPanel);
        getMenuText(visible ? 24 : 23, text);
        try {
            ai::UnicodeString itemText(text);
            sMenu->SetItemText(item, itemText.ref());
        } catch (const ai::Error&) {
            // The text stays as it was.
        }
    } else if (item == g->menuPlotOut) {
        // A refused plotter leaves no pens behind.
        g->curPlotterValid = reloadCurrentPlotter();
        if (g->curPlotterValid)
            sMenu->EnableItem(item);
        else
            sMenu->DisableItem(item);
    }
    return kNoErr;
}
