// The bundled string lists and popup menus of every language against the
// English ones. An index added to the English list without its translations
// fails here, as does a text the plug-in's buffers would cut or a character
// the toolkit's fonts cannot draw.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "HostFixture.h"
#include "StringLists.h"
#include "Toolkit/Fonts.h"
#include "Utf8.h"

using namespace vt;

namespace {

struct Language {
    const char* name;
    int list;
    int menuBase;
};

const Language kTranslations[] = {
    {"Chinese(PRC)", 18000, 600},
    {"Japanese", 19000, 700},
    {"Chinese(ROC)", 15000, 300},
    {"Korea", 16000, 400},
};

std::string resource(const std::string& relative)
{
    return test::readFile(std::string(VANTOREL_SOURCE_DIR) + "/Resources/" + relative);
}

std::map<int, std::string> stringList(int id)
{
    return host::StringLists::parse(resource("Strings/StringList-" + std::to_string(id) + ".txt"));
}

// A menu resource's entries as the toolkit reads them: "<id>\t<text>" lines.
std::vector<std::pair<int, std::string>> menu(int id)
{
    std::vector<std::pair<int, std::string>> entries;
    for (const auto& [entryId, text] : host::StringLists::parse(resource("Menus/Menu-" + std::to_string(id) + ".txt")))
        entries.emplace_back(entryId, text);
    return entries;
}

std::string codeOf(char32_t cp)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    return code;
}

TEST(Translations, EveryEnglishIndexHasATextInEveryList)
{
    auto english = stringList(17000);
    ASSERT_GT(english.size(), 300u);
    for (const auto& language : kTranslations) {
        auto translated = stringList(language.list);
        for (const auto& [index, text] : english) {
            auto it = translated.find(index);
            ASSERT_NE(it, translated.end()) << language.name << " lacks index " << index << " (\"" << text << "\")";
            EXPECT_FALSE(it->second.empty()) << language.name << " index " << index;
        }
        for (const auto& [index, text] : translated)
            EXPECT_TRUE(english.count(index)) << language.name << " has index " << index << " that English lacks";
    }
}

TEST(Translations, TextsAreWholeUtf8AndKeepTheTrailingBlanks)
{
    auto english = stringList(17000);
    for (const auto& language : kTranslations)
        for (const auto& [index, text] : stringList(language.list)) {
            EXPECT_EQ(host::validUtf8(text), text) << language.name << " index " << index;
            bool blank = !english[index].empty() && english[index].back() == ' ';
            EXPECT_EQ(!text.empty() && text.back() == ' ', blank)
                << language.name << " index " << index << ": \"" << text << "\"";
        }
    // The status-line labels are put in front of numbers.
    for (int index : {994, 995, 996}) EXPECT_EQ(english[index].back(), ' ') << index;
}

TEST(Translations, NamesOfNewRecordsAndTheShortCheckMessageFit63Bytes)
{
    for (int list : {17000, 18000, 19000, 15000, 16000}) {
        auto texts = stringList(list);
        for (int index : {69, 70, 71, 72, 78})
            EXPECT_LE(texts[index].size(), 63u) << "list " << list << " index " << index << ": " << texts[index];
    }
}

TEST(Translations, EveryMenuResourceHasTheEnglishIdsAndTheCommandLanguagesKeepTheirNames)
{
    auto languages = menu(500), origins = menu(502);
    ASSERT_EQ(languages.size(), 4u);
    ASSERT_EQ(origins.size(), 3u);
    for (const auto& language : kTranslations) {
        EXPECT_EQ(menu(language.menuBase), languages) << language.name;
        auto translated = menu(language.menuBase + 2);
        ASSERT_EQ(translated.size(), origins.size()) << language.name;
        for (size_t i = 0; i < origins.size(); ++i) {
            EXPECT_EQ(translated[i].first, origins[i].first) << language.name;
            EXPECT_NE(translated[i].second, origins[i].second) << language.name << " origin " << i;
        }
    }
}

TEST(Translations, EveryCharacterOfEveryListAndMenuHasAGlyph)
{
    for (int list : {17000, 18000, 19000, 15000, 16000})
        for (const auto& [index, text] : stringList(list)) {
            char32_t missing = host::toolkit::firstMissingGlyph(text);
            EXPECT_EQ(missing, 0u) << "list " << list << " index " << index << ": " << codeOf(missing);
        }
    for (int base : {500, 600, 700, 300, 400})
        for (int id : {base, base + 2})
            for (const auto& [entry, text] : menu(id))
                EXPECT_EQ(host::toolkit::firstMissingGlyph(text), 0u) << "menu " << id << " entry " << entry;
}

}  // namespace
