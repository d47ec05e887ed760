// The plug-in's USB link against scripted devices on the fake bus.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "Common/PluginGlobals.h"
#include "PlotOut/USB.h"
#include "USB/FakeBus.h"
#include "USB/FakeCutter.h"

using namespace vt::host::usb;

namespace {

const unsigned short kPid = 0x1234;
const unsigned short kVid = 0x0ABC;

class USBLink : public ::testing::Test {
protected:
    void SetUp() override {
        globals_.reset(new PluginGlobals());
        savedGlobals_ = g;
        g = globals_.get();
        bus_ = useFakeBus();
    }
    void TearDown() override {
        EXPECT_EQ(kNoErr, USB_Close());
        setBus(nullptr);
        g = savedGlobals_;
    }
    std::shared_ptr<FakeDevice> plug(uint16_t vid, uint16_t pid, std::vector<Endpoint> endpoints) {
        auto d = std::make_shared<FakeDevice>(vid, pid);
        d->addInterface(std::move(endpoints));
        bus_->plug(d);
        return d;
    }
    std::shared_ptr<FakeDevice> plugCutter(uint16_t packet = 64) {
        return plug(kVid, kPid, {bulkOut(1, packet), bulkIn(2, packet)});
    }
    ASErr send(const std::string& s) { return USB_Send(const_cast<char*>(s.data()), (int)s.size()); }

