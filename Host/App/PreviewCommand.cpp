// vantorel-host preview JOB.svg -o PICTURE.png: the job as the Plot Out
// dialog's preview shows it. The SVG becomes the current document with its
// top-level art selected, a current plotter is made sure of, Plot Out is
// chosen from the plug-in's menu, and the preview frame's picture is saved
// before the dialog is closed.
#include <filesystem>
#include <iostream>

#include "App.h"
#include "Dialog/PlotOutDialog.h"
#include "Toolkit/Driver.h"

namespace fs = std::filesystem;

namespace vt::app {
namespace {

struct PreviewArgs {
    std::string job;
    std::string output;
    std::string plotter;
    std::string environment;
    bool byColour = false;
};

int preview(const GlobalOptions& options, const PreviewArgs& a)
{
    if (!protectOwnFiles(options, {{a.job, "the job being shown"}})) return 1;
    std::string output;
    if (!jobOutputTarget(a.output, output)) return 1;
    host::Session session(sessionOptions(options));
    if (!startJob(session, a.job, a.plotter, a.environment)) return finishSession(session, 1);
    std::string error;

    using host::toolkit::Driver;
    // The picture replaces the file there only when it is complete: a file
    // that is the same one afterwards was not written.
    FileIdentity before = identityOf(output);
    int width = 0, height = 0;
    std::vector<host::toolkit::DialogAction> actions;
    if (a.byColour)
        actions.push_back([](Driver& user, std::string& e) { return user.click(kPlotOutCutByColorItem, e); });
    actions.push_back([&](Driver& user, std::string& e) {
        host::toolkit::Item* frame = user.find(kPlotOutPreviewItem, e);
        if (!frame) return false;
        width = frame->width();
        height = frame->height();
        std::cout << "Plot Out: saving the preview\n";
        return user.savePicture(output, kPlotOutPreviewItem, e);
    });
    actions.push_back([](Driver& user, std::string& e) { return user.click(kPlotOutExitItem, e); });

    host::toolkit::ModalOutcome plotOutDialog;
    if (!driveJobPlotOut(std::move(actions), plotOutDialog, error)) {
        std::cerr << "vantorel-host: " << error << "\n";
        return finishSession(session, 1);
    }
    bool failed = !plotOutDialogWorked(session, plotOutDialog);
    if (!failed && sameFile(before, identityOf(output))) {
        std::cerr << "vantorel-host: no picture was written to " << output << "\n";
        failed = true;
    }
    int status = finishSession(session, failed ? 1 : 0);
    if (failed) return status;
    std::cout << "wrote " << a.output << " (" << width << " x " << height << " pixels)\n";
    return status;
}

CommandRegistrar previewCommand([](CLI::App& app, GlobalOptions& options) {
    static PreviewArgs args;
    auto* command =
        app.add_subcommand("preview", "save the Plot Out dialog's preview of an SVG job as a PNG picture");
    command->add_option("JOB", args.job, "the SVG file to show")->required()->check(CLI::ExistingFile);
    command->add_option("-o,--output", args.output, "the PNG picture to write")->required();
    command->add_option("--plotter", args.plotter, "the plotter of the library to show the job on (made the current one)");
    command->add_option("--environment", args.environment, "the plotter's environment (default: its current or first)");
    command->add_flag("--by-colour,--by-color", args.byColour, "choose cutting colour by colour before the picture");
    command->callback([&options] { options.exitCode = preview(options, args); });
});

}  // namespace
}  // namespace vt::app
