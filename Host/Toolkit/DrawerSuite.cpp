// "ADM Drawer Suite" and "ADM Icon Suite": drawing into an item's raster.
// Every call the plug-in makes is also recorded on the item.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "Host.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Paint.h"
#include "Toolkit/SuiteOps.h"

namespace vt::host::toolkit {
namespace {

std::string rectText(const ADMRect* r)
{
    return std::to_string(r->top) + " " + std::to_string(r->left) + " " + std::to_string(r->bottom) + " " +
           std::to_string(r->right);
}

std::string pointsText(const ADMPoint* p, ASInt32 n)
{
    std::string s = std::to_string(n);
    for (ASInt32 i = 0; i < n && i < 8; ++i) s += " " + std::to_string(p[i].h) + "," + std::to_string(p[i].v);
    if (n > 8) s += " ...";
    return s;
}

// Keeps the box a shape covers for the fit check, when it asks (Drawer::shapes).
void keep(Drawer& d, int left, int top, int right, int bottom)
{
    if (d.shapes)
        d.shapes->push_back(ADMRect{static_cast<ASInt16>(top), static_cast<ASInt16>(left), static_cast<ASInt16>(bottom),
                                    static_cast<ASInt16>(right)});
}

void keepPoints(Drawer& d, const ADMPoint* p, ASInt32 n)
{
    if (!d.shapes || n <= 0) return;
    int left = p[0].h, top = p[0].v, right = p[0].h, bottom = p[0].v;
    for (ASInt32 i = 1; i < n; ++i) {
        left = std::min<int>(left, p[i].h), right = std::max<int>(right, p[i].h);
        top = std::min<int>(top, p[i].v), bottom = std::max<int>(bottom, p[i].v);
    }
    keep(d, left, top, right + 1, bottom + 1);  // a line covers its end pixels
}

// A rectangle or an oval outlined or filled: recorded under the operation's
// name, then painted.
void drawShape(ADMDrawerRef drawer, const ADMRect* r, void (*paint)(Drawer&, const ADMRect&, bool), bool fill,
               const char* op)
{
    Drawer* d = lookup(drawer, op);
    if (!d || !r) return;
    if (recording(*d)) record(*d, op + (" " + rectText(r)));
    keep(*d, r->left, r->top, r->right, r->bottom);
    paint(*d, *r, fill);
}

// A polygon outlined or filled, the same way.
void drawPolygon(ADMDrawerRef drawer, const ADMPoint* p, ASInt32 n, bool fill, const char* op)
{
    Drawer* d = lookup(drawer, op);
    if (!d || !p || n <= 0) return;
    if (recording(*d)) record(*d, op + (" " + pointsText(p, n)));
    keepPoints(*d, p, n);
    paintPolygon(*d, p, n, fill);
}

struct DrawerOps {
    using Suite = ADMDrawerSuite;

    static void GetBoundsRect(ADMDrawerRef drawer, ADMRect* bounds)
    {
        DRAWER_OR();
        if (bounds) *bounds = d->bounds;
    }

    static void SetColor(ADMDrawerRef drawer, ADMColor color) { setField(drawer, &Drawer::color, color, __func__); }
    static ADMColor GetColor(ADMDrawerRef drawer) { return getField(drawer, &Drawer::color, __func__); }
    static void SetDrawMode(ADMDrawerRef drawer, ADMDrawMode mode) { setField(drawer, &Drawer::mode, mode, __func__); }
    static ADMDrawMode GetDrawMode(ADMDrawerRef drawer) { return getField(drawer, &Drawer::mode, __func__); }

    static void DrawLine(ADMDrawerRef drawer, const ADMPoint* a, const ADMPoint* b)
    {
        DRAWER_OR();
        if (!a || !b) return;
        if (recording(*d)) record(*d, "DrawLine " + std::to_string(a->h) + " " + std::to_string(a->v) + " " + std::to_string(b->h) + " " +
                       std::to_string(b->v));
        const ADMPoint ends[2] = {*a, *b};
        keepPoints(*d, ends, 2);
        paintLine(*d, a->h, a->v, b->h, b->v);
    }

    static void DrawRect(ADMDrawerRef drawer, const ADMRect* r) { drawShape(drawer, r, paintRect, false, __func__); }

    static void FillRect(ADMDrawerRef drawer, const ADMRect* r) { drawShape(drawer, r, paintRect, true, __func__); }

    static void ClearRect(ADMDrawerRef drawer, const ADMRect* r)
    {
        DRAWER_OR();
        if (!r) return;
        if (recording(*d)) record(*d, "ClearRect " + rectText(r));
        keep(*d, r->left, r->top, r->right, r->bottom);
        Drawer white = *d;
        white.color = kADMWhiteColor;
        white.mode = kADMNormalMode;
        paintRect(white, *r, true);
    }

