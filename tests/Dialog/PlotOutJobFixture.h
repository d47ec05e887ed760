// The plug-in's dialogs driven as a user would, and a Plot Out dialog on a
// small loaded job: three rectangles on two layers in two colours, a 600 x
// 1000 mm plotter with two pens.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/PlotOutDialog.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "HostFixture.h"
#include "Menus/Menus.h"
#include "Toolkit/Driver.h"

namespace vt::test {

// Once loaded, in job millimetres: A 0..20 x 0..10 and B 40..50 x 20..40 on
// "Top", C 100..130 x 5..15 on "Bottom"; A and C red, B blue.
inline const char* kPlotOutThreeRects =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <g id="Bottom"><rect id="C" x="110" y="75" width="30" height="10" fill="#ff0000"/></g>
  <g id="Top">
    <rect id="B" x="50" y="50" width="10" height="20" fill="#0000ff"/>
    <rect id="A" x="10" y="80" width="20" height="10" fill="#ff0000"/>
  </g>
</svg>)";

// A session whose dialogs are driven as a user would: a menu item chosen with
// the steps for the dialog it opens queued beforehand.
class DialogTest : public HostTest {
protected:
    using DialogAction = host::toolkit::DialogAction;
    using Driver = host::toolkit::Driver;

    // Loads svg as the current document, with all its art selected unless not
    // asked to.
    void openJob(const char* svg = kPlotOutThreeRects, bool selectAll = true)
    {
        std::string error;
        auto doc = host::readSvgText(host::documents(), svg, "job.svg", error);
        ASSERT_TRUE(doc) << error;
        host::Document* d = doc.get();
        host::documents().adopt(std::move(doc));
        if (selectAll)
            for (host::LayerNode* l : d->layers())
                for (host::ArtNode* a : l->root->children) d->setSelected(a, true);
    }

    // Chooses the menu item with these actions queued for the dialog it opens.
    void chooseMenu(const char* menu, const char* dialog, std::vector<DialogAction> actions)
    {
        host::toolkit::Toolkit::get().queueDialog(dialog, std::move(actions));
        std::string error;
        host::MenuItem* item = host::menus().find(menu, error);
        ASSERT_NE(item, nullptr) << error;
        host::menus().choose(item, error);
        EXPECT_EQ(error, "");
        host::toolkit::Toolkit::get().clearQueues();
        auto& failures = host::toolkit::Toolkit::get().failures;
        EXPECT_TRUE(failures.empty()) << failures.front();
    }
    // Chooses Plot Out from the menu with these actions queued for it.
    void plotOut(std::vector<DialogAction> actions)
    {
        chooseMenu("Plot Out Menu", kPlotOutDialog.name, std::move(actions));
    }

    static DialogAction click(int id)
    {
        return [id](Driver& user, std::string& error) { return user.click(id, error); };
    }
    static DialogAction type(int id, const std::string& text)
    {
        return [id, text](Driver& user, std::string& error) { return user.type(id, text, error); };
    }
    static DialogAction choose(int id, const std::string& entry)
    {
        return [id, entry](Driver& user, std::string& error) { return user.choose(id, entry, error); };
    }
    static DialogAction press(int id, int h, int v)
    {
        return [=](Driver& user, std::string& error) { return user.press(id, point(h, v), 0, error); };
    }
    static DialogAction drag(int h, int v)
    {
        return [=](Driver& user, std::string& error) { return user.drag(point(h, v), 0, error); };
    }
    static DialogAction release(int h, int v)
    {
        return [=](Driver& user, std::string& error) { return user.release(point(h, v), 0, error); };
    }
    static DialogAction wait(uint32_t ticks)
    {
        return [=](Driver& user, std::string&) {
            user.wait(ticks, 0);
            return true;
        };
    }
    // A step of the test itself while the dialog is open.
    static DialogAction check(std::function<void()> f)
    {
        return [f](Driver&, std::string&) {
            f();
            return true;
        };
    }
    static DialogAction check(std::function<void(Driver&)> f)
    {
        return [f](Driver& user, std::string&) {
            f(user);
            return true;
        };
    }
    // Runs f with the dialog's toolkit record.
    static DialogAction inDialog(std::function<void(host::toolkit::Dialog&)> f)
    {
        return [f](Driver& user, std::string&) {
            f(*user.dialog());
            return true;
        };
    }
    static ADMPoint point(int h, int v) { return ADMPoint{static_cast<ASInt16>(h), static_cast<ASInt16>(v)}; }

    const std::vector<host::AlertRecord>& alerts() { return hostApp().alerts(); }
};

class PlotOutJobTest : public DialogTest {
protected:
    void SetUp() override
    {
        startSession();
        putPlotter();
        openJob(kPlotOutThreeRects);
    }

    // The current plotter, 600 mm wide, with the pens "Blade" (80 g, 30
    // cm/s, 0.25 mm) and "Pen" (120 g, 10 cm/s, 0.5 mm); pens overrides.
    void putPlotter(std::vector<Pen> pens = {})
    {
        CurrentPlotterPrefs stored;
        stored.plotter.PlotterSizeX = 600;
        stored.plotter.PlotterSizeY = 1000;
        if (pens.empty()) {
            Pen second = stored.pens[0];
            snprintf(second.PenName, sizeof second.PenName, "%s", "Pen");
            second.Pressure = 120;
            second.Velocity = 10;
            second.Extra = 0.5;
            stored.pens.push_back(second);
        } else {
            stored.pens = pens;
        }
        stored.environment.PenNumber = static_cast<int32_t>(stored.pens.size());
        stored.put(hostApp().prefs());
    }

    // The volume loaded from the rectangle with this left edge (the loaded
    // order is the art tree's, and packing reorders).
    static Volume& volumeAt(double loadedLeft)
    {
        for (int32_t i = 0; i < g->volumeCount; i++)
            if (std::fabs(g->volumes[i].loadRect[0] - loadedLeft) < 0.01) return g->volumes[i];
        ADD_FAILURE() << "no volume loaded at " << loadedLeft;
        return g->volumes[0];
    }
    static void selectOnly(std::initializer_list<double> loadedLefts)
    {
        for (int32_t i = 0; i < g->volumeCount; i++) g->volumes[i].flags &= ~(uint32_t)kVolumeSelected;
        for (double l : loadedLefts) volumeAt(l).flags |= kVolumeSelected;
    }
};

}  // namespace vt::test
