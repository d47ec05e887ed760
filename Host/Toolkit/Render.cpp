// The toolkit's own look: how standard items and list entries are drawn
// when no draw procedure of the plug-in draws them. Kept plain: a picture of
// a dialog shows where every item is and what it holds.
#include <algorithm>
#include <sstream>
#include <vector>

#include "Toolkit/Fonts.h"
#include "Toolkit/Paint.h"

namespace vt::host::toolkit {

static ADMRect rect(int top, int left, int bottom, int right)
{
    return ADMRect{static_cast<ASInt16>(top), static_cast<ASInt16>(left), static_cast<ASInt16>(bottom),
                   static_cast<ASInt16>(right)};
}

static void fill(Drawer& d, ADMColor color, const ADMRect& r)
{
    Drawer f = d;
    f.color = color;
    f.mode = kADMNormalMode;
    paintRect(f, r, true);
}

static void frame(Drawer& d, ADMColor color, const ADMRect& r)
{
    Drawer f = d;
    f.color = color;
    f.mode = kADMNormalMode;
    paintRect(f, r, false);
}

// Splits a paragraph into lines no wider than width, breaking at spaces and,
// in Chinese and Japanese, which have no spaces, between Han and kana
// characters; a piece wider than the box stays whole on its own line (the box
// cuts it).
static std::vector<std::string> wrapLine(Drawer& d, const std::string& paragraph, int width)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream words(paragraph);
    std::string word;
    while (words >> word) {
        bool startsWord = true;
        for (const std::string& piece : lineBreakPieces(word)) {
            std::string candidate = line.empty() ? piece : line + (startsWord ? " " : "") + piece;
            if (!line.empty() && textWidth(d, candidate) > width) {
                lines.push_back(line);
                line = piece;
            } else {
                line = candidate;
            }
            startsWord = false;
        }
    }
    lines.push_back(line);
    return lines;
}

// Text laid out in a box: lines split at line breaks and, in a box tall
// enough for more than one line, wrapped as a real toolkit's static text
// does; justified, cut at the box's edges (the plug-in never cuts texts
// itself).
static void boxText(Drawer& d, const std::string& text, const ADMRect& box, ADMJustify justify, ADMColor color)
{
    if (text.empty() || !d.cr) return;
    Drawer t = d;
    t.color = color;
    t.mode = kADMNormalMode;
    cairo_save(d.cr);
    cairo_rectangle(d.cr, d.offsetX + box.left, d.offsetY + box.top, box.right - box.left, box.bottom - box.top);
    cairo_clip(d.cr);
    const int lineHeight = 13;
    bool wrap = box.bottom - box.top >= 2 * lineHeight;
    std::vector<std::string> lines;
    std::istringstream paragraphs(text);
    std::string paragraph;
    while (std::getline(paragraphs, paragraph)) {
        if (!wrap || textWidth(t, paragraph) <= box.right - box.left - 4) {
            lines.push_back(paragraph);
        } else {
            for (auto& l : wrapLine(t, paragraph, box.right - box.left - 4)) lines.push_back(l);
        }
    }
    int y = box.top + 11;
    for (const std::string& line : lines) {
        if (y - 11 >= box.bottom) break;
        int w = textWidth(t, line);
        int x = box.left + 2;
        if (justify == kADMCenterJustify) x = (box.left + box.right - w) / 2;
        if (justify == kADMRightJustify) x = box.right - 2 - w;
        paintText(t, line, x, y);
        y += lineHeight;
    }
    cairo_restore(d.cr);
}

