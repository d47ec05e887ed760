// The USB link to the cutter over the host's USB service.
//
// Failures are formatted into g_strUSBDiag and not shown: the caller decides
// from the returned code what the user sees. The one message printed is the
// notice about a skipped pipe.
#include "PlotOut/USB.h"

#include <algorithm>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "Common/PluginGlobals.h"

static char g_strUSBDiag[256];

static void USBDiag(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vsnprintf(g_strUSBDiag, sizeof g_strUSBDiag, format, args);
    va_end(args);
}

VT_NODISCARD static ASErr GetDevice_PID_VID_Addr(VTUSBDeviceRef service, unsigned short* productId,
                                                 unsigned short* vendorId, unsigned long* locationId) {
    *productId = 0;
    *vendorId = 0;
    *locationId = 0;
    uint16_t vendor = 0, product = 0;
    uint32_t location = 0;
    ASErr result = VTUSB_GetDeviceIds(service, &vendor, &product, &location);
    if (result) {
        USBDiag("GetDevice_PID_VID_Addr: unable to read the device ids. ret = %08x, dev = %p\n",
                (unsigned)result, (void*)service);
        return result;
    }
    *productId = product;
    *vendorId = vendor;
    *locationId = location;
    return 0;
}

// Finds the pipes of the open interface: the first bulk IN and the first bulk
// OUT pipe by pipe reference.
VT_NODISCARD static ASErr Pipe_Open(VTUSBInterfaceRef intf, unsigned char endpointCount) {
    g->usbPipeIn = 0;
    g->usbPipeOut = 0;
    g->usbPipeInMaxPacket = 0;
    for (int pipeRef = 1; pipeRef <= endpointCount; ++pipeRef) {
        uint8_t direction = 0, number = 0, transferType = 0, interval = 0;
        uint16_t maxPacketSize = 0;
        ASErr result = VTUSB_GetPipeProperties(intf, (uint8_t)pipeRef, &direction, &number,
                                               &transferType, &maxPacketSize, &interval);
        if (result) {
            USBDiag("Pipe_Open: unable to get pipe properties for pipe %d, err = %08x\n", pipeRef,
                    (unsigned)result);
            return result;
        }
        if (transferType != kVTUSBBulk) {
            printf("Pipe_Open: skipping pipe %d because it is not a bulk pipe\n", pipeRef);
            fflush(stdout);
            continue;
        }
        if (direction == kVTUSBIn && !g->usbPipeIn) {
            g->usbPipeIn = (uint8_t)pipeRef;
            g->usbPipeInMaxPacket = maxPacketSize;
        } else if (direction == kVTUSBOut && !g->usbPipeOut) {
            g->usbPipeOut = (uint8_t)pipeRef;
        }
    }
    return 0;
}

// Opens one interface of the open device. When it opens, it becomes the
// interface used and the one opened before it is let go, so each device keeps
// at most one interface claimed.
VT_NODISCARD static ASErr Interface_Open(VTUSBOpenDeviceRef device, unsigned char index) {
    VTUSBInterfaceRef intf = nullptr;
    ASErr result = VTUSB_OpenInterface(device, index, &intf);
    if (result) {
        USBDiag("Interface_SendData: unable to open interface. ret = %08x\n", (unsigned)result);
        return result;
    }
    uint8_t endpointCount = 0;
    result = VTUSB_GetEndpointCount(intf, &endpointCount);
    if (result) {
        USBDiag("Interface_SendData: unable to get number of endpoints. ret = %08x\n",
                (unsigned)result);
        VTUSB_CloseInterface(intf);
        return result;
    }
    if (g->usbInterface) VTUSB_CloseInterface(g->usbInterface);
    g->usbInterface = intf;
    return Pipe_Open(intf, endpointCount);
}

VT_NODISCARD static ASErr Device_Open(VTUSBDeviceRef service) {
    ASErr result = VTUSB_OpenDevice(service, &g->usbDevice);
    if (result) {
        USBDiag("Device_SendData: unable to open a device interface. ret = %08x\n",
                (unsigned)result);
    } else {
        uint8_t interfaceCount = 0;
        result = VTUSB_GetInterfaceCount(g->usbDevice, &interfaceCount);
        if (result) {
            USBDiag("Device_SendData: unable to list the interfaces. ret = %08x\n",
                    (unsigned)result);
        } else {
            for (int i = 0; i < interfaceCount; ++i) result = Interface_Open(g->usbDevice, (unsigned char)i);
            // A device that opened one interface and then failed on a later one
            // is still usable through the first.
            if (result && g->usbInterface) result = 0;
        }
    }
    VTUSB_ReleaseDevice(g->usbService);
    g->usbService = nullptr;
    return result;
}

