#include "Common/OSFile.h"

#include <string.h>

#include "IAIFilePath.h"

FILE* OS_fopen(const SPPlatformFileSpecification* fileSpecification, const char* mode)
{
    if (fileSpecification == nullptr || mode == nullptr) return nullptr;
    char path[kSPMaxPathLength + 1];
    try {
        ai::FilePath file(*fileSpecification);
        std::string platform = file.GetFullPath().as_Platform();
        // A path that does not fit is refused rather than cut: a cut path
        // would name another file.
        if (platform.empty() || platform.size() >= sizeof(path)) return nullptr;
        memcpy(path, platform.data(), platform.size());
        path[platform.size()] = 0;
    } catch (const ai::Error&) {
        return nullptr;
    }
    return fopen(path, mode);
}
