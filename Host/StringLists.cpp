#include "StringLists.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "Host.h"
#include "OutputFile.h"
#include "Utf8.h"

namespace vt::host {

std::map<int, std::string> StringLists::parse(const std::string& text)
{
    std::map<int, std::string> entries;
    // A byte-order mark that the translator's editor put in front is not
    // part of the first index.
    std::istringstream in(startsWithByteOrderMark(text) ? text.substr(3) : text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        char* end = nullptr;
        errno = 0;
        long index = std::strtol(line.c_str(), &end, 10);
        // An index outside 32 bits is no index: skipped rather than wrapped
        // onto another entry.
        bool number = end != line.c_str() && end == line.c_str() + tab;
        if (!number || errno == ERANGE || index < INT32_MIN || index > INT32_MAX) continue;
        std::string value;
        for (size_t i = tab + 1; i < line.size(); ++i) {
            char c = line[i];
            if (c == '\\' && i + 1 < line.size()) {
                char n = line[++i];
                value += n == 'n' ? '\n' : n == 't' ? '\t' : n;
            } else {
                value += c;
            }
        }
        entries[static_cast<int>(index)] = value;
    }
    return entries;
}

void StringLists::setFolder(std::string folder)
{
    folder_ = std::move(folder);
    lists_.clear();
}

const std::map<int, std::string>& StringLists::list(int listId)
{
    auto it = lists_.find(listId);
    if (it != lists_.end()) return it->second;
    std::map<int, std::string> entries;
    std::string text, error;
    switch (readWholeFile(folder_ + "/StringList-" + std::to_string(listId) + ".txt", text, error)) {
    case ReadStatus::Read:
        entries = parse(text);
        break;
    case ReadStatus::Unreadable:
        // Reported once: the list then stays empty for the session.
        if (Host::exists()) Host::current().reportProblem(error);
        break;
    case ReadStatus::Missing:
        break;
    }
    return lists_[listId] = std::move(entries);
}

const std::string* StringLists::find(int listId, int index)
{
    const auto& entries = list(listId);
    auto it = entries.find(index);
    return it == entries.end() ? nullptr : &it->second;
}

}  // namespace vt::host
