// A stand-in host without a plug-in, for tests of the dialog toolkit itself:
// the suites are called straight from their tables.
#pragma once

#include <sstream>

#include "HostFixture.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Driver.h"

namespace vt::test {

class ToolkitTest : public ::testing::Test {
protected:
    ToolkitTest()
    {
        host::HostOptions options;
        options.pluginFolder = dir_.file("Plug-ins");
        options.out = &out_;
        host_ = std::make_unique<host::Host>(options);
    }

    host::toolkit::Toolkit& tk() { return host::toolkit::Toolkit::get(); }
    ADMDialogSuite& D() { return host::suiteTable<ADMDialogSuite>(); }
    ADMItemSuite& I() { return host::suiteTable<ADMItemSuite>(); }
    ADMListSuite& L() { return host::suiteTable<ADMListSuite>(); }
    ADMEntrySuite& E() { return host::suiteTable<ADMEntrySuite>(); }
    ADMDrawerSuite& Dr() { return host::suiteTable<ADMDrawerSuite>(); }
    ADMTrackerSuite& T() { return host::suiteTable<ADMTrackerSuite>(); }
    ADMNotifierSuite& N() { return host::suiteTable<ADMNotifierSuite>(); }
    ADMBasicSuite& B() { return host::suiteTable<ADMBasicSuite>(); }

    // A floating dialog to put items in.
    ADMDialogRef floating(const char* name = "Test Dialog")
    {
        return D().Create(nullptr, name, 1, kADMFloatingDialogStyle, nullptr, nullptr, 0);
    }
    static ADMRect rect(int x, int y, int w, int h)
    {
        return ADMRect{static_cast<ASInt16>(y), static_cast<ASInt16>(x), static_cast<ASInt16>(y + h),
                       static_cast<ASInt16>(x + w)};
    }
    ADMItemRef make(ADMDialogRef d, ASInt32 id, const char* type, int x = 0, int y = 0, int w = 100, int h = 20)
    {
        ADMRect r = rect(x, y, w, h);
        return I().Create(d, id, type, &r, nullptr, nullptr, 0);
    }
    host::toolkit::Driver driver(ADMDialogRef d)
    {
        return host::toolkit::Driver(tk(), reinterpret_cast<host::toolkit::Dialog*>(d));
    }

    TempDir dir_;
    std::ostringstream out_;
    std::unique_ptr<host::Host> host_;
};

}  // namespace vt::test
