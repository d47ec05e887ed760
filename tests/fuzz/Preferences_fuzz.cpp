// Fuzz target for the preference file: any text is read or refused with a
// reason, never a crash or a recursion past the stack; what is read answers
// every typed query and is written out to text that reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size), why;
    nlohmann::ordered_json parsed;
    if (!vt::host::Preferences::parse(text, parsed, why)) {
        if (why.empty()) std::abort();
        return 0;
    }
    vt::host::Preferences prefs;
    // Every prefix and key through every typed getter, as the plug-in asks.
    for (auto prefix = parsed.begin(); prefix != parsed.end(); ++prefix) {
        if (!prefix->is_object()) continue;
        for (auto key = prefix->begin(); key != prefix->end(); ++key) {
            if (!key->is_object()) continue;
            for (auto value = key->begin(); value != key->end(); ++value) {
                const std::string& type = value.key();
                if (type == "boolean" && value->is_boolean()) prefs.putBoolean(prefix.key(), key.key(), value->get<bool>());
                if (type == "string" && value->is_string())
                    prefs.putString(prefix.key(), key.key(), value->get<std::string>());
            }
            bool b;
            int32_t i;
            double r;
            std::string s;
            AIPoint p;
            prefs.getBoolean(prefix.key(), key.key(), &b);
            prefs.getInteger(prefix.key(), key.key(), &i);
            prefs.getReal(prefix.key(), key.key(), &r);
            prefs.getString(prefix.key(), key.key(), &s);
            prefs.getPoint(prefix.key(), key.key(), &p);
            prefs.typeOf(prefix.key(), key.key());
        }
    }
    std::string written = parsed.dump(2);
    nlohmann::ordered_json again;
    if (!vt::host::Preferences::parse(written, again, why) || again != parsed) std::abort();
    return 0;
}