ASErr USB_Open(unsigned short productId, unsigned short vendorId) {
    // Opening over an open link would lose its handles and keep the cutter claimed.
    // The close clears the old link's handles and pipes whatever it says, and
    // over no link it only clears the pipes.
    (void)USB_Close();

    ASErr result = VTUSB_OpenSession(&g->usbMasterPort);
    if (result || !g->usbMasterPort) {
        USBDiag("USB_Open: Couldn't create a master I/O Kit port(%d)", (int)result);
        return result ? result : kVTUSBErrUnavailable;
    }
    VTUSBDeviceListRef list = nullptr;
    result = VTUSB_ListDevices(g->usbMasterPort, &list);
    if (result) {
        USBDiag("USB_Open: Couldn’t create a USB matching dictionary");
        return result;
    }
    while (VTUSBDeviceRef service = VTUSB_NextDevice(list)) {
        unsigned short pid = 0, vid = 0;
        unsigned long location = 0;
        if (GetDevice_PID_VID_Addr(service, &pid, &vid, &location) == 0 && pid == productId &&
            vid == vendorId) {
            g->usbService = service;
            break;
        }
        VTUSB_ReleaseDevice(service);
    }
    VTUSB_ReleaseDeviceList(list);
    if (!g->usbService) return kVTUSBErrNotFound;
    return Device_Open(g->usbService);
}

ASErr USB_Send(char* data, int length) {
    if (!g->usbInterface || !g->usbPipeOut) return 0;
    if (length < 0 || (!data && length > 0)) return kVTUSBErrBadParam;
    const uint32_t total = (uint32_t)length;
    uint32_t sent = 0;
    ASErr result = 0;
    // One transfer as a rule; more when the device took only part of the bytes
    // before the time-out. A zero length still makes one (empty) transfer.
    do {
        uint32_t moved = 0;
        result = VTUSB_WritePipe(g->usbInterface, g->usbPipeOut, data + sent, total - sent, &moved,
                                 kUSBWriteTimeoutMs);
        moved = std::min(moved, total - sent);
        sent += moved;
        if (result == kVTUSBErrTimeout && moved > 0)
            result = 0;  // slow, but still taking bytes
        else if (!result && moved == 0 && sent < total)
            result = kVTUSBErrIO;  // took nothing and said nothing: do not spin
    } while (!result && sent < total);
    if (result) USBDiag("Pipe_SendData: unable to write pipe err = %08x\n", (unsigned)result);
    return result;
}

ASErr USB_Read(char* buffer) {
    if (!buffer) return kVTUSBErrBadParam;
    memset(buffer, 0, kUSBReadBufferSize);
    if (!g->usbInterface || !g->usbPipeIn) return 0;
    // The last byte stays 0 so the reply is always a terminated text. Asking
    // for whole packets only means a longer reply is never cut inside a packet
    // (and lost): its rest stays with the device for the next read.
    uint32_t size = kUSBReadBufferSize - 1;
    uint16_t packet = g->usbPipeInMaxPacket;
    if (packet > 0 && packet <= size) size -= size % packet;
    ASErr result = VTUSB_ReadPipe(g->usbInterface, g->usbPipeIn, buffer, &size, kUSBReadTimeoutMs);
    if (result) USBDiag("Pipe_SendData: unable to read pipe err = %08x\n", (unsigned)result);
    return result;
}

ASErr USB_Close() {
    ASErr result = 0;
    if (g->usbInterface) {
        result = VTUSB_CloseInterface(g->usbInterface);
        if (result) USBDiag("USB_Close: unable to close interface. ret = %08x\n", (unsigned)result);
        g->usbInterface = nullptr;
    }
    if (g->usbDevice) {
        ASErr r = VTUSB_CloseDevice(g->usbDevice);
        if (r) {
            USBDiag("USB_Close: error releasing device - %08x\n", (unsigned)r);
            result = r;
        }
        g->usbDevice = nullptr;
    }
    if (g->usbMasterPort) {
        VTUSB_CloseSession(g->usbMasterPort);
        g->usbMasterPort = nullptr;
    }
    g->usbPipeIn = 0;
    g->usbPipeOut = 0;
    g->usbPipeInMaxPacket = 0;
    return result;
}

void ReadPipeCallBack(void* refCon, ASErr result, void* arg) {
    (void)refCon;
    (void)result;
    (void)arg;
    if (g->usbReadBuffer[0] == 0) return;
    // Whoever shows such replies gets the text. The buffer may be full to its
    // last byte: what is handed on is a terminated copy. No read is ever
    // queued on this buffer (USB_Read serves the device panel), so this runs
    // only when called.
    if (g->usbReplySink != nullptr) {
        char text[sizeof g->usbReadBuffer + 1];
        memcpy(text, g->usbReadBuffer, sizeof g->usbReadBuffer);
        text[sizeof g->usbReadBuffer] = 0;
        g->usbReplySink(text);
    }
    memset(g->usbReadBuffer, 0, sizeof g->usbReadBuffer);
}
