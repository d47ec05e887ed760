#include "FileFaults.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

namespace vt::test {

namespace {

constexpr uid_t kHostUser = 65534;  // nobody
constexpr gid_t kHostGroup = 65534;

void chownAll(const std::filesystem::path& path)
{
    if (::lchown(path.c_str(), kHostUser, kHostGroup) != 0) return;
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) return;
    for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        ::lchown(it->path().c_str(), kHostUser, kHostGroup);
}

}  // namespace

bool runningAsRoot() { return ::geteuid() == 0; }

void handToHostUser(const std::string& path)
{
    if (runningAsRoot()) chownAll(path);
}

namespace {

std::string hostCommand(const TempDir& dir, const std::string& arguments, const std::string& prefs,
                        const std::string& resources)
{
    // The temporary folder itself must be open to the host's user.
    if (runningAsRoot()) ::chmod(dir.path().c_str(), 0777);
    std::string prefix = runningAsRoot() ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    return prefix + "'" + VANTOREL_HOST_EXE + "' --prefs '" + (prefs.empty() ? dir.file("prefs.json") : prefs) +
           "' --plugin-folder '" + dir.file("Plug-ins") + "' --resources '" +
           (resources.empty() ? VANTOREL_SOURCE_DIR "/Resources" : resources) + "' --module '" + VANTOREL_MODULE_PATH + "' " + arguments + " 2>&1";
}

HostRun finish(FILE* pipe)
{
    HostRun r;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) r.output += buffer;
    int status = ::pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace

HostRun runHost(const TempDir& dir, const std::string& arguments, const std::string& prefs,
                const std::string& resources)
{
    FILE* pipe = ::popen(hostCommand(dir, arguments, prefs, resources).c_str(), "r");
    return pipe ? finish(pipe) : HostRun{};
}

std::vector<HostRun> runHostsAtOnce(const TempDir& dir, const std::vector<std::string>& arguments)
{
    std::vector<FILE*> pipes;
    for (const std::string& a : arguments) pipes.push_back(::popen(hostCommand(dir, a, "", "").c_str(), "r"));
    std::vector<HostRun> runs;
    for (FILE* pipe : pipes) runs.push_back(pipe ? finish(pipe) : HostRun{});
    return runs;
}

FullFolder::FullFolder(const std::string& path) : path_(path)
{
    std::filesystem::create_directories(path_);
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=256k,mode=0777") == 0;
    if (!mounted_ && runningAsRoot()) ::chmod(path_.c_str(), 0777);
}

FullFolder::~FullFolder()
{
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
}

void FullFolder::put(const std::string& name, const std::string& text)
{
    writeFile(file(name), text);
    handToHostUser(file(name));
}

void FullFolder::fill()
{
    if (!mounted_) return;
    std::FILE* filler = std::fopen(file("filler").c_str(), "wb");
    if (!filler) return;
    std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
}

ReadOnlyFolder::ReadOnlyFolder(const std::string& path) : path_(path)
{
    std::filesystem::create_directories(path_);
    if (runningAsRoot()) {
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=256k,mode=0777") == 0;
        available_ = mounted_;
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (mounted_) {
        ::umount2(path_.c_str(), MNT_DETACH);
    } else {
        ::chmod(path_.c_str(), 0755);
    }
}

void ReadOnlyFolder::seal(const std::string& name, const std::string& text)
{
    writeFile(file(name), text);
    handToHostUser(file(name));
    if (mounted_)
        ::mount("tmpfs", path_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=256k,mode=0777");
    else
        ::chmod(path_.c_str(), 0555);
}

}  // namespace vt::test
