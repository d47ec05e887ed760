// Utility suites: notifiers, host memory handles, preferences, Unicode strings
// and file paths.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "Host.h"
#include "Suites/SuiteTables.h"

namespace vt::host {
namespace {

// ---- Notifiers -----------------------------------------------------------------

struct NotifierOps {
    using Suite = AINotifierSuite;

    static ASErr AddNotifier(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier)
    {
        if (self == nullptr || name == nullptr || type == nullptr) return kSPBadParameterError;
        AINotifierHandle handle = Host::current().addNotifier(self, name, type);
        if (notifier) *notifier = handle;
        return kNoErr;
    }

    static ASErr GetNotifierName(AINotifierHandle handle, const char** name)
    {
        Host::Notifier* n = Host::current().notifier(handle);
        if (n == nullptr || name == nullptr) return kSPBadParameterError;
        *name = n->name.c_str();
        return kNoErr;
    }

    static ASErr SetNotifierActive(AINotifierHandle handle, AIBoolean active)
    {
        Host::Notifier* n = Host::current().notifier(handle);
        if (n == nullptr) return kSPBadParameterError;
        n->active = active != 0;
        return kNoErr;
    }
};

// ---- Memory handles ------------------------------------------------------------------
// A handle is a block holding the data pointer followed by nothing else; the
// data lives in a separate block so it can be resized.

struct HandleBlock {
    void* data;
    size_t size;
};

struct MdMemoryOps {
    using Suite = AIMdMemorySuite;

    static ASErr MdMemoryNewHandle(size_t size, AIMdMemoryHandle* handle)
    {
        if (handle == nullptr) return kSPBadParameterError;
        auto* block = static_cast<HandleBlock*>(std::calloc(1, sizeof(HandleBlock)));
        if (!block) return kSPOutOfMemoryError;
        block->data = std::calloc(1, size ? size : 1);
        if (!block->data) {
            std::free(block);
            return kSPOutOfMemoryError;
        }
        block->size = size;
        *handle = reinterpret_cast<AIMdMemoryHandle>(block);
        return kNoErr;
    }

    static ASErr MdMemoryDisposeHandle(AIMdMemoryHandle handle)
    {
        auto* block = reinterpret_cast<HandleBlock*>(handle);
        if (!block) return kNoErr;
        std::free(block->data);
        std::free(block);
        return kNoErr;
    }

    static ASErr MdMemoryGetSize(AIMdMemoryHandle handle, size_t* size)
    {
        auto* block = reinterpret_cast<HandleBlock*>(handle);
        if (!block || !size) return kSPBadParameterError;
        *size = block->size;
        return kNoErr;
    }

    static ASErr MdMemoryResize(AIMdMemoryHandle handle, size_t size)
    {
        auto* block = reinterpret_cast<HandleBlock*>(handle);
        if (!block) return kSPBadParameterError;
        void* data = std::realloc(block->data, size ? size : 1);
        if (!data) return kSPOutOfMemoryError;
        if (size > block->size) std::memset(static_cast<char*>(data) + block->size, 0, size - block->size);
        block->data = data;
        block->size = size;
        return kNoErr;
    }
};

// ---- Preferences ---------------------------------------------------------------------

#define VT_PREF_ARGS_OK (prefix != nullptr && key != nullptr)

// A preference of one type read or written: no prefix or key, or nowhere to
// read into, is a bad parameter; a key not stored (or stored as another type)
// is not found, and what was to be read into is left as it was.
template <typename Stored, typename T>
ASErr getPreference(const char* prefix, const char* key, T* value,
                    bool (Preferences::*get)(const std::string&, const std::string&, Stored*) const)
{
    if (!VT_PREF_ARGS_OK || !value) return kSPBadParameterError;
    Stored v;
    if (!(Host::current().prefs().*get)(prefix, key, &v)) return kAIPreferenceKeyNotFoundError;
    *value = v;
    return kNoErr;
}

template <typename Stored, typename T>
ASErr putPreference(const char* prefix, const char* key, T value,
                    void (Preferences::*put)(const std::string&, const std::string&, Stored))
{
    if (!VT_PREF_ARGS_OK) return kSPBadParameterError;
    (Host::current().prefs().*put)(prefix, key, value);
    return kNoErr;
}

struct PreferenceOps {
    using Suite = AIPreferenceSuite;

    static ASErr GetBooleanPreference(const char* prefix, const char* key, AIBoolean* value)
    {
        return getPreference(prefix, key, value, &Preferences::getBoolean);
    }

    static ASErr PutBooleanPreference(const char* prefix, const char* key, AIBoolean value)
    {
        return putPreference(prefix, key, value, &Preferences::putBoolean);
    }

    static ASErr GetIntegerPreference(const char* prefix, const char* key, ASInt32* value)
    {
        return getPreference(prefix, key, value, &Preferences::getInteger);
    }

    static ASErr PutIntegerPreference(const char* prefix, const char* key, ASInt32 value)
    {
        return putPreference(prefix, key, value, &Preferences::putInteger);
    }

    static ASErr GetRealPreference(const char* prefix, const char* key, double* value)
    {
        return getPreference(prefix, key, value, &Preferences::getReal);
    }

    static ASErr PutRealPreference(const char* prefix, const char* key, double value)
    {
        return putPreference(prefix, key, value, &Preferences::putReal);
    }

