#include "USB/FakeBus.h"

#include <algorithm>

#include "USB/UsbClock.h"

namespace vt {
namespace host {
namespace usb {

namespace {

class FakeHandle : public DeviceHandle {
public:
    explicit FakeHandle(std::shared_ptr<FakeDevice> device)
        : device_(std::move(device)), claimed_(device_->interfaces().size(), false) {}
    ~FakeHandle() override {
        for (size_t i = 0; i < claimed_.size(); ++i)
            if (claimed_[i]) releaseInterface(static_cast<int>(i));
        device_->noteClose();
    }

    int interfaceCount() override { return static_cast<int>(device_->interfaces().size()); }

    VTUSBResult claimInterface(int index, std::vector<Endpoint>* endpoints) override {
        if (!device_->plugged()) return kVTUSBErrNoDevice;
        if (index < 0 || index >= static_cast<int>(claimed_.size())) return kVTUSBErrBadParam;
        if (claimed_[index]) return kVTUSBErrBusy;
        claimed_[index] = true;
        device_->noteClaim();
        *endpoints = device_->interfaces()[index];
        return 0;
    }

    VTUSBResult releaseInterface(int index) override {
        if (index < 0 || index >= static_cast<int>(claimed_.size()) || !claimed_[index])
            return kVTUSBErrBadParam;
        claimed_[index] = false;
        device_->noteRelease();
        return 0;
    }

    VTUSBResult bulkTransfer(uint8_t endpoint, uint8_t* data, uint32_t length,
                             uint32_t* transferred, uint32_t timeoutMs) override {
        return device_->transfer(endpoint, data, length, transferred, timeoutMs);
    }

private:
    std::shared_ptr<FakeDevice> device_;
    std::vector<bool> claimed_;
};

Endpoint endpoint(uint8_t address, uint8_t type, uint16_t maxPacketSize, uint8_t interval) {
    Endpoint e;
    e.address = address;
    e.transferType = type;
    e.maxPacketSize = maxPacketSize;
    e.interval = interval;
    return e;
}

}  // namespace

FakeDevice::FakeDevice(uint16_t vendorId, uint16_t productId, uint32_t locationId)
    : vendorId_(vendorId), productId_(productId), locationId_(locationId) {}

FakeDevice::~FakeDevice() = default;

void FakeDevice::addInterface(std::vector<Endpoint> endpoints) {
    interfaces_.push_back(std::move(endpoints));
}

void FakeDevice::queueReply(const std::string& bytes) { replies_.push_back(bytes); }

std::string FakeDevice::received() const {
    std::string all;
    for (const auto& t : transfers_)
        if (!(t.endpoint & 0x80)) all += t.data;
    return all;
}

VTUSBResult FakeDevice::open(std::unique_ptr<DeviceHandle>* handle) {
    if (!plugged_) return kVTUSBErrNoDevice;
    if (openResult_) return openResult_;
    ++opens_;
    handle->reset(new FakeHandle(shared_from_this()));
    return 0;
}

VTUSBResult FakeDevice::transfer(uint8_t endpoint, uint8_t* data, uint32_t length,
                                 uint32_t* transferred, uint32_t timeoutMs) {
    FakeTransfer t;
    t.endpoint = endpoint;
    t.requested = length;
    t.timeoutMs = timeoutMs;
    *transferred = 0;
    if (transferTimeMs_ > 0) passTransferTime(transferTimeMs_);
    if (unplugAfter_ == 0) {
        setPlugged(false);
        unplugAfter_ = -1;
    } else if (unplugAfter_ > 0) {
        --unplugAfter_;
    }
    if (!plugged_) {
        t.result = kVTUSBErrNoDevice;
    } else if (stalled_) {
        t.result = kVTUSBErrTimeout;
    } else if (endpoint & 0x80) {
        if (replies_.empty()) {
            t.result = kVTUSBErrTimeout;  // the device had nothing to say
        } else {
            std::string& front = replies_.front();
            uint32_t n = static_cast<uint32_t>(std::min<size_t>(length, front.size()));
            std::copy(front.begin(), front.begin() + n, data);
            t.data.assign(front, 0, n);
            front.erase(0, n);
            if (front.empty()) replies_.pop_front();
            *transferred = n;
        }
    } else {
        uint32_t n = length;
        if (maxWriteChunk_ && n > maxWriteChunk_) {
            n = maxWriteChunk_;
            t.result = kVTUSBErrTimeout;  // took what it could before the time-out
        }
        t.data.assign(reinterpret_cast<const char*>(data), n);
        *transferred = n;
    }
    transfers_.push_back(t);
    // The device acts on the bytes after the transfer is on record, so replies
    // it queues follow the write that asked for them.
    if (!(endpoint & 0x80) && !transfers_.back().data.empty() && !onReceived(transfers_.back().data))
        transfers_.back().result = kVTUSBErrIO;
    return transfers_.back().result;
}

std::vector<std::shared_ptr<Device>> FakeBus::devices() {
    std::vector<std::shared_ptr<Device>> plugged;
    for (const auto& d : devices_)
        if (d->plugged()) plugged.push_back(d);
    return plugged;
}

void FakeBus::plug(std::shared_ptr<FakeDevice> device) {
    device->setPlugged(true);
    if (std::find(devices_.begin(), devices_.end(), device) == devices_.end())
        devices_.push_back(std::move(device));
}

void FakeBus::unplug(const std::shared_ptr<FakeDevice>& device) {
    device->setPlugged(false);
    devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
}

Endpoint bulkIn(uint8_t number, uint16_t maxPacketSize) {
    return endpoint(static_cast<uint8_t>(0x80 | number), kVTUSBBulk, maxPacketSize, 0);
}
Endpoint bulkOut(uint8_t number, uint16_t maxPacketSize) {
    return endpoint(number & 0x0F, kVTUSBBulk, maxPacketSize, 0);
}
Endpoint interruptIn(uint8_t number, uint16_t maxPacketSize) {
    return endpoint(static_cast<uint8_t>(0x80 | number), kVTUSBInterrupt, maxPacketSize, 10);
}

std::shared_ptr<FakeBus> useFakeBus() {
    auto bus = std::make_shared<FakeBus>();
    setBus(bus);
    return bus;
}

}  // namespace usb
}  // namespace host
}  // namespace vt
