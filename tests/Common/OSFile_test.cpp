// The files of the plug-in's own folder: one helper names them all.
#include <cstring>
#include <filesystem>
#include <string>

#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "HostFixture.h"

using namespace vt;

namespace {

class PluginFolderTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }
    std::string folder() const { return std::filesystem::canonical(pluginFolder()).string(); }
};

TEST_F(PluginFolderTest, AFileOfTheFolderIsTheFolderASlashAndItsName)
{
    char path[kSPMaxPathLength + 1];
    for (const char* name : {"PlotterSetup.txt", "Ardo_Config.txt", "~Temp.hpgl"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(pluginFolderFilePath(name, path, sizeof path), kNoErr);
        EXPECT_EQ(std::filesystem::weakly_canonical(path).string(), folder() + "/" + name);
    }
}

TEST_F(PluginFolderTest, APathThatDoesNotFitIsRefusedNotCut)
{
    char path[kSPMaxPathLength + 1];
    ASSERT_EQ(pluginFolderFilePath("PlotterSetup.txt", path, sizeof path), kNoErr);
    size_t exact = std::strlen(path) + 1;
    std::string expected = path;

    std::string small(exact, 'x');
    EXPECT_EQ(pluginFolderFilePath("PlotterSetup.txt", small.data(), exact), kNoErr) << "just fits";
    EXPECT_STREQ(small.c_str(), expected.c_str());
    EXPECT_EQ(pluginFolderFilePath("PlotterSetup.txt", small.data(), exact - 1), kNoFileErr);
    EXPECT_STREQ(small.c_str(), "") << "nothing half-made is left behind";
    EXPECT_EQ(pluginFolderFilePath("PlotterSetup.txt", nullptr, 10), kNoFileErr);
    EXPECT_EQ(pluginFolderFilePath(nullptr, path, sizeof path), kNoFileErr);
}

TEST_F(PluginFolderTest, TheFolderItselfIsWhereFileDialogsStart)
{
    SPPlatformFileSpecification spec;
    std::memset(&spec, 0, sizeof spec);
    ASSERT_EQ(pluginFolderSpecification(&spec), kNoErr);
    EXPECT_EQ(std::filesystem::weakly_canonical(spec.path).string(), folder());
}

}  // namespace
