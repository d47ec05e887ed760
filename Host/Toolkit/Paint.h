// Pixel painting shared by the drawer suite, QuickDraw and the toolkit's own
// look. Drawing is aliased (whole pixels), so pictures are exact and XOR
// drawing done twice restores what was there.
#pragma once

#include <string>

#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {

void paintLine(Drawer& d, int x1, int y1, int x2, int y2);
void paintRect(Drawer& d, const ADMRect& r, bool fill);
void paintOval(Drawer& d, const ADMRect& r, bool fill);
void paintPolygon(Drawer& d, const ADMPoint* points, int count, bool fill);
// The size of every text the toolkit draws, in pixels; the baseline of a
// text set in a box lies kTextBaseline below the box's top, and further lines
// follow kTextLineHeight apart.
constexpr double kTextSize = 11;
constexpr int kTextBaseline = 11;
constexpr int kTextLineHeight = 13;

// Text with its baseline at y.
void paintText(Drawer& d, const std::string& text, int x, int y);
// The advance of a text in whole pixels, measured from the fonts (nothing
// need be drawn); the drawer's form answers the drawer suite.
int textWidth(const std::string& text);
int textWidth(Drawer& d, const std::string& text);
// A picture resource of the plug-in ("Pictures/<id>.png" in its folder) or
// of the toolkit, at its own size centred in the box x, y, w, h (w and h 0:
// at its own size from x, y), faded when dimmed. One that is missing is shown
// as a labelled box filling the box and noted in the toolkit's missingPictures.
void paintPicture(Drawer& d, ASInt32 id, int x, int y, int w, int h, bool dimmed = false);
// The toolkit's own pictures (new entry, delete entry and its greyed form).
bool hasBuiltInPicture(ASInt32 id);
// Whether the drawer's item still records calls (Toolkit::callRecordLimit);
// callers skip building the record's text when it does not. Inline: every
// drawing call asks, hundreds of thousands of times a redraw.
inline bool recording(const Drawer& d) { return d.calls && d.calls->size() < Toolkit::get().callRecordLimit; }
// Records a call made by the plug-in.
void record(Drawer& d, const std::string& call);

}  // namespace vt::host::toolkit
