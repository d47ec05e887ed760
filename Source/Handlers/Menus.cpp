// The plug-in's menu items: About in the Help menu, and a submenu under the
// export group with Plotter Setup, Plot Out, the command-palette toggle and the
// device panel. Plot Out is enabled only while the current plotter in the
// preferences is complete, the device panel only when that plotter has one.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
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

static ASErr addItem(const char* key, const char* group, const char* text, int32_t options,
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
    if (item == g->menuPlotterSetup) {
        goPlotterSetup();
    } else if (item == g->menuPlotOut) {
        goPlotOut(message);
    } else if (item == g->menuPreProcess) {
        // Before the application has started there is no palette to show.
        if (g->preProcessPanel != NULL)
            sADMDialog->Show(g->preProcessPanel, !sADMDialog->IsVisible(g->preProcessPanel));
    } else if (item == g->menuAbout) {
        SPInterfaceMessage about;
        memset(&about, 0, sizeof about);
        about.d = message->d;
        goAbout(&about);
    } else if (item == g->menuVLCD) {
        goVLCDDialog();
    }
    return kNoErr;
}

// ---- The current plotter, as far as Plot Out needs it ----------------------------

// Reloads the current plotter, its environment and pens from the preferences;
// 1 when every entry Plot Out needs is there.
static uint8_t reloadCurrentPlotter(void)
{
    Plotter* p = &g->curPlotter;
    Environment* e = &g->curEnvironment;
    AIBoolean special = 0;
    char key[64];

    p->PlotterName[0] = 0;
    p->Environments = NULL;
    p->PlotterEnvNumber = 0;
    if (!readPlotterString("PlotterName", p->PlotterName, sizeof p->PlotterName, 1)) return 0;
    if (!readPlotterString("PlotterManufactory", p->PlotterManufactory, sizeof p->PlotterManufactory, 1)) return 0;
    if (sAIPreference->GetBooleanPreference(kPlotterPrefix, "IsSpecialMachine", &special)) return 0;
    p->IsSpecialMachine = special;
    if (!readPlotterString("PlotterIni", p->PlotterIniString, sizeof p->PlotterIniString, 0)) return 0;
    if (!readPlotterString("PlotterEnd", p->PlotterEndString, sizeof p->PlotterEndString, 0)) return 0;

    p->PlotterSizeX = p->PlotterSizeY = p->PlotterStep = 0.0;
    if (!readPlotterReal("PlotterSizeX", &p->PlotterSizeX, 1)) return 0;
    if (!readPlotterReal("PlotterSizeY", &p->PlotterSizeY, 1)) return 0;
    if (!readPlotterReal("PlotterStep", &p->PlotterStep, 1)) return 0;

    p->Language = p->PlotterOrigin = -1;
    if (!readPlotterInteger("PlotterOrigin", &p->PlotterOrigin) || p->PlotterOrigin == -1) return 0;
    if (!readPlotterInteger("PlotterLanguage", &p->Language) || p->Language == -1) return 0;

    if (!readPlotterString("EnvironmentName", e->EnvironmentName, sizeof e->EnvironmentName, 1)) return 0;

    free(e->Pens);
    e->Pens = NULL;
    if (!readPlotterInteger("EnvironmentPenNum", &e->PenNumber) || e->PenNumber == 0) return 0;
    // A negative or absurd count comes from a damaged preference file, and a
    // pen array that cannot be allocated leaves no pens to cut with.
    if (e->PenNumber < 0 || e->PenNumber > kMaxPenCount) return 0;
    e->Pens = (Pen*)calloc((size_t)e->PenNumber, sizeof(Pen));
    if (e->Pens == NULL) return 0;
    for (int32_t i = 0; i < e->PenNumber; ++i) {
        Pen* pen = &e->Pens[i];
        snprintf(key, sizeof key, "PenName-%d", (int)i);
        if (!readPlotterString(key, pen->PenName, sizeof pen->PenName, 1)) return 0;
        snprintf(key, sizeof key, "PenVelocity-%d", (int)i);
        if (!readPlotterReal(key, &pen->Velocity, 0)) return 0;
        snprintf(key, sizeof key, "PenExtra-%d", (int)i);
        if (!readPlotterReal(key, &pen->Extra, 0)) return 0;
        snprintf(key, sizeof key, "PenPressure-%d", (int)i);
        if (!readPlotterReal(key, &pen->Pressure, 0)) return 0;
    }
    return 1;
}

ASErr updateMenuItem(AIMenuMessage* message)
{
    AIMenuItemHandle item = message->menuItem;
    if (item == NULL) return kNoErr;
    if (item == g->menuVLCD) {
        // The capability word is tested whatever the load gave: a failed load
        // leaves the value of an earlier read (0 before any).
        checkData(0);
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
        if (reloadCurrentPlotter()) {
            g->curPlotterValid = 1;
            sMenu->EnableItem(item);
        } else {
            free(g->curEnvironment.Pens);
            g->curEnvironment.Pens = NULL;
            g->curPlotterValid = 0;
            sMenu->DisableItem(item);
        }
    }
    return kNoErr;
}
