// The "AI Tool Suite": tools added to the toolbox, and the current tool.
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"
#include "Tools/Tools.h"

namespace vt::host {
namespace {

struct ToolOps {
    using Suite = AIToolSuite;

    static ASErr AddTool(SPPluginRef self, const char* name, const AIAddToolData* data, ASInt32 options,
                         AIToolHandle* tool)
    {
        if (self == nullptr || name == nullptr || *name == '\0' || data == nullptr || tool == nullptr)
            return kSPBadParameterError;
        auto t = std::make_unique<Tool>();
        t->plugin = self;
        t->name = name;
        t->title = data->title ? data->title : "";
        t->tip = data->tooltip ? data->tooltip : "";
        if (data->icon != nullptr) {
            toolkit::Icon* icon = toolkit::Toolkit::get().icon(reinterpret_cast<ADMIconRef>(data->icon), "AddTool");
            if (icon) t->iconId = icon->id;
        }
        t->options = options;
        t->sameGroupAs = data->sameGroupAs;
        t->sameToolsetAs = data->sameToolsetAs;
        std::string error;
        Tool* added = tools().add(std::move(t), error);
        if (!added) {
            Host::current().out() << "AI Tool Suite AddTool: " << error << "\n";
            return kSPBadParameterError;
        }
        *tool = Tools::handle(added);
        return kNoErr;
    }

    static ASErr GetToolName(AIToolHandle tool, const char** name)
    {
        Tool* t = tools().tool(tool);
        if (!t) return kNoSuchToolErr;
        if (!name) return kSPBadParameterError;
        *name = t->name.c_str();
        return kNoErr;
    }

    static ASErr SetSelectedTool(AIToolHandle tool)
    {
        Tool* t = tools().tool(tool);
        if (!t) return kNoSuchToolErr;
        // What the tools answer to their select and deselect messages is theirs
        // to report; the choice itself is made.
        (void)tools().select(t);
        return kNoErr;
    }

    static ASErr GetSelectedTool(AIToolHandle* tool)
    {
        if (!tool) return kSPBadParameterError;
        *tool = Tools::handle(tools().current());
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<ToolOps>);

}  // namespace
}  // namespace vt::host
