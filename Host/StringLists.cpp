#include "StringLists.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "Host.h"
#include "OutputFile.h"
#include "Utf8.h"

namespace vt::host {

std::vector<std::pair<int32_t, std::string>> numberedLines(const std::string& text)
{
    std::vector<std::pair<int32_t, std::string>> lines;
    std::istringstream in(startsWithByteOrderMark(text) ? text.substr(3) : text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        char* end = nullptr;
        errno = 0;
        long number = std::strtol(line.c_str(), &end, 10);
        bool whole = end != line.c_str() && end == line.c_str() + tab;
        if (!whole || errno == ERANGE || number < INT32_MIN || number > INT32_MAX) continue;
        lines.emplace_back(static_cast<int32_t>(number), line.substr(tab + 1));
    }
    return lines;
}

std::map<int, std::string> StringLists::parse(const std::string& text)
{
    std::map<int, std::string> entries;
    for (const auto& [index, raw] : numberedLines(text)) {
        std::string value;
        for (size_t i = 0; i < raw.size(); ++i) {
            char c = raw[i];
            if (c == '\\' && i + 1 < raw.size()) {
                char n = raw[++i];
                value += n == 'n' ? '\n' : n == 't' ? '\t' : n;
            } else {
                value += c;
            }
        }
        entries[index] = value;
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
    switch (readWholeFile(folder_ + "/StringList-" + std::to_string(listId) + ".txt", text, error, kResourceFileLimit,
                          "a string list")) {
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
