// Wrapper class over the host's file paths. Compiled into the plug-in.
#pragma once

#include "IAIUnicodeString.h"

namespace ai {

class FilePath {
public:
    explicit FilePath(const SPPlatformFileSpecification& spec);
    explicit FilePath(const UnicodeString& path);
    FilePath(const FilePath& other);
    FilePath& operator=(const FilePath& other);
    ~FilePath();

    UnicodeString GetFullPath() const;
    UnicodeString GetFileName() const;
    FilePath GetParent() const;
    void AddComponent(const UnicodeString& component);
    void GetAsSPPlatformFileSpec(SPPlatformFileSpecification& spec) const;

private:
    FilePath() = default;
    AIFilePathRef ref_ = nullptr;
};

}  // namespace ai
