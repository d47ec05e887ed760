// The host's USB service calls over both backends.
#include <gtest/gtest.h>

#include <cstring>

#include "USB/FakeBus.h"
#include "USBHost.h"

using namespace vt::host::usb;

namespace {

class USBService : public ::testing::Test {
protected:
    void SetUp() override {
        bus = useFakeBus();
        device = std::make_shared<FakeDevice>(0x0ABC, 0x1234, 0x14100000);
        device->addInterface({interruptIn(1), bulkOut(2), bulkIn(3)});
        bus->plug(device);
        ASSERT_EQ(0, VTUSB_OpenSession(&session));
        ASSERT_EQ(0, VTUSB_ListDevices(session, &list));
        found = VTUSB_NextDevice(list);
        ASSERT_NE(nullptr, found);
        ASSERT_EQ(0, VTUSB_OpenDevice(found, &opened));
        ASSERT_EQ(0, VTUSB_OpenInterface(opened, 0, &intf));
    }
    void TearDown() override {
        if (intf) VTUSB_CloseInterface(intf);
        if (opened) VTUSB_CloseDevice(opened);
        VTUSB_ReleaseDevice(found);
        VTUSB_ReleaseDeviceList(list);
        VTUSB_CloseSession(session);
        setBus(nullptr);
    }
    std::shared_ptr<FakeBus> bus;
    std::shared_ptr<FakeDevice> device;
    VTUSBSessionRef session = nullptr;
    VTUSBDeviceListRef list = nullptr;
    VTUSBDeviceRef found = nullptr;
    VTUSBOpenDeviceRef opened = nullptr;
    VTUSBInterfaceRef intf = nullptr;
};

TEST_F(USBService, ReportsIdsAndPipes) {
    uint16_t vid = 0, pid = 0;
    uint32_t location = 0;
    EXPECT_EQ(0, VTUSB_GetDeviceIds(found, &vid, &pid, &location));
    EXPECT_EQ(0x0ABC, vid);
    EXPECT_EQ(0x1234, pid);
    EXPECT_EQ(0x14100000u, location);
    EXPECT_EQ(nullptr, VTUSB_NextDevice(list));
    uint8_t count = 0;
    EXPECT_EQ(0, VTUSB_GetEndpointCount(intf, &count));
    EXPECT_EQ(3, count);
    uint8_t dir, num, type, interval;
    uint16_t packet;
    EXPECT_EQ(0, VTUSB_GetPipeProperties(intf, 3, &dir, &num, &type, &packet, &interval));
    EXPECT_EQ(kVTUSBIn, dir);
    EXPECT_EQ(3, num);
    EXPECT_EQ(kVTUSBBulk, type);
    EXPECT_EQ(64, packet);
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_GetPipeProperties(intf, 0, &dir, &num, &type, &packet, &interval));
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_GetPipeProperties(intf, 4, &dir, &num, &type, &packet, &interval));
}

TEST_F(USBService, RejectsTransfersThatCouldHangOrGoAstray) {
    char data[4] = {'a', 'b', 'c', 'd'};
    uint32_t n = 99;
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_WritePipe(intf, 2, data, 4, &n, 0));  // no time-out
    EXPECT_EQ(0u, n);
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_WritePipe(intf, 3, data, 4, &n, 100));  // IN pipe
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_WritePipe(intf, 1, data, 4, &n, 100));  // interrupt pipe
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_WritePipe(nullptr, 2, data, 4, &n, 100));
    uint32_t size = 4;
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_ReadPipe(intf, 2, data, &size, 100));  // OUT pipe
    EXPECT_TRUE(device->transfers().empty());
}

TEST_F(USBService, ReadNeverWritesPastTheSizeGiven) {
    device->queueReply(std::string(100, 'r'));
    char buffer[32];
    memset(buffer, 0x55, sizeof buffer);
    uint32_t size = 10;
    EXPECT_EQ(0, VTUSB_ReadPipe(intf, 3, buffer, &size, 100));
    EXPECT_EQ(10u, size);
    EXPECT_EQ(0x55, buffer[10]);
}

TEST_F(USBService, ClosingTheDeviceFirstLeavesTheInterfaceSafeToClose) {
    EXPECT_EQ(0, VTUSB_CloseDevice(opened));
    opened = nullptr;
    EXPECT_EQ(1, device->releases());
    char c = 'x';
    uint32_t n = 0;
    EXPECT_EQ(kVTUSBErrNotOpen, VTUSB_WritePipe(intf, 2, &c, 1, &n, 100));
    EXPECT_EQ(0, VTUSB_CloseInterface(intf));
    intf = nullptr;
    EXPECT_EQ(1, device->releases());
    EXPECT_EQ(1, device->closes());
}

TEST_F(USBService, SecondClaimOfAnInterfaceIsBusy) {
    VTUSBInterfaceRef again = nullptr;
    EXPECT_EQ(kVTUSBErrBusy, VTUSB_OpenInterface(opened, 0, &again));
    EXPECT_EQ(nullptr, again);
    EXPECT_EQ(kVTUSBErrBadParam, VTUSB_OpenInterface(opened, 1, &again));
}

TEST(USBLibusbBackend, ListsDevicesOrReportsNoneCleanly) {
    auto bus = makeLibusbBus();
    EXPECT_STREQ("libusb", bus->name());
    auto devices = bus->devices();
    EXPECT_EQ(devices.size(), describeDevices(*bus).size());
    if (devices.empty()) SUCCEED() << "no USB devices here: " << bus->problem();
    // Through the service too: no cutter means not found, never a crash.
    setBus(bus);
    VTUSBSessionRef session = nullptr;
    ASSERT_EQ(0, VTUSB_OpenSession(&session));
    VTUSBDeviceListRef list = nullptr;
    ASSERT_EQ(0, VTUSB_ListDevices(session, &list));
    size_t listed = 0;
    while (VTUSBDeviceRef d = VTUSB_NextDevice(list)) {
        ++listed;
        VTUSB_ReleaseDevice(d);
    }
    EXPECT_EQ(devices.size(), listed);
    VTUSB_ReleaseDeviceList(list);
    VTUSB_CloseSession(session);
    setBus(nullptr);
}

}  // namespace
