// Where the toolkit's standard look sets the texts an item shows, and whether
// each fits there. Drawing (Render.cpp) and the fit check (Fit.cpp) both take
// their places from here, so what is checked is what is drawn.
#pragma once

#include <string>
#include <vector>

#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {

// One line of a text set in a box: its left end and baseline, box-relative
// as the box is item-relative.
struct TextLine {
    std::string text;
    int x = 0;
    int baseline = 0;
};

// Sets a text in a box as a static text shows it: lines split at line breaks
// and, in a box tall enough for two lines, wrapped at spaces and between Han
// and kana characters; justified within a margin of two pixels each side.
// Every line comes back, those below the box too (the box cuts them).
std::vector<TextLine> setInBox(const std::string& text, const ADMRect& box, ADMJustify justify);

// A text an item shows, where the standard look sets it: the item's own
// text (a label, a title, a value with its unit, a popup's choice) or one of
// its list's entries; a popup may show any of its entries. Rectangles are
// item-relative.
struct ShownText {
    std::string part;  // "" for the item's own text or a popup's choice, "entry N" (from 1) for another entry
    std::string text;
    ADMRect box{};     // where the text is set
    ADMRect clip{};    // what of it can show: the box within the item (and within its entry)
    ADMJustify justify = kADMLeftJustify;
    // An entry's text: the entry, and where it is drawn (its row, or the
    // choice of a closed popup), item-relative.
    Entry* entry = nullptr;
    ADMRect entryBounds{};
};
std::vector<ShownText> shownTexts(const Item& item);

// What of the dialog (or of the one item given) cannot be read whole: a
// text wider or taller than the room its item gives it, one that lies under
// another item, or an entry's text under a mark its list's draw procedure
// draws over it; each named with its item and text. Measured from the
// toolkit's fonts; nothing is painted (a list's draw procedure is asked what
// it would draw). Hidden items show nothing and cover nothing.
std::vector<std::string> fitProblems(const Dialog& dialog, const Item* only = nullptr);

}  // namespace vt::host::toolkit
