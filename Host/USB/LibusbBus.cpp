// The machine's real USB bus through libusb-1.0.
//
// A cutter that presents itself as a USB printer is usually taken by the
// kernel's printer driver (usblp) as soon as it is plugged in; while it holds
// the interface nobody else can claim it, so claiming detaches it and
// releasing gives it back.
#include <libusb.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "USB/UsbBus.h"
#include "USB/UsbClock.h"

namespace vt {
namespace host {
namespace usb {

namespace {

VTUSBResult fromLibusb(int err) {
    switch (err) {
        case LIBUSB_SUCCESS: return 0;
        case LIBUSB_ERROR_TIMEOUT: return kVTUSBErrTimeout;
        case LIBUSB_ERROR_NO_DEVICE: return kVTUSBErrNoDevice;
        case LIBUSB_ERROR_NOT_FOUND: return kVTUSBErrNoDevice;
        case LIBUSB_ERROR_ACCESS: return kVTUSBErrAccess;
        case LIBUSB_ERROR_BUSY: return kVTUSBErrBusy;
        case LIBUSB_ERROR_PIPE: return kVTUSBErrStall;
        case LIBUSB_ERROR_OVERFLOW: return kVTUSBErrOverflow;
        case LIBUSB_ERROR_INVALID_PARAM: return kVTUSBErrBadParam;
        default: return kVTUSBErrIO;
    }
}

// The interfaces of the device's active configuration (or of its first one
// when the device reports none active), freed with the object.
class ConfigDescriptor {
public:
    explicit ConfigDescriptor(libusb_device* dev) {
        if (libusb_get_active_config_descriptor(dev, &config_) != LIBUSB_SUCCESS) {
            config_ = nullptr;
            if (libusb_get_config_descriptor(dev, 0, &config_) != LIBUSB_SUCCESS) config_ = nullptr;
        }
    }
    ~ConfigDescriptor() {
        if (config_) libusb_free_config_descriptor(config_);
    }
    ConfigDescriptor(const ConfigDescriptor&) = delete;
    ConfigDescriptor& operator=(const ConfigDescriptor&) = delete;
    const libusb_config_descriptor* get() const { return config_; }

private:
    libusb_config_descriptor* config_ = nullptr;
};

class LibusbHandle : public DeviceHandle {
public:
    LibusbHandle(std::shared_ptr<libusb_context> ctx, libusb_device* dev, libusb_device_handle* h)
        : ctx_(std::move(ctx)), dev_(dev), h_(h) {
        libusb_ref_device(dev_);
    }
    ~LibusbHandle() override {
        for (int i = 0; i < kMaxInterfaces; ++i)
            if (claimed_[i].held) releaseInterface(i);
        libusb_close(h_);
        libusb_unref_device(dev_);
    }

    int interfaceCount() override {
        ConfigDescriptor config(dev_);
        return config.get() ? config.get()->bNumInterfaces : -1;
    }

    VTUSBResult claimInterface(int index, std::vector<Endpoint>* endpoints) override {
        ConfigDescriptor config(dev_);
        if (!config.get()) return kVTUSBErrIO;
        if (index < 0 || index >= config.get()->bNumInterfaces || index >= kMaxInterfaces)
            return kVTUSBErrBadParam;
        const libusb_interface& intf = config.get()->interface[index];
        if (intf.num_altsetting < 1) return kVTUSBErrIO;
        const libusb_interface_descriptor& alt = intf.altsetting[0];
        Claim& c = claimed_[index];
        if (c.held) return kVTUSBErrBusy;
        c.number = alt.bInterfaceNumber;
        c.reattach = false;
        if (libusb_kernel_driver_active(h_, c.number) == 1) {
            int err = libusb_detach_kernel_driver(h_, c.number);
            if (err != LIBUSB_SUCCESS) return fromLibusb(err);
            c.reattach = true;
        }
        int err = libusb_claim_interface(h_, c.number);
        if (err != LIBUSB_SUCCESS) {
            if (c.reattach) libusb_attach_kernel_driver(h_, c.number);
            return fromLibusb(err);
        }
        c.held = true;
        endpoints->clear();
        for (int e = 0; e < alt.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& d = alt.endpoint[e];
            Endpoint ep;
            ep.address = d.bEndpointAddress;
            ep.transferType = d.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
            ep.maxPacketSize = d.wMaxPacketSize & 0x7FF;
            ep.interval = d.bInterval;
            endpoints->push_back(ep);
        }
        return 0;
    }

