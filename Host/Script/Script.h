// Scripted sessions: a script is a text of commands, one per line, that act as
// a user of the host would. Commands are registered by the files that
// implement them, so each subsystem adds its own.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace vt::host {

class Session;

struct ScriptContext {
    Session& session;
    std::ostream& out;
    std::string baseDir;  // relative paths in the script are taken from here
    int line = 0;

    // A path from the script, made absolute against baseDir.
    std::string path(const std::string& value) const;

    // A command may take the lines that follow it as its own (a block, such
    // as the answers queued for a dialog): while capture is set, every line
    // goes to it instead of being run. It returns false to stop the script.
    std::function<bool(const std::vector<std::string>& words, std::string& error)> capture{};
    // Checks run after every command and once at the end (atEnd): problems
    // found outside the command that ran, such as a queued dialog action
    // that failed, stop the script there.
    std::vector<std::function<bool(bool atEnd, std::string& error)>> checks{};
};

// A command gets its words after the command name; it returns false and sets
// error to stop the script.
using ScriptHandler =
    std::function<bool(ScriptContext& context, const std::vector<std::string>& args, std::string& error)>;

struct ScriptCommand {
    std::string name;
    std::string usage;  // "NAME ARGS  what it does", shown by the help text
    ScriptHandler handler;
};

// Static registration: define one object per command.
struct ScriptCommandRegistrar {
    ScriptCommandRegistrar(std::string name, std::string usage, ScriptHandler handler);
};

const std::vector<ScriptCommand>& scriptCommands();

// Splits a line into words: blanks separate, double quotes group (with \" and
// \\ inside quotes). A comment starts with '#' as the first word of the line
// or as a word of its own ("click 1  # OK"); a word like "#2" is a word.
bool splitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error);

// Runs one command given as words (the command name first).
bool runScriptCommand(ScriptContext& context, const std::vector<std::string>& words, std::string& error);

// Runs every line; stops at the first failing command. The error names the
// line.
bool runScript(ScriptContext& context, const std::string& text, std::string& error);

}  // namespace vt::host
