// vantorel-host: the stand-in host application on the command line.
#include <fstream>
#include <iostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "App.h"

int main(int argc, char** argv)
{
    vt::app::GlobalOptions options;
    CLI::App app{"vantorel-host: runs the Vantorel plug-in in a headless stand-in host"};
    app.require_subcommand(1);
    app.add_option("--prefs", options.prefsPath, "preference file (default: per-user)");
    app.add_option("--plugin-folder", options.pluginFolder,
                   "the plug-in's folder: language file, plotter library, string lists (default: per-user)");
    app.add_option("--module", options.modulePath, "the plug-in module to load");
    app.add_option("--resources", options.resourcesDir, "folder that seeds a new plug-in folder");
    for (auto& command : vt::app::commands()) command.add(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return options.exitCode;
}
