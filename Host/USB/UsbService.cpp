// The C calls of USBHost.h over the current bus. Each handle is a small record
// holding shared references, so a device stays valid for as long as any handle
// to it exists, whatever happens to the bus or to other handles meanwhile.
#include <cstdio>
#include <cstring>
#include <mutex>

#include "USB/UsbBus.h"

namespace vt {
namespace host {
namespace usb {

namespace {
std::mutex g_busMutex;
std::shared_ptr<Bus> g_bus;
}  // namespace

std::shared_ptr<Bus> currentBus() {
    std::lock_guard<std::mutex> lock(g_busMutex);
    if (!g_bus) g_bus = makeLibusbBus();
    return g_bus;
}

std::shared_ptr<Bus> busIfChosen() {
    std::lock_guard<std::mutex> lock(g_busMutex);
    return g_bus;
}

void setBus(std::shared_ptr<Bus> bus) {
    std::lock_guard<std::mutex> lock(g_busMutex);
    g_bus = std::move(bus);
}

std::vector<std::string> describeDevices(Bus& bus) {
    std::vector<std::string> lines;
    for (const auto& d : bus.devices()) {
        char line[64];
        std::snprintf(line, sizeof line, "%04x:%04x at %08x", d->vendorId(), d->productId(),
                      d->locationId());
        lines.push_back(line);
    }
    return lines;
}

}  // namespace usb
}  // namespace host
}  // namespace vt

using vt::host::usb::Bus;
using vt::host::usb::Device;
using vt::host::usb::DeviceHandle;
using vt::host::usb::Endpoint;

struct VTUSBSession {
    std::shared_ptr<Bus> bus;
};

struct VTUSBDeviceList {
    std::vector<std::shared_ptr<Device>> devices;
    size_t next = 0;
};

struct VTUSBDevice {
    std::shared_ptr<Device> device;
};

// Shared between an open device and the interfaces opened on it, so closing
// the device leaves the interface handles safe to close afterwards.
struct OpenDeviceState {
    std::unique_ptr<DeviceHandle> handle;
};

struct VTUSBOpenDevice {
    std::shared_ptr<OpenDeviceState> state;
};

struct VTUSBInterface {
    std::shared_ptr<OpenDeviceState> state;
    int index = 0;
    std::vector<Endpoint> endpoints;
};