    static void DrawOval(ADMDrawerRef drawer, const ADMRect* r) { drawShape(drawer, r, paintOval, false, __func__); }

    static void FillOval(ADMDrawerRef drawer, const ADMRect* r) { drawShape(drawer, r, paintOval, true, __func__); }

    static void DrawPolygon(ADMDrawerRef drawer, const ADMPoint* p, ASInt32 n)
    {
        drawPolygon(drawer, p, n, false, __func__);
    }

    static void FillPolygon(ADMDrawerRef drawer, const ADMPoint* p, ASInt32 n)
    {
        drawPolygon(drawer, p, n, true, __func__);
    }

    static void DrawText(ADMDrawerRef drawer, const char* text, const ADMPoint* p)
    {
        DRAWER_OR();
        if (!text || !p) return;
        if (recording(*d)) record(*d, "DrawText " + std::to_string(p->h) + " " + std::to_string(p->v) + " \"" + text + "\"");
        if (d->shapes) {
            TextExtent e = measureText(text, kTextSize);
            if (e.inked)
                keep(*d, static_cast<int>(std::floor(p->h + e.inkLeft)), static_cast<int>(std::floor(p->v + e.inkTop)),
                     static_cast<int>(std::ceil(p->h + e.inkRight)), static_cast<int>(std::ceil(p->v + e.inkBottom)));
        }
        paintText(*d, text, p->h, p->v);
    }

    static ASInt32 GetTextWidth(ADMDrawerRef drawer, const char* text)
    {
        DRAWER_OR(0);
        return text ? textWidth(*d, text) : 0;
    }

    static void DrawPicture(ADMDrawerRef drawer, ASInt32 id, const ADMPoint* p)
    {
        DRAWER_OR();
        if (!p) return;
        if (recording(*d)) record(*d, "DrawPicture " + std::to_string(id) + " " + std::to_string(p->h) + " " + std::to_string(p->v));
        if (id != 0) tk().pictureIds.insert(id);
        paintPicture(*d, id, p->h, p->v, 0, 0);
    }

    static void DrawIconCentered(ADMDrawerRef drawer, ADMIconRef icon, const ADMRect* r)
    {
        DRAWER_OR();
        Icon* i = tk().icon(icon, "DrawIconCentered");
        if (!i || !r) return;
        if (recording(*d)) record(*d, "DrawIconCentered " + std::to_string(i->id) + " " + rectText(r));
        keep(*d, r->left, r->top, r->right, r->bottom);
        paintPicture(*d, i->id, r->left, r->top, r->right - r->left, r->bottom - r->top);
    }
};

struct IconOps {
    using Suite = ADMIconSuite;

    // Icons: a picture of the plug-in's resources. An icon the plug-in's folder
    // does not hold is of the unknown type, as a resource that cannot be loaded
    // is, so that the plug-in learns of it when it asks.
    static ADMIconRef GetFromResource(SPPluginRef plugin, ASInt32 iconID, ASInt32 iconIndex)
    {
        auto icon = std::make_unique<Icon>();
        icon->id = iconID;
        if (iconID != 0) tk().pictureIds.insert(iconID);
        icon->type = iconID != 0 && plugin != nullptr && tk().hasPicture(iconID) ? kADMPictureIconType : kADMUnknownIconType;
        // The plug-in can only say that an icon did not load; the host knows
        // which file is missing, and says so.
        if (icon->type == kADMUnknownIconType && iconID != 0 && plugin != nullptr && Host::exists())
            Host::current().reportProblem("the plug-in's icon " + std::to_string(iconID) + " has no picture: " +
                                          tk().picturePath(iconID) + " is missing");
        Icon* raw = icon.get();
        tk().live(raw);
        tk().icons.push_back(std::move(icon));
        return ref(raw);
    }

    static void Destroy(ADMIconRef icon)
    {
        Icon* i = tk().icon(icon, "Destroy");
        if (!i) return;
        tk().dead(i);
        auto& icons = tk().icons;
        for (auto it = icons.begin(); it != icons.end(); ++it)
            if (it->get() == i) {
                icons.erase(it);
                break;
            }
    }

    static ADMIconType GetType(ADMIconRef icon)
    {
        Icon* i = tk().icon(icon, "GetType");
        return i ? i->type : kADMUnknownIconType;
    }

    static ASInt32 GetWidth(ADMIconRef icon) { return tk().icon(icon, "GetWidth") ? 16 : 0; }
    static ASInt32 GetHeight(ADMIconRef icon) { return tk().icon(icon, "GetHeight") ? 16 : 0; }
};

SuiteInstaller installer(installOps<DrawerOps, IconOps>);

}  // namespace
}  // namespace vt::host::toolkit
