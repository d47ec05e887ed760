#include "OutputFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::host {

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

bool checkOutputTarget(const std::string& path, std::string& error)
{
    if (path.empty()) {
        error = "no file name given";
        return false;
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return true;  // a new file; a missing folder shows when it is created
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISREG(st.st_mode)) return true;
    if (S_ISDIR(st.st_mode))
        error = path + " is a folder, not a file; nothing was written";
    else
        error = path + " is not a regular file (a device, pipe or socket); nothing was written to it";
    return false;
}

ReplacingFile::ReplacingFile(const std::string& target) : target_(outputTarget(target)), temp_(target_ + ".tmp") {}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::fail(const std::string& what, int error)
{
    if (error_.empty()) error_ = what + " " + target_ + ": " + std::strerror(error);
}

bool ReplacingFile::open(std::string& error)
{
    discard();
    error_.clear();
    if (!checkOutputTarget(target_, error_)) {
        error = error_;
        return false;
    }
    int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail("cannot write", errno);
        error = error_;
        return false;
    }
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        fail("cannot write", errno);
        ::close(fd);
        ::unlink(temp_.c_str());
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
    if (error_.empty() && !checkOutputTarget(target_, refused)) error_ = refused;
    if (error_.empty() && std::rename(temp_.c_str(), target_.c_str()) != 0) fail("cannot replace", errno);
    if (!error_.empty()) {
        ::unlink(temp_.c_str());
        error = error_;
        return false;
    }
    return true;
}

void ReplacingFile::discard()
{
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
    ::unlink(temp_.c_str());
}

bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error)
{
    ReplacingFile file(path);
    std::string why;
    if (!file.open(why) || !file.write(text) || !file.commit(why)) {
        if (error) *error = why.empty() ? file.error() : why;
        return false;
    }
    return true;
}

ReadStatus readWholeFile(const std::string& path, std::string& text, std::string& error)
{
    text.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return ReadStatus::Missing;
        error = "cannot read " + path + ": " + std::strerror(errno);
        return ReadStatus::Unreadable;
    }
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
    }
    ::close(fd);
    return ReadStatus::Read;
}

}  // namespace vt::host
