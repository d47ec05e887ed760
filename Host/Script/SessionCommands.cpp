// Script commands of the plug-in's life cycle and of the host's own state.
#include <ostream>

#include "ErrorText.h"
#include "Host.h"
#include "Menus/Menus.h"
#include "Script/Script.h"
#include "Script/ScriptArgs.h"
#include "Session.h"
#include "Tools/Tools.h"

namespace vt::host {
namespace {

bool reportResult(ScriptContext& context, const char* what, ASErr result)
{
    context.out << what << ": " << errorText(result) << "\n";
    return true;
}

ScriptCommandRegistrar echoCommand("echo", "echo TEXT...  print the words", [](ScriptContext& c, const auto& args, std::string&) {
    for (size_t i = 0; i < args.size(); ++i) c.out << (i ? " " : "") << args[i];
    c.out << "\n";
    return true;
});

ScriptCommandRegistrar aboutCommand("about", "about  send the About message to the plug-in",
                                    [](ScriptContext& c, const auto& args, std::string& error) {
                                        if (!expectArgs(args, 0, 0, error)) return false;
                                        return reportResult(c, "about", c.session.about());
                                    });

ScriptCommandRegistrar unloadCommand("unload", "unload  unload the plug-in (its globals stay with the host)",
                                     [](ScriptContext& c, const auto& args, std::string& error) {
                                         if (!expectArgs(args, 0, 0, error)) return false;
                                         ASErr result = c.session.unload();
                                         if (result == kSPBadParameterError) {
                                             error = c.session.error();  // out of order: the script's mistake
                                             return false;
                                         }
                                         if (result == kSPPluginInUseError) c.out << "unload: " << c.session.error() << "\n";
                                         return reportResult(c, "unload", result);
                                     });

ScriptCommandRegistrar reloadCommand("reload", "reload  reload the plug-in and hand its globals back",
                                     [](ScriptContext& c, const auto& args, std::string& error) {
                                         if (!expectArgs(args, 0, 0, error)) return false;
                                         ASErr result = c.session.reload();
                                         if (result == kSPBadParameterError) {
                                             error = c.session.error();
                                             return false;
                                         }
                                         return reportResult(c, "reload", result);
                                     });

ScriptCommandRegistrar registrationsCommand(
    "registrations", "registrations  list what the plug-in registered with the host",
    [](ScriptContext& c, const auto& args, std::string& error) {
        if (!expectArgs(args, 0, 0, error)) return false;
        for (const auto& n : c.session.host().notifiers())
            c.out << "notifier \"" << n->name << "\" for \"" << n->type << "\"\n";
        Menus& m = menus();
        for (auto& g : m.groups())
            if (g->parent) c.out << "menu group \"" << g->name << "\" under \"" << g->parent->text << "\"\n";
        for (auto& i : m.items())
            if (i->plugin == c.session.plugin())
                c.out << "menu item \"" << i->text << "\" key \"" << i->key << "\" in \"" << i->group->name
                      << "\"" << ((i->options & kMenuItemWantsUpdateOption) ? " (updated)" : "") << "\n";
        for (auto& t : tools().tools())
            if (t->plugin == c.session.plugin()) c.out << "tool \"" << t->name << "\" titled \"" << t->title << "\"\n";
        return true;
    });

ScriptCommandRegistrar prefsCommand(
    "prefs", "prefs PREFIX  list the preference keys under a prefix, in the order they were written",
    [](ScriptContext& c, const auto& args, std::string& error) {
        if (!expectArgs(args, 1, 1, error)) return false;
        for (const auto& key : c.session.host().prefs().keys(args[0])) c.out << args[0] << "/" << key << "\n";
        return true;
    });

ScriptCommandRegistrar expectAlertCommand(
    "expect-alert", "expect-alert TEXT  fail unless the last alert shown contains TEXT",
    [](ScriptContext& c, const auto& args, std::string& error) {
        if (!expectArgs(args, 1, 1, error)) return false;
        const auto& alerts = c.session.host().alerts();
        if (alerts.empty() || alerts.back().text.find(args[0]) == std::string::npos) {
            error = "no alert containing \"" + args[0] + "\"" +
                    (alerts.empty() ? std::string() : " (last: \"" + alerts.back().text + "\")");
            return false;
        }
        return true;
    });

}  // namespace
}  // namespace vt::host
