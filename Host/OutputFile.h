// Files the host writes and reads on the user's behalf. Nothing the user had
// is lost: an output is written beside its target, flushed, synced and closed
// with every error checked, and only then renamed over the target; a target
// that is not a regular file is refused before any work; a file that cannot
// be read is reported with the system's reason.
#pragma once

#include <cstdio>
#include <string>

namespace vt::host {

// The path an output really replaces: a symbolic link to a file is followed,
// so that the link stays and the file it names gets the new content.
std::string outputTarget(const std::string& path);

// True when path may be written: nothing is there yet, or a regular file is.
// A folder, a device, a pipe or a socket is refused, as is a path the system
// cannot take (too long, through a file, not searchable); error says which.
bool checkOutputTarget(const std::string& path, std::string& error);

// An output under construction: "TARGET.tmp" beside the target, renamed over
// the target by commit() when every write succeeded. Destroyed (or discarded)
// without a commit, it removes the temporary file and leaves the target as it
// was.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Checks the target and creates the temporary file.
    bool open(std::string& error);
    // Appends bytes; false from the first failed write on (error() says why).
    bool write(const void* data, size_t size);
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    // Flushes, syncs and closes the temporary file and renames it over the
    // target. False, with the target untouched, when anything failed.
    bool commit(std::string& error);
    void discard();

    bool isOpen() const { return file_ != nullptr; }
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& target() const { return target_; }
    const std::string& tempPath() const { return temp_; }

private:
    void fail(const std::string& what, int error);

    std::string target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    std::string error_;
};

// Writes text to path through a ReplacingFile. Returns false and sets error on
// failure, with the file at path as it was.
bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error);

// Reads a whole file. Missing: nothing is there (no error). Unreadable: it is
// there but cannot be read; error names the file and the system's reason.
enum class ReadStatus { Read, Missing, Unreadable };
ReadStatus readWholeFile(const std::string& path, std::string& text, std::string& error);

}  // namespace vt::host
