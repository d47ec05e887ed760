// Wrapper class over the host's Unicode strings. Compiled into the plug-in;
// its methods throw ai::Error when the host refuses an operation.
#pragma once

#include <string>

#include "AIUtilitySuites.h"

namespace ai {

class Error {
public:
    explicit Error(ASErr code) : code_(code) {}
    ASErr code() const { return code_; }
    operator ASErr() const { return code_; }

private:
    ASErr code_;
};

class UnicodeString {
public:
    UnicodeString();
    explicit UnicodeString(const char* utf8);
    explicit UnicodeString(const std::string& utf8);
    UnicodeString(const UnicodeString& other);
    UnicodeString& operator=(const UnicodeString& other);
    ~UnicodeString();

    // Takes over a reference the host handed out.
    static UnicodeString adopt(AIUnicodeStringRef ref);

    std::string as_UTF8() const;
    // The text in the platform's byte encoding, for paths and names that
    // become byte strings.
    std::string as_Platform() const;
    bool empty() const;
    AIUnicodeStringRef ref() const { return ref_; }

private:
    AIUnicodeStringRef ref_ = nullptr;
};

}  // namespace ai
