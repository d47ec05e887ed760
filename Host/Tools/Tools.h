// The host's toolbox: its own "Selection Tool" and the tools plug-ins add,
// which one is current, the pointer's shape, and the messages a tool hears
// while the user works with it on the document.
//
// A plug-in's tool hears "AI Select" when it becomes current and "AI Deselect"
// when another tool does; while it is current it hears "AI Track Cursor" as
// the pointer moves with the button up (when it asked for that), and "AI Mouse
// Down", "AI Mouse Drag" and "AI Mouse Up" while the button is used. Points
// are document points, y growing upwards.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Host.h"
#include "Toolbox.h"

// A cursor resource as the host keeps it; the plug-in holds a handle to it
// (the address of `self`) and never looks inside.
struct Cursor {
    ASInt16 id = 0;
    Cursor* self = nullptr;
};

namespace vt::host {

struct Tool {
    SPPlugin* plugin = nullptr;  // null: one of the host's own tools
    std::string name;
    std::string title;
    std::string tip;
    ASInt32 iconId = 0;
    ASInt32 options = 0;
    ASInt32 sameGroupAs = 0;
    ASInt32 sameToolsetAs = 0;
};

// What the pointer does, as the host tells the current tool.
enum class ToolEvent { track, down, drag, up };

#define kSelectionToolName "Selection Tool"

class Tools {
public:
    Tools();

    static AIToolHandle handle(const Tool* tool) { return reinterpret_cast<AIToolHandle>(const_cast<Tool*>(tool)); }
    Tool* tool(AIToolHandle handle) const;
    // By name or title ("Selection Tool" is the host's own); null when none.
    Tool* find(const std::string& nameOrTitle) const;
    const std::vector<std::unique_ptr<Tool>>& tools() const { return tools_; }

    // Null, error set, when the name is taken.
    Tool* add(std::unique_ptr<Tool> tool, std::string& error);

    Tool* current() const { return current_; }
    // Makes the tool current: the old one hears "AI Deselect", the new one
    // "AI Select" (choosing the current tool again changes nothing). Returns
    // the first error a plug-in answered.
    ASErr select(Tool* tool);

    // The pointer at a document point, with the shift key or not: a message to
    // the current tool when it is a plug-in's (tracking only when it asked).
    // sent tells whether a message went out.
    ASErr pointer(ToolEvent event, AIRealPoint point, bool shift, bool& sent);

    // The pointer's shape: the id of the cursor last made current, 0 for the
    // host's own arrow.
    ASInt16 cursorId = 0;
    // Cursors read from the plug-in's folder, kept for the session.
    std::map<ASInt16, std::unique_ptr<Cursor>> cursors;

private:
    ASErr send(Tool* tool, const char* selector, AIRealPoint point, ASUInt32 modifiers);

    std::vector<std::unique_ptr<Tool>> tools_;
    Tool* current_ = nullptr;
};

// The toolbox of the running host.
Tools& tools();

}  // namespace vt::host
