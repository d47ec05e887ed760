#include "Common/OSFile.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "IAIFilePath.h"

// The platform path of a specification; false when it cannot be made or does
// not fit: a cut path would name another file.
static bool platformPath(const SPPlatformFileSpecification* fileSpecification, char* path, size_t size)
{
    try {
        ai::FilePath file(*fileSpecification);
        std::string platform = file.GetFullPath().as_Platform();
        if (platform.empty() || platform.size() >= size) return false;
        memcpy(path, platform.data(), platform.size());
        path[platform.size()] = 0;
    } catch (const ai::Error&) {
        return false;
    }
    return true;
}

FILE* OS_fopen(const SPPlatformFileSpecification* fileSpecification, const char* mode)
{
    if (fileSpecification == nullptr || mode == nullptr) return nullptr;
    char path[kSPMaxPathLength + 1];
    if (!platformPath(fileSpecification, path, sizeof path)) return nullptr;
    return fopen(path, mode);
}

// The folder of the plug-in file, as a platform path and as a file
// specification (either may be null); false when the host cannot say.
static bool pluginFolder(std::string* path, SPPlatformFileSpecification* specification)
{
    try {
        SPPlatformFileSpecification file;
        if (sSPPlugins->GetPluginFileSpecification(g->pluginRef, &file) != kNoErr) return false;
        ai::FilePath folder = ai::FilePath(file).GetParent();
        if (path != nullptr) *path = folder.GetFullPath().as_Platform();
        if (specification != nullptr) folder.GetAsSPPlatformFileSpec(*specification);
    } catch (const ai::Error&) {
        return false;
    }
    return true;
}

ASErr pluginFolderFilePath(const char* fileName, char* path, size_t size)
{
    if (path == nullptr || size == 0) return kNoFileErr;
    path[0] = 0;
    std::string full;
    if (fileName == nullptr || !pluginFolder(&full, nullptr) || full.empty()) return kNoFileErr;
    if (full.back() != '/') full += '/';
    full += fileName;
    if (full.size() >= size) return kNoFileErr;
    memcpy(path, full.c_str(), full.size() + 1);
    return kNoErr;
}

ASErr pluginFolderSpecification(SPPlatformFileSpecification* folder)
{
    return folder != nullptr && pluginFolder(nullptr, folder) ? kNoErr : kNoFileErr;
}

ASErr OS_fopenReplacing(const SPPlatformFileSpecification* fileSpecification, OSReplacingFile* file)
{
    if (file == nullptr) return kNoFileErr;
    memset(file, 0, sizeof *file);
    if (fileSpecification == nullptr || !platformPath(fileSpecification, file->path, sizeof file->path)) {
        file->systemError = ENAMETOOLONG;
        return kNoFileErr;
    }
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
    if (stat(file->path, &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            file->systemError = S_ISDIR(st.st_mode) ? EISDIR : kOSNotRegularFile;
            return kNoFileErr;
        }
    } else if (errno != ENOENT) {
        file->systemError = errno;
        return kNoFileErr;
    }
    snprintf(file->temp, sizeof file->temp, "%s.tmp", file->path);
    file->stream = fopen(file->temp, "w");
    if (file->stream == nullptr) {
        file->systemError = errno;
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
    return error;
}
