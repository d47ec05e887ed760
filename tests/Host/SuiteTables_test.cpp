// A suite's table is filled from a struct of operations named after them:
// what the struct has is set, the rest keeps answering "not implemented".
#include <gtest/gtest.h>

#include "Suites/SuiteTables.h"

namespace {

struct TagOpsUnderTest {
    using Suite = AITagSuite;

    static ASErr HasTag(AIArtHandle, const char* name, AIBoolean* has)
    {
        *has = name != nullptr && name[0] == 'x';
        return kNoErr;
    }
    // Not an operation of the tag suite: left out of its table.
    static ASErr CountTimers(ASInt32* count)
    {
        *count = 1;
        return kNoErr;
    }
    static int helper() { return 0; }
};

TEST(SuiteTables, InstallOpsSetsTheOperationsTheStructHasAndNoOthers)
{
    AITagSuite table = vt::host::stubSuite<AITagSuite>();
    vt::host::installOpsInto(table, static_cast<TagOpsUnderTest*>(nullptr));

    AIBoolean has = false;
    EXPECT_EQ(table.HasTag(nullptr, "x-tag", &has), kNoErr);
    EXPECT_TRUE(has);
    EXPECT_EQ(table.RemoveTag(nullptr, "x-tag"), kSPUnimplementedError);
    EXPECT_EQ(table.SetTag(nullptr, "x-tag", "string", "v"), kSPUnimplementedError);
}

}  // namespace
