// The toolkit's own look: how standard items and list entries are drawn
// when no draw procedure of the plug-in draws them. Kept plain: a picture of
// a dialog shows where every item is and what it holds.
#include <algorithm>
#include <sstream>
#include <vector>

#include "Toolkit/Fonts.h"
#include "Toolkit/Paint.h"
#include "Toolkit/TextLayout.h"

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
static std::vector<std::string> wrapLine(const std::string& paragraph, int width)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream words(paragraph);
    std::string word;
    while (words >> word) {
        bool startsWord = true;
        for (const std::string& piece : lineBreakPieces(word)) {
            std::string candidate = line.empty() ? piece : line + (startsWord ? " " : "") + piece;
            if (!line.empty() && textWidth(candidate) > width) {
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

std::vector<TextLine> setInBox(const std::string& text, const ADMRect& box, ADMJustify justify)
{
    std::vector<TextLine> set;
    if (text.empty()) return set;
    int room = box.right - box.left - 4;
    bool wrap = box.bottom - box.top >= 2 * kTextLineHeight;
    std::vector<std::string> lines;
    std::istringstream paragraphs(text);
    std::string paragraph;
    while (std::getline(paragraphs, paragraph)) {
        if (!wrap || textWidth(paragraph) <= room) {
            lines.push_back(paragraph);
        } else {
            for (auto& l : wrapLine(paragraph, room)) lines.push_back(l);
        }
    }
    int y = box.top + kTextBaseline;
    for (std::string& line : lines) {
        int w = textWidth(line);
        int x = box.left + 2;
        if (justify == kADMCenterJustify) x = (box.left + box.right - w) / 2;
        if (justify == kADMRightJustify) x = box.right - 2 - w;
        set.push_back(TextLine{std::move(line), x, y});
        y += kTextLineHeight;
    }
    return set;
}

// Text laid out in a box (setInBox), cut at the box's edges: the plug-in
// never cuts texts itself.
static void boxText(Drawer& d, const std::string& text, const ADMRect& box, ADMJustify justify, ADMColor color)
{
    if (text.empty() || !d.cr) return;
    Drawer t = d;
    t.color = color;
    t.mode = kADMNormalMode;
    cairo_save(d.cr);
    cairo_rectangle(d.cr, d.offsetX + box.left, d.offsetY + box.top, box.right - box.left, box.bottom - box.top);
    cairo_clip(d.cr);
    for (const TextLine& line : setInBox(text, box, justify)) {
        if (line.baseline - kTextBaseline >= box.bottom) break;
        paintText(t, line.text, line.x, line.baseline);
    }
    cairo_restore(d.cr);
}

// The room a popup keeps for its arrow, at its right end.
constexpr int kPopupArrowRoom = 14;
// And a spin edit for its arrows.
constexpr int kSpinArrowRoom = 14;

// Where the standard look sets an item's own text; false for an item that
// shows no text of its own (pictures, sliders, lists; a popup shows its
// chosen entry, placed by popupChoiceBox).
static bool ownTextBox(const Item& item, ADMRect& box)
{
    int w = item.width(), h = item.height();
    switch (item.kind) {
    case ItemKind::Frame: box = rect(0, 6, std::min(h, 14), w); return true;
    case ItemKind::TextStatic: box = rect(0, 0, h, w); return true;
    case ItemKind::TextPushButton: box = rect((h - 13) / 2, 0, h, w); return true;
    case ItemKind::TextCheckBox:
    case ItemKind::TextRadioButton: box = rect((h - 13) / 2, 15, h, w); return true;
    case ItemKind::TextEdit:
    case ItemKind::Child: box = rect((h - 13) / 2, 1, h - 1, w - 1); return true;
    case ItemKind::TextEditMultiLine: box = rect(2, 1, h - 1, w - 1); return true;
    case ItemKind::SpinEdit: box = rect((h - 13) / 2, 1, h - 1, w - std::min(w, kSpinArrowRoom)); return true;
    default: return false;
    }
}

// The picture an entry shows, selected or at rest.
static ASInt32 entryPicture(const Entry& e, bool selected)
{
    return selected && e.selectedPicture ? e.selectedPicture : e.picture;
}

// Where an entry's text goes in an entry w x h: after its picture (x 3 to
// 19), if any, six pixels on. Lists that draw a mark of their own after the
// picture lead their texts with blanks made for a wider system font; the
// gap gives the mark the same room in the dialog font.
static ADMRect entryTextBox(const Entry& e, bool selected, int w, int h)
{
    return rect((h - 13) / 2, entryPicture(e, selected) ? 23 : 2, h, w);
}

// A closed popup shows its choice as an entry w - 14 wide when the list has
// a draw procedure (which draws the entry, as a rule through DefaultDraw),
// else as a plain text.
static ADMRect popupChoiceBox(const Item& item, const Entry& e)
{
    int w = item.width(), h = item.height();
    if (item.list && item.list->drawProc) return entryTextBox(e, false, std::max(0, w - kPopupArrowRoom), h);
    return rect((h - 13) / 2, 2, h, w - kPopupArrowRoom);
}

static ADMRect intersect(const ADMRect& a, const ADMRect& b)
{
    return rect(std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom), std::min(a.right, b.right));
}

// How an item's own text is justified: push buttons centre theirs, check
// boxes and radios put theirs after the box, frames their title at the left.
static ADMJustify ownTextJustify(const Item& item)
{
    if (item.kind == ItemKind::TextPushButton) return kADMCenterJustify;
    return item.kind == ItemKind::TextStatic || isEditable(item.kind) ? item.justify : kADMLeftJustify;
}

std::vector<ShownText> shownTexts(const Item& item)
{
    std::vector<ShownText> shown;
    ADMRect all = rect(0, 0, item.height(), item.width());
    ADMRect box;
    // A spin edit too narrow for more than its arrows shows no field.
    if (ownTextBox(item, box) && (item.kind != ItemKind::SpinEdit || box.right - box.left > 4)) {
        std::string text = item.kind == ItemKind::Frame ? item.text : item.displayText();
        if (!text.empty())
            shown.push_back(ShownText{"", text, box, intersect(box, all), ownTextJustify(item)});
    }
    // A closed popup shows whichever entry is chosen, so each is measured
    // where the choice shows.
    if (item.kind == ItemKind::PopupList && item.list)
        for (size_t i = 0; i < item.list->entries.size(); ++i) {
            const Entry& e = *item.list->entries[i];
            if (e.text.empty()) continue;
            ADMRect choice = popupChoiceBox(item, e);
            shown.push_back(ShownText{e.active ? "" : "entry " + std::to_string(i + 1), e.text, choice,
                                      intersect(choice, all), kADMLeftJustify, item.list->entries[i].get(),
                                      rect(0, 0, item.height(), std::max(0, item.width() - kPopupArrowRoom))});
        }
    if (item.kind == ItemKind::ListBox && item.list) {
        const List& l = *item.list;
        int ew = l.entryWidth > 0 ? l.entryWidth : item.width();
        for (size_t i = 0; i < l.entries.size(); ++i) {
            const Entry& e = *l.entries[i];
            if (e.text.empty()) continue;
            // An entry below the list's last whole row shows in that row
            // once the list is scrolled to it.
            int lastRow = std::max(0, item.height() / std::max(1, static_cast<int>(l.entryHeight)) - 1);
            int top = static_cast<int>(std::min<size_t>(i, static_cast<size_t>(lastRow))) * l.entryHeight;
            ADMRect b = entryTextBox(e, e.selected, ew, l.entryHeight);
            b = rect(b.top + top, b.left, b.bottom + top, b.right);
            ADMRect row = rect(top, 0, top + l.entryHeight, std::min(ew, item.width()));
            shown.push_back(ShownText{"entry " + std::to_string(i + 1), e.text, b, intersect(b, row), kADMLeftJustify,
                                      l.entries[i].get(), rect(top, 0, top + l.entryHeight, ew)});
        }
    }
    return shown;
}

// An item's own text, where ownTextBox sets it.
static void ownText(Drawer& d, const Item& item, const std::string& text, ADMColor color)
{
    ADMRect box;
    if (ownTextBox(item, box)) boxText(d, text, box, ownTextJustify(item), color);
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
            ownText(d, *item, item->text, textColor);
        }
        break;
    case ItemKind::TextStatic:
        fill(d, kADMBackgroundColor, all);
        if (picture) paintPicture(d, picture, 0, 0, w, h, dimmed);
        ownText(d, *item, text, textColor);
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
        if (item->kind == ItemKind::TextPushButton) ownText(d, *item, text, textColor);
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
        ownText(d, *item, text, textColor);
        break;
    }
    case ItemKind::TextEdit:
    case ItemKind::TextEditMultiLine:
    case ItemKind::Child:
        fill(d, live ? kADMWhiteColor : kADMBackgroundColor, all);
        frame(d, kADMShadowColor, all);
        ownText(d, *item, text, textColor);
        break;
    case ItemKind::SpinEdit: {
        fill(d, live ? kADMWhiteColor : kADMBackgroundColor, all);
        frame(d, kADMShadowColor, all);
        int arrows = std::min(w, kSpinArrowRoom);
        ownText(d, *item, text, textColor);
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
            ed.bounds = rect(0, 0, h, std::max(0, w - kPopupArrowRoom));
            ed.color = kADMBlackColor;
            ed.mode = kADMNormalMode;
            // The closed popup shows its choice as an entry at rest, not
            // highlighted as in the open menu.
            bool selected = e->selected;
            e->selected = false;
            this->live(&ed);
            item->list->drawProc(ref(e), ref(&ed));
            this->dead(&ed);
            if (isLive(e)) e->selected = selected;
        } else if (e) {
            boxText(d, e->text, popupChoiceBox(*item, *e), kADMLeftJustify, textColor);
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
                const Drawer* itemDrawer = port ? port->drawer() : nullptr;
                if (port) port->setDrawer(&ed);
                if (l->drawProc) {
                    this->live(&ed);
                    l->drawProc(ref(e), ref(&ed));
                    this->dead(&ed);
                } else {
                    drawDefault(e, ed);
                }
                if (port) port->setDrawer(itemDrawer);
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
    if (d.shapes) d.shapesBeforeText = d.shapes->size();
    int w = d.bounds.right - d.bounds.left, h = d.bounds.bottom - d.bounds.top;
    fill(d, e->selected ? kADMHiliteColor : kADMWhiteColor, rect(0, 0, h, w));
    ASInt32 picture = entryPicture(*e, e->selected);
    if (picture) paintPicture(d, picture, 3, (h - 16) / 2, 16, 16, !e->enabled);
    ADMColor color = !e->enabled ? kADMDisabledColor : e->selected ? kADMHiliteTextColor : kADMTextColor;
    boxText(d, e->text, entryTextBox(*e, e->selected, w, h), kADMLeftJustify, color);
}

}  // namespace vt::host::toolkit
