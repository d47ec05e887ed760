// Script commands of the toolbox: pick a tool, list the tools, and use the
// current one on the document with the pointer.
#include <ostream>

#include "ErrorText.h"
#include "Script/Script.h"
#include "Script/ScriptArgs.h"
#include "Tools/Tools.h"

namespace vt::host {
namespace {

// The tool a command's one argument names by its name or title.
Tool* toolArgument(const ScriptArgs& args, std::string& error)
{
    if (!expectOneArg(args, "the tool's name or title", error)) return nullptr;
    Tool* t = tools().find(args[0]);
    if (!t) error = "no tool named or titled \"" + args[0] + "\"";
    return t;
}

// "X Y [shift]": a document point (y upwards) and whether shift is held.
bool parsePointer(const ScriptArgs& args, AIRealPoint& point, bool& shift, std::string& error)
{
    if (args.size() < 2) {
        error = "expects a document point X Y (points, y upwards) and optionally shift";
        return false;
    }
    double x, y;
    if (!parseNumber(args[0], x, error) || !parseNumber(args[1], y, error)) return false;
    ADMModifiers modifiers = 0;
    if (!parseModifiers(args, 2, modifiers, error)) return false;
    point = AIRealPoint{static_cast<AIReal>(x), static_cast<AIReal>(y)};
    shift = (modifiers & kADMShiftKeyModifier) != 0;
    return true;
}

ScriptHandler pointerCommand(const char* name, ToolEvent event)
{
    return [name, event](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        AIRealPoint point;
        bool shift = false;
        if (!parsePointer(args, point, shift, error)) return false;
        bool sent = false;
        ASErr result = tools().pointer(event, point, shift, sent);
        if (result != kNoErr) c.out << name << ": " << errorText(result) << "\n";
        return true;
    };
}

ScriptCommandRegistrar toolCommand(
    "tool", "tool NAME  pick a tool by its name or title (\"Selection Tool\" is the host's own)",
    [](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        Tool* t = toolArgument(args, error);
        if (!t) return false;
        ASErr result = tools().select(t);
        c.out << "tool: " << t->title << "\n";
        if (result != kNoErr) c.out << "tool result: " << errorText(result) << "\n";
        return true;
    });

ScriptCommandRegistrar toolsCommand(
    "tools", "tools  list the toolbox: each tool's name, title and icon, the current one marked *",
    [](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        if (!expectNoArgs(args, error)) return false;
        Tools& box = tools();
        for (auto& t : box.tools()) {
            c.out << (t.get() == box.current() ? "* " : "  ") << "\"" << t->name << "\" \"" << t->title << "\"";
            if (t->plugin) c.out << " icon " << t->iconId;
            if (t->options & kToolWantsToTrackCursorOption) c.out << " (tracks the pointer)";
            c.out << "\n";
        }
        return true;
    });

ScriptCommandRegistrar expectToolCommand(
    "expect-tool", "expect-tool NAME  fail unless the current tool has this name or title",
    [](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        Tool* t = toolArgument(args, error);
        if (!t) return false;
        if (tools().current() != t) {
            error = "the current tool is \"" + tools().current()->title + "\"";
            return false;
        }
        return true;
    });

ScriptCommandRegistrar trackCommand("track", "track X Y [shift]  move the pointer over the document, button up",
                                    pointerCommand("track", ToolEvent::track));
ScriptCommandRegistrar mouseDownCommand("mouse-down", "mouse-down X Y [shift]  press the button at a document point",
                                        pointerCommand("mouse-down", ToolEvent::down));
ScriptCommandRegistrar mouseDragCommand("mouse-drag", "mouse-drag X Y [shift]  move the pointer with the button down",
                                        pointerCommand("mouse-drag", ToolEvent::drag));
ScriptCommandRegistrar mouseUpCommand("mouse-up", "mouse-up X Y [shift]  let the button go at a document point",
                                      pointerCommand("mouse-up", ToolEvent::up));

ScriptCommandRegistrar expectToolCursorCommand(
    "expect-tool-cursor", "expect-tool-cursor ID  fail unless the pointer shows cursor ID (0: the host's arrow)",
    [](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        if (!expectOneArg(args, "the cursor's id", error)) return false;
        long id;
        if (!parseInt(args[0], id, error)) return false;
        if (tools().cursorId != id) {
            error = "the pointer shows cursor " + std::to_string(tools().cursorId);
            return false;
        }
        return true;
    });

}  // namespace
}  // namespace vt::host
