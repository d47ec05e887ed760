#include "Script/ScriptArgs.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vt::host {

bool expectArgs(const ScriptArgs& args, size_t min, size_t max, std::string& error)
{
    if (args.size() < min || args.size() > max) {
        error = "expects " + (min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max)) +
                " argument(s), got " + std::to_string(args.size());
        return false;
    }
    return true;
}

bool expectNoArgs(const ScriptArgs& args, std::string& error)
{
    if (!args.empty()) {
        error = "expects no arguments";
        return false;
    }
    return true;
}

bool expectOneArg(const ScriptArgs& args, const char* what, std::string& error)
{
    if (args.size() != 1) {
        error = std::string("expects 1 argument (") + what + ")";
        return false;
    }
    return true;
}

bool parseInt(const std::string& text, long& value, std::string& error)
{
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0) {
        error = "\"" + text + "\" is not a whole number";
        return false;
    }
    return true;
}

bool parseNumber(const std::string& text, double& value, std::string& error)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;  // from_chars takes no plus sign
    auto [end, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc() || end != last || !std::isfinite(value)) {
        error = "\"" + text + "\" is not a number";
        return false;
    }
    return true;
}

bool parseItemId(const std::string& text, ASInt32& id, std::string& error)
{
    long v;
    if (!parseInt(text, v, error)) return false;
    id = static_cast<ASInt32>(v);
    return true;
}

bool parsePoint(const std::string& h, const std::string& v, ADMPoint& point, std::string& error)
{
    long x, y;
    if (!parseInt(h, x, error) || !parseInt(v, y, error)) return false;
    point = ADMPoint{static_cast<ASInt16>(x), static_cast<ASInt16>(y)};
    return true;
}

bool parseModifiers(const ScriptArgs& args, size_t from, ADMModifiers& modifiers, std::string& error)
{
    modifiers = 0;
    for (size_t i = from; i < args.size(); ++i) {
        if (args[i] == "shift")
            modifiers |= kADMShiftKeyModifier;
        else if (args[i] == "ctrl" || args[i] == "control")
            modifiers |= kADMControlKeyModifier;
        else if (args[i] == "option" || args[i] == "alt")
            modifiers |= kADMOptionKeyModifier;
        else {
            error = "unknown modifier \"" + args[i] + "\" (shift, ctrl, option)";
            return false;
        }
    }
    return true;
}

std::optional<bool> parseSwitch(const std::string& word, const char* yes, const char* no)
{
    if (word == yes) return true;
    if (word == no) return false;
    return std::nullopt;
}

}  // namespace vt::host
