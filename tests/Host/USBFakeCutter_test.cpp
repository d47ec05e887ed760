// The fake cutter: replies to the device-panel queries from its state and
// settings commands applied to that state.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "FileFaults.h"
#include "Host.h"
#include "USB/FakeCutter.h"

using namespace vt::host::usb;

namespace {

// Talks to a fake cutter the way the USB service does: open, claim, transfer.
class CutterLine {
public:
    CutterLine() : cutter(std::make_shared<FakeCutter>(0x0ABC, 0x1234)) {
        EXPECT_EQ(0, cutter->open(&handle));
        std::vector<Endpoint> endpoints;
        EXPECT_EQ(0, handle->claimInterface(0, &endpoints));
    }
    void send(const std::string& s) {
        std::string copy = s;
        uint32_t n = 0;
        EXPECT_EQ(0, handle->bulkTransfer(FakeCutter::kOutEndpoint, (uint8_t*)&copy[0],
                                          (uint32_t)copy.size(), &n, 1000));
    }
    std::string read() {
        char buffer[256] = {};
        uint32_t n = 0;
        handle->bulkTransfer(FakeCutter::kInEndpoint, (uint8_t*)buffer, sizeof buffer, &n, 1000);
        return std::string(buffer, n);
    }
    std::shared_ptr<FakeCutter> cutter;
    std::unique_ptr<DeviceHandle> handle;
};

struct QueryRow {
    const char* name;
    const char* query;
    const char* reply;
};
class FakeCutterQuery : public ::testing::TestWithParam<QueryRow> {};

TEST_P(FakeCutterQuery, AnswersFromDefaultState) {
    CutterLine line;
    line.send(GetParam().query);
    EXPECT_EQ(GetParam().reply, line.read());
    EXPECT_EQ("", line.read());  // one reply per query
}

INSTANTIATE_TEST_SUITE_P(
    Queries, FakeCutterQuery,
    ::testing::Values(QueryRow{"ToolSettings", "\x1b.R1:", "OR1,10,120,250,1,0,1,3;\r"},
                      QueryRow{"Scale", "\x1b.R3:", "OR3,10000,10000;\r"},
                      QueryRow{"ModelAndVersion", "\x1b.R4:", "OR4,0,FakeCutter,1.00,0;\r"},
                      QueryRow{"AlignmentOffsets", "\x1b.R5:", "OR5,0,0;\r"},
                      QueryRow{"HardClipLimits", "OH;", "0,0,24000,40000\r"},
                      QueryRow{"HardClipAfterInstruction", "IN;PU0,0;OH;", "0,0,24000,40000\r"},
                      QueryRow{"OHInsideOtherTextIsNoQuery", "LBXOH;", ""},
                      QueryRow{"UnknownCommandIsIgnored", "\x1b.Z9:", ""}),
    [](const testing::TestParamInfo<QueryRow>& info) { return info.param.name; });

TEST(FakeCutter, AppliesToolSettingsAndReportsThem) {
    CutterLine line;
    line.send("\x1b.C1;17;1:");
    line.send("\x1b.C1;22;300:");
    line.send("\x1b.C1;16;500:");
    line.send("\x1b.C1;18;3:");
    line.send("\x1b.C1;19;1:");
    line.send("\x1b.C1;20;0:");
    line.send("\x1b.C1;21;1:");
    line.send("\x1b.C1;0;:");
    line.send("\x1b.R1:");
    EXPECT_EQ("OR1,1,300,500,3,1,0,1;\r", line.read());
    EXPECT_EQ(1, line.cutter->state().saves);
}

TEST(FakeCutter, ScaleCorrectionInOneTransfer) {
    CutterLine line;
    line.send("\x1b.C6;1;10100:\x1b.C6;0;9900:\x1b.C1;0:\x1b.C6;2;:");
    const CutterState& s = line.cutter->state();
    EXPECT_EQ(10100, s.scaleX);
    EXPECT_EQ(9900, s.scaleY);
    EXPECT_EQ(1, s.saves);
    EXPECT_EQ(1, s.scaleSaves);
}

TEST(FakeCutter, AlignmentOffsetsAreSet) {
    CutterLine line;
    line.send("\x1b.D6;100;-101:");
    line.send("\x1b.R5:");
    EXPECT_EQ("OR5,100,-101;\r", line.read());
}

TEST(FakeCutter, CommandSplitAcrossTransfersIsUnderstood) {
    CutterLine line;
    line.send("PU;\x1b");
    line.send(".R");
    EXPECT_EQ("", line.read());
    line.send("3:O");
    line.send("H;");
    EXPECT_EQ("OR3,10000,10000;\r", line.read());
    EXPECT_EQ("0,0,24000,40000\r", line.read());
}

TEST(FakeCutter, MalformedSettingsLeaveStateAlone) {
    CutterLine line;
    line.send("\x1b.C1;22;abc:\x1b.C1;22;:\x1b.C6;1;:\x1b.D6;5:");
    const CutterState& s = line.cutter->state();
    EXPECT_EQ(120, s.pressure);
    EXPECT_EQ(10000, s.scaleX);
    EXPECT_EQ(0, s.aasX);
}

TEST(FakeCutter, InstallPutsItOnTheFakeBusAndLogsToTheFile) {
    setBus(nullptr);
    std::string path = testing::TempDir() + "fake_cutter_install.bin";
    auto cutter = installFakeCutter(path, 0x0ABC, 0x1234);
    auto bus = busIfChosen();
    ASSERT_NE(nullptr, bus);
    EXPECT_STREQ("fake", bus->name());
    ASSERT_EQ(1u, bus->devices().size());
    EXPECT_EQ(0x0ABC, bus->devices()[0]->vendorId());
    EXPECT_EQ(0x1234, bus->devices()[0]->productId());
    setBus(nullptr);
}

TEST(FakeCutter, ForCurrentPlotterFollowsThePreferences) {
    setBus(nullptr);
    std::string path = testing::TempDir() + "fake_cutter_current.bin";
    {
        vt::host::Host host(vt::host::HostOptions{});
        host.prefs().putInteger("Korvel-Ulmaren", "VID", 2748);
        host.prefs().putInteger("Korvel-Ulmaren", "PID", 4660);
        auto cutter = installFakeCutterForCurrentPlotter(path);
        EXPECT_EQ(2748, cutter->vendorId());
        EXPECT_EQ(4660, cutter->productId());
        host.prefs().putInteger("Korvel-Ulmaren", "PID", 17);  // another plotter chosen
        EXPECT_EQ(17, busIfChosen()->devices().at(0)->productId());
    }
    EXPECT_EQ(0, busIfChosen()->devices().at(0)->productId());  // no host, no plotter
    setBus(nullptr);
}

// How each answer mode hands over the reply to ESC ".R1:", read by read.
struct AnswerRow {
    const char* name;
    CutterAnswer answer;
    std::vector<std::string> reads;  // what successive reads bring; "" is a time-out
};

TEST(FakeCutter, AnswerModesHandOverTheReplyAsTheyPromise) {
    const std::string whole = "OR1,10,120,250,1,0,1,3;\r";
    const std::string overlong = "OR1,10,120,250,1,0,1,3" + std::string(1024 - 22, '9');
    const AnswerRow rows[] = {
        {"normal: one reply", CutterAnswer::Normal, {whole, ""}},
        {"silent: nothing", CutterAnswer::Silent, {""}},
        {"garbage: bytes that start no reply", CutterAnswer::Garbage, {"\x15\xff?#garbage#\x01;\r", ""}},
        {"split: the two halves in two reads", CutterAnswer::Split, {whole.substr(0, 12), whole.substr(12), ""}},
        {"overlong: 1,024 bytes without an end", CutterAnswer::Overlong, {overlong.substr(0, 512), overlong.substr(512), ""}},
    };
    for (const AnswerRow& row : rows) {
        CutterLine line;
        line.cutter->setAnswer(row.answer);
        line.send("\x1b.R1:");
        for (const std::string& expected : row.reads) {
            char buffer[512] = {};
            uint32_t n = 0;
            line.handle->bulkTransfer(FakeCutter::kInEndpoint, (uint8_t*)buffer, sizeof buffer, &n, 1000);
            EXPECT_EQ(expected, std::string(buffer, n)) << row.name;
        }
    }
}

TEST(FakeCutter, WrongPrefixCoversTheNextRepliesOnly) {
    CutterLine line;
    line.cutter->answerWithWrongPrefix(2);
    line.send("\x1b.R5:");
    EXPECT_EQ("XR5,0,0;\r", line.read());
    line.send("OH;");
    EXPECT_EQ("X,0,24000,40000\r", line.read());
    line.send("\x1b.R5:");
    EXPECT_EQ("OR5,0,0;\r", line.read());
}

TEST(FakeCutter, UnplugAfterLetsThatManyTransfersThrough) {
    auto bus = useFakeBus();
    CutterLine line;
    bus->plug(line.cutter);
    line.cutter->unplugAfter(2);
    line.send("\x1b.R5:");
    EXPECT_EQ("OR5,0,0;\r", line.read());
    std::string query = "\x1b.R5:";
    uint32_t n = 0;
    EXPECT_EQ(kVTUSBErrNoDevice, line.handle->bulkTransfer(FakeCutter::kOutEndpoint, (uint8_t*)&query[0],
                                                           (uint32_t)query.size(), &n, 1000));
    EXPECT_TRUE(bus->devices().empty()) << "the bus no longer lists it";
    bus->plug(line.cutter);
    bus->plug(line.cutter);
    EXPECT_EQ(1u, bus->devices().size()) << "plugged in again, listed once";
    setBus(nullptr);
}

TEST(FakeCutter, FieldsByNameForScripts) {
    FakeCutter cutter(1, 2);
    std::string error, value;
    EXPECT_TRUE(cutter.setField("bladeOffset", "-175", error));
    EXPECT_EQ(-175, cutter.state().bladeOffset);
    EXPECT_TRUE(cutter.setField("model", "CX 24", error));
    EXPECT_TRUE(cutter.field("model", &value));
    EXPECT_EQ("CX 24", value);
    EXPECT_TRUE(cutter.field("scaleSaves", &value));
    EXPECT_EQ("0", value);
    EXPECT_FALSE(cutter.setField("pressure", "heavy", error));
    EXPECT_EQ("\"heavy\" is not a whole number", error);
    EXPECT_FALSE(cutter.setField("pressure", "99999999999", error));
    EXPECT_FALSE(cutter.setField("colour", "1", error));
    EXPECT_EQ("the cutter has no setting \"colour\"", error);
    EXPECT_FALSE(cutter.field("colour", &value));
    for (const std::string& name : FakeCutter::fieldNames()) EXPECT_TRUE(cutter.field(name, &value)) << name;
}

TEST(FakeCutter, InstallFailsClearlyOnUnwritableFile) {
    EXPECT_THROW(installFakeCutter("/nonexistent-dir/x/cutter.bin", 1, 2), std::runtime_error);
}

TEST(FakeCutter, ARecordThatCannotBeWrittenFailsTheSendAndKeepsTheOldFile) {
    setBus(nullptr);
    vt::test::TempDir dir;
    vt::test::FullFolder full(dir.file("full"));
    if (!full.available()) GTEST_SKIP() << "no full file system can be made here";
    std::string path = full.file("cutter.bin");
    full.put("cutter.bin", "earlier job");
    full.fill();
    auto cutter = installFakeCutter(path, 0x0ABC, 0x1234);
    std::unique_ptr<DeviceHandle> handle;
    ASSERT_EQ(0, cutter->open(&handle));
    std::string job(100000, 'x');
    uint32_t sent = 0;
    EXPECT_EQ(kVTUSBErrIO, cutter->transfer(FakeCutter::kOutEndpoint, reinterpret_cast<uint8_t*>(&job[0]),
                                            static_cast<uint32_t>(job.size()), &sent, 1000));
    handle.reset();
    EXPECT_EQ("cannot write " + path + ": No space left on device", cutter->logError());
    EXPECT_EQ("earlier job", vt::test::readFile(path));
    setBus(nullptr);
}

TEST(FakeCutter, TheRecordIsReplacedWhenTheCutterIsClosed) {
    setBus(nullptr);
    vt::test::TempDir dir;
    std::string path = dir.file("cutter.bin");
    vt::test::writeFile(path, "earlier job");
    auto cutter = installFakeCutter(path, 0x0ABC, 0x1234);
    for (const std::string& job : {std::string("IN;PU0,0;"), std::string("PD10,10;")}) {
        std::unique_ptr<DeviceHandle> handle;
        ASSERT_EQ(0, cutter->open(&handle));
        std::string bytes = job;
        uint32_t sent = 0;
        EXPECT_EQ(0, cutter->transfer(FakeCutter::kOutEndpoint, reinterpret_cast<uint8_t*>(&bytes[0]),
                                      static_cast<uint32_t>(bytes.size()), &sent, 1000));
        EXPECT_EQ(job == "IN;PU0,0;" ? "earlier job" : "IN;PU0,0;", vt::test::readFile(path)) << "not yet";
    }
    EXPECT_EQ("IN;PU0,0;PD10,10;", vt::test::readFile(path)) << "everything the cutter was sent, in order";
    EXPECT_EQ("", cutter->logError());
    setBus(nullptr);
}

}  // namespace
