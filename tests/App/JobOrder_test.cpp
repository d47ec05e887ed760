// The README's session on ordering a job, run by vantorel-host: the pen
// setup's command text, a dragged layer, a typed offset and copies, and a
// hidden layer all reach the written plot files.

#include "HostRun.h"

namespace {

using vt::test::hostToLog;

size_t count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(JobOrderSession, TheReadmeSessionOrdersPensOffsetsCopiesAndHidesALayer)
{
    vt::test::TempDir dir;
    for (const char* file : {"job-order.svg", "job-order.vts"})
        vt::test::writeFile(dir.file(file), vt::test::readFile(std::string(VANTOREL_SOURCE_DIR "/samples/") + file));
    ASSERT_EQ(hostToLog(dir, "setup --plotter 'Generic 24in Drag Knife'"), 0) << vt::test::readFile(dir.file("out.txt"));
    ASSERT_EQ(hostToLog(dir, "run '" + dir.file("job-order.vts") + "'"), 0) << vt::test::readFile(dir.file("out.txt"));

    // At 40 units a millimetre: the frame (40 x 20 mm) moved with the
    // selection so that its left lies at 20 mm puts the frame at 110 mm,
    // the letter at 20 mm; each has a second copy 130 mm to its right.
    const std::string frame = "PU4399,799;", frameCopy = "PU9599,799;";
    const std::string letter = "PU799,399;", letterCopy = "PU5999,399;";
    std::string first = vt::test::readFile(dir.file("job-order-1.hpgl"));
    size_t framePos = first.find(frame), penPos = first.find("SP2;"), textPos = first.find("VS10;\r\n");
    size_t letterPos = first.find(letter);
    ASSERT_NE(framePos, std::string::npos) << first;
    ASSERT_NE(letterPos, std::string::npos) << first;
    EXPECT_LT(framePos, letterPos) << "the dragged layer order: Frame, then Letters";
    EXPECT_LT(framePos, penPos);
    EXPECT_LT(penPos, textPos) << "Letters are cut with the second pen";
    EXPECT_LT(textPos, letterPos) << "the command text goes before the layer's volumes";
    EXPECT_EQ(count(first, frameCopy), 1u);
    EXPECT_EQ(count(first, letterCopy), 1u);

    std::string second = vt::test::readFile(dir.file("job-order-2.hpgl"));
    EXPECT_NE(second.find(frame), std::string::npos);
    EXPECT_EQ(second.find(letter), std::string::npos) << "the hidden layer is left out";
    EXPECT_EQ(second.find(letterCopy), std::string::npos);
}

}  // namespace
