#include "OutputFile.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::host {

// ---- The program's own files ------------------------------------------------------

namespace {

struct OwnFile {
    std::string path;
    std::string what;
    bool folder;
};

std::vector<OwnFile>& ownFiles()
{
    static std::vector<OwnFile> files;
    return files;
}

// The path with every link in the part that exists resolved, so that two
// names of one file compare equal.
std::string resolved(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) return path;
    std::filesystem::path real = std::filesystem::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal().string() : real.string();
}

bool sameInode(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace

void protectOwnFile(const std::string& path, const std::string& what)
{
    if (!path.empty()) ownFiles().push_back({path, what, false});
}

void protectOwnFolder(const std::string& path, const std::string& what)
{
    if (!path.empty()) ownFiles().push_back({path, what, true});
}

void forgetOwnFiles() { ownFiles().clear(); }

std::string ownFileRole(const std::string& path)
{
    if (ownFiles().empty() || path.empty()) return {};
    std::string real = resolved(path);
    for (const OwnFile& own : ownFiles()) {
        std::string mine = resolved(own.path);
        if (own.folder) {
            if (real.size() > mine.size() && real.compare(0, mine.size(), mine) == 0 && real[mine.size()] == '/')
                return "a file of " + own.what;
        } else if (real == mine || sameInode(path, own.path)) {
            return own.what;
        }
    }
    return {};
}

// ---- Outputs ----------------------------------------------------------------------

std::string outputTarget(const std::string& path)
{
    struct stat link;
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;  // a link to nothing: the link itself is replaced
    std::string resolved = real;
    std::free(real);
    return resolved;
}

bool checkOutputTarget(const std::string& path, std::string& error, Owner owner)
{
    if (path.empty()) {
        error = "no file name given";
        return false;
    }
    if (owner == Owner::User) {
        std::string role = ownFileRole(path);
        if (!role.empty()) {
            error = path + " is " + role + ", one of the program's own files; nothing was written to it";
            return false;
        }
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return true;  // a new file; a missing folder shows when it is created
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISREG(st.st_mode)) {
        // A file the user may not write is not replaced behind its back,
        // although the folder would allow the rename.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) return true;
        error = "cannot write " + path + ": " + std::strerror(errno) + "; nothing was written";
        return false;
    }
    if (S_ISDIR(st.st_mode))
        error = path + " is a folder, not a file; nothing was written";
    else
        error = path + " is not a regular file (a device, pipe or socket); nothing was written to it";
    return false;
}

namespace {

std::string randomWord(size_t length)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[16];
    if (length > sizeof bytes) length = sizeof bytes;
    if (::getrandom(bytes, length, GRND_NONBLOCK) != static_cast<ssize_t>(length)) {
        // No entropy yet: the clock, the process and a count tell writers
        // apart well enough; the exclusive create keeps them apart anyway.
        static std::atomic<unsigned> count{0};
        struct timespec now;
        ::clock_gettime(CLOCK_REALTIME, &now);
        uint64_t seed = (static_cast<uint64_t>(::getpid()) << 32) ^ static_cast<uint64_t>(now.tv_nsec) ^
                        (static_cast<uint64_t>(++count) * 0x9E3779B97F4A7C15ull);
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            bytes[i] = static_cast<unsigned char>(seed >> 56);
        }
    }
    std::string word;
    for (size_t i = 0; i < length; ++i) word += kLetters[bytes[i] % (sizeof kLetters - 1)];
    return word;
}

}  // namespace

int createTemporaryBeside(const std::string& target, unsigned mode, std::string& temp)
{
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // "NAME.tmp-XXXXXX"; the name is shortened when the whole would not be a
    // name the file system takes.
    static const char kMark[] = ".tmp-";
    const size_t kRandom = 6;
    const size_t room = NAME_MAX - (sizeof kMark - 1) - kRandom;
    if (name.size() > room) name.resize(room);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + name + kMark + randomWord(kRandom);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    int error = errno;
    temp.clear();
    errno = error;
    return -1;
}

