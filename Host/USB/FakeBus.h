// A USB bus of scripted devices. Tests (and the host program's --fake-cutter)
// put devices on it, make it the current bus, and then look at what the
// plug-in sent and at what it was answered.
#pragma once

#include <stdint.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "USB/UsbBus.h"

namespace vt {
namespace host {
namespace usb {

// One transfer as the device saw it.
struct FakeTransfer {
    uint8_t endpoint = 0;     // address; bit 7 set for reads
    uint32_t requested = 0;   // bytes offered (write) or room given (read)
    std::string data;         // bytes that actually moved
    uint32_t timeoutMs = 0;
    VTUSBResult result = 0;
};

class FakeDevice : public Device, public std::enable_shared_from_this<FakeDevice> {
public:
    FakeDevice(uint16_t vendorId, uint16_t productId, uint32_t locationId = 0);
    ~FakeDevice() override;

    // Scripting.
    void addInterface(std::vector<Endpoint> endpoints);
    void setOpenResult(VTUSBResult result) { openResult_ = result; }
    // A device that takes at most this many bytes per transfer, and lets the
    // rest of a longer one time out (0: no limit).
    void setMaxWriteChunk(uint32_t bytes) { maxWriteChunk_ = bytes; }
    // A stalled device: every transfer times out having moved nothing.
    void setStalled(bool stalled) { stalled_ = stalled; }
    bool stalled() const { return stalled_; }
    // The device is pulled out after this many more transfers (writes and
    // reads): the next one fails with kVTUSBErrNoDevice and the bus no longer
    // lists it. 0 pulls it out before the next transfer; -1 keeps it in.
    void unplugAfter(int transfers) { unplugAfter_ = transfers; }
    // Every transfer takes this long on the host's tick clock (0: no time).
    void setTransferTimeMs(uint32_t ms) { transferTimeMs_ = ms; }
    // Bytes the device will send, one reply per call; a read takes at most
    // the room it was given, and the rest of the reply waits for the next read.
    void queueReply(const std::string& bytes);
    size_t pendingReplies() const { return replies_.size(); }

    // What happened.
    const std::vector<FakeTransfer>& transfers() const { return transfers_; }
    std::string received() const;  // every byte written to the device, in order
    int opens() const { return opens_; }
    int closes() const { return closes_; }
    int claims() const { return claims_; }
    int releases() const { return releases_; }
    bool isOpen() const { return opens_ > closes_; }

    // Device.
    uint16_t vendorId() const override { return vendorId_; }
    uint16_t productId() const override { return productId_; }
    uint32_t locationId() const override { return locationId_; }
    VTUSBResult open(std::unique_ptr<DeviceHandle>* handle) override;

    // Used by the bus and the handle.
    // A device pulled out forgets the replies it had not handed over yet.
    void setPlugged(bool plugged) {
        plugged_ = plugged;
        if (!plugged) replies_.clear();
    }
    bool plugged() const { return plugged_; }
    const std::vector<std::vector<Endpoint>>& interfaces() const { return interfaces_; }
    VTUSBResult transfer(uint8_t endpoint, uint8_t* data, uint32_t length, uint32_t* transferred,
                         uint32_t timeoutMs);
    void noteClaim() { ++claims_; }
    void noteRelease() { ++releases_; }
    void noteClose()
    {
        ++closes_;
        onClosed();
    }

protected:
    // Called with the bytes of every write as the device accepts them. False:
    // the device could not take them after all, and the write fails with
    // kVTUSBErrIO.
    virtual bool onReceived(const std::string& bytes) { return true; }
    // Called when a handle on the device is closed.
    virtual void onClosed() {}

private:
    uint16_t vendorId_;
    uint16_t productId_;
    uint32_t locationId_;
    std::vector<std::vector<Endpoint>> interfaces_;
    VTUSBResult openResult_ = 0;
    uint32_t maxWriteChunk_ = 0;
    bool stalled_ = false;
    bool plugged_ = true;
    int unplugAfter_ = -1;
    uint32_t transferTimeMs_ = 0;
    std::deque<std::string> replies_;
    std::vector<FakeTransfer> transfers_;
    int opens_ = 0;
    int closes_ = 0;
    int claims_ = 0;
    int releases_ = 0;
};

class FakeBus : public Bus {
public:
    const char* name() const override { return "fake"; }
    // The devices plugged in now (one that pulled itself out is not listed).
    std::vector<std::shared_ptr<Device>> devices() override;

    // Puts the device on the bus (again, when it was pulled out); a device is
    // listed once however often it is plugged in.
    void plug(std::shared_ptr<FakeDevice> device);
    // The device leaves the bus; transfers on it from then on fail with
    // kVTUSBErrNoDevice, as on a real bus.
    void unplug(const std::shared_ptr<FakeDevice>& device);

private:
    std::vector<std::shared_ptr<FakeDevice>> devices_;
};

// Endpoint helpers for scripting.
Endpoint bulkIn(uint8_t number, uint16_t maxPacketSize = 64);
Endpoint bulkOut(uint8_t number, uint16_t maxPacketSize = 64);
Endpoint interruptIn(uint8_t number, uint16_t maxPacketSize = 8);

// Makes a fresh fake bus the current one and returns it.
std::shared_ptr<FakeBus> useFakeBus();

}  // namespace usb
}  // namespace host
}  // namespace vt