extern "C" {

VTUSBResult VTUSB_OpenSession(VTUSBSessionRef* session) {
    if (!session) return kVTUSBErrBadParam;
    *session = nullptr;
    auto bus = vt::host::usb::currentBus();
    if (!bus) return kVTUSBErrUnavailable;
    *session = new VTUSBSession{bus};
    return 0;
}

VTUSBResult VTUSB_CloseSession(VTUSBSessionRef session) {
    if (!session) return kVTUSBErrBadParam;
    delete session;
    return 0;
}

VTUSBResult VTUSB_ListDevices(VTUSBSessionRef session, VTUSBDeviceListRef* list) {
    if (!list) return kVTUSBErrBadParam;
    *list = nullptr;
    if (!session || !session->bus) return kVTUSBErrBadParam;
    auto* l = new VTUSBDeviceList;
    l->devices = session->bus->devices();
    *list = l;
    return 0;
}

VTUSBDeviceRef VTUSB_NextDevice(VTUSBDeviceListRef list) {
    if (!list || list->next >= list->devices.size()) return nullptr;
    return new VTUSBDevice{list->devices[list->next++]};
}

void VTUSB_ReleaseDeviceList(VTUSBDeviceListRef list) { delete list; }

VTUSBResult VTUSB_GetDeviceIds(VTUSBDeviceRef device, uint16_t* vendorId, uint16_t* productId,
                               uint32_t* locationId) {
    if (!device || !device->device) return kVTUSBErrBadParam;
    if (vendorId) *vendorId = device->device->vendorId();
    if (productId) *productId = device->device->productId();
    if (locationId) *locationId = device->device->locationId();
    return 0;
}

void VTUSB_ReleaseDevice(VTUSBDeviceRef device) { delete device; }

VTUSBResult VTUSB_OpenDevice(VTUSBDeviceRef device, VTUSBOpenDeviceRef* opened) {
    if (!opened) return kVTUSBErrBadParam;
    *opened = nullptr;
    if (!device || !device->device) return kVTUSBErrBadParam;
    auto state = std::make_shared<OpenDeviceState>();
    VTUSBResult r = device->device->open(&state->handle);
    if (r) return r;
    if (!state->handle) return kVTUSBErrIO;
    *opened = new VTUSBOpenDevice{state};
    return 0;
}

VTUSBResult VTUSB_CloseDevice(VTUSBOpenDeviceRef opened) {
    if (!opened) return kVTUSBErrBadParam;
    if (opened->state) opened->state->handle.reset();
    delete opened;
    return 0;
}

VTUSBResult VTUSB_GetInterfaceCount(VTUSBOpenDeviceRef opened, uint8_t* count) {
    if (!count) return kVTUSBErrBadParam;
    *count = 0;
    if (!opened || !opened->state) return kVTUSBErrBadParam;
    if (!opened->state->handle) return kVTUSBErrNotOpen;
    int n = opened->state->handle->interfaceCount();
    if (n < 0) return kVTUSBErrIO;
    *count = static_cast<uint8_t>(n > 255 ? 255 : n);
    return 0;
}

VTUSBResult VTUSB_OpenInterface(VTUSBOpenDeviceRef opened, uint8_t index, VTUSBInterfaceRef* intf) {
    if (!intf) return kVTUSBErrBadParam;
    *intf = nullptr;
    if (!opened || !opened->state) return kVTUSBErrBadParam;
    if (!opened->state->handle) return kVTUSBErrNotOpen;
    auto* i = new VTUSBInterface;
    i->state = opened->state;
    i->index = index;
    VTUSBResult r = opened->state->handle->claimInterface(index, &i->endpoints);
    if (r) {
        delete i;
        return r;
    }
    *intf = i;
    return 0;
}

VTUSBResult VTUSB_CloseInterface(VTUSBInterfaceRef intf) {
    if (!intf) return kVTUSBErrBadParam;
    VTUSBResult r = 0;
    // When the device was closed first its handle already let go of the interface.
    if (intf->state && intf->state->handle) r = intf->state->handle->releaseInterface(intf->index);
    delete intf;
    return r;
}

VTUSBResult VTUSB_GetEndpointCount(VTUSBInterfaceRef intf, uint8_t* count) {
    if (!count) return kVTUSBErrBadParam;
    *count = 0;
    if (!intf) return kVTUSBErrBadParam;
    size_t n = intf->endpoints.size();
    *count = static_cast<uint8_t>(n > 255 ? 255 : n);
    return 0;
}

static const Endpoint* pipeOf(VTUSBInterfaceRef intf, uint8_t pipeRef) {
    if (!intf || pipeRef < 1 || pipeRef > intf->endpoints.size()) return nullptr;
    return &intf->endpoints[pipeRef - 1];
}

VTUSBResult VTUSB_GetPipeProperties(VTUSBInterfaceRef intf, uint8_t pipeRef, uint8_t* direction,
                                    uint8_t* number, uint8_t* transferType,
                                    uint16_t* maxPacketSize, uint8_t* interval) {
    const Endpoint* e = pipeOf(intf, pipeRef);
    if (!e) return kVTUSBErrBadParam;
    if (direction) *direction = e->isIn() ? kVTUSBIn : kVTUSBOut;
    if (number) *number = e->number();
    if (transferType) *transferType = e->transferType;
    if (maxPacketSize) *maxPacketSize = e->maxPacketSize;
    if (interval) *interval = e->interval;
    return 0;
}

// Checks shared by both directions: a bulk pipe of the wanted direction on an
// interface whose device is still open, and a time-out.
static VTUSBResult checkTransfer(VTUSBInterfaceRef intf, uint8_t pipeRef, bool in,
                                 uint32_t timeoutMs, const Endpoint** endpoint) {
    const Endpoint* e = pipeOf(intf, pipeRef);
    if (!e || e->transferType != kVTUSBBulk || e->isIn() != in || timeoutMs == 0)
        return kVTUSBErrBadParam;
    if (!intf->state || !intf->state->handle) return kVTUSBErrNotOpen;
    *endpoint = e;
    return 0;
}

VTUSBResult VTUSB_WritePipe(VTUSBInterfaceRef intf, uint8_t pipeRef, const void* data,
                            uint32_t length, uint32_t* transferred, uint32_t timeoutMs) {
    if (transferred) *transferred = 0;
    if (!data && length > 0) return kVTUSBErrBadParam;
    const Endpoint* e = nullptr;
    VTUSBResult r = checkTransfer(intf, pipeRef, false, timeoutMs, &e);
    if (r) return r;
    uint32_t moved = 0;
    // Backends take a non-const buffer for both directions; an OUT transfer only reads it.
    r = intf->state->handle->bulkTransfer(e->address,
                                          static_cast<uint8_t*>(const_cast<void*>(data)), length,
                                          &moved, timeoutMs);
    if (moved > length) moved = length;
    if (transferred) *transferred = moved;
    return r;
}

VTUSBResult VTUSB_ReadPipe(VTUSBInterfaceRef intf, uint8_t pipeRef, void* buffer, uint32_t* size,
                           uint32_t timeoutMs) {
    if (!size) return kVTUSBErrBadParam;
    uint32_t capacity = *size;
    *size = 0;
    if (!buffer && capacity > 0) return kVTUSBErrBadParam;
    const Endpoint* e = nullptr;
    VTUSBResult r = checkTransfer(intf, pipeRef, true, timeoutMs, &e);
    if (r) return r;
    uint32_t moved = 0;
    r = intf->state->handle->bulkTransfer(e->address, static_cast<uint8_t*>(buffer), capacity,
                                          &moved, timeoutMs);
    *size = moved > capacity ? capacity : moved;
    return r;
}

}  // extern "C"
