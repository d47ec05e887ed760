#include "Preferences.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vt::host {

using json = nlohmann::ordered_json;

namespace {

// Refuses text nested deeper than the limit before the parser sees it: the
// parsed tree is taken apart and written out again by recursion, so depth
// must stay within what the stack holds. Strings are skipped, brackets in
// them do not count.
bool nestingWithin(const std::string& text, int limit, std::string& why)
{
    int depth = 0, line = 1, column = 0;
    bool inString = false, escaped = false;
    for (char c : text) {
        ++column;
        if (c == '\n') {
            ++line;
            column = 0;
        }
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                why = "line " + std::to_string(line) + ", column " + std::to_string(column) +
                      ": nested deeper than " + std::to_string(limit) + " levels";
                return false;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

}  // namespace

bool Preferences::parse(const std::string& text, json& data, std::string& why)
{
    if (!nestingWithin(text, kMaxNesting, why)) return false;
    try {
        json parsed = json::parse(text);
        if (!parsed.is_object()) {
            why = "the file does not hold an object of prefixes";
            return false;
        }
        data = std::move(parsed);
    } catch (const std::exception& e) {
        why = e.what();
        return false;
    }
    return true;
}

Preferences::Preferences(std::string path) : path_(std::move(path))
{
    if (path_.empty()) return;
    std::string text;
    switch (readWholeFile(path_, text, error_)) {
    case ReadStatus::Missing:
        return;  // first run: no preferences yet
    case ReadStatus::Unreadable:
        // Written over at the end of the session, the user's other keys would
        // be lost: the file is left alone.
        error_ += " (the preference file is not used, and nothing is written to it in this session)";
        readOnly_ = true;
        failed_ = true;
        return;
    case ReadStatus::Read:
        break;
    }
    std::string why;
    if (parse(text, data_, why)) return;
    std::string aside = path_ + ".damaged";
    if (std::rename(path_.c_str(), aside.c_str()) != 0) {
        error_ = "preference file " + path_ + " is damaged (" + why + ") and could not be kept aside as " + aside +
                 " (" + std::strerror(errno) + "); it will not be written in this session";
        readOnly_ = true;
        failed_ = true;
        return;
    }
    error_ = "preference file " + path_ + " is damaged (" + why + "); kept as " + aside;
}

const json* Preferences::find(const std::string& prefix, const std::string& key,
                              const char* type) const
{
    auto p = data_.find(prefix);
    if (p == data_.end() || !p->is_object()) return nullptr;
    auto k = p->find(key);
    if (k == p->end() || !k->is_object()) return nullptr;
    auto v = k->find(type);
    if (v == k->end()) return nullptr;
    return &*v;
}

void Preferences::put(const std::string& prefix, const std::string& key, const char* type,
                      json value)
{
    json& entry = data_[prefix][key];
    entry = json::object();
    entry[type] = std::move(value);
    dirty_ = true;
}

bool Preferences::getBoolean(const std::string& prefix, const std::string& key, bool* value) const
{
    const json* v = find(prefix, key, "boolean");
    if (!v || !v->is_boolean()) return false;
    *value = v->get<bool>();
    return true;
}

bool Preferences::getInteger(const std::string& prefix, const std::string& key, int32_t* value) const
{
    const json* v = find(prefix, key, "integer");
    if (!v || !v->is_number_integer()) return false;
    long long n = v->get<long long>();
    if (n < INT32_MIN || n > INT32_MAX) return false;
    *value = static_cast<int32_t>(n);
    return true;
}

bool Preferences::getReal(const std::string& prefix, const std::string& key, double* value) const
{
    const json* v = find(prefix, key, "real");
    if (!v || !v->is_number()) return false;
    *value = v->get<double>();
    return true;
}

bool Preferences::getString(const std::string& prefix, const std::string& key, std::string* value) const
{
    const json* v = find(prefix, key, "string");
    if (!v || !v->is_string()) return false;
    *value = v->get<std::string>();
    return true;
}

bool Preferences::getPoint(const std::string& prefix, const std::string& key, AIPoint* value) const
{
    const json* v = find(prefix, key, "point");
    if (!v || !v->is_array() || v->size() != 2 || !(*v)[0].is_number_integer() ||
        !(*v)[1].is_number_integer())
        return false;
    long long h = (*v)[0].get<long long>(), vv = (*v)[1].get<long long>();
    // A point is two 16-bit numbers; a larger one is not a point of ours.
    if (h < INT16_MIN || h > INT16_MAX || vv < INT16_MIN || vv > INT16_MAX) return false;
    value->h = static_cast<ASInt16>(h);
    value->v = static_cast<ASInt16>(vv);
    return true;
}

void Preferences::putBoolean(const std::string& prefix, const std::string& key, bool value)
{
    put(prefix, key, "boolean", value);
}
void Preferences::putInteger(const std::string& prefix, const std::string& key, int32_t value)
{
    put(prefix, key, "integer", value);
}
void Preferences::putReal(const std::string& prefix, const std::string& key, double value)
{
    put(prefix, key, "real", value);
}
void Preferences::putString(const std::string& prefix, const std::string& key, const std::string& value)
{
    put(prefix, key, "string", value);
}
void Preferences::putPoint(const std::string& prefix, const std::string& key, AIPoint value)
{
    put(prefix, key, "point", json::array({value.h, value.v}));
}

bool Preferences::remove(const std::string& prefix, const std::string& key)
{
    auto p = data_.find(prefix);
    if (p == data_.end() || !p->is_object()) return false;
    if (p->erase(key) == 0) return false;
    dirty_ = true;
    return true;
}

bool Preferences::has(const std::string& prefix, const std::string& key) const
{
    return typeOf(prefix, key).has_value();
}

std::optional<Preferences::Type> Preferences::typeOf(const std::string& prefix,
                                                     const std::string& key) const
{
    static const std::pair<const char*, Type> types[] = {
        {"boolean", Type::Boolean}, {"integer", Type::Integer}, {"real", Type::Real},
        {"string", Type::String},   {"point", Type::Point}};
    for (const auto& t : types)
        if (find(prefix, key, t.first)) return t.second;
    return std::nullopt;
}

std::vector<std::string> Preferences::keys(const std::string& prefix) const
{
    std::vector<std::string> result;
    auto p = data_.find(prefix);
    if (p == data_.end() || !p->is_object()) return result;
    for (auto it = p->begin(); it != p->end(); ++it) result.push_back(it.key());
    return result;
}

bool Preferences::save()
{
    if (!dirty_ || path_.empty() || readOnly_) return true;
    std::string why;
    if (!writeFileAtomically(path_, data_.dump(2) + "\n", &why)) {
        error_ = "the preferences were not saved: " + why;
        failed_ = true;
        return false;
    }
    dirty_ = false;
    return true;
}

}  // namespace vt::host