void Toolkit::drawDefault(Item* item, Drawer& d)
{
    if (recording(d)) d.calls->push_back("DefaultDraw");
    int w = item->width(), h = item->height();
    ADMRect all = rect(0, 0, h, w);
    bool live = item->enabled;  // a deactivated item still looks ready for input
    ADMColor textColor = live ? kADMTextColor : kADMDisabledColor;
    std::string text = item->displayText();
    ASInt32 picture = item->picture;
    if (!live && item->disabledPicture) picture = item->disabledPicture;
    if (item->value != 0.0f && item->selectedPicture && isRadio(item->kind)) picture = item->selectedPicture;
    bool dimmed = !live && picture != item->disabledPicture;

    switch (item->kind) {
    case ItemKind::Frame:
        // The inside is the plug-in's: a frame only draws its edge and label,
        // so what a draw procedure painted stays.
        frame(d, kADMShadowColor, all);
        if (!item->text.empty()) {
            int tw = textWidth(d, item->text);
            fill(d, kADMBackgroundColor, rect(0, 6, std::min(h, 13), std::min(w, 10 + tw)));
            boxText(d, item->text, rect(0, 6, std::min(h, 14), w), kADMLeftJustify, textColor);
        }
        break;
    case ItemKind::TextStatic:
        fill(d, kADMBackgroundColor, all);
        if (picture) paintPicture(d, picture, 0, 0, w, h, dimmed);
        boxText(d, text, all, item->justify, textColor);
        break;
    case ItemKind::PictureStatic:
        fill(d, kADMBackgroundColor, all);
        paintPicture(d, picture, 0, 0, w, h, dimmed);
        break;
    case ItemKind::TextPushButton:
    case ItemKind::PicturePushButton:
    case ItemKind::PictureRadioButton:
        fill(d, item->value != 0.0f && isRadio(item->kind) ? kADMButtonDownColor : kADMButtonUpColor, all);
        if (picture) paintPicture(d, picture, 1, 1, w - 2, h - 2, dimmed);
        if (item->kind == ItemKind::TextPushButton) boxText(d, text, rect((h - 13) / 2, 0, h, w), kADMCenterJustify, textColor);
        frame(d, item->dialog && item->dialog->defaultItem == item->id ? kADMDarkShadowColor : kADMShadowColor, all);
        break;
    case ItemKind::TextCheckBox:
    case ItemKind::TextRadioButton: {
        fill(d, kADMBackgroundColor, all);
        int top = (h - 11) / 2;
        ADMRect box = rect(top, 1, top + 11, 12);
        fill(d, kADMWhiteColor, box);
        if (item->kind == ItemKind::TextCheckBox) {
            frame(d, kADMShadowColor, box);
            if (item->value != 0.0f) {
                Drawer m = d;
                m.color = textColor;
                paintLine(m, 3, top + 5, 5, top + 8);
                paintLine(m, 5, top + 8, 9, top + 2);
            }
        } else {
            Drawer o = d;
            o.color = kADMShadowColor;
            paintOval(o, box, false);
            if (item->value != 0.0f) {
                o.color = textColor;
                paintOval(o, rect(top + 3, 4, top + 8, 9), true);
            }
        }
        boxText(d, text, rect((h - 13) / 2, 15, h, w), kADMLeftJustify, textColor);
        break;
    }
    case ItemKind::TextEdit:
    case ItemKind::TextEditMultiLine:
    case ItemKind::Child:
        fill(d, live ? kADMWhiteColor : kADMBackgroundColor, all);
        frame(d, kADMShadowColor, all);
        boxText(d, text, rect(item->kind == ItemKind::TextEditMultiLine ? 2 : (h - 13) / 2, 1, h - 1, w - 1),
                item->justify, textColor);
        break;
    case ItemKind::SpinEdit: {
        fill(d, live ? kADMWhiteColor : kADMBackgroundColor, all);
        frame(d, kADMShadowColor, all);
        int arrows = std::min(w, 14);
        boxText(d, text, rect((h - 13) / 2, 1, h - 1, w - arrows), item->justify, textColor);
        fill(d, kADMButtonUpColor, rect(1, w - arrows, h - 1, w - 1));
        Drawer a = d;
        a.color = textColor;
        int cx = w - arrows / 2 - 1;
        ADMPoint up[3] = {{static_cast<ASInt16>(cx - 3), static_cast<ASInt16>(h / 2 - 2)},
                          {static_cast<ASInt16>(cx + 3), static_cast<ASInt16>(h / 2 - 2)},
                          {static_cast<ASInt16>(cx), static_cast<ASInt16>(h / 2 - 5)}};
        ADMPoint down[3] = {{static_cast<ASInt16>(cx - 3), static_cast<ASInt16>(h / 2 + 2)},
                            {static_cast<ASInt16>(cx + 3), static_cast<ASInt16>(h / 2 + 2)},
                            {static_cast<ASInt16>(cx), static_cast<ASInt16>(h / 2 + 5)}};
        paintPolygon(a, up, 3, true);
        paintPolygon(a, down, 3, true);
        break;
    }
    case ItemKind::Slider: {
        fill(d, kADMBackgroundColor, all);
        Drawer l = d;
        l.color = kADMShadowColor;
        paintLine(l, 0, h / 2, w - 1, h / 2);
        float range = item->maxValue - item->minValue;
        int x = range > 0 ? static_cast<int>((item->value - item->minValue) / range * (w - 1)) : 0;
        fill(d, live ? kADMDarkShadowColor : kADMDisabledColor, rect(0, std::max(0, x - 2), h, std::min(w, x + 3)));
        break;
    }
    case ItemKind::PopupList: {
        fill(d, kADMButtonUpColor, all);
        frame(d, kADMShadowColor, all);
        Entry* e = item->list ? item->list->active() : nullptr;
        if (e && item->list->drawProc) {
            // The chosen entry is shown the way the list's draw procedure draws it.
            Drawer ed = d;
            ed.bounds = rect(0, 0, h, std::max(0, w - 14));
            ed.color = kADMBlackColor;
            ed.mode = kADMNormalMode;
            // The closed popup shows its choice as an entry at rest, not
            // highlighted as in the open menu.
            bool selected = e->selected;
            e->selected = false;
            live_.insert(&ed);
            item->list->drawProc(ref(e), ref(&ed));
            live_.erase(&ed);
            if (live_.count(e)) e->selected = selected;
        } else if (e) {
            boxText(d, e->text, rect((h - 13) / 2, 2, h, w - 14), kADMLeftJustify, textColor);
        }
        Drawer a = d;
        a.color = textColor;
        ADMPoint tri[3] = {{static_cast<ASInt16>(w - 11), static_cast<ASInt16>(h / 2 - 2)},
                           {static_cast<ASInt16>(w - 4), static_cast<ASInt16>(h / 2 - 2)},
                           {static_cast<ASInt16>(w - 8), static_cast<ASInt16>(h / 2 + 2)}};
        paintPolygon(a, tri, 3, true);
        break;
    }
    case ItemKind::ListBox: {
        fill(d, kADMWhiteColor, all);
        List* l = item->list.get();
        if (l) {
            int ew = l->entryWidth > 0 ? l->entryWidth : w;
            for (size_t i = 0; i < l->entries.size(); ++i) {
                int top = static_cast<int>(i) * l->entryHeight;
                if (top >= h) break;
                Entry* e = l->entries[i].get();
                Drawer ed = d;
                ed.offsetX = d.offsetX;
                ed.offsetY = d.offsetY + top;
                ed.bounds = rect(0, 0, l->entryHeight, ew);
                ed.color = kADMBlackColor;
                ed.mode = kADMNormalMode;
                if (d.cr) {
                    cairo_save(d.cr);
                    cairo_rectangle(d.cr, d.offsetX, d.offsetY + top, ew, l->entryHeight);
                    cairo_clip(d.cr);
                }
                // The entry's clip, as cairo now has it.
                if (ed.clipKnown) {
                    ed.clipLeft = std::max(ed.clipLeft, d.offsetX);
                    ed.clipTop = std::max(ed.clipTop, d.offsetY + top);
                    ed.clipRight = std::min(ed.clipRight, d.offsetX + ew);
                    ed.clipBottom = std::min(ed.clipBottom, d.offsetY + top + l->entryHeight);
                }
                Port* port = currentPort();
                const Drawer* itemDrawer = port ? port->drawer : nullptr;
                if (port) port->drawer = &ed;
                if (l->drawProc) {
                    live_.insert(&ed);
                    l->drawProc(ref(e), ref(&ed));
                    live_.erase(&ed);
                } else {
                    drawDefault(e, ed);
                }
                if (port) port->drawer = itemDrawer;
                if (d.cr) cairo_restore(d.cr);
            }
        }
        frame(d, kADMShadowColor, all);
        break;
    }
    }
}

void Toolkit::drawDefault(Entry* e, Drawer& d)
{
    int w = d.bounds.right - d.bounds.left, h = d.bounds.bottom - d.bounds.top;
    fill(d, e->selected ? kADMHiliteColor : kADMWhiteColor, rect(0, 0, h, w));
    int x = 4;
    ASInt32 picture = e->selected && e->selectedPicture ? e->selectedPicture : e->picture;
    if (picture) {
        paintPicture(d, picture, 3, (h - 16) / 2, 16, 16, !e->enabled);
        x = 22;
    }
    ADMColor color = !e->enabled ? kADMDisabledColor : e->selected ? kADMHiliteTextColor : kADMTextColor;
    boxText(d, e->text, rect((h - 13) / 2, x - 2, h, w), kADMLeftJustify, color);
}

}  // namespace vt::host::toolkit
