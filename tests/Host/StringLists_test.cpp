// The string lists and popup menu resources as the toolkit reads them, and
// texts handed to the plug-in's buffers: a byte-order mark is skipped, a text
// longer than the buffer is cut on a whole character, lines that are no entry
// are skipped (never wrapped onto another entry), and a resource that cannot
// be read is reported, not taken for a missing one.
#include <cstring>
#include <filesystem>

#include "StringLists.h"
#include "Toolkit/Toolkit.h"
#include "ToolkitFixture.h"
#include "Utf8.h"

using namespace vt;

namespace {

TEST(StringLists, AByteOrderMarkIsNotPartOfTheFirstIndex)
{
    auto entries = host::StringLists::parse("\xEF\xBB\xBF" "11\tAbout\n12\tOK\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[11], "About");
    // A comment first: the mark still goes.
    entries = host::StringLists::parse("\xEF\xBB\xBF# Texts\n11\tAbout\n");
    EXPECT_EQ(entries[11], "About");
}

class ResourceTextTest : public test::ToolkitTest {};

TEST_F(ResourceTextTest, AByteOrderMarkIsNotPartOfTheFirstMenuEntry)
{
    test::writeFile(dir_.file("Plug-ins/Menus/Menu-702.txt"), "\xEF\xBB\xBF" "0\t中央\r\n1\t左下\r\n2\t左上\r\n");
    std::vector<std::pair<ASInt32, std::string>> entries;
    ASSERT_TRUE(tk().loadMenu(702, entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].first, 0);
    EXPECT_EQ(entries[0].second, "中央");
    EXPECT_EQ(entries[2].second, "左上");
    std::vector<std::pair<ASInt32, std::string>> none;
    EXPECT_FALSE(tk().loadMenu(703, none)) << "a menu without its file";
    EXPECT_TRUE(none.empty());
}

TEST_F(ResourceTextTest, ALongJapaneseTextFillsA64ByteBufferWithWholeCharacters)
{
    test::writeFile(dir_.file("Plug-ins/Strings/StringList-19000.txt"),
                    test::readFile(VANTOREL_SOURCE_DIR "/Resources/Strings/StringList-19000.txt"));
    host_->strings().setFolder(dir_.file("Plug-ins/Strings"));
    const std::string* full = host_->strings().find(19000, 182);
    ASSERT_NE(full, nullptr);
    ASSERT_GT(full->size(), 64u);
    ASSERT_NE(host::utf8CutLength(*full, 63), 63u) << "the 63rd byte must fall inside a character";

    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    B().GetIndexString(nullptr, 19000, 182, buffer, sizeof buffer);
    std::string got(buffer);
    EXPECT_LE(got.size(), 63u);
    EXPECT_GE(got.size(), 61u);  // at most one character of three bytes is left out
    EXPECT_EQ(full->compare(0, got.size(), got), 0);
    EXPECT_EQ(host::validUtf8(got), got) << "the buffer ends on a whole character";
}

TEST_F(ResourceTextTest, AnItemTextCopiedIntoAShortBufferEndsOnAWholeCharacter)
{
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 1, kADMTextEditType);
    I().SetText(item, "プロッタ");  // four characters of three bytes
    char buffer[8];
    I().GetText(item, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "プロ");
}

TEST(TextResources, HostileLinesAreSkippedNotMisread)
{
    struct Row {
        const char* shows;
        std::string text;
        std::map<int, std::string> entries;  // what the string list holds
    } rows[] = {
        {"an ordinary entry", "12\tCut\n", {{12, "Cut"}}},
        {"carriage returns and comments", "# list\r\n7\tSend\r\n", {{7, "Send"}}},
        {"escapes in a string", "3\tone\\ttwo\\nthree\\\\\n", {{3, "one\ttwo\nthree\\"}}},
        {"a line without a tab", "12 Cut\n13\tKeep\n", {{13, "Keep"}}},
        {"an index past 32 bits is not wrapped onto 0", "4294967296\tWrapped\n0\tZero\n", {{0, "Zero"}}},
        {"an index past long", "99999999999999999999999\tHuge\n", {}},
        {"no digits before the tab is no index 0", "\tEmpty\nx\tLetter\n", {}},
        {"a trailing backslash", "5\tend\\", {{5, "end\\"}}},
        {"a NUL inside", std::string("6\tbe\0fore\n", 11), {{6, std::string("be\0fore", 7)}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        EXPECT_EQ(host::StringLists::parse(row.text), row.entries);
    }
}

TEST(TextResources, MenuLinesAreSkippedNotMisread)
{
    struct Row {
        const char* shows;
        std::string text;
        std::vector<std::pair<ASInt32, std::string>> entries;
    } rows[] = {
        {"entries in file order", "2\tSecond\n1\tFirst\n", {{2, "Second"}, {1, "First"}}},
        {"carriage returns and comments", "# menu\r\n7\tVinyl\r\n", {{7, "Vinyl"}}},
        {"an id past 32 bits is not wrapped", "4294967297\tWrapped\n-3\tNegative\n", {{-3, "Negative"}}},
        {"a line without a tab", "8 Paper\n", {}},
        {"no digits before the tab is no id 0", "\tEmpty\n", {}},
        {"escapes stay as written", "9\ta\\tb\n", {{9, "a\\tb"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        EXPECT_EQ(host::toolkit::Toolkit::parseMenu(row.text), row.entries);
    }
}

class TextResourceFiles : public test::HostTest {};

TEST_F(TextResourceFiles, AListThatCannotBeReadIsReported)
{
    startSession();
    // A folder in the list's place cannot be read, whoever runs the test.
    std::string list = pluginFolder() + "/Strings/StringList-4242.txt";
    std::filesystem::create_directories(list);
    EXPECT_EQ(hostApp().strings().find(4242, 1), nullptr);
    ASSERT_EQ(hostApp().problems().size(), 1u);
    EXPECT_EQ(hostApp().problems()[0], "cannot read " + list + ": Is a directory");
    EXPECT_EQ(hostApp().strings().find(4243, 1), nullptr) << "a missing list is no problem";
    EXPECT_EQ(hostApp().problems().size(), 1u);
}

}  // namespace
