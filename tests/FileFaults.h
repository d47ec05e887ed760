// File-system faults for tests of what must never be lost: a full file
// system, a read-only folder, files the user cannot read. The tests run both
// with the rights to mount a small file system (as root in a container) and
// without them (an ordinary user in CI); each fault is made the way the rights
// allow, and the host program runs as an ordinary user, for whom file modes
// mean what they say.
#pragma once

#include <string>
#include <vector>

#include "HostFixture.h"

namespace vt::test {

struct HostRun {
    int status = -1;  // the exit status; -1 when the program did not exit (a crash)
    std::string output;
};

// Runs the built vantorel-host with a plug-in folder in dir seeded from
// resources (empty: the bundled ones) and the preference file prefs (empty:
// one in dir), as an ordinary user when this process is root. arguments are
// passed to a shell as they stand.
HostRun runHost(const TempDir& dir, const std::string& arguments, const std::string& prefs = "",
                const std::string& resources = "");
// Starts one run of vantorel-host for each of arguments, all at once (one
// plug-in folder and preference file), and waits for them all.
std::vector<HostRun> runHostsAtOnce(const TempDir& dir, const std::vector<std::string>& arguments);

// True when running as root: files the tests make for the host program to
// use must then be handed to the ordinary user it runs as.
bool runningAsRoot();
// Hands path (and, for a folder, everything in it) to that user.
void handToHostUser(const std::string& path);

// A folder in which no file can grow: writing fails with "No space left on
// device". A small tmpfs, filled up; available() is false when this process
// may not mount one (an ordinary user in CI), and the tests skip.
class FullFolder {
public:
    explicit FullFolder(const std::string& path);
    ~FullFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Puts a file in before the folder fills up (an earlier job, say).
    void put(const std::string& name, const std::string& text);
    // Fills what room is left; from then on every write fails.
    void fill();
    bool available() const { return mounted_; }

private:
    std::string path_;
    bool mounted_ = false;
};

// A folder that cannot be written to: a tmpfs mounted read-only when this
// process may mount one, else a folder without write permission (which binds
// the ordinary user the host program runs as). available() is false when
// neither can be had (root without the right to mount).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& path);
    ~ReadOnlyFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Puts a file in, then makes the folder read-only.
    void seal(const std::string& name, const std::string& text);
    bool available() const { return available_; }

private:
    std::string path_;
    bool mounted_ = false;
    bool available_ = true;
};

}  // namespace vt::test
