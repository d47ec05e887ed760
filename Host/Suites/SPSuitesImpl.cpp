// Plug-in architecture suites: memory blocks, plug-in access and the plug-in's
// own file.
#include <cstring>

#include "Host.h"
#include "Suites/SuiteTables.h"

namespace vt::host {
namespace {

struct BlocksOps {
    using Suite = SPBlocksSuite;

    static ASErr AllocateBlock(size_t size, const char* debugName, void** block)
    {
        if (block == nullptr) return kSPBadParameterError;
        *block = Host::current().allocateBlock(size);
        return *block ? kNoErr : kSPOutOfMemoryError;
    }

    static ASErr FreeBlock(void* block)
    {
        return Host::current().freeBlock(block) ? kNoErr : kSPBadParameterError;
    }
};

struct AccessOps {
    using Suite = SPAccessSuite;

    static ASErr AcquirePlugin(SPPluginRef plugin, SPAccessRef* access)
    {
        if (plugin == nullptr || access == nullptr) return kSPBadParameterError;
        ++plugin->accessCount;
        *access = reinterpret_cast<SPAccessRef>(plugin);
        return kNoErr;
    }

    static ASErr ReleasePlugin(SPAccessRef access)
    {
        auto* plugin = reinterpret_cast<SPPlugin*>(access);
        if (plugin == nullptr || plugin->accessCount <= 0) return kSPBadParameterError;
        --plugin->accessCount;
        return kNoErr;
    }
};

struct PluginsOps {
    using Suite = SPPluginsSuite;

    static ASErr GetPluginFileSpecification(SPPluginRef plugin, SPPlatformFileSpecification* file)
    {
        if (plugin == nullptr || file == nullptr) return kSPBadParameterError;
        if (plugin->filePath.size() >= sizeof(file->path)) return kSPBadParameterError;
        std::memset(file->path, 0, sizeof(file->path));
        std::memcpy(file->path, plugin->filePath.data(), plugin->filePath.size());
        return kNoErr;
    }

    static ASErr GetPluginName(SPPluginRef plugin, const char** name)
    {
        if (plugin == nullptr || name == nullptr) return kSPBadParameterError;
        *name = plugin->name.c_str();
        return kNoErr;
    }
};

struct SuitesOps {
    using Suite = SPSuitesSuite;

    static ASErr AcquireSuite(const char* name, ASInt32 version, const void** suite)
    {
        return Host::current().registry().acquire(name, version, suite);
    }

    static ASErr ReleaseSuite(const char* name, ASInt32 version)
    {
        return Host::current().registry().release(name, version);
    }
};

SuiteInstaller installer(installOps<BlocksOps, AccessOps, PluginsOps, SuitesOps>);

}  // namespace
}  // namespace vt::host
