// The cutter's device panel end to end: vantorel-host with a fake cutter runs
// a script through the panel; the file the fake cutter writes holds exactly
// the bytes the panel sent, and a cutter that answers badly, stalls or is
// pulled out ends each button with its message while the script goes on.

#include "HostRun.h"

namespace {

using vt::test::hostToLog;

const std::string E = "\x1b";
const std::string kRead = E + ".R1:" + E + ".R4:" + "OH;" + E + ".R5:";

class CutterPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(hostToLog(dir_, "setup --plotter 'Generic 24in Drag Knife'"), 0)
            << vt::test::readFile(dir_.file("out.txt"));
    }
    int run(const std::string& script)
    {
        return hostToLog(dir_, "--fake-cutter '" + dir_.file("sent.bin") + "' run '" + script + "'");
    }
    std::string output() const { return vt::test::readFile(dir_.file("out.txt")); }
    std::string sent() const { return vt::test::readFile(dir_.file("sent.bin")); }

    vt::test::TempDir dir_;
};

TEST_F(CutterPanel, TheReadmeScriptReadsChangesTheBladeOffsetAndSends)
{
    ASSERT_EQ(run(VANTOREL_SOURCE_DIR "/samples/cutter-panel.vts"), 0) << output();
    EXPECT_EQ(sent(), kRead + E + ".C1;17;0:" + E + ".C1;22;120:" + E + ".C1;16;500:" + E + ".C1;18;0:" + E +
                          ".C1;19;0:" + E + ".C1;20;1:" + E + ".C1;21;0:" + E + ".C1;0;:");
}

TEST_F(CutterPanel, EveryButtonPutsExactlyItsBytesIntoTheCutterAndHostileModesEndWithTheirMessages)
{
    vt::test::writeFile(dir_.file("session.vts"), R"(# Every button, then closing after edits.
cutter set scaleX 8192
cutter set scaleY 8192
dialog "VLCD Dialog"
  click 2
  expect-text 3 "Model:FakeCutter Version:1.00"
  expect-text 12 "600.00mm"
  expect-text 14 "1000.00mm"
  expect-text 17 "120"
  expect-text 19 "0.250"
  expect-text 21 "Single"
  expect-text 23 "Heavy"
  expect-text 25 "Enable"
  expect-text 27 "Fine"
  expect-text 29 "Disable"
  expect-text 67 "AAS X Offset 0.00 Adjust"
  choose 19 "0.750"
  type 17 "95"
  click 30
  type 53 "100"
  type 56 "50"
  click 58
  type 56 "100"
  type 62 "50"
  type 64 "100"
  click 65
  type 68 "2.525"
  type 70 "-2.525"
  click 71
  expect-text 69 "AAS Y Offset -2.53 Adjust"
  click 100
end-dialog
menu "VLCD Setting"
expect-dialog "VLCD Dialog" 100
expect-cutter bladeOffset 750
expect-cutter pressure 95
expect-cutter scaleX 4096
expect-cutter scaleY 8192
expect-cutter aasX 101
expect-cutter aasY -101
echo "-- closing"
dialog "VLCD Dialog"
  click 2
  choose 19 "1.000"
  type 17 "300"
  type 68 "1"
  click 100
end-dialog
menu "VLCD Setting"
dialog "VLCD Dialog"
  choose 23 "Light"
  close
end-dialog
menu "VLCD Setting"
expect-cutter-received .C1 10
expect-cutter-received .C6 3
expect-cutter-received .D6 1
echo "-- hostile"
dialog "VLCD Dialog"
  cutter answer silent
  click 2
  expect-alert "Get paper size command error!"
  cutter answer wrong-prefix 49
  click 2
  expect-text 19 "0.750"
  cutter answer garbage
  click 2
  expect-alert "Get paper size command error!"
  cutter answer split
  click 2
  expect-text 14 "1000.00mm"
  cutter answer overlong
  click 2
  expect-alert "Get paper size command error!"
  cutter answer normal
  cutter stall on
  click 2
  expect-alert "Get OR1 command error!"
  click 30
  expect-alert "Sending the job to the cutter failed"
  cutter stall off
  cutter unplug
  click 71
  expect-alert "The cutter could not be reached over USB"
  cutter plug
  cutter unplug after 5
  click 2
  expect-alert "Get paper size command error!"
  cutter plug
  click 100
end-dialog
menu "VLCD Setting"
echo "-- the script goes on"
)");
    ASSERT_EQ(run(dir_.file("session.vts")), 0) << output();
    std::string out = output();
    EXPECT_NE(out.find("-- the script goes on"), std::string::npos) << out;

    std::string buttons = kRead +
                          // Send: every line its own transfer, in order.
                          E + ".C1;17;0:" + E + ".C1;22;95:" + E + ".C1;16;750:" + E + ".C1;18;0:" + E +
                          ".C1;19;0:" + E + ".C1;20;1:" + E + ".C1;21;0:" + E + ".C1;0;:" +
                          // The test rectangle, 100 x 50 mm.
                          "VS30;;SP1;PR;PU0,0;PD0,0,4000,0,0,2000,-4000,0,0,-2000;PU;" +
                          // The scale: measured X half the nominal size.
                          E + ".R3:" + E + ".C6;1;4096:" + E + ".C6;0;8192:" + E + ".C1;0:" + E + ".C6;2;:" +
                          // The AAS adjustment.
                          E + ".R5:" + E + ".D6;101;-101:" + E + ".C1;0;:" + E + ".R5:";
    std::string all = sent();
    ASSERT_GE(all.size(), buttons.size() + kRead.size());
    EXPECT_EQ(all.substr(0, buttons.size()), buttons);
    EXPECT_EQ(all.substr(buttons.size(), kRead.size()), kRead) << "closing after a read sends nothing more";
    std::string hostile = all.substr(buttons.size() + kRead.size());
    EXPECT_EQ(hostile.find(E + ".C"), std::string::npos) << "nothing set while the cutter misbehaves";
    EXPECT_EQ(hostile.find(E + ".D"), std::string::npos);

    // Each hostile mode's messages, in order, and no others.
    const std::string notFound =
        "alert (error): The cutter could not be reached over USB. Check that it is switched on and connected, then "
        "send the job again.";
    const std::string sendFailed =
        "alert (error): Sending the job to the cutter failed; the cutter may have received only part of it.";
    const std::string or1 = "alert (message): Get OR1 command error!", or4 = "alert (message): Get OR4 command error!",
                      paper = "alert (message): Get paper size command error!";
    std::vector<std::string> expected = {or1, or4, paper,    // silent
                                         or1, or4, paper,    // garbage
                                         or1, paper,         // over-long replies
                                         or1, sendFailed,    // stalled: read, send
                                         notFound,           // pulled out before the AAS button
                                         paper};             // pulled out during a read
    std::vector<std::string> alerts;
    size_t at = out.find("-- hostile");
    ASSERT_NE(at, std::string::npos) << out;
    while ((at = out.find("alert (", at)) != std::string::npos) {
        size_t end = out.find('\n', at);
        alerts.push_back(out.substr(at, end - at));
        at = end;
    }
    EXPECT_EQ(alerts, expected) << out;
}

TEST_F(CutterPanel, CutterCommandsNeedTheFakeCutter)
{
    vt::test::writeFile(dir_.file("alone.vts"), "cutter answer silent\n");
    EXPECT_EQ(hostToLog(dir_, "run '" + dir_.file("alone.vts") + "'"), 1);
    EXPECT_NE(output().find("line 1: cutter: there is no fake cutter: start vantorel-host with --fake-cutter FILE"),
              std::string::npos)
        << output();
}

}  // namespace
