#include "IAIUnicodeString.h"

#include <vector>

#include "IAIWrappers.h"

extern "C" AIUnicodeStringSuite* sAIUnicodeString;

namespace ai {

using detail::check;

static AIUnicodeStringSuite* suite() { return detail::acquired(sAIUnicodeString); }

UnicodeString::UnicodeString() { check(suite()->Initialize(&ref_, "")); }
UnicodeString::UnicodeString(const char* utf8) { check(suite()->Initialize(&ref_, utf8 ? utf8 : "")); }
UnicodeString::UnicodeString(const std::string& utf8) { check(suite()->Initialize(&ref_, utf8.c_str())); }
UnicodeString::UnicodeString(const UnicodeString& other) { check(suite()->Copy(other.ref_, &ref_)); }

UnicodeString& UnicodeString::operator=(const UnicodeString& other)
{
    if (this != &other) detail::assignCopy(suite(), ref_, other.ref_);
    return *this;
}

UnicodeString::~UnicodeString() { detail::release(sAIUnicodeString, ref_); }

UnicodeString UnicodeString::adopt(AIUnicodeStringRef ref)
{
    UnicodeString s;
    if (s.ref_) suite()->Destroy(s.ref_);
    s.ref_ = ref;
    return s;
}

std::string UnicodeString::as_UTF8() const
{
    size_t length = 0;
    check(suite()->GetUTF8Length(ref_, &length));
    std::vector<char> buffer(length + 1);
    check(suite()->GetUTF8(ref_, buffer.data(), buffer.size()));
    return std::string(buffer.data(), length);
}

// The platform here keeps file names as UTF-8 bytes.
std::string UnicodeString::as_Platform() const { return as_UTF8(); }

bool UnicodeString::empty() const
{
    size_t length = 0;
    check(suite()->GetUTF8Length(ref_, &length));
    return length == 0;
}

}  // namespace ai