    std::unique_ptr<PluginGlobals> globals_;
    PluginGlobals* savedGlobals_ = nullptr;
    std::shared_ptr<FakeBus> bus_;
};

TEST_F(USBLink, FirstOfTwoMatchingDevicesIsUsed) {
    auto other = plug(kVid, kPid + 1, {bulkOut(1), bulkIn(2)});
    auto first = plugCutter();
    auto second = plugCutter();
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(0, send("IN;"));
    EXPECT_EQ("IN;", first->received());
    EXPECT_EQ(0, other->opens());
    EXPECT_EQ(0, second->opens());
}

TEST_F(USBLink, InterruptPipeBeforeBulkPipesIsSkippedWithNotice) {
    auto d = plug(kVid, kPid, {interruptIn(1), bulkOut(2), bulkIn(3)});
    testing::internal::CaptureStdout();
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ("Pipe_Open: skipping pipe 1 because it is not a bulk pipe\n",
              testing::internal::GetCapturedStdout());
    EXPECT_EQ(2, g->usbPipeOut);
    EXPECT_EQ(3, g->usbPipeIn);
    send("PU;");
    ASSERT_EQ(1u, d->transfers().size());
    EXPECT_EQ(0x02, d->transfers()[0].endpoint);
}

TEST_F(USBLink, LowerOfTwoBulkOutPipesIsUsed) {
    auto d = plug(kVid, kPid, {bulkIn(1), bulkOut(2), bulkOut(3), bulkIn(4)});
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(2, g->usbPipeOut);
    EXPECT_EQ(1, g->usbPipeIn);
    send("PD;");
    ASSERT_EQ(1u, d->transfers().size());
    EXPECT_EQ(0x02, d->transfers()[0].endpoint);
}

TEST_F(USBLink, NoDeviceSendsNothingAndReadsEmpty) {
    auto stranger = plug(kVid + 1, kPid, {bulkOut(1), bulkIn(2)});
    EXPECT_EQ(kVTUSBErrNotFound, USB_Open(kPid, kVid));
    EXPECT_NE(nullptr, g->usbMasterPort);
    EXPECT_EQ(nullptr, g->usbDevice);
    EXPECT_EQ(0, send("IN;"));
    char buffer[kUSBReadBufferSize];
    memset(buffer, 0x55, sizeof buffer);
    EXPECT_EQ(0, USB_Read(buffer));
    for (char c : buffer) ASSERT_EQ(0, c);
    EXPECT_EQ(0, USB_Close());
    EXPECT_EQ(nullptr, g->usbMasterPort);
    EXPECT_EQ(0, stranger->opens());
    EXPECT_TRUE(stranger->transfers().empty());
}

// A reply longer than the buffer comes in whole packets, terminated within the
// buffer; the rest arrives with the next read.
struct LongReplyRow {
    const char* name;
    uint16_t packet;
    size_t firstRead;
};
class USBLongReply : public USBLink, public ::testing::WithParamInterface<LongReplyRow> {};

TEST_P(USBLongReply, IsTerminatedAndNothingIsLost) {
    auto d = plugCutter(GetParam().packet);
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    std::string reply;
    for (int i = 0; i < 1500; ++i) reply += char('A' + i % 26);
    d->queueReply(reply);
    char buffer[kUSBReadBufferSize + 64];
    memset(buffer, 0x55, sizeof buffer);
    EXPECT_EQ(0, USB_Read(buffer));
    EXPECT_EQ(GetParam().firstRead, strlen(buffer));
    EXPECT_EQ(0, buffer[kUSBReadBufferSize - 1]);
    for (size_t i = kUSBReadBufferSize; i < sizeof buffer; ++i) ASSERT_EQ(0x55, buffer[i]);
    std::string got = buffer;
    for (int i = 0; i < 4 && d->pendingReplies() > 0; ++i) {
        EXPECT_EQ(0, USB_Read(buffer));
        EXPECT_LE(strlen(buffer), GetParam().firstRead);
        got += buffer;
    }
    EXPECT_TRUE(reply == got) << "reply of " << reply.size() << " bytes came as " << got.size();
}

INSTANTIATE_TEST_SUITE_P(
    Packets, USBLongReply,
    ::testing::Values(LongReplyRow{"FullSpeed64", 64, 960}, LongReplyRow{"HighSpeed512", 512, 512},
                      LongReplyRow{"PacketSizeUnknown", 0, 1023},
                      LongReplyRow{"PacketLargerThanBuffer", 1024, 1023}),
    [](const testing::TestParamInfo<LongReplyRow>& info) { return info.param.name; });

TEST_F(USBLink, FakeCutterReceivesExactlyTheBytesSent) {
    std::string path = testing::TempDir() + "usb_link_cutter.bin";
    auto cutter = installFakeCutter(path, kVid, kPid);
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    std::string data;
    for (int i = 0; i < 3000; ++i) data += char(i * 7 % 256);  // ESC, NUL and all
    EXPECT_EQ(0, send(data));
    EXPECT_EQ(data, cutter->received());
    EXPECT_EQ(kNoErr, USB_Close());
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(nullptr, f);
    std::string file(4000, '\0');
    file.resize(fread(&file[0], 1, file.size(), f));
    fclose(f);
    EXPECT_EQ(data, file);
}

TEST_F(USBLink, PartialWritesAreCompleted) {
    auto d = plugCutter();
    d->setMaxWriteChunk(7);
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    std::string data(50, 'x');
    EXPECT_EQ(0, send(data));
    EXPECT_EQ(data, d->received());
    EXPECT_EQ(8u, d->transfers().size());
}

TEST_F(USBLink, ZeroLengthSendIsOneEmptyWrite) {
    auto d = plugCutter();
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(0, send(""));
    ASSERT_EQ(1u, d->transfers().size());
    EXPECT_EQ(0u, d->transfers()[0].requested);
}

TEST_F(USBLink, StalledCutterTimesOutInsteadOfHanging) {
    auto d = plugCutter();
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    d->setStalled(true);
    EXPECT_EQ(kVTUSBErrTimeout, send("PU0,0;"));
    char buffer[kUSBReadBufferSize];
    EXPECT_EQ(kVTUSBErrTimeout, USB_Read(buffer));
    EXPECT_EQ(0, buffer[0]);
    ASSERT_EQ(2u, d->transfers().size());
    EXPECT_EQ((uint32_t)kUSBWriteTimeoutMs, d->transfers()[0].timeoutMs);
    EXPECT_EQ((uint32_t)kUSBReadTimeoutMs, d->transfers()[1].timeoutMs);
}

TEST_F(USBLink, UnpluggedCutterFailsAndClosesCleanly) {
    auto d = plugCutter();
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    bus_->unplug(d);
    EXPECT_EQ(kVTUSBErrNoDevice, send("PU;"));
    EXPECT_EQ(kNoErr, USB_Close());
    EXPECT_EQ(1, d->claims());
    EXPECT_EQ(1, d->releases());
    EXPECT_FALSE(d->isOpen());
}

TEST_F(USBLink, CloseClearsHandlesSoNothingIsReleasedTwice) {
    auto d = plugCutter();
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(0, USB_Close());
    EXPECT_EQ(nullptr, g->usbMasterPort);
    EXPECT_EQ(nullptr, g->usbService);
    EXPECT_EQ(nullptr, g->usbDevice);
    EXPECT_EQ(nullptr, g->usbInterface);
    EXPECT_EQ(0, g->usbPipeIn);
    EXPECT_EQ(0, g->usbPipeOut);
    EXPECT_EQ(0, USB_Close());
    EXPECT_EQ(0, send("IN;"));
    EXPECT_EQ(1, d->releases());
    EXPECT_EQ(1, d->closes());
    EXPECT_TRUE(d->transfers().empty());
}

TEST_F(USBLink, SecondOpenClosesTheFirst) {
    auto d = plugCutter();
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(2, d->opens());
    EXPECT_EQ(1, d->closes());
    EXPECT_EQ(1, d->releases());
    EXPECT_EQ(0, send("IN;"));
    EXPECT_EQ("IN;", d->received());
}

TEST_F(USBLink, DeviceThatCannotBeOpenedIsReported) {
    auto d = plugCutter();
    d->setOpenResult(kVTUSBErrAccess);
    EXPECT_EQ(kVTUSBErrAccess, USB_Open(kPid, kVid));
    EXPECT_EQ(0, send("IN;"));
    EXPECT_EQ(0, USB_Close());
}

TEST_F(USBLink, LastInterfaceIsUsedAndEarlierOnesAreLetGo) {
    auto d = std::make_shared<FakeDevice>(kVid, kPid);
    d->addInterface({bulkOut(1), bulkIn(2)});
    d->addInterface({bulkOut(3), bulkIn(4)});
    bus_->plug(d);
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(2, d->claims());
    EXPECT_EQ(1, d->releases());
    send("IN;");
    EXPECT_EQ(0x03, d->transfers().at(0).endpoint);
}

TEST_F(USBLink, ALastInterfaceWithoutAnOutPipeTakesNothing) {
    auto d = std::make_shared<FakeDevice>(kVid, kPid);
    d->addInterface({bulkOut(1), bulkIn(2)});
    d->addInterface({bulkIn(4)});
    bus_->plug(d);
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(0, send("IN;")) << "no pipe to send on: nothing is sent";
    EXPECT_TRUE(d->transfers().empty()) << "the first interface's pipe is not the last one's";
}

TEST_F(USBLink, ALastInterfaceWithoutAnInPipeReadsNothing) {
    auto d = std::make_shared<FakeDevice>(kVid, kPid);
    d->addInterface({bulkOut(1), bulkIn(2)});
    d->addInterface({bulkOut(3)});
    bus_->plug(d);
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    char reply[kUSBReadBufferSize];
    EXPECT_EQ(0, USB_Read(reply)) << "no pipe to read from: nothing is read";
    EXPECT_EQ(0, reply[0]);
    EXPECT_EQ(0, send("IN;"));
    ASSERT_EQ(1u, d->transfers().size()) << "the first interface's in pipe is not the last one's";
    EXPECT_EQ(0x03, d->transfers().at(0).endpoint);
}

TEST_F(USBLink, DevicePanelQueryRoundTrip) {
    auto cutter = std::make_shared<FakeCutter>(kVid, kPid);
    bus_->plug(cutter);
    cutter->state().aasX = 40;
    ASSERT_EQ(0, USB_Open(kPid, kVid));
    EXPECT_EQ(0, send("\x1b.R5:"));
    char buffer[kUSBReadBufferSize];
    EXPECT_EQ(0, USB_Read(buffer));
    EXPECT_STREQ("OR5,40,0;\r", buffer);
}


// Whoever shows a reply that arrives outside a read.
std::string g_shownReply;
int g_replies = 0;
void showReply(const char* reply) {
    g_shownReply = reply;
    ++g_replies;
}

TEST_F(USBLink, AReplyOutsideAReadGoesToTheSinkTerminatedAndIsCleared) {
    g_replies = 0;
    std::memset(g->usbReadBuffer, 'Z', sizeof g->usbReadBuffer);  // full, no terminator
    ReadPipeCallBack(nullptr, 0, nullptr);
    EXPECT_EQ(g_replies, 0) << "nobody to show it to";
    EXPECT_EQ(g->usbReadBuffer[0], 0) << "cleared all the same";

    g->usbReplySink = showReply;
    ReadPipeCallBack(nullptr, 0, nullptr);
    EXPECT_EQ(g_replies, 0) << "an empty buffer holds no reply";
    std::memset(g->usbReadBuffer, 'Z', sizeof g->usbReadBuffer);
    ReadPipeCallBack(nullptr, 0, nullptr);
    EXPECT_EQ(g_replies, 1);
    EXPECT_EQ(g_shownReply, std::string(sizeof g->usbReadBuffer, 'Z'));
    EXPECT_EQ(g->usbReadBuffer[0], 0);
    EXPECT_EQ(g->usbReadBuffer[sizeof g->usbReadBuffer - 1], 0);
}

}  // namespace
