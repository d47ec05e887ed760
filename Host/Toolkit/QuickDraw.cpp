// The platform's pen drawing, into the port the toolkit sets while an item's
// draw procedure runs. Window coordinates are turned into the item's own.
#include "QuickDraw.h"

#include <cstdio>
#include <string>

#include "Toolkit/Paint.h"

using namespace vt::host::toolkit;

struct PixPat {
    RGBColor color{0, 0, 0};
};

namespace {

uint32_t rgb8(const RGBColor& c) { return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8); }

// The pen's drawer over the port's item; null when no item is being drawn.
Drawer* portDrawer()
{
    Port* port = currentPort();
    return port ? port->pen() : nullptr;
}

void qdRecord(Drawer& d, const std::string& call)
{
    if (!recording(d)) return;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " color=0x%06X", static_cast<unsigned>(currentPort()->penColor()));
    d.calls->push_back("QD " + call + suffix);
}

// The pen's place once the text drawn last has moved it.
void settlePen(Port* port, Drawer& d)
{
    if (port->penAdvance.empty()) return;
    port->penH = static_cast<int>(port->penH + textWidth(d, port->penAdvance));
    port->penAdvance.clear();
}

}  // namespace

extern "C" {

PixPatHandle NewPixPat(void)
{
    PixPat** handle = new PixPat*;
    *handle = new PixPat;
    return handle;
}

void DisposePixPat(PixPatHandle pattern)
{
    if (!pattern) return;
    delete *pattern;
    delete pattern;
}

void MakeRGBPat(PixPatHandle pattern, const RGBColor* color)
{
    if (pattern && *pattern && color) (*pattern)->color = *color;
}

void PenPixPat(PixPatHandle pattern)
{
    if (pattern && *pattern && currentPort()) currentPort()->setPenColor(rgb8((*pattern)->color));
}

void RGBForeColor(const RGBColor* color)
{
    if (color && currentPort()) currentPort()->setPenColor(rgb8(*color));
}

void PenNormal(void)
{
    if (currentPort()) currentPort()->setPenColor(0x000000);
}

void MoveTo(short h, short v)
{
    if (!currentPort()) return;
    currentPort()->penAdvance.clear();
    currentPort()->penH = h;
    currentPort()->penV = v;
}

void LineTo(short h, short v)
{
    Drawer* pen = portDrawer();
    if (!pen) return;
    Drawer& d = *pen;
    Port* port = currentPort();
    settlePen(port, d);
    if (recording(d)) qdRecord(d, "LineTo " + std::to_string(port->penH) + " " + std::to_string(port->penV) + " " + std::to_string(h) +
                    " " + std::to_string(v));
    paintLine(d, port->penH, port->penV, h, v);
    port->penH = h;
    port->penV = v;
}

void FrameOval(const Rect* r)
{
    Drawer* pen = r ? portDrawer() : nullptr;
    if (!pen) return;
    Drawer& d = *pen;
    if (recording(d)) qdRecord(d, "FrameOval " + std::to_string(r->top) + " " + std::to_string(r->left) + " " +
                    std::to_string(r->bottom) + " " + std::to_string(r->right));
    paintOval(d, ADMRect{r->top, r->left, r->bottom, r->right}, false);
}

void DrawText(const void* text, short firstByte, short byteCount)
{
    Drawer* pen = text && byteCount > 0 && firstByte >= 0 ? portDrawer() : nullptr;
    if (!pen) return;
    Drawer& d = *pen;
    std::string s(static_cast<const char*>(text) + firstByte, static_cast<size_t>(byteCount));
    Port* port = currentPort();
    settlePen(port, d);
    if (recording(d)) qdRecord(d, "DrawText " + std::to_string(port->penH) + " " + std::to_string(port->penV) + " \"" + s + "\"");
    paintText(d, s, port->penH, port->penV);
    port->penAdvance = s;
}

}  // extern "C"
