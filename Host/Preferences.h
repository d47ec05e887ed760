// Typed preferences under a prefix and a key, persisted to one JSON file.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "ASTypes.h"
#include "OutputFile.h"

namespace vt::host {

class Preferences {
public:
    enum class Type { Boolean, Integer, Real, String, Point };

    // Reads the file when it exists; a damaged file (one that is not JSON, or
    // nested deeper than kMaxNesting) is kept aside (renamed to FILE.damaged)
    // and the session starts with empty preferences, so the user's data is
    // never silently overwritten. A file that is there but cannot be read is
    // never written over in this session. error() tells what happened.
    explicit Preferences(std::string path = {});

    // Arrays and objects nested deeper than this are refused before parsing.
    static constexpr int kMaxNesting = 512;
    // Reads preference text; false with why (line, column and reason) when it
    // is refused. What the constructor does with the file's text.
    static bool parse(const std::string& text, nlohmann::ordered_json& data, std::string& why);

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
    // A file that could not be read is left alone: nothing is written and the
    // result is true (the problem was reported when it was read).
    bool save();
    bool dirty() const { return dirty_; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }
    // The file could not be read or a save failed: the session's preferences
    // are not (all) on disk, and a program should end with a failing status.
    bool failed() const { return failed_; }
    // The file is not written in this session (it could not be read).
    bool readOnly() const { return readOnly_; }

private:
    const nlohmann::ordered_json* find(const std::string& prefix, const std::string& key,
                                       const char* type) const;
    void put(const std::string& prefix, const std::string& key, const char* type,
             nlohmann::ordered_json value);

    std::string path_;
    nlohmann::ordered_json data_ = nlohmann::ordered_json::object();
    bool dirty_ = false;
    bool failed_ = false;
    bool readOnly_ = false;
    std::string error_;
};

}  // namespace vt::host
