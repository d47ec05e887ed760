// Typed preferences under a prefix and a key, persisted to one JSON file.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "ASTypes.h"

namespace vt::host {

class Preferences {
public:
    enum class Type { Boolean, Integer, Real, String, Point };

    // Reads the file when it exists; a damaged file is kept aside (renamed to
    // FILE.damaged) and the session starts with empty preferences, so the
    // user's data is never silently overwritten. error() tells what happened.
    explicit Preferences(std::string path = {});

    bool getBoolean(const std::string& prefix, const std::string& key, bool* value) const;
    bool getInteger(const std::string& prefix, const std::string& key, int32_t* value) const;
    bool getReal(const std::string& prefix, const std::string& key, double* value) const;
    bool getString(const std::string& prefix, const std::string& key, std::string* value) const;
    bool getPoint(const std::string& prefix, const std::string& key, AIPoint* value) const;

    void putBoolean(const std::string& prefix, const std::string& key, bool value);
    void putInteger(const std::string& prefix, const std::string& key, int32_t value);
    void putReal(const std::string& prefix, const std::string& key, double value);
    void putString(const std::string& prefix, const std::string& key, const std::string& value);
    void putPoint(const std::string& prefix, const std::string& key, AIPoint value);
    bool remove(const std::string& prefix, const std::string& key);

    bool has(const std::string& prefix, const std::string& key) const;
    std::optional<Type> typeOf(const std::string& prefix, const std::string& key) const;
    // Keys under a prefix in the order they were first written.
    std::vector<std::string> keys(const std::string& prefix) const;

    // Writes the file atomically (temporary file, then rename) when anything
    // changed since the last save. Returns false and sets error() on failure.
    bool save();
    bool dirty() const { return dirty_; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    const nlohmann::ordered_json* find(const std::string& prefix, const std::string& key,
                                       const char* type) const;
    void put(const std::string& prefix, const std::string& key, const char* type,
             nlohmann::ordered_json value);

    std::string path_;
    nlohmann::ordered_json data_ = nlohmann::ordered_json::object();
    bool dirty_ = false;
    std::string error_;
};

// Writes text to path through a temporary file in the same folder and a
// rename, so the old file stays whole until the new one is complete.
bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error);

}  // namespace vt::host
