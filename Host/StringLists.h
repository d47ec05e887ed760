// The plug-in's localized string lists: one file per list id in the plug-in's
// "Strings" folder, "StringList-<id>.txt", UTF-8 lines of "<index>\t<text>"
// with \n, \t and \\ escapes; '#' starts a comment line; a byte-order mark
// at the start is skipped.
#pragma once

#include <map>
#include <string>

namespace vt::host {

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
