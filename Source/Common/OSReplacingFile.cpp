#include "Common/OSReplacingFile.h"

#include <algorithm>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string_view>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

// Six letters and digits, from the system's random source when it has one.
static void randomLetters(char* out)
{
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != (ssize_t)sizeof bytes) {
        // No entropy yet: the clock and the process tell writers apart well
        // enough, and the exclusive create keeps them apart anyway.
        static unsigned count = 0;
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        uint64_t seed = ((uint64_t)getpid() << 32) ^ (uint64_t)now.tv_nsec ^ ((uint64_t)++count * 0x9E3779B97F4A7C15ull);
        for (size_t i = 0; i < sizeof bytes; i++) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            bytes[i] = (unsigned char)(seed >> 56);
        }
    }
    for (size_t i = 0; i < sizeof bytes; i++) out[i] = kLetters[bytes[i] % kLetters.size()];
    out[sizeof bytes] = 0;
}

// Creates file->temp beside file->path, exclusively; the descriptor, or -1
// with errno set.
static int createTemporary(OSReplacingFile* file)
{
    static const char kMark[] = ".tmp-";
    const char* slash = strrchr(file->path, '/');
    size_t folder = slash ? (size_t)(slash - file->path) + 1 : 0;
    size_t name = strlen(file->path) - folder;
    // A name so long that the mark would not fit in a file name is shortened.
    size_t room = NAME_MAX - (sizeof kMark - 1) - 6;
    name = std::min(name, room);
    // Any path that fits takes the mark and the letters.
    static_assert(sizeof file->temp >= sizeof file->path + sizeof kMark - 1 + 6, "no room for the temporary name");
    for (int attempt = 0; attempt < 100; attempt++) {
        char letters[7];
        randomLetters(letters);
        memcpy(file->temp, file->path, folder + name);
        snprintf(file->temp + folder + name, sizeof file->temp - folder - name, "%s%s", kMark, letters);
        int fd = open(file->temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

ASErr OS_fopenReplacingPath(const char* path, OSReplacingFile* file)
{
    if (file == nullptr) return kNoFileErr;
    memset(file, 0, sizeof *file);
    if (path == nullptr || path[0] == 0 || strlen(path) >= sizeof file->path) {
        file->systemError = ENAMETOOLONG;
        return kNoFileErr;
    }
    memcpy(file->path, path, strlen(path) + 1);
    struct stat st;
    if (lstat(file->path, &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = realpath(file->path, nullptr);
        if (real != nullptr) {
            size_t length = strlen(real);
            if (length < sizeof file->path) memcpy(file->path, real, length + 1);
            free(real);
            if (length >= sizeof file->path) {
                file->systemError = ENAMETOOLONG;
                return kNoFileErr;
            }
        }
    }
    bool replacing = stat(file->path, &st) == 0;
    if (replacing) {
        if (!S_ISREG(st.st_mode)) {
            file->systemError = S_ISDIR(st.st_mode) ? EISDIR : kOSNotRegularFile;
            return kNoFileErr;
        }
        // A file the user may not write is not replaced behind its back,
        // although its folder would allow the rename.
        if (faccessat(AT_FDCWD, file->path, W_OK, AT_EACCESS) != 0) {
            file->systemError = errno;
            return kNoFileErr;
        }
    } else if (errno != ENOENT) {
        file->systemError = errno;
        return kNoFileErr;
    }
    int fd = createTemporary(file);
    if (fd < 0) {
        file->systemError = errno;
        file->temp[0] = 0;
        return kNoFileErr;
    }
    if (replacing) (void)fchmod(fd, st.st_mode & 07777);
    file->stream = fdopen(fd, "w");
    if (file->stream == nullptr) {
        file->systemError = errno;
        close(fd);
        unlink(file->temp);
        file->temp[0] = 0;
        return kNoFileErr;
    }
    return kNoErr;
}

ASErr OS_fcloseReplacing(OSReplacingFile* file, ASErr writeError)
{
    if (file == nullptr || file->stream == nullptr) return writeError != kNoErr ? writeError : kWriteErr;
    ASErr error = writeError;
    if (fflush(file->stream) != 0 || ferror(file->stream)) {
        if (file->systemError == 0) file->systemError = errno;
        if (error == kNoErr) error = kWriteErr;
    }
    if (error == kNoErr && fsync(fileno(file->stream)) != 0) {
        file->systemError = errno;
        error = kWriteErr;
    }
    if (fclose(file->stream) != 0 && error == kNoErr) {
        file->systemError = errno;
        error = kWriteErr;
    }
    file->stream = nullptr;
    if (error == kNoErr && rename(file->temp, file->path) != 0) {
        file->systemError = errno;
        error = kWriteErr;
    }
    if (error != kNoErr) unlink(file->temp);
    file->temp[0] = 0;
    return error;
}
