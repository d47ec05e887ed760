// Whether every text a dialog shows can be read whole: each measured in the
// toolkit's fonts where the standard look sets it (TextLayout.h).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Toolkit/Fonts.h"
#include "Toolkit/Paint.h"
#include "Toolkit/TextLayout.h"

namespace vt::host::toolkit {
namespace {

// The ink of one line, dialog-relative.
struct Ink {
    double left, top, right, bottom;
};

bool overlaps(const Ink& ink, const ADMRect& r)
{
    return ink.left < r.right && ink.right > r.left && ink.top < r.bottom && ink.bottom > r.top;
}

// What a list's draw procedure draws over an entry's text (a swatch, a
// marker), item-relative: it is asked to draw the entry as it does when the
// list or the closed popup shows it, and what it draws after the entry's own
// text is kept, nothing painted.
std::vector<ADMRect> drawnOver(const Item& item, const ShownText& shown)
{
    std::vector<ADMRect> over;
    if (!shown.entry || !item.list || !item.list->drawProc) return over;
    Toolkit& tk = Toolkit::get();
    Entry* e = shown.entry;
    std::vector<ADMRect> shapes;
    Drawer probe;
    probe.bounds = ADMRect{0, 0, static_cast<ASInt16>(shown.entryBounds.bottom - shown.entryBounds.top),
                           static_cast<ASInt16>(shown.entryBounds.right - shown.entryBounds.left)};
    probe.shapes = &shapes;
    // A closed popup shows its choice at rest, not highlighted.
    bool selected = e->selected;
    if (item.kind == ItemKind::PopupList) e->selected = false;
    tk.live(&probe);
    item.list->drawProc(ref(e), ref(&probe));
    tk.dead(&probe);
    if (tk.isLive(e)) e->selected = selected;
    for (size_t i = probe.shapesBeforeText; i < shapes.size(); ++i) {
        const ADMRect& r = shapes[i];
        over.push_back(ADMRect{static_cast<ASInt16>(r.top + shown.entryBounds.top),
                               static_cast<ASInt16>(r.left + shown.entryBounds.left),
                               static_cast<ASInt16>(r.bottom + shown.entryBounds.top),
                               static_cast<ASInt16>(r.right + shown.entryBounds.left)});
    }
    return over;
}

std::string describe(const Item& item, const ShownText& shown)
{
    return "item " + std::to_string(item.id) + (shown.part.empty() ? "" : " " + shown.part) + " (\"" + shown.text + "\")";
}

// The problems of one text of an item; later holds the items painted over it.
void checkText(const Dialog& dialog, const Item& item, const ShownText& shown, const std::vector<Item*>& later,
               std::vector<std::string>& problems)
{
    // What of the item lies outside the dialog cannot show either.
    ADMRect clip = shown.clip;
    clip.right = static_cast<ASInt16>(std::min<int>(clip.right, dialog.width() - item.bounds.left));
    clip.bottom = static_cast<ASInt16>(std::min<int>(clip.bottom, dialog.height() - item.bounds.top));
    clip.left = static_cast<ASInt16>(std::max<int>(clip.left, -item.bounds.left));
    clip.top = static_cast<ASInt16>(std::max<int>(clip.top, -item.bounds.top));
    // An item the dialog has been made too small to hold (a palette folded
    // up) is out of sight, not cut.
    if (clip.right <= clip.left || clip.bottom <= clip.top) return;
    // The toolkit keeps two pixels free at either end of a text's box.
    int room = clip.right - clip.left - 4;
    int widest = 0;
    double top = 0, bottom = 0;
    bool inked = false;
    const Item* over = nullptr;
    bool drawnUnder = false;
    std::vector<ADMRect> overEntry = drawnOver(item, shown);
    for (const TextLine& line : setInBox(shown.text, shown.box, shown.justify)) {
        TextExtent e = measureText(line.text, kTextSize);
        if (!e.inked) continue;
        widest = std::max(widest, textWidth(line.text));
        double lineTop = line.baseline + e.inkTop, lineBottom = line.baseline + e.inkBottom;
        top = inked ? std::min(top, lineTop) : lineTop;
        bottom = inked ? std::max(bottom, lineBottom) : lineBottom;
        inked = true;
        // Only what of the line shows can be covered; what its item cuts off is
        // reported as such.
        Ink ink{item.bounds.left + std::max<double>(clip.left, line.x + e.inkLeft),
                item.bounds.top + std::max<double>(clip.top, lineTop),
                item.bounds.left + std::min<double>(clip.right, line.x + e.inkRight),
                item.bounds.top + std::min<double>(clip.bottom, lineBottom)};
        for (const Item* other : later)
            if (!over && other->width() > 0 && other->height() > 0 && overlaps(ink, other->bounds)) over = other;
        Ink local{ink.left - item.bounds.left, ink.top - item.bounds.top, ink.right - item.bounds.left,
                  ink.bottom - item.bounds.top};
        for (const ADMRect& r : overEntry) drawnUnder = drawnUnder || overlaps(local, r);
    }
    if (!inked) return;
    std::string what = describe(item, shown);
    if (widest > room)
        problems.push_back(what + " is " + std::to_string(widest) + " pixels wide in a room " + std::to_string(room) +
                           " wide");
    // A row of pixels is lost when more than half of it lies outside.
    if (top < clip.top - 0.5 || bottom > clip.bottom + 0.5) {
        char span[96];
        std::snprintf(span, sizeof span, " reaches from y %.0f to %.0f in a room from %d to %d", std::floor(top),
                      std::ceil(bottom), clip.top, clip.bottom);
        problems.push_back(what + span);
    }
    if (over) problems.push_back(what + " lies under item " + std::to_string(over->id));
    if (drawnUnder) problems.push_back(what + " lies under what the list's draw procedure draws over it");
}

}  // namespace

std::vector<std::string> fitProblems(const Dialog& dialog, const Item* only)
{
    std::vector<std::string> problems;
    std::vector<Item*> order = paintOrder(dialog);
    for (size_t i = 0; i < order.size(); ++i) {
        const Item& item = *order[i];
        if (only && &item != only) continue;
        std::vector<Item*> later(order.begin() + static_cast<long>(i) + 1, order.end());
        for (const ShownText& shown : shownTexts(item)) checkText(dialog, item, shown, later, problems);
    }
    return problems;
}

}  // namespace vt::host::toolkit
