// Every dialog-item table of the plug-in, walked through the registry: what
// would make a dialog lose an item, hide it, or show an empty text.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "Dialog/ItemTables.h"
#include "HostFixture.h"
#include "StringLists.h"

namespace {

// The English string list every text and tip index must be found in.
const std::map<int, std::string>& englishStrings()
{
    static const std::map<int, std::string> strings =
        vt::host::StringLists::parse(vt::test::readFile(VANTOREL_SOURCE_DIR "/Resources/Strings/StringList-17000.txt"));
    return strings;
}

class ItemTable : public ::testing::TestWithParam<int32_t> {
protected:
    const ItemTableInfo& info() const { return kItemTables[GetParam()]; }
};

TEST_P(ItemTable, IdsAreUniqueWithinTheDialog)
{
    std::set<int32_t> seen;
    for (int32_t i = 0; i < info().count; ++i) {
        const Item_Control_arg& row = info().table[i];
        EXPECT_GT(row.itemId, 0) << "row " << i;
        EXPECT_TRUE(seen.insert(row.itemId).second) << "item " << row.itemId << " appears twice";
    }
}

TEST_P(ItemTable, EveryRowLiesInsideTheDialog)
{
    EXPECT_GT(info().dialog.width, 0);
    EXPECT_GT(info().dialog.height, 0);
    for (int32_t i = 0; i < info().count; ++i) {
        const Item_Control_arg& row = info().table[i];
        SCOPED_TRACE("item " + std::to_string(row.itemId));
        EXPECT_GE(row.x, 0);
        EXPECT_GE(row.y, 0);
        EXPECT_GT(row.width, 0);
        EXPECT_GT(row.height, 0);
        EXPECT_LE(row.x + row.width, info().dialog.width);
        EXPECT_LE(row.y + row.height, info().dialog.height);
    }
}

TEST_P(ItemTable, EveryRowHasAnItemTypeTheToolkitKnows)
{
    static const std::set<std::string> known = {kADMFrameType,
                                                kADMListBoxType,
                                                kADMPicturePushButtonType,
                                                kADMPictureRadioButtonType,
                                                kADMPictureStaticType,
                                                kADMPopupListType,
                                                kADMSliderType,
                                                kADMSpinEditType,
                                                kADMTextCheckBoxType,
                                                kADMTextEditMultiLineType,
                                                kADMTextEditType,
                                                kADMTextPushButtonType,
                                                kADMTextRadioButtonType,
                                                kADMTextStaticType};
    for (int32_t i = 0; i < info().count; ++i) {
        const Item_Control_arg& row = info().table[i];
        ASSERT_NE(row.itemType, nullptr) << "row " << i << " is empty: the table is longer than its rows";
        EXPECT_EQ(known.count(row.itemType), 1u) << "item " << row.itemId << ": " << row.itemType;
    }
}

TEST_P(ItemTable, EveryTextAndTipIsInTheEnglishStringList)
{
    const auto& strings = englishStrings();
    ASSERT_FALSE(strings.empty());
    for (int32_t i = 0; i < info().count; ++i) {
        const Item_Control_arg& row = info().table[i];
        for (int32_t index : {row.textIndex, row.tipIndex}) {
            if (index == 0) continue;
            auto found = strings.find(index);
            EXPECT_TRUE(found != strings.end() && !found->second.empty())
                << "item " << row.itemId << ": string " << index << " is missing or empty";
        }
    }
}

std::string dialogTestName(const ::testing::TestParamInfo<int32_t>& param)
{
    std::string name;
    for (const char* c = kItemTables[param.param].dialog.name; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    // Dialogs may share a name (the cutting settings use the Plot Out
    // dialog's): the second of a name is told apart by its number.
    int sameNameBefore = 0;
    for (int32_t i = 0; i < param.param; ++i)
        if (std::strcmp(kItemTables[i].dialog.name, kItemTables[param.param].dialog.name) == 0) ++sameNameBefore;
    if (sameNameBefore > 0) name += std::to_string(sameNameBefore + 1);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ItemTable, ::testing::Range<int32_t>(0, kItemTableCount), dialogTestName);

}  // namespace
