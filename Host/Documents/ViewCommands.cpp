// Script commands of the document's view: set and read its zoom and centre.
// They go through the view suite, so a script meets the same limits (3 % to
// 6400 %) as a plug-in.
#include <cmath>
#include <ostream>

#include "Documents/Document.h"
#include "Script/Script.h"
#include "Script/ScriptArgs.h"
#include "Suites/SuiteTables.h"

namespace vt::host {
namespace {

bool parseView(const ScriptArgs& args, double& zoom, AIRealPoint& center, std::string& error)
{
    double x, y;
    if (!parseNumber(args[0], zoom, error) || !parseNumber(args[1], x, error) || !parseNumber(args[2], y, error))
        return false;
    center = AIRealPoint{static_cast<AIReal>(x), static_cast<AIReal>(y)};
    return true;
}

ScriptCommandRegistrar viewCommand(
    "view", "view [ZOOM CX CY]  set the view's zoom (1 = 100 %) and centre, then print zoom, centre and bounds",
    [](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        if (args.size() != 0 && args.size() != 3) {
            error = "expects nothing, or the zoom and the centre's X and Y (points)";
            return false;
        }
        if (!currentDocument()) {
            error = "no document is open";
            return false;
        }
        auto& suite = suiteTable<AIDocumentViewSuite>();
        if (args.size() == 3) {
            double zoom;
            AIRealPoint center;
            if (!parseView(args, zoom, center, error)) return false;
            if (suite.SetDocumentViewZoom(nullptr, static_cast<AIReal>(zoom)) != kNoErr) {
                error = "the zoom must be more than 0";
                return false;
            }
            (void)suite.SetDocumentViewCenter(nullptr, &center);
        }
        AIReal zoom = 0;
        AIRealPoint center{};
        AIRealRect bounds{};
        (void)suite.GetDocumentViewZoom(nullptr, &zoom);
        (void)suite.GetDocumentViewCenter(nullptr, &center);
        (void)suite.GetDocumentViewBounds(nullptr, &bounds);
        c.out << "view: zoom " << zoom << " centre " << center.h << " " << center.v << " bounds " << bounds.left
              << " " << bounds.top << " " << bounds.right << " " << bounds.bottom << "\n";
        return true;
    });

ScriptCommandRegistrar expectViewCommand(
    "expect-view", "expect-view ZOOM CX CY  fail unless the view has this zoom and centre (within 0.1 %, 0.01 pt)",
    [](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        if (!expectArgs(args, 3, 3, error)) return false;
        double zoom;
        AIRealPoint center;
        if (!parseView(args, zoom, center, error)) return false;
        Document* d = currentDocument();
        if (!d) {
            error = "no document is open";
            return false;
        }
        if (std::fabs(d->zoom - zoom) > 0.001 * std::fabs(zoom) || std::fabs(d->center.h - center.h) > 0.01 ||
            std::fabs(d->center.v - center.v) > 0.01) {
            error = "the view has zoom " + std::to_string(d->zoom) + " and centre " + std::to_string(d->center.h) +
                    " " + std::to_string(d->center.v);
            return false;
        }
        return true;
    });

}  // namespace
}  // namespace vt::host
