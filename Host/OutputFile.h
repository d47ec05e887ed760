// Files the host writes and reads on the user's behalf. Nothing the user had
// is lost: an output is written into a temporary file of its own beside its
// target, flushed, synced and closed with every error checked, and only then
// renamed over the target; a target that is not a regular file, that the user
// may not write, or that is one of the program's own files is refused before
// any work; a file that cannot be read is reported with the system's reason,
// and only regular files of a bounded size are read.
#pragma once

#include <cstdio>
#include <string>

namespace vt::host {

// ---- The program's own files ----
// The files the program reads for itself (the preference file, the plug-in's
// folder, the job being cut, the script being run) are never the output of a
// command, a script or a save dialog: writing one would destroy an input,
// or be written over by the program itself afterwards. what says which file
// it is ("the preference file"); a folder protects everything inside it.
void protectOwnFile(const std::string& path, const std::string& what);
void protectOwnFolder(const std::string& path, const std::string& what);
void forgetOwnFiles();
// Which of the program's own files path is (through links and hard links),
// or the empty text when it is none of them.
std::string ownFileRole(const std::string& path);

// The path an output really replaces: a symbolic link to a file is followed,
// so that the link stays and the file it names gets the new content.
std::string outputTarget(const std::string& path);

// Whose file an output is: the user's (every output a command or script
// names), or the program's own (the preference file, when it is saved).
enum class Owner { User, Program };

// True when path may be written: nothing is there yet, or a regular file the
// user may write (as cp decides) is. A folder, a device, a pipe or a socket is
// refused, as is a path the system cannot take (too long, through a file, not
// searchable) and, for the user's outputs, one of the program's own files;
// error says which.
bool checkOutputTarget(const std::string& path, std::string& error, Owner owner = Owner::User);

// Creates a temporary file of its own beside target, exclusively and never
// through a link: parallel writers of one target never share one. The file
// has mode (as open() with the user's file creation mask applies it). Returns
// the descriptor, or -1 with errno set; temp gets the file's path.
int createTemporaryBeside(const std::string& target, unsigned mode, std::string& temp);

// An output under construction: a temporary file beside the target, renamed
// over the target by commit() when every write succeeded. Destroyed (or
// discarded) without a commit, it removes the temporary file and leaves the
// target as it was. A target that is replaced keeps its permissions.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& target, Owner owner = Owner::User);
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
    // The temporary file while the output is open, else empty.
    const std::string& tempPath() const { return temp_; }

private:
    void fail(const std::string& what, int error);
    void removeTemp();

    std::string target_;
    Owner owner_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    std::string error_;
};

// Writes text to path through a ReplacingFile. Returns false and sets error on
// failure, with the file at path as it was.
bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error,
                         Owner owner = Owner::User);

// The most the program reads of each kind of file: more is damage or a
// mistake (a disk image named as preferences), not data.
constexpr size_t kPreferenceFileLimit = size_t(1) << 20;  // 1 MB
constexpr size_t kScriptFileLimit = size_t(16) << 20;     // 16 MB
constexpr size_t kResourceFileLimit = size_t(1) << 20;    // a string list or menu, 1 MB
constexpr size_t kSvgFileLimit = size_t(1) << 30;         // 1 GB

// "1 MB", "16 MB", "1 GB": a limit as the messages say it.
std::string sizeText(size_t bytes);

// Reads a whole file. Missing: nothing is there (no error). Unreadable: it is
// there but cannot be read, is no regular file (a folder, a device, a pipe:
// never waited on), or is larger than limit; error names the file and says
// why, the limit with what (what a file of this kind is: "a preference file").
enum class ReadStatus { Read, Missing, Unreadable };
ReadStatus readWholeFile(const std::string& path, std::string& text, std::string& error, size_t limit,
                         const char* what);

// Opens path for reading when it is a regular file of at most limit bytes,
// without waiting on a pipe or a device. Returns the descriptor and its size,
// or -1 with status Missing or Unreadable and error (as readWholeFile says it).
int openRegularFile(const std::string& path, size_t limit, const char* what, size_t& size, ReadStatus& status,
                    std::string& error);

}  // namespace vt::host
