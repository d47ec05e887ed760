// The scripted user: what a person would do in an open dialog, done by tests
// and scripts. Every action goes through the same tracking and notification
// paths as a real event, then lets the toolkit redraw what became invalid.
//
// How a modal dialog is answered: actions are queued by dialog name before
// the dialog opens (Toolkit::queueDialog; "dialog NAME" ... "end-dialog" in a
// script). When the dialog opens, the toolkit runs its init procedure, then
// the first queued block for its name; a dialog still open afterwards (or
// one with nothing queued) is ended as a cancel (result: its cancel item, or
// 2) and reported. Nothing ever waits for a person.
#pragma once

#include <string>

#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {

class Driver {
public:
    Driver(Toolkit& toolkit, Dialog* dialog) : tk_(toolkit), dialog_(dialog) {}

    // The dialog acted on; null when it is gone.
    Dialog* dialog() const;
    Toolkit& toolkit() { return tk_; }

    // A click at the item's centre: press, release, then the item's own
    // change (check boxes toggle, radios turn on) and "ADM User Changed Notifier".
    bool click(ASInt32 itemId, std::string& error, ADMModifiers modifiers = 0);
    // Types text into an edit; numeric items read it in their units (or the
    // unit written after the number) and keep it within their limits.
    bool type(ASInt32 itemId, const std::string& text, std::string& error);
    // Picks an entry of a popup or list: by text, "#INDEX" or "id=ID".
    bool choose(ASInt32 itemId, const std::string& entry, std::string& error);
    // The arrows of a spin edit: steps small (or large) increments up or down,
    // at most kMostSpinPresses of them (a user holding an arrow down reaches
    // either limit of any spin edit long before).
    static constexpr int kMostSpinPresses = 10000;
    bool spin(ASInt32 itemId, int steps, bool large, std::string& error);
    // Pointer events at a point local to the item (the whole of a list,
    // however many entries it holds).
    bool press(ASInt32 itemId, Point point, ADMModifiers modifiers, std::string& error);
    bool drag(Point point, ADMModifiers modifiers, std::string& error);
    bool release(Point point, ADMModifiers modifiers, std::string& error);
    bool hover(ASInt32 itemId, Point point, ADMModifiers modifiers, std::string& error);
    bool doubleClick(ASInt32 itemId, Point point, ADMModifiers modifiers, std::string& error);
    // A key stroke, to the dialog's track procedure.
    bool key(ADMUInt16 character, ADMModifiers modifiers, std::string& error);
    // Resizes the dialog as the user would (minimum, maximum and increments apply).
    bool resize(int width, int height, std::string& error);
    // The window's close box: ends a modal dialog as a cancel.
    bool close(std::string& error);
    // Saves the dialog (itemId 0) or one item as a PNG picture.
    bool savePicture(const std::string& path, ASInt32 itemId, std::string& error);
    // Lets ticks pass and the toolkit redraw (passes update passes).
    void wait(uint32_t ticks, int passes);

    Item* find(ASInt32 itemId, std::string& error);

private:
    bool ready(std::string& error);
    bool trackPointer(Item* item, ADMAction action, Point point, ADMModifiers modifiers, bool mouseDown);
    void settle();
    Item* usable(ASInt32 itemId, std::string& error);
    bool sendUserChange(Item* item, Entry* entry);

    Toolkit& tk_;
    Dialog* dialog_;
    Item* captured_ = nullptr;
    Entry* pressedEntry_ = nullptr;
    bool aborted_ = false;
};

}  // namespace vt::host::toolkit
