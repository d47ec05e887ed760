// The string lists and popup menu resources as the toolkit reads them, and
// texts handed to the plug-in's buffers: a byte-order mark is skipped, and a
// text longer than the buffer is cut on a whole character.
#include <cstring>

#include "StringLists.h"
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

}  // namespace
