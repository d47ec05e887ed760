// The bus behind the host's USB service (USBHost.h). One interface, several
// backends: the machine's real bus through libusb, and a fake bus of scripted
// devices for tests and for running without a cutter. The C calls the plug-in
// makes go to whichever bus is current; the plug-in cannot tell them apart.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "USBHost.h"

namespace vt {
namespace host {
namespace usb {

struct Endpoint {
    uint8_t address = 0;        // bit 7 set: IN (device to host)
    uint8_t transferType = 0;   // kVTUSBControl ... kVTUSBInterrupt
    uint16_t maxPacketSize = 0;
    uint8_t interval = 0;
    bool isIn() const { return (address & 0x80) != 0; }
    uint8_t number() const { return address & 0x0F; }
};

// An opened device. Interfaces are claimed by their index among the device's
// interfaces; destroying the handle releases whatever is still claimed.
class DeviceHandle {
public:
    virtual ~DeviceHandle() = default;
    virtual int interfaceCount() = 0;
    virtual VTUSBResult claimInterface(int index, std::vector<Endpoint>* endpoints) = 0;
    virtual VTUSBResult releaseInterface(int index) = 0;
    // Bulk transfer on an endpoint address; direction comes from bit 7.
    virtual VTUSBResult bulkTransfer(uint8_t endpoint, uint8_t* data, uint32_t length,
                                     uint32_t* transferred, uint32_t timeoutMs) = 0;
};

// An attached device.
class Device {
public:
    virtual ~Device() = default;
    virtual uint16_t vendorId() const = 0;
    virtual uint16_t productId() const = 0;
    virtual uint32_t locationId() const = 0;
    virtual VTUSBResult open(std::unique_ptr<DeviceHandle>* handle) = 0;
};

class Bus {
public:
    virtual ~Bus() = default;
    virtual const char* name() const = 0;
    // The devices attached now, in the bus's order.
    virtual std::vector<std::shared_ptr<Device>> devices() = 0;
    // Why the bus has no devices to offer, when it could not be started.
    virtual std::string problem() const { return std::string(); }
};

// The bus the USB service uses. Until something else is set, the machine's
// real bus (libusb), started on first use.
std::shared_ptr<Bus> currentBus();
void setBus(std::shared_ptr<Bus> bus);
// The current bus without starting one: null while none was set or used.
std::shared_ptr<Bus> busIfChosen();

// The libusb backend. Never throws: when libusb cannot start (no USB on the
// machine, no permission on the bus), it lists no devices and says why in
// problem().
std::shared_ptr<Bus> makeLibusbBus();

// One line per device of the bus: "vendor:product at location", in hex.
std::vector<std::string> describeDevices(Bus& bus);

}  // namespace usb
}  // namespace host
}  // namespace vt
