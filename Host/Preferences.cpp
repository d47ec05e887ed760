#include "Preferences.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace vt::host {

using json = nlohmann::ordered_json;

bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error)
{
    std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = "cannot create " + temp + ": " + std::strerror(errno);
        return false;
    }
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            if (error) *error = "cannot write " + temp + ": " + std::strerror(errno);
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        if (error) *error = "cannot finish " + temp + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        if (error) *error = "cannot replace " + path + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

Preferences::Preferences(std::string path) : path_(std::move(path))
{
    if (path_.empty()) return;
    std::ifstream in(path_);
    if (!in) return;  // first run: no preferences yet
    std::stringstream text;
    text << in.rdbuf();
    try {
        json parsed = json::parse(text.str());
        if (!parsed.is_object()) throw std::runtime_error("not an object");
        data_ = std::move(parsed);
    } catch (const std::exception& e) {
        std::string aside = path_ + ".damaged";
        std::rename(path_.c_str(), aside.c_str());
        error_ = "preference file " + path_ + " is damaged (" + e.what() + "); kept as " + aside;
    }
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
    value->h = static_cast<ASInt16>((*v)[0].get<int>());
    value->v = static_cast<ASInt16>((*v)[1].get<int>());
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
    if (!dirty_ || path_.empty()) return true;
    if (!writeFileAtomically(path_, data_.dump(2) + "\n", &error_)) return false;
    dirty_ = false;
    return true;
}

}  // namespace vt::host
