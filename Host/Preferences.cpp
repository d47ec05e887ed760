#include "Preferences.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::host {

using json = nlohmann::ordered_json;

namespace {

using Section = json::object_t;

// The entry at a position of an object (the library's ordered object hides
// the positions of the list it keeps).
Section::value_type& at(Section& object, size_t i) { return static_cast<Section::Container&>(object)[i]; }
const Section::value_type& at(const Section& object, size_t i)
{
    return static_cast<const Section::Container&>(object)[i];
}

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

// Builds the parsed tree as the text is read. A key goes at the end of its
// object, and a key seen before in that object is found through a hash: the
// library's own ordered parse looks for every key among all those before it,
// which makes reading a file of many keys quadratic.
class OrderedBuilder : public nlohmann::json_sax<json> {
public:
    explicit OrderedBuilder(json& root) : root_(root) {}

    bool null() override { return place(nullptr); }
    bool boolean(bool value) override { return place(value); }
    bool number_integer(number_integer_t value) override { return place(value); }
    bool number_unsigned(number_unsigned_t value) override { return place(value); }
    bool number_float(number_float_t value, const string_t&) override { return place(value); }
    bool string(string_t& value) override { return place(std::move(value)); }
    bool binary(binary_t& value) override { return place(json::binary(std::move(value))); }
    bool start_object(std::size_t) override { return open(json::object()); }
    bool key(string_t& key) override
    {
        key_ = std::move(key);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(json::array()); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override
    {
        error_ = e.what();
        return false;
    }

    const std::string& error() const { return error_; }

private:
    // Puts a value where the text stands: the root, the end of the open
    // array, or the open object under the last key (a repeated key keeps its
    // place and takes the later value, as the library's own parse does).
    json* put(json value)
    {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        json& container = *open_.back();
        if (container.is_array()) {
            container.get_ref<json::array_t&>().push_back(std::move(value));
            return &container.back();
        }
        Section& object = container.get_ref<Section&>();
        auto& keys = keys_.back();
        auto seen = keys.find(key_);
        if (seen != keys.end()) {
            json& slot = at(object, seen->second).second;
            slot = std::move(value);
            return &slot;
        }
        keys.emplace(key_, object.size());
        static_cast<Section::Container&>(object).emplace_back(std::move(key_), std::move(value));
        return &object.back().second;
    }
    bool place(json value)
    {
        put(std::move(value));
        return true;
    }
    bool open(json container)
    {
        open_.push_back(put(std::move(container)));
        keys_.emplace_back();
        return true;
    }
    bool close()
    {
        open_.pop_back();
        keys_.pop_back();
        return true;
    }

    json& root_;
    // The containers being filled, outermost first: each is the last value
    // put into the one before it, so filling the innermost moves none of them.
    std::vector<json*> open_;
    std::vector<std::unordered_map<std::string, size_t>> keys_;
    std::string key_;
    std::string error_;
};

}  // namespace

bool Preferences::parse(const std::string& text, json& data, std::string& why)
{
    if (!nestingWithin(text, kMaxNesting, why)) return false;
    try {
        json parsed;
        OrderedBuilder builder(parsed);
        if (!json::sax_parse(text, &builder)) {
            why = builder.error();
            return false;
        }
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
    switch (readWholeFile(path_, text, error_, kPreferenceFileLimit, "a preference file")) {
    case ReadStatus::Missing:
        return;  // first run: no preferences yet
    case ReadStatus::Unreadable:
        // Written over at the end of the session, the user's other keys would
        // be lost; a device or a pipe is no file to replace: it is left alone.
        error_ += " (the preference file is not used, and nothing is written to it in this session)";
        readOnly_ = true;
        failed_ = true;
        return;
    case ReadStatus::Read:
        break;
    }
    existed_ = true;
    std::string why;
    if (!parse(text, data_, why)) {
        keepAside(why);
        return;
    }
    reindex();
    loaded_ = data_;
    // A file the user has made read-only is theirs to keep as it is.
    if (::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES) {
        readOnly_ = true;
        readOnlyFile_ = true;
        error_ = "preference file " + path_ + " is read-only: it is used, and nothing is written to it in this session";
    }
}

void Preferences::keepAside(const std::string& why)
{
    // Every damaged file is kept: a later one goes beside the earlier ones.
    std::string aside = path_ + ".damaged";
    int error = 0;
    for (int n = 1; n <= 1000; ++n) {
        if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            error = 0;
            break;
        }
        error = errno;
        if (error == EINVAL) {
            // A file system that cannot refuse to replace: looked at first.
            struct stat st;
            error = ::lstat(aside.c_str(), &st) == 0 ? EEXIST
                    : std::rename(path_.c_str(), aside.c_str()) == 0 ? 0
                                                                     : errno;
            if (error == 0) break;
        }
        if (error != EEXIST) break;
        aside = path_ + ".damaged." + std::to_string(n);
    }
    if (error != 0) {
        error_ = "preference file " + path_ + " is damaged (" + why + ") and could not be kept aside as " + aside +
                 " (" + std::strerror(error) + "); it will not be written in this session";
        readOnly_ = true;
        failed_ = true;
        return;
    }
    existed_ = false;
    data_ = json::object();
    error_ = "preference file " + path_ + " is damaged (" + why + "); kept as " + aside;
}

void Preferences::reindex()
{
    prefixAt_.clear();
    keyAt_.clear();
    Section& prefixes = data_.get_ref<Section&>();
    for (size_t i = 0; i < prefixes.size(); ++i) {
        prefixAt_[at(prefixes, i).first] = i;
        auto& keys = keyAt_[at(prefixes, i).first];
        if (!at(prefixes, i).second.is_object()) continue;
        const Section& section = at(prefixes, i).second.get_ref<const Section&>();
        for (size_t k = 0; k < section.size(); ++k) keys[at(section, k).first] = k;
    }
}

const json* Preferences::find(const std::string& prefix, const std::string& key,
                              const char* type) const
{
    auto p = prefixAt_.find(prefix);
    if (p == prefixAt_.end()) return nullptr;
    const json& section = at(data_.get_ref<const Section&>(), p->second).second;
    if (!section.is_object()) return nullptr;
    const auto& keys = keyAt_.at(prefix);
    auto k = keys.find(key);
    if (k == keys.end()) return nullptr;
    const json& entry = at(section.get_ref<const Section&>(), k->second).second;
    if (!entry.is_object()) return nullptr;
    auto v = entry.find(type);
    if (v == entry.end()) return nullptr;
    return &*v;
}

void Preferences::put(const std::string& prefix, const std::string& key, const char* type,
                      json value)
{
    json entry = json::object();
    entry[type] = std::move(value);
    Section& prefixes = data_.get_ref<Section&>();
    auto p = prefixAt_.find(prefix);
    if (p == prefixAt_.end()) {
        p = prefixAt_.emplace(prefix, prefixes.size()).first;
        static_cast<Section::Container&>(prefixes).emplace_back(prefix, json::object());
    }
    json& section = at(prefixes, p->second).second;
    auto& keys = keyAt_[prefix];
    if (!section.is_object()) {
        section = json::object();
        keys.clear();
    }
    Section& entries = section.get_ref<Section&>();
    auto k = keys.find(key);
    if (k != keys.end()) {
        json& slot = at(entries, k->second).second;
        // The same value again changes nothing that needs saving.
        if (slot == entry) return;
        slot = std::move(entry);
    } else {
        keys.emplace(key, entries.size());
        static_cast<Section::Container&>(entries).emplace_back(key, std::move(entry));
    }
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
    auto p = prefixAt_.find(prefix);
    if (p == prefixAt_.end()) return false;
    json& section = at(data_.get_ref<Section&>(), p->second).second;
    if (!section.is_object()) return false;
    auto& keys = keyAt_[prefix];
    auto k = keys.find(key);
    if (k == keys.end()) return false;
    Section& entries = section.get_ref<Section&>();
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(k->second));
    reindex();  // the keys after it moved up by one
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
    auto p = prefixAt_.find(prefix);
    if (p == prefixAt_.end()) return result;
    const json& section = at(data_.get_ref<const Section&>(), p->second).second;
    if (!section.is_object()) return result;
    for (const auto& entry : section.get_ref<const Section&>()) result.push_back(entry.first);
    return result;
}

bool Preferences::save()
{
    if (!dirty_ || path_.empty() || readOnly_) return true;
    std::string why;
    if (!writeFileAtomically(path_, data_.dump(2) + "\n", &why, Owner::Program)) {
        error_ = "the preferences were not saved: " + why;
        failed_ = true;
        return false;
    }
    dirty_ = false;
    written_ = true;
    return true;
}

bool Preferences::undoChanges()
{
    if (path_.empty() || readOnly_) return false;
    data_ = loaded_;
    reindex();
    dirty_ = false;
    if (!written_) return false;  // nothing of this session reached the file
    written_ = false;
    if (!existed_) {
        if (::unlink(path_.c_str()) != 0 && errno != ENOENT) {
            error_ = "the preferences this run wrote could not be removed: " + path_ + ": " + std::strerror(errno);
            failed_ = true;
            return false;
        }
        return true;
    }
    dirty_ = true;
    if (!save()) return false;
    written_ = false;
    return true;
}

}  // namespace vt::host
