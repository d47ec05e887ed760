// Reading the words a script command is given. Every command reads its
// argument count, item ids, whole numbers, points, modifier keys and two-way
// words through these, so that a word it cannot use is named the same way
// whichever command meets it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ADMSuites.h"

namespace vt::host {

using ScriptArgs = std::vector<std::string>;

// Between min and max arguments: "expects 2 argument(s), got 3",
// "expects 1 to 4 argument(s), got 0".
bool expectArgs(const ScriptArgs& args, size_t min, size_t max, std::string& error);
// None: "expects no arguments".
bool expectNoArgs(const ScriptArgs& args, std::string& error);
// Exactly one, saying what it is: "expects 1 argument (the SVG file)".
bool expectOneArg(const ScriptArgs& args, const char* what, std::string& error);

// A whole number, in decimal: "\"x\" is not a whole number".
bool parseInt(const std::string& text, long& value, std::string& error);
// A number with or without a fraction, read the same in every locale
// ("2.5", "-1e3"): "\"x\" is not a number".
bool parseNumber(const std::string& text, double& value, std::string& error);
// A dialog item's id: scripts name items by their numbers.
bool parseItemId(const std::string& text, ASInt32& id, std::string& error);
// A point in pixels local to an item, from its horizontal and vertical words.
bool parsePoint(const std::string& h, const std::string& v, ADMPoint& point, std::string& error);
// The modifier keys named by args[from] onwards ("shift", "ctrl" or
// "control", "option" or "alt"); none named: no modifiers.
bool parseModifiers(const ScriptArgs& args, size_t from, ADMModifiers& modifiers, std::string& error);
// A word of two that says which way ("on"/"off", "up"/"down",
// "enabled"/"disabled"): true for yes, false for no, nothing for any other
// word, which the command words in its own terms.
std::optional<bool> parseSwitch(const std::string& word, const char* yes, const char* no);

}  // namespace vt::host
