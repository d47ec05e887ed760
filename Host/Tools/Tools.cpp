#include "Tools/Tools.h"


#include "Toolkit/Toolkit.h"

namespace vt::host {

Tools::Tools()
{
    auto selection = std::make_unique<Tool>();
    selection->name = kSelectionToolName;
    selection->title = kSelectionToolName;
    selection->tip = "Selection Tool: select, move and resize objects";
    tools_.push_back(std::move(selection));
    // The host starts with its own selection tool in hand.
    current_ = tools_.front().get();
}

Tools& tools() { return Host::current().service<Tools>(); }

Tool* Tools::tool(AIToolHandle handle) const
{
    for (auto& t : tools_)
        if (Tools::handle(t.get()) == handle) return t.get();
    return nullptr;
}

Tool* Tools::find(const std::string& nameOrTitle) const
{
    for (auto& t : tools_)
        if (t->name == nameOrTitle) return t.get();
    for (auto& t : tools_)
        if (t->title == nameOrTitle) return t.get();
    return nullptr;
}

Tool* Tools::add(std::unique_ptr<Tool> tool, std::string& error)
{
    for (auto& t : tools_)
        if (t->name == tool->name) {
            error = "a tool named \"" + tool->name + "\" exists already";
            return nullptr;
        }
    tools_.push_back(std::move(tool));
    return tools_.back().get();
}

ASErr Tools::send(Tool* tool, const char* selector, AIRealPoint point, ASUInt32 modifiers)
{
    if (tool == nullptr || tool->plugin == nullptr) return kNoErr;
    AIEvent event{toolkit::Toolkit::get().ticks, modifiers};
    AIToolMessage message{};
    message.tool = handle(tool);
    message.cursor = point;
    message.event = &event;
    return Host::current().send(tool->plugin, kCallerAITool, selector, &message.d);
}

ASErr Tools::select(Tool* tool)
{
    if (tool == nullptr) return kNoSuchToolErr;
    if (tool == current_) return kNoErr;
    Tool* old = current_;
    // The new tool is current before either message goes out, so that a tool
    // asking the toolbox while it hears its message learns the truth.
    current_ = tool;
    ASErr error = send(old, kSelectorAIDeselectTool, AIRealPoint{0, 0}, 0);
    ASErr selected = send(tool, kSelectorAISelectTool, AIRealPoint{0, 0}, 0);
    // A tool that is no longer a plug-in's has no say over the pointer.
    if (tool->plugin == nullptr) cursorId = 0;
    return error != kNoErr ? error : selected;
}

ASErr Tools::pointer(ToolEvent event, AIRealPoint point, bool shift, bool& sent)
{
    sent = false;
    Tool* tool = current_;
    if (tool == nullptr || tool->plugin == nullptr) return kNoErr;
    const char* selector = nullptr;
    switch (event) {
    case ToolEvent::track:
        if (!(tool->options & kToolWantsToTrackCursorOption)) return kNoErr;
        selector = kSelectorAITrackToolCursor;
        break;
    case ToolEvent::down: selector = kSelectorAIToolMouseDown; break;
    case ToolEvent::drag: selector = kSelectorAIToolMouseDrag; break;
    case ToolEvent::up: selector = kSelectorAIToolMouseUp; break;
    }
    sent = true;
    return send(tool, selector, point, shift ? aiEventModifiers_shiftKey : 0);
}

}  // namespace vt::host