    VTUSBResult releaseInterface(int index) override {
        if (index < 0 || index >= kMaxInterfaces || !claimed_[index].held) return kVTUSBErrBadParam;
        Claim& c = claimed_[index];
        c.held = false;
        int err = libusb_release_interface(h_, c.number);
        if (c.reattach) libusb_attach_kernel_driver(h_, c.number);
        return fromLibusb(err);
    }

    VTUSBResult bulkTransfer(uint8_t endpoint, uint8_t* data, uint32_t length,
                             uint32_t* transferred, uint32_t timeoutMs) override {
        int moved = 0;
        auto start = std::chrono::steady_clock::now();
        int err = libusb_bulk_transfer(h_, endpoint, data, static_cast<int>(length), &moved,
                                       timeoutMs);
        // The host's clock moves by the time the transfer waited for the device.
        auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        passTransferTime(static_cast<uint32_t>(waited.count()));
        *transferred = moved > 0 ? static_cast<uint32_t>(moved) : 0;
        return fromLibusb(err);
    }

private:
    static constexpr int kMaxInterfaces = 32;
    struct Claim {
        bool held = false;
        bool reattach = false;
        int number = 0;
    };
    std::shared_ptr<libusb_context> ctx_;  // outlives the handle
    libusb_device* dev_;
    libusb_device_handle* h_;
    Claim claimed_[kMaxInterfaces];
};

class LibusbDevice : public Device {
public:
    LibusbDevice(std::shared_ptr<libusb_context> ctx, libusb_device* dev,
                 const libusb_device_descriptor& desc)
        : ctx_(std::move(ctx)), dev_(libusb_ref_device(dev)), vendor_(desc.idVendor),
          product_(desc.idProduct) {
        // Like a location id: bus number in the top byte, then the port path
        // one nibble per hub level.
        uint8_t ports[7];
        int n = libusb_get_port_numbers(dev, ports, sizeof ports);
        location_ = static_cast<uint32_t>(libusb_get_bus_number(dev)) << 24;
        for (int i = 0; i < n && i < 6; ++i)
            location_ |= static_cast<uint32_t>(ports[i] & 0x0F) << (20 - 4 * i);
    }
    ~LibusbDevice() override { libusb_unref_device(dev_); }

    uint16_t vendorId() const override { return vendor_; }
    uint16_t productId() const override { return product_; }
    uint32_t locationId() const override { return location_; }

    VTUSBResult open(std::unique_ptr<DeviceHandle>* handle) override {
        libusb_device_handle* h = nullptr;
        int err = libusb_open(dev_, &h);
        if (err != LIBUSB_SUCCESS) return fromLibusb(err);
        handle->reset(new LibusbHandle(ctx_, dev_, h));
        return 0;
    }

private:
    std::shared_ptr<libusb_context> ctx_;  // kept alive while any device is
    libusb_device* dev_;
    uint16_t vendor_;
    uint16_t product_;
    uint32_t location_ = 0;
};

class LibusbBus : public Bus {
public:
    const char* name() const override { return "libusb"; }

    std::vector<std::shared_ptr<Device>> devices() override {
        std::vector<std::shared_ptr<Device>> out;
        auto ctx = context();
        if (!ctx) return out;
        libusb_device** list = nullptr;
        ssize_t n = libusb_get_device_list(ctx.get(), &list);
        if (n < 0) {
            problem_ = std::string("cannot list USB devices: ") + libusb_strerror(static_cast<int>(n));
            return out;
        }
        for (ssize_t i = 0; i < n; ++i) {
            libusb_device_descriptor desc;
            if (libusb_get_device_descriptor(list[i], &desc) != LIBUSB_SUCCESS) continue;
            out.push_back(std::make_shared<LibusbDevice>(ctx, list[i], desc));
        }
        libusb_free_device_list(list, 1);
        return out;
    }

    std::string problem() const override { return problem_; }

private:
    std::shared_ptr<libusb_context> context() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!ctx_ && !failed_) {
            libusb_context* c = nullptr;
            int err = libusb_init(&c);
            if (err != LIBUSB_SUCCESS) {
                failed_ = true;
                problem_ = std::string("USB is not available: ") + libusb_strerror(err);
            } else {
                ctx_.reset(c, [](libusb_context* p) { libusb_exit(p); });
            }
        }
        return ctx_;
    }

    std::mutex mutex_;
    std::shared_ptr<libusb_context> ctx_;
    bool failed_ = false;
    std::string problem_;
};

}  // namespace

std::shared_ptr<Bus> makeLibusbBus() { return std::make_shared<LibusbBus>(); }

}  // namespace usb
}  // namespace host
}  // namespace vt
