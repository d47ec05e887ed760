// vantorel-host: the stand-in host application on the command line.
#include <clocale>
#include <fstream>
#include <iostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "App.h"
#include "USB/FakeCutter.h"

int main(int argc, char** argv)
{
    // An illustration program runs in its user's locale, and the plug-in with
    // it: so does this host, so that a number read or written in the locale in
    // force (a decimal comma in German) shows here as it would there.
    std::setlocale(LC_ALL, "");
    vt::app::GlobalOptions options;
    std::shared_ptr<vt::host::usb::FakeCutter> cutter;
    CLI::App app{"vantorel-host: runs the Vantorel plug-in in a headless stand-in host"};
    app.require_subcommand(1);
    app.add_option("--prefs", options.prefsPath, "preference file (default: per-user)");
    app.add_option("--plugin-folder", options.pluginFolder,
                   "the plug-in's folder: language file, plotter library, string lists (default: per-user)");
    app.add_option("--module", options.modulePath, "the plug-in module to load");
    app.add_option("--resources", options.resourcesDir, "folder that seeds a new plug-in folder");
    // Installed while the command line is read, so it is on the bus before any command runs.
    app.add_option_function<std::string>(
           "--fake-cutter",
           [&options, &cutter](const std::string& file) {
               options.fakeCutterFile = file;
               try {
                   cutter = vt::host::usb::installFakeCutterForCurrentPlotter(file);
               } catch (const std::exception& e) {
                   // Not a usage error: reported like any other failure, status 1.
                   throw std::runtime_error(std::string("--fake-cutter: ") + e.what());
               }
           },
           "put a fake cutter with the current plotter's ids on a fake USB bus and write everything "
           "sent to it into FILE")
        ->type_name("FILE")
        ->trigger_on_parse();
    for (auto& command : vt::app::commands()) command.add(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        // Whatever a command meets (a path the file system cannot take, say)
        // ends it with a message and a failing status, never an abort.
        std::cerr << "vantorel-host: " << e.what() << "\n";
        return 1;
    }
    if (cutter && !cutter->logError().empty()) {
        std::cerr << "vantorel-host: the fake cutter's record was not kept: " << cutter->logError() << "\n";
        return options.exitCode != 0 ? options.exitCode : 1;
    }
    return options.exitCode;
}
