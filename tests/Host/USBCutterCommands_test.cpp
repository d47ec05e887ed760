// The fake cutter's script commands: what they change, what they check, and
// how they word what they cannot use.
#include "HostFixture.h"
#include "USB/FakeBus.h"
#include "USB/FakeCutter.h"

using namespace vt;
using host::usb::CutterAnswer;

namespace {

class CutterCommands : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        cutter_ = host::usb::installFakeCutter(dir_.file("cutter.bin"), 1, 2);
    }
    void TearDown() override { host::usb::setBus(nullptr); }

    std::shared_ptr<host::usb::FakeCutter> cutter_;
};

TEST_F(CutterCommands, ChangeTheCutterAndCheckIt)
{
    std::string error;
    ASSERT_TRUE(runScript("cutter set pressure 200\n"
                          "expect-cutter pressure 200\n"
                          "cutter set model \"CX 24\"\n"
                          "expect-cutter model \"CX 24\"\n"
                          "cutter answer split\n"
                          "cutter stall on\n"
                          "expect-cutter-received OH; 0\n",
                          error))
        << error;
    EXPECT_EQ(cutter_->state().pressure, 200);
    EXPECT_EQ(cutter_->answer(), CutterAnswer::Split);
    EXPECT_TRUE(cutter_->stalled());

    ASSERT_TRUE(runScript("cutter stall off\ncutter answer normal\ncutter unplug\n", error)) << error;
    EXPECT_FALSE(cutter_->stalled());
    EXPECT_EQ(cutter_->answer(), CutterAnswer::Normal);
    EXPECT_FALSE(cutter_->plugged());
    EXPECT_TRUE(host::usb::currentBus()->devices().empty());
    ASSERT_TRUE(runScript("cutter plug\ncutter plug\n", error)) << error;
    EXPECT_EQ(host::usb::currentBus()->devices().size(), 1u);

    ASSERT_TRUE(runScript("cutter unplug after 1\n", error)) << error;
    std::unique_ptr<host::usb::DeviceHandle> handle;
    ASSERT_EQ(cutter_->open(&handle), 0);
    std::vector<host::usb::Endpoint> endpoints;
    ASSERT_EQ(handle->claimInterface(0, &endpoints), 0);
    std::string query = "OH;";
    uint32_t n = 0;
    EXPECT_EQ(handle->bulkTransfer(host::usb::FakeCutter::kOutEndpoint, (uint8_t*)&query[0], 3, &n, 1000), 0);
    EXPECT_EQ(handle->bulkTransfer(host::usb::FakeCutter::kOutEndpoint, (uint8_t*)&query[0], 3, &n, 1000),
              kVTUSBErrNoDevice);
    ASSERT_TRUE(runScript("expect-cutter-received OH;\nexpect-cutter-received OH; 1\ncutter plug\n", error)) << error;
}

TEST_F(CutterCommands, NameWhatTheyCannotUse)
{
    struct Row {
        std::string script;
        const char* error;
    } rows[] = {
        {"cutter", "line 1: cutter: expects 1 to 3 argument(s), got 0"},
        {"cutter reboot", "line 1: cutter: unknown cutter command \"reboot\" (set, answer, stall, unplug, plug)"},
        {"cutter set pressure", "line 1: cutter: expects cutter set KEY VALUE"},
        {"cutter set colour 1",
         "line 1: cutter: the cutter has no setting \"colour\" (it has heavyLight, pressure, bladeOffset, quality, "
         "option19, option20, media, scaleX, scaleY, aasX, aasY, clipX1, clipY1, clipX2, clipY2, model, version, "
         "saves, scaleSaves)"},
        {"cutter set pressure heavy", "line 1: cutter: \"heavy\" is not a whole number"},
        {"cutter answer loud", "line 1: cutter: expects cutter answer normal|silent|garbage|split|overlong|wrong-prefix N"},
        {"cutter answer wrong-prefix", "line 1: cutter: expects cutter answer normal|silent|garbage|split|overlong|wrong-prefix N"},
        {"cutter answer wrong-prefix x", "line 1: cutter: \"x\" is not a whole number"},
        {"cutter answer wrong-prefix -1", "line 1: cutter: wrong-prefix takes a count from 0 to 1000000, not -1"},
        {"cutter stall maybe", "line 1: cutter: expects cutter stall on|off"},
        {"cutter unplug later", "line 1: cutter: expects cutter unplug [after N]"},
        {"cutter unplug after x", "line 1: cutter: \"x\" is not a whole number"},
        {"cutter unplug after -2", "line 1: cutter: unplug after takes a count from 0 to 1000000 transfers, not -2"},
        {"cutter plug now", "line 1: cutter: expects cutter plug"},
        {"expect-cutter pressure", "line 1: expect-cutter: expects 2 argument(s), got 1"},
        {"expect-cutter pressure 121", "line 1: expect-cutter: the cutter's pressure is 120, not 121"},
        {"expect-cutter-received", "line 1: expect-cutter-received: expects 1 to 2 argument(s), got 0"},
        {"expect-cutter-received .C1;", "line 1: expect-cutter-received: the cutter received .C1; 0 time(s), expected at least once"},
        {"expect-cutter-received OH; x", "line 1: expect-cutter-received: \"x\" is not a whole number"},
        {"expect-cutter-received OH; -1", "line 1: expect-cutter-received: a count is 0 or more, not -1"},
        {"expect-cutter-received OH; 2", "line 1: expect-cutter-received: the cutter received OH; 0 time(s), expected 2"},
    };
    for (const Row& row : rows) {
        std::string error;
        EXPECT_FALSE(runScript(row.script + "\n", error)) << row.script;
        EXPECT_EQ(error, row.error) << row.script;
    }

    // A bus put in place of the cutter's takes the cutter out of reach.
    host::usb::useFakeBus();
    std::string error;
    EXPECT_FALSE(runScript("expect-cutter pressure 120\n", error));
    EXPECT_EQ(error, "line 1: expect-cutter: there is no fake cutter: start vantorel-host with --fake-cutter FILE");
}

}  // namespace
