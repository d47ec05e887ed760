#include "IAIFilePath.h"

#include "IAIWrappers.h"

extern "C" AIFilePathSuite* sAIFilePath;

namespace ai {

using detail::check;

static AIFilePathSuite* suite() { return detail::acquired(sAIFilePath); }

FilePath::FilePath(const SPPlatformFileSpecification& spec) { check(suite()->NewFromPlatformSpec(&spec, &ref_)); }
FilePath::FilePath(const UnicodeString& path) { check(suite()->NewFromUTF8(path.as_UTF8().c_str(), &ref_)); }
FilePath::FilePath(const FilePath& other) { check(suite()->Copy(other.ref_, &ref_)); }

FilePath& FilePath::operator=(const FilePath& other)
{
    if (this != &other) detail::assignCopy(suite(), ref_, other.ref_);
    return *this;
}

FilePath::~FilePath() { detail::release(sAIFilePath, ref_); }

UnicodeString FilePath::GetFullPath() const
{
    AIUnicodeStringRef full = nullptr;
    check(suite()->GetFullPath(ref_, &full));
    return UnicodeString::adopt(full);
}

UnicodeString FilePath::GetFileName() const
{
    AIUnicodeStringRef name = nullptr;
    check(suite()->GetFileName(ref_, &name));
    return UnicodeString::adopt(name);
}

FilePath FilePath::GetParent() const
{
    FilePath parent;
    check(suite()->GetParent(ref_, &parent.ref_));
    return parent;
}

void FilePath::AddComponent(const UnicodeString& component)
{
    check(suite()->AddComponent(ref_, component.as_UTF8().c_str()));
}

void FilePath::GetAsSPPlatformFileSpec(SPPlatformFileSpecification& spec) const
{
    check(suite()->GetPlatformSpec(ref_, &spec));
}

}  // namespace ai