ReplacingFile::ReplacingFile(const std::string& target, Owner owner) : target_(outputTarget(target)), owner_(owner)
{
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::fail(const std::string& what, int error)
{
    if (error_.empty()) error_ = what + " " + target_ + ": " + std::strerror(error);
}

void ReplacingFile::removeTemp()
{
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

bool ReplacingFile::open(std::string& error)
{
    discard();
    error_.clear();
    if (!checkOutputTarget(target_, error_, owner_)) {
        error = error_;
        return false;
    }
    struct stat old;
    bool replacing = ::stat(target_.c_str(), &old) == 0;
    int fd = createTemporaryBeside(target_, 0666, temp_);
    if (fd < 0) {
        fail("cannot write", errno);
        error = error_;
        return false;
    }
    // The new file takes the place of the old one with its permissions.
    if (replacing) (void)::fchmod(fd, old.st_mode & 07777);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        fail("cannot write", errno);
        ::close(fd);
        removeTemp();
        error = error_;
        return false;
    }
    return true;
}

bool ReplacingFile::write(const void* data, size_t size)
{
    if (file_ == nullptr) {
        if (error_.empty()) error_ = "cannot write " + target_ + ": the file is not open";
        return false;
    }
    if (!error_.empty()) return false;
    if (size > 0 && (std::fwrite(data, 1, size, file_) != size || std::fflush(file_) != 0)) {
        fail("cannot write", errno);
        return false;
    }
    return true;
}

bool ReplacingFile::commit(std::string& error)
{
    if (file_ == nullptr) {
        if (error_.empty()) error_ = "cannot write " + target_ + ": the file is not open";
        error = error_;
        return false;
    }
    if (error_.empty() && std::fflush(file_) != 0) fail("cannot write", errno);
    if (error_.empty() && ::fsync(::fileno(file_)) != 0) fail("cannot write", errno);
    int closed = std::fclose(file_);
    int closeError = errno;
    file_ = nullptr;
    if (error_.empty() && closed != 0) fail("cannot write", closeError);
    // The target is checked again: something may have taken its place meanwhile.
    std::string refused;
    if (error_.empty() && !checkOutputTarget(target_, refused, owner_)) error_ = refused;
    if (error_.empty() && std::rename(temp_.c_str(), target_.c_str()) != 0) fail("cannot replace", errno);
    if (!error_.empty()) {
        removeTemp();
        error = error_;
        return false;
    }
    temp_.clear();
    return true;
}

void ReplacingFile::discard()
{
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
    removeTemp();
}

bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error, Owner owner)
{
    ReplacingFile file(path, owner);
    std::string why;
    if (!file.open(why) || !file.write(text) || !file.commit(why)) {
        if (error) *error = why.empty() ? file.error() : why;
        return false;
    }
    return true;
}

// ---- Inputs -----------------------------------------------------------------------

std::string sizeText(size_t bytes)
{
    const size_t kMB = size_t(1) << 20, kGB = size_t(1) << 30;
    if (bytes >= kGB && bytes % kGB == 0) return std::to_string(bytes / kGB) + " GB";
    if (bytes >= kMB && bytes % kMB == 0) return std::to_string(bytes / kMB) + " MB";
    return std::to_string(bytes) + " bytes";
}

int openRegularFile(const std::string& path, size_t limit, const char* what, size_t& size, ReadStatus& status,
                    std::string& error)
{
    status = ReadStatus::Unreadable;
    size = 0;
    auto refuse = [&](const std::string& why) {
        error = "cannot read " + path + ": " + why;
        return -1;
    };
    // Looked at before it is opened: opening a pipe waits for a writer, and
    // a device may act on being opened.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            status = ReadStatus::Missing;
            return -1;
        }
        return refuse(std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode)) return refuse(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return refuse("it is not a regular file (a device, pipe or socket)");
    std::string tooLarge = "it is larger than the " + sizeText(limit) + " " + what + " may be";
    if (static_cast<unsigned long long>(st.st_size) > limit) return refuse(tooLarge);
    // Something else may stand at the path by now: the file opened is
    // looked at again, and never waited on.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) {
            status = ReadStatus::Missing;
            return -1;
        }
        return refuse(std::strerror(errno));
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<unsigned long long>(st.st_size) > limit) {
        int code = errno;
        bool regular = S_ISREG(st.st_mode);
        ::close(fd);
        return refuse(!regular ? "it is not a regular file (a device, pipe or socket)"
                               : static_cast<unsigned long long>(st.st_size) > limit ? tooLarge
                                                                                      : std::strerror(code));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size = static_cast<size_t>(st.st_size);
    status = ReadStatus::Read;
    return fd;
}

ReadStatus readWholeFile(const std::string& path, std::string& text, std::string& error, size_t limit,
                         const char* what)
{
    text.clear();
    size_t size = 0;
    ReadStatus status;
    int fd = openRegularFile(path, limit, what, size, status, error);
    if (fd < 0) return status;
    text.reserve(size);
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = "cannot read " + path + ": " + std::strerror(errno);
            ::close(fd);
            text.clear();
            return ReadStatus::Unreadable;
        }
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > limit) {
            // It grew while it was read.
            error = "cannot read " + path + ": it is larger than the " + sizeText(limit) + " " + what + " may be";
            ::close(fd);
            text.clear();
            return ReadStatus::Unreadable;
        }
    }
    ::close(fd);
    return ReadStatus::Read;
}

}  // namespace vt::host
