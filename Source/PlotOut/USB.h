// The USB link to the cutter: plotter commands go out over the device's bulk
// OUT pipe, replies come back over its bulk IN pipe. One link at a time; its
// handles live in the globals record.
#pragma once

#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "USBHost.h"

enum {
    kUSBReadBufferSize = 1024,
    // A cutter that is busy cutting takes no data while its buffer is full;
    // one that has taken nothing for this long has stalled or gone.
    kUSBWriteTimeoutMs = 20000,
    // The cutter answers a query at once; a read that gets nothing within this
    // time comes back empty (the device panel asks again).
    kUSBReadTimeoutMs = 1000
};

// Opens the first attached device with these ids (product id first) and its
// first bulk IN and OUT pipes. A link still open is closed first. Returns 0,
// kVTUSBErrNotFound when no such device is attached, or the failure that
// stopped the opening.
VT_NODISCARD ASErr USB_Open(unsigned short productId, unsigned short vendorId);

// Sends all length bytes over the OUT pipe, however many transfers the device
// needs to take them. Returns 0 and sends nothing when no link is open.
VT_NODISCARD ASErr USB_Send(char* data, int length);

// Clears kUSBReadBufferSize bytes of buffer and reads one reply into it; the
// reply is always terminated within the buffer. Returns 0 and leaves the
// buffer empty when no link is open.
VT_NODISCARD ASErr USB_Read(char* buffer);

// Closes what USB_Open opened and clears the handles; safe to call again.
VT_NODISCARD ASErr USB_Close();

// Completion of a reply that arrives outside USB_Read into usbReadBuffer:
// hands it to usbReplySink, when one is set, and clears the buffer.
void ReadPipeCallBack(void* refCon, ASErr result, void* arg);
