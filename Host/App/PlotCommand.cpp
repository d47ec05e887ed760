// vantorel-host plot JOB.svg -o OUT: the main job. The SVG becomes the
// current document, its top-level art is selected, a current plotter is made
// sure of, and then the plug-in does the rest as it would for a person: Plot
// Out from its menu, "output to a file" (or to the cutter) in the Plot Out
// dialog, the save dialog answered with OUT, and the dialog closed.
#include <filesystem>
#include <iostream>
#include <new>

#include "App.h"
#include "Dialog/PlotOutDialog.h"
#include "ErrorText.h"
#include "Toolkit/Driver.h"

namespace fs = std::filesystem;

namespace vt::app {
namespace {

struct PlotArgs {
    std::string job;
    std::string output;
    std::string plotter;
    std::string environment;
    bool usb = false;
    bool byColour = false;
};

int plot(const GlobalOptions& options, const PlotArgs& a)
{
    if (a.usb == !a.output.empty()) {
        std::cerr << "vantorel-host: plot needs either -o OUT or --usb\n";
        return 2;
    }
    if (!protectOwnFiles(options, {{a.job, "the job being cut"}})) return 1;
    std::string output;
    if (!a.output.empty() && !jobOutputTarget(a.output, output)) return 1;
    host::Session session(sessionOptions(options));
    if (!startJob(session, a.job, a.plotter, a.environment)) return finishSession(session, 1);
    std::string error;

    using host::toolkit::Driver;
    auto& tk = host::toolkit::Toolkit::get();
    // The plug-in writes the job beside the output and puts it in place only
    // when it is complete, so the file there before is kept by a failed plot,
    // and a file that is the same one afterwards was not written.
    FileIdentity before = identityOf(output);
    if (!output.empty()) tk.fileAnswers.push_back(output);
    std::vector<host::toolkit::DialogAction> actions;
    if (a.byColour)
        actions.push_back([](Driver& user, std::string& e) { return user.click(kPlotOutCutByColorItem, e); });
    actions.push_back([&a](Driver& user, std::string& e) {
        std::cout << (a.usb ? "Plot Out: sending to the cutter\n" : "Plot Out: writing to a file\n");
        return user.click(a.usb ? kPlotOutUSBOutputItem : kPlotOutFileOutputItem, e);
    });
    actions.push_back([](Driver& user, std::string& e) { return user.click(kPlotOutExitItem, e); });

    host::toolkit::ModalOutcome plotOutDialog;
    if (!driveJobPlotOut(std::move(actions), plotOutDialog, error)) {
        tk.fileAnswers.clear();
        std::cerr << "vantorel-host: " << error << "\n";
        return finishSession(session, 1);
    }
    tk.fileAnswers.clear();

    bool failed = !plotOutDialogWorked(session, plotOutDialog);
    if (!failed && !output.empty() && sameFile(before, identityOf(output))) {
        std::cerr << "vantorel-host: nothing was written to " << output << "\n";
        failed = true;
    }
    if (failed && before.exists && sameFile(before, identityOf(output)))
        std::cerr << "vantorel-host: " << output << " was left as it was\n";
    int status = finishSession(session, failed ? 1 : 0);
    if (failed) return status;
    // The job is out even when the session met another problem (preferences
    // that could not be saved, say): that is said, and the status tells it.
    if (!output.empty()) {
        std::error_code ec;
        std::cout << "wrote " << a.output << " (" << fs::file_size(output, ec) << " bytes)\n";
    } else {
        std::cout << "sent the job to the cutter";
        if (!options.fakeCutterFile.empty()) std::cout << " (recorded in " << options.fakeCutterFile << ")";
        std::cout << "\n";
    }
    return status;
}

CommandRegistrar plotCommand([](CLI::App& app, GlobalOptions& options) {
    static PlotArgs args;
    auto* command = app.add_subcommand("plot", "plot an SVG job through the Plot Out dialog to a file or the cutter");
    // Not checked here: the reader says why a file cannot be read, in the
    // system's words.
    command->add_option("JOB", args.job, "the SVG file to cut")->required();
    command->add_option("-o,--output", args.output, "the plot file to write");
    command->add_flag("--usb", args.usb, "send the job to the cutter over USB instead of writing a file");
    command->add_option("--plotter", args.plotter, "the plotter of the library to cut with (made the current one)");
    command->add_option("--environment", args.environment, "the plotter's environment (default: its current or first)");
    command->add_flag("--by-colour,--by-color", args.byColour, "cut colour by colour instead of layer by layer");
    command->callback([&options] {
        try {
            options.exitCode = plot(options, args);
        } catch (const std::bad_alloc&) {
            // The host's own structures ran out of memory mid-job: said, never a crash.
            std::cerr << "vantorel-host: not enough memory for this job\n";
            options.exitCode = 1;
        }
    });
});

}  // namespace
}  // namespace vt::app
