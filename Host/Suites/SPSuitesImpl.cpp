// Plug-in architecture suites: memory blocks, plug-in access and the plug-in's
// own file.
#include <cstring>

#include "Host.h"
#include "Suites/SuiteTables.h"

namespace vt::host {
namespace {

ASErr allocateBlock(size_t size, const char* debugName, void** block)
{
    if (block == nullptr) return kSPBadParameterError;
    *block = Host::current().allocateBlock(size);
    return *block ? kNoErr : kSPOutOfMemoryError;
}

ASErr freeBlock(void* block)
{
    return Host::current().freeBlock(block) ? kNoErr : kSPBadParameterError;
}

ASErr acquirePlugin(SPPluginRef plugin, SPAccessRef* access)
{
    if (plugin == nullptr || access == nullptr) return kSPBadParameterError;
    ++plugin->accessCount;
    *access = reinterpret_cast<SPAccessRef>(plugin);
    return kNoErr;
}

ASErr releasePlugin(SPAccessRef access)
{
    auto* plugin = reinterpret_cast<SPPlugin*>(access);
    if (plugin == nullptr || plugin->accessCount <= 0) return kSPBadParameterError;
    --plugin->accessCount;
    return kNoErr;
}

ASErr getPluginFileSpecification(SPPluginRef plugin, SPPlatformFileSpecification* file)
{
    if (plugin == nullptr || file == nullptr) return kSPBadParameterError;
    if (plugin->filePath.size() >= sizeof(file->path)) return kSPBadParameterError;
    std::memset(file->path, 0, sizeof(file->path));
    std::memcpy(file->path, plugin->filePath.data(), plugin->filePath.size());
    return kNoErr;
}

ASErr getPluginName(SPPluginRef plugin, const char** name)
{
    if (plugin == nullptr || name == nullptr) return kSPBadParameterError;
    *name = plugin->name.c_str();
    return kNoErr;
}

ASErr suitesAcquire(const char* name, ASInt32 version, const void** suite)
{
    return Host::current().registry().acquire(name, version, suite);
}

ASErr suitesRelease(const char* name, ASInt32 version)
{
    return Host::current().registry().release(name, version);
}

SuiteInstaller installer([] {
    auto& blocks = suiteTable<SPBlocksSuite>();
    blocks.AllocateBlock = allocateBlock;
    blocks.FreeBlock = freeBlock;
    auto& access = suiteTable<SPAccessSuite>();
    access.AcquirePlugin = acquirePlugin;
    access.ReleasePlugin = releasePlugin;
    auto& plugins = suiteTable<SPPluginsSuite>();
    plugins.GetPluginFileSpecification = getPluginFileSpecification;
    plugins.GetPluginName = getPluginName;
    auto& suites = suiteTable<SPSuitesSuite>();
    suites.AcquireSuite = suitesAcquire;
    suites.ReleaseSuite = suitesRelease;
});

}  // namespace
}  // namespace vt::host