    static ASErr GetStringPreference(const char* prefix, const char* key, char* value, size_t size)
    {
        std::string v;
        if (!VT_PREF_ARGS_OK || !value || size == 0) return kSPBadParameterError;
        if (!Host::current().prefs().getString(prefix, key, &v)) return kAIPreferenceKeyNotFoundError;
        size_t n = v.size() < size - 1 ? v.size() : size - 1;
        std::memcpy(value, v.data(), n);
        value[n] = 0;
        return kNoErr;
    }

    static ASErr PutStringPreference(const char* prefix, const char* key, const char* value)
    {
        if (!VT_PREF_ARGS_OK || !value) return kSPBadParameterError;
        Host::current().prefs().putString(prefix, key, value);
        return kNoErr;
    }

    static ASErr GetPointPreference(const char* prefix, const char* key, AIPoint* value)
    {
        return getPreference(prefix, key, value, &Preferences::getPoint);
    }

    static ASErr PutPointPreference(const char* prefix, const char* key, const AIPoint* value)
    {
        if (!VT_PREF_ARGS_OK || !value) return kSPBadParameterError;
        Host::current().prefs().putPoint(prefix, key, *value);
        return kNoErr;
    }

    static ASErr RemovePreference(const char* prefix, const char* key)
    {
        if (!VT_PREF_ARGS_OK) return kSPBadParameterError;
        return Host::current().prefs().remove(prefix, key) ? kNoErr : kAIPreferenceKeyNotFoundError;
    }
};

// ---- Unicode strings -------------------------------------------------------------------

struct UnicodeStringOps {
    using Suite = AIUnicodeStringSuite;

    static ASErr Initialize(AIUnicodeStringRef* str, const char* utf8)
    {
        if (!str) return kSPBadParameterError;
        *str = reinterpret_cast<AIUnicodeStringRef>(new std::string(utf8 ? utf8 : ""));
        return kNoErr;
    }

    static ASErr Copy(AIUnicodeStringRef src, AIUnicodeStringRef* dst)
    {
        if (!src || !dst) return kSPBadParameterError;
        *dst = reinterpret_cast<AIUnicodeStringRef>(new std::string(*reinterpret_cast<std::string*>(src)));
        return kNoErr;
    }

    static ASErr Destroy(AIUnicodeStringRef str)
    {
        delete reinterpret_cast<std::string*>(str);
        return kNoErr;
    }

    static ASErr GetUTF8Length(AIUnicodeStringRef str, size_t* length)
    {
        if (!str || !length) return kSPBadParameterError;
        *length = reinterpret_cast<std::string*>(str)->size();
        return kNoErr;
    }

    static ASErr GetUTF8(AIUnicodeStringRef str, char* buffer, size_t size)
    {
        if (!str || !buffer || size == 0) return kSPBadParameterError;
        const std::string& s = *reinterpret_cast<std::string*>(str);
        size_t n = s.size() < size - 1 ? s.size() : size - 1;
        std::memcpy(buffer, s.data(), n);
        buffer[n] = 0;
        return kNoErr;
    }
};

// ---- File paths ------------------------------------------------------------------------

using Path = std::filesystem::path;

AIFilePathRef makePath(Path p) { return reinterpret_cast<AIFilePathRef>(new Path(std::move(p))); }
Path* asPath(AIFilePathRef ref) { return reinterpret_cast<Path*>(ref); }

struct FilePathOps {
    using Suite = AIFilePathSuite;

    static ASErr NewFromPlatformSpec(const SPPlatformFileSpecification* spec, AIFilePathRef* path)
    {
        if (!spec || !path) return kSPBadParameterError;
        *path = makePath(Path(std::string(spec->path, strnlen(spec->path, sizeof(spec->path)))));
        return kNoErr;
    }

    static ASErr NewFromUTF8(const char* utf8, AIFilePathRef* path)
    {
        if (!utf8 || !path) return kSPBadParameterError;
        *path = makePath(Path(utf8));
        return kNoErr;
    }

    static ASErr Copy(AIFilePathRef src, AIFilePathRef* dst)
    {
        if (!src || !dst) return kSPBadParameterError;
        *dst = makePath(*asPath(src));
        return kNoErr;
    }

    static ASErr Destroy(AIFilePathRef path)
    {
        delete asPath(path);
        return kNoErr;
    }

    static ASErr GetFullPath(AIFilePathRef path, AIUnicodeStringRef* full)
    {
        if (!path || !full) return kSPBadParameterError;
        return UnicodeStringOps::Initialize(full, asPath(path)->string().c_str());
    }

    static ASErr GetParent(AIFilePathRef path, AIFilePathRef* parent)
    {
        if (!path || !parent) return kSPBadParameterError;
        *parent = makePath(asPath(path)->parent_path());
        return kNoErr;
    }

    static ASErr GetFileName(AIFilePathRef path, AIUnicodeStringRef* name)
    {
        if (!path || !name) return kSPBadParameterError;
        return UnicodeStringOps::Initialize(name, asPath(path)->filename().string().c_str());
    }

    static ASErr AddComponent(AIFilePathRef path, const char* component)
    {
        if (!path || !component) return kSPBadParameterError;
        *asPath(path) /= component;
        return kNoErr;
    }

    static ASErr GetPlatformSpec(AIFilePathRef path, SPPlatformFileSpecification* spec)
    {
        if (!path || !spec) return kSPBadParameterError;
        std::string s = asPath(path)->string();
        if (s.size() >= sizeof(spec->path)) return kSPBadParameterError;
        std::memset(spec->path, 0, sizeof(spec->path));
        std::memcpy(spec->path, s.data(), s.size());
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<NotifierOps, MdMemoryOps, PreferenceOps, UnicodeStringOps, FilePathOps>);

}  // namespace
}  // namespace vt::host
