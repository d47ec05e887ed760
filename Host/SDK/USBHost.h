// The host's USB service: find an attached device by its vendor and product
// ids, open it and one of its interfaces, look at the interface's endpoints
// ("pipes", numbered from 1 in descriptor order) and move bytes over them with
// synchronous transfers.
//
// The host serves these calls from whichever bus it was told to use (the
// machine's real USB bus, or a bus of scripted devices in tests); the caller
// never knows which.
//
// Every call returns a VTUSBResult: 0 for success, otherwise one of the codes
// below. Every handle given out must be given back exactly once with its
// release or close call; a null handle is answered with kVTUSBErrBadParam.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VT_USB_EXPORT __attribute__((visibility("default")))

typedef int32_t VTUSBResult;

// Opaque handles.
typedef struct VTUSBSession* VTUSBSessionRef;          // a connection to the bus
typedef struct VTUSBDeviceList* VTUSBDeviceListRef;    // the devices attached when it was made
typedef struct VTUSBDevice* VTUSBDeviceRef;            // one attached device, not yet opened
typedef struct VTUSBOpenDevice* VTUSBOpenDeviceRef;    // an opened device
typedef struct VTUSBInterface* VTUSBInterfaceRef;      // an opened (claimed) interface

enum {
    kVTUSBErrNotFound = 'Unfd',      // no attached device has the ids asked for
    kVTUSBErrNoDevice = 'Unod',      // the device has gone (unplugged)
    kVTUSBErrTimeout = 'Utmo',       // the transfer did not finish within its time-out
    kVTUSBErrAccess = 'Uacc',        // not allowed to open the device (permissions)
    kVTUSBErrBusy = 'Ubsy',          // another program holds the device or interface
    kVTUSBErrStall = 'Ustl',         // the endpoint is halted
    kVTUSBErrOverflow = 'Uovf',      // the device sent more than was asked for
    kVTUSBErrIO = 'U!io',            // any other transfer or bus failure
    kVTUSBErrBadParam = 'Uprm',      // null handle, pipe out of range, wrong pipe type
    kVTUSBErrNotOpen = 'Uclo',       // the device behind an interface was closed
    kVTUSBErrUnavailable = 'Ubus'    // the machine's USB support could not be started
};

// Endpoint transfer types and directions, as USB descriptors give them.
enum {
    kVTUSBControl = 0,
    kVTUSBIsochronous = 1,
    kVTUSBBulk = 2,
    kVTUSBInterrupt = 3
};
enum { kVTUSBOut = 0, kVTUSBIn = 1 };

// A connection to the bus; every other handle comes from one.
VT_USB_EXPORT VTUSBResult VTUSB_OpenSession(VTUSBSessionRef* session);
VT_USB_EXPORT VTUSBResult VTUSB_CloseSession(VTUSBSessionRef session);

// The attached devices, in the bus's order. VTUSB_NextDevice gives a device
// handle the caller releases with VTUSB_ReleaseDevice, or null at the end.
VT_USB_EXPORT VTUSBResult VTUSB_ListDevices(VTUSBSessionRef session, VTUSBDeviceListRef* list);
VT_USB_EXPORT VTUSBDeviceRef VTUSB_NextDevice(VTUSBDeviceListRef list);
VT_USB_EXPORT void VTUSB_ReleaseDeviceList(VTUSBDeviceListRef list);
VT_USB_EXPORT VTUSBResult VTUSB_GetDeviceIds(VTUSBDeviceRef device, uint16_t* vendorId,
                                             uint16_t* productId, uint32_t* locationId);
VT_USB_EXPORT void VTUSB_ReleaseDevice(VTUSBDeviceRef device);

// Opening. Closing a device also releases interfaces still open on it; their
// handles must still be closed, and answer kVTUSBErrNotOpen until then.
VT_USB_EXPORT VTUSBResult VTUSB_OpenDevice(VTUSBDeviceRef device, VTUSBOpenDeviceRef* opened);
VT_USB_EXPORT VTUSBResult VTUSB_CloseDevice(VTUSBOpenDeviceRef opened);
VT_USB_EXPORT VTUSBResult VTUSB_GetInterfaceCount(VTUSBOpenDeviceRef opened, uint8_t* count);
// Index counts the device's interfaces from 0. A system driver that holds the
// interface (a printer driver, say) is detached for as long as it is open.
VT_USB_EXPORT VTUSBResult VTUSB_OpenInterface(VTUSBOpenDeviceRef opened, uint8_t index,
                                              VTUSBInterfaceRef* intf);
VT_USB_EXPORT VTUSBResult VTUSB_CloseInterface(VTUSBInterfaceRef intf);

// Pipes of an open interface, referenced from 1 to the endpoint count.
VT_USB_EXPORT VTUSBResult VTUSB_GetEndpointCount(VTUSBInterfaceRef intf, uint8_t* count);
VT_USB_EXPORT VTUSBResult VTUSB_GetPipeProperties(VTUSBInterfaceRef intf, uint8_t pipeRef,
                                                  uint8_t* direction, uint8_t* number,
                                                  uint8_t* transferType,
                                                  uint16_t* maxPacketSize, uint8_t* interval);

// One synchronous bulk transfer, given up after timeoutMs milliseconds (0 is
// not allowed: every transfer has a time-out). *transferred / *size tell how
// many bytes moved, also when the transfer failed or timed out part-way. A
// read never writes more than *size bytes into buffer.
VT_USB_EXPORT VTUSBResult VTUSB_WritePipe(VTUSBInterfaceRef intf, uint8_t pipeRef,
                                          const void* data, uint32_t length,
                                          uint32_t* transferred, uint32_t timeoutMs);
VT_USB_EXPORT VTUSBResult VTUSB_ReadPipe(VTUSBInterfaceRef intf, uint8_t pipeRef, void* buffer,
                                         uint32_t* size, uint32_t timeoutMs);

#ifdef __cplusplus
}
#endif
