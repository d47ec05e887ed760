// What the wrapper classes over host objects (UnicodeString, FilePath) share.
// Internal to their .cpp files.
#pragma once

#include "IAIUnicodeString.h"

namespace ai::detail {

inline void check(ASErr error)
{
    if (error != kNoErr) throw Error(error);
}

// The suite a wrapper calls through, acquired by the plug-in at start-up; a
// wrapper used without it throws kSPSuiteNotFoundError.
template <typename Suite>
Suite* acquired(Suite* suite)
{
    if (suite == nullptr) throw Error(kSPSuiteNotFoundError);
    return suite;
}

// Makes `ref` a copy of `other`: the copy is made before the old object is
// destroyed, so a copy the host refuses leaves `ref` as it was.
template <typename Suite, typename Ref>
void assignCopy(Suite* suite, Ref& ref, Ref other)
{
    Ref copy = nullptr;
    check(suite->Copy(other, &copy));
    if (ref) suite->Destroy(ref);
    ref = copy;
}

// Destroys a wrapper's object; once the plug-in has released the suite there
// is nothing left to call.
template <typename Suite, typename Ref>
void release(Suite* suite, Ref ref)
{
    if (ref && suite) suite->Destroy(ref);
}

}  // namespace ai::detail
