// The language file chooses the string list of every user-visible text.
#include "Common/PluginGlobals.h"
#include "HostFixture.h"

using namespace vt;

namespace {

class LanguageTest : public test::HostTest {
protected:
    void startWith(const char* configText)
    {
        if (configText) test::writeFile(pluginFolder() + "/Ardo_Config.txt", configText);
        startSession();
    }
};

TEST_F(LanguageTest, TheFirstValueChoosesTheList)
{
    struct Row {
        const char* file;
        int32_t list;
        int32_t menuBase;
    } rows[] = {
        {"Language=English\n", 17000, 500},
        {"Language=Chinese(PRC)\n", 18000, 600},
        {"Language=Japanese\n", 19000, 700},
        {"Language=Chinese(ROC)\r\n", 15000, 300},
        {"{\nLanguage=Korea\n}\n", 16000, 400},
        {"AnyKey=Japanese\tcomment\n", 19000, 700},  // the key is not looked at; a TAB ends the value
        {"Language=japanese\n", 17000, 500},       // letter case counts
        {"Language=Japan\n", 17000, 500},          // the beginning of a name is not the name
        {"Language=Japanese \n", 17000, 500},      // nothing is trimmed
        {"", 17000, 500},
    };
    for (const auto& row : rows) {
        test::writeFile(pluginFolder() + "/Ardo_Config.txt", row.file);
        makeSession();
        startSession();
        EXPECT_EQ(g->stringListId, row.list) << row.file;
        EXPECT_EQ(g->listMenuIdBase, row.menuBase) << row.file;
        stopSession();
    }
}

TEST_F(LanguageTest, NoLanguageFileMeansEnglish)
{
    makeSession();
    std::filesystem::remove(pluginFolder() + "/Ardo_Config.txt");
    startSession();
    EXPECT_EQ(g->stringListId, 17000);
    EXPECT_EQ(g->listMenuIdBase, 500);
}

TEST_F(LanguageTest, AnOverlongLineIsReadWithoutOverrun)
{
    startWith(("Language=" + std::string(5000, 'x') + "\n").c_str());
    EXPECT_EQ(g->stringListId, 17000);
}

}  // namespace
