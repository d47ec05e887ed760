// The plug-in's localized string lists: one file per list id in the plug-in's
// "Strings" folder, "StringList-<id>.txt", UTF-8 lines of "<index>\t<text>"
// with \n, \t and \\ escapes; '#' starts a comment line; a byte-order mark
// at the start is skipped.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vt::host {

// The lines "<number>\t<text>" of a resource file (string lists, popup
// menus), in order, their text as it stands. A byte-order mark before the
// first line, a carriage return at a line's end, blank lines, lines starting
// with '#', lines without a tab and lines whose number is not a whole 32-bit
// number are passed over: an out-of-range number is skipped rather than
// wrapped onto another line's.
std::vector<std::pair<int32_t, std::string>> numberedLines(const std::string& text);

class StringLists {
public:
    explicit StringLists(std::string folder = {}) : folder_(std::move(folder)) {}

    // The text of an index, or nullptr when the list or the index is missing.
    const std::string* find(int listId, int index);
    void setFolder(std::string folder);

    static std::map<int, std::string> parse(const std::string& text);

private:
    const std::map<int, std::string>& list(int listId);

    std::string folder_;
    std::map<int, std::map<int, std::string>> lists_;
};

}  // namespace vt::host
