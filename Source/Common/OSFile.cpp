#include "Common/OSFile.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

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
    char path[kSPMaxPathLength + 1];
    if (fileSpecification == nullptr || !platformPath(fileSpecification, path, sizeof path)) {
        memset(file, 0, sizeof *file);
        file->systemError = ENAMETOOLONG;
        return kNoFileErr;
    }
    return OS_fopenReplacingPath(path, file);
}
