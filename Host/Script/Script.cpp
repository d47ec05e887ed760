#include "Script/Script.h"

#include <filesystem>
#include <map>
#include <sstream>

namespace vt::host {

std::string ScriptContext::path(const std::string& value) const
{
    std::filesystem::path p(value);
    if (p.is_absolute() || baseDir.empty()) return value;
    return (std::filesystem::path(baseDir) / p).string();
}

static std::vector<ScriptCommand>& registry()
{
    static std::vector<ScriptCommand> commands;
    return commands;
}

ScriptCommandRegistrar::ScriptCommandRegistrar(std::string name, std::string usage, ScriptHandler handler)
{
    registry().push_back({std::move(name), std::move(usage), std::move(handler)});
}

const std::vector<ScriptCommand>& scriptCommands() { return registry(); }

bool splitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error)
{
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        // A comment starts a line, or stands apart after a command ("# ...");
        // a word that begins with '#' is a word: "choose 3 #2" picks entry 2.
        if (c == '#' && (words.empty() || i + 1 == line.size() || line[i + 1] == ' ' || line[i + 1] == '\t' ||
                         line[i + 1] == '\r' || line[i + 1] == '#'))
            break;
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char q = line[i++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q == '\\' && i < line.size()) {
                    char e = line[i++];
                    word += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                } else {
                    word += q;
                }
            }
            if (!closed) {
                error = "unterminated quoted text";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
        }
        words.push_back(std::move(word));
    }
    return true;
}

bool runScriptCommand(ScriptContext& context, const std::vector<std::string>& words, std::string& error)
{
    if (words.empty()) return true;
    const ScriptCommand* command = nullptr;
    for (const auto& c : scriptCommands())
        if (c.name == words[0]) command = &c;
    if (!command) {
        error = "unknown command \"" + words[0] + "\"";
        return false;
    }
    std::vector<std::string> args(words.begin() + 1, words.end());
    std::string problem;
    bool done;
    try {
        done = command->handler(context, args, problem);
    } catch (const std::exception& e) {
        // A path the file system cannot take, say: the script ends at its line.
        done = false;
        problem = e.what();
    }
    if (!done) {
        error = words[0] + ": " + problem;
        return false;
    }
    return true;
}

static bool runChecks(ScriptContext& context, bool atEnd, std::string& error)
{
    for (auto& check : context.checks)
        if (!check(atEnd, error)) return false;
    return true;
}

bool runScript(ScriptContext& context, const std::string& text, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    context.line = 0;
    while (std::getline(in, line)) {
        ++context.line;
        std::vector<std::string> words;
        std::string problem;
        if (!splitScriptLine(line, words, problem)) {
            error = "line " + std::to_string(context.line) + ": " + problem;
            return false;
        }
        if (words.empty()) continue;
        bool ok = context.capture ? context.capture(words, problem) : runScriptCommand(context, words, problem);
        if (ok) ok = runChecks(context, false, problem);
        if (!ok) {
            error = "line " + std::to_string(context.line) + ": " + problem;
            return false;
        }
    }
    std::string problem;
    if (!runChecks(context, true, problem)) {
        error = "end of script: " + problem;
        return false;
    }
    return true;
}

}  // namespace vt::host
