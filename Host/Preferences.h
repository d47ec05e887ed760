// Typed preferences under a prefix and a key, persisted to one JSON file.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "ASTypes.h"
#include "OutputFile.h"

namespace vt::host {

class Preferences {
public:
    enum class Type { Boolean, Integer, Real, String, Point };

    // Reads the file when it exists; a damaged file (one that is not JSON, or
    // nested deeper than kMaxNesting) is kept aside (renamed to FILE.damaged,
    // or FILE.damaged.1, .2, ... beside earlier ones) and the session starts
    // with empty preferences, so the user's data is never silently
    // overwritten. A path that is no regular file (a device, a pipe), a file
    // larger than kPreferenceFileLimit, and a file that cannot be read are
    // neither used nor ever written over in this session; a file the user
    // may not write is used and not written. error() tells what happened.
    explicit Preferences(std::string path = {});

    // Arrays and objects nested deeper than this are refused before parsing.
    static constexpr int kMaxNesting = 512;
    // Reads preference text, in time proportional to its length; false with
    // why (line, column and reason) when it is refused. What the constructor
    // does with the file's text.
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
    // The file is not written in this session (it could not be read, or the
    // user may not write it).
    bool readOnly() const { return readOnly_; }
    // Changes made in this session that stay unsaved because the file is one
    // the user may not write.
    bool changesUnsaved() const { return readOnlyFile_ && dirty_; }

    // Puts back what the file held when the session began, on disk too (a
    // file the session created is removed again), so that a run that failed
    // leaves the preferences as they were. True when the file had been
    // changed; false with error() set when putting it back failed.
    bool undoChanges();

private:
    using Section = nlohmann::ordered_json::object_t;

    const nlohmann::ordered_json* find(const std::string& prefix, const std::string& key,
                                       const char* type) const;
    void put(const std::string& prefix, const std::string& key, const char* type,
             nlohmann::ordered_json value);
    void reindex();
    void keepAside(const std::string& why);

    std::string path_;
    nlohmann::ordered_json data_ = nlohmann::ordered_json::object();
    // Where each prefix stands in data_, and each key in its prefix: a key is
    // found among thousands without walking them.
    std::unordered_map<std::string, size_t> prefixAt_;
    std::unordered_map<std::string, std::unordered_map<std::string, size_t>> keyAt_;
    nlohmann::ordered_json loaded_ = nlohmann::ordered_json::object();  // as the session began
    bool existed_ = false;  // the file was there when the session began
    bool written_ = false;  // and this session has written it
    bool dirty_ = false;
    bool failed_ = false;
    bool readOnly_ = false;
    bool readOnlyFile_ = false;  // used, not written: the user may not write it
    std::string error_;
};

}  // namespace vt::host
