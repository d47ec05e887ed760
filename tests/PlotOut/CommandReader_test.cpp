// Reading a written job back: commands per language, bounded reads, and the
// pen motion of every text the writer makes.
#include "PlotOut/CommandReader.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlotOut/PlotOut.h"

namespace {

std::vector<std::string> readAll(const std::string& bytes, int language)
{
    FILE* file = fmemopen((void*)bytes.data(), bytes.size(), "r");
    UDT_CommandLine* commands = nullptr;
    int count = 0;
    EXPECT_EQ(readCommandFile(file, language, &commands, &count), kNoErr);
    fclose(file);
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++) {
        EXPECT_EQ(commands[i].reserved, 0);
        texts.push_back(commands[i].text);
    }
    freeCommandLines(&commands, &count);
    EXPECT_EQ(commands, nullptr);
    EXPECT_EQ(count, 0);
    return texts;
}

using Texts = std::vector<std::string>;

TEST(CommandReader, HPGLAndDMGLAreReadTokenByTokenWithoutLineEnds)
{
    EXPECT_EQ(readAll("PU120,40;\r\nPD1,2;\r\n", kLanguageHPGL), (Texts{"PU120,40;", "PD1,2;"}));
    EXPECT_EQ(readAll("SP1;\r\nVS30\nFS8\nPU;!PG;", kLanguageDMGL), (Texts{"SP1;", "VS30", "FS8", "PU;!PG;"}));
}

TEST(CommandReader, GPGLAndMGLAreReadLineByLineKeepingTheirETXAndCR)
{
    EXPECT_EQ(readAll("J4\x03\r\nM 1,2\x03\r\n\nO 0,0\x03\r\n", kLanguageGPGL),
              (Texts{"J4\x03\r", "M 1,2\x03\r", "O 0,0\x03\r"}));
    EXPECT_EQ(readAll("D 5,6\x03\r\n", kLanguageMGL_IC1), (Texts{"D 5,6\x03\r"}));
}

TEST(CommandReader, AnUnknownLanguageReadsNothing)
{
    EXPECT_TRUE(readAll("PU1,1;\r\n", 7).empty());
    EXPECT_TRUE(readAll("PU1,1;\r\n", -1).empty());
}

TEST(CommandReader, ATokenOrLineLongerThanTheBufferGoesOnAsTheNextCommand)
{
    std::string mark(600, 'A');
    Texts tokens = readAll("IN;\r\n" + mark + "\r\nPU0,0;", kLanguageHPGL);
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[1].size(), 255u);
    EXPECT_EQ(tokens[2].size(), 255u);
    EXPECT_EQ(tokens[3].size(), 90u);
    EXPECT_EQ(tokens[4], "PU0,0;");

    Texts lines = readAll(std::string(300, 'B') + "\nD 1,1\x03\r\n", kLanguageGPGL);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 255u);
    EXPECT_EQ(lines[1], std::string(45, 'B'));
}

TEST(CommandReader, ReadLineStopsAtMaxAndTerminates)
{
    char buffer[6];
    std::string bytes = "abcdefgh\nxy";
    FILE* file = fmemopen((void*)bytes.data(), bytes.size(), "r");
    EXPECT_EQ(ReadLine(file, buffer, 5), 5);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(ReadLine(file, buffer, 5), 3);
    EXPECT_STREQ(buffer, "fgh");
    EXPECT_EQ(ReadLine(file, buffer, 5), 2);
    EXPECT_STREQ(buffer, "xy");
    fclose(file);
    EXPECT_EQ(ReadLine(nullptr, buffer, 5), 0);
}

// ---- Pen motion ----

struct Piece {
    double x0, y0, x1, y1;
    int32_t color;
};

void collect(void* data, double x0, double y0, double x1, double y1, int32_t color)
{
    static_cast<std::vector<Piece>*>(data)->push_back(Piece{x0, y0, x1, y1, color});
}

struct PenCase {
    const char* name;
    int language;
    std::vector<std::string> commands;
    double x, y;        // where the pen ends
    int32_t color;      // its colour then
    size_t pieces;      // line pieces drawn (arcs: at least)
};

class ReplayCommand : public ::testing::TestWithParam<PenCase> {};

TEST_P(ReplayCommand, MovesDrawsAndColours)
{
    const PenCase& c = GetParam();
    ReplayPen pen;
    replayPenReset(&pen, c.language, 0.0001);
    std::vector<Piece> pieces;
    for (const auto& text : c.commands) EXPECT_EQ(replayCommand(text.c_str(), &pen, collect, &pieces), kNoErr);
    EXPECT_NEAR(pen.x, c.x, 1e-6);
    EXPECT_NEAR(pen.y, c.y, 1e-6);
    EXPECT_EQ(pen.color, c.color);
    if (c.pieces <= 1)
        EXPECT_EQ(pieces.size(), c.pieces);
    else
        EXPECT_GE(pieces.size(), c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    WriterTexts, ReplayCommand,
    ::testing::Values(
        PenCase{"HPGLMoveAndDraw", kLanguageHPGL, {"PU120,40;", "PD200,40;"}, 200, 40, 1, 1},
        PenCase{"GPGLMoveAndDraw", kLanguageGPGL, {"M 120,40\x03\r", "D 200,-40\x03\r"}, 200, -40, 1, 1},
        PenCase{"HPGLPenSelect", kLanguageHPGL, {"SP5;"}, 0, 0, 5, 0},
        PenCase{"GPGLPenSelect", kLanguageGPGL, {"J4\x03\r"}, 0, 0, 4, 0},
        PenCase{"ToolBlockAndInitialiseDrawNothing", kLanguageHPGL,
                {"IN;", "VS30", "FS8", "AS0.2;", "TO0.25;", "PA;", "ZT;", "O 0,0\x03\r"}, 0, 0, 1, 0},
        PenCase{"TwoCharactersOrFewerAreIgnored", kLanguageGPGL, {"J7\x03", "J4", "M 5", "D "}, 0, 0, 7, 0},
        PenCase{"NumbersThatCannotBeReadChangeNothing", kLanguageHPGL, {"PDx,1;", "PU1;", "SPa;", "PU;!PG;"}, 0, 0,
                1, 0},
        PenCase{"DotCutHeaderMovesAreOrdinaryMoves", kLanguageGPGL, {"PU11,10;", "PU10,10;", "FS80;"}, 10, 10, 1, 0},
        PenCase{"SpecialMachineArcIsRead", kLanguageHPGL, {"PU400,0;", "PD;AA0,0,90.000000,1;"}, 0, 400, 1, 2},
        PenCase{"ArcWithoutSweepIsOneStepInPlace", kLanguageHPGL, {"PU400,0;", "PD;AA0,0,0.000000;"}, 400, 0, 1, 1},
        PenCase{"HugeNumbersStayFinite", kLanguageHPGL, {"PD99999999999999999999999,-99999999999999999999;"},
                9223372036854775807.0, -9223372036854775807.0, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// All arc points lie on the circle; returns the largest angle step seen, and
// the turn (sum of signed angle steps) the arc made.
double arcTurn(const std::vector<Piece>& pieces, double cx, double cy, double r)
{
    double turn = 0.0;
    for (const Piece& p : pieces) {
        EXPECT_NEAR(std::hypot(p.x1 - cx, p.y1 - cy), r, 1e-6);
        double a0 = std::atan2(p.y0 - cy, p.x0 - cx), a1 = std::atan2(p.y1 - cy, p.x1 - cx);
        double d = a1 - a0;
        while (d > M_PI) d -= 2 * M_PI;
        while (d < -M_PI) d += 2 * M_PI;
        turn += d;
    }
    return turn * 180.0 / M_PI;
}

struct ArcCase {
    const char* name;
    int language;
    std::string arc;     // from the pen at (400, 0), centre at the origin
    double turnDegrees;  // signed, counter-clockwise positive
};

class ReplayArc : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ReplayArc, RunsTheSweepTheWriterWrote)
{
    const ArcCase& c = GetParam();
    ReplayPen pen;
    replayPenReset(&pen, c.language, 0.0001);
    std::vector<Piece> pieces;
    const char* move = c.language == kLanguageHPGL ? "PU400,0;" : "M 400,0\x03\r";
    EXPECT_EQ(kNoErr, replayCommand(move, &pen, collect, &pieces));
    EXPECT_EQ(kNoErr, replayCommand(c.arc.c_str(), &pen, collect, &pieces));
    ASSERT_GE(pieces.size(), 2u);
    EXPECT_NEAR(arcTurn(pieces, 0, 0, 400), c.turnDegrees, 1e-3);
    double a = c.turnDegrees * M_PI / 180.0;
    EXPECT_NEAR(pen.x, 400 * std::cos(a), 1e-3);
    EXPECT_NEAR(pen.y, 400 * std::sin(a), 1e-3);
    // Chords stay within a tenth of a step of the circle, and are the fewest
    // that do (two at least): one fewer would stray further.
    auto sagitta = [&](size_t chords) { return 400 * (1 - std::cos(std::abs(a) / double(chords) / 2)); };
    EXPECT_LE(sagitta(pieces.size()), 0.1 + 1e-9);
    if (pieces.size() > 2) {
        EXPECT_GT(sagitta(pieces.size() - 1), 0.1);
    }
}

// However large the circle, drawing it back takes bounded work (a tenth of a
// step here would take some 222 000 chords), and the arc still closes.
TEST(ReplayArcBound, AHugeCircleIsDrawnWithAtMost65536Chords)
{
    ReplayPen pen;
    replayPenReset(&pen, kLanguageGPGL, 0.0001);
    std::vector<Piece> pieces;
    EXPECT_EQ(kNoErr, replayCommand("M 400,0\x03\r", &pen, collect, &pieces));
    EXPECT_EQ(kNoErr, replayCommand("] 1000000000,1000000000,0,3600000\x03\r", &pen, collect, &pieces));
    EXPECT_EQ(pieces.size(), 65536u);
    EXPECT_NEAR(pen.x, 400, 1e-3);
    EXPECT_NEAR(pen.y, 0, 0.5);
}

INSTANTIATE_TEST_SUITE_P(
    WriterArcs, ReplayArc,
    ::testing::Values(ArcCase{"HPGLQuarterTurn", kLanguageHPGL, "PD;AA0,0,90.000000;", 90},
                      ArcCase{"HPGLClockwise", kLanguageHPGL, "PD;AA0,0,-90.000000;", -90},
                      ArcCase{"HPGLThreeQuarters", kLanguageHPGL, "PD;AA0,0,270.000000;", 270},
                      ArcCase{"HPGLWholeTurnClockwise", kLanguageHPGL, "PD;AA0,0,-360.000000;", -360},
                      ArcCase{"GPGLQuarterTurnAtTenThousandths", kLanguageGPGL, "] 400,400,0,900000\x03\r", 90},
                      ArcCase{"GPGLClockwiseQuarterTurn", kLanguageGPGL, "] 400,400,0,-900000\x03\r", -90},
                      ArcCase{"GPGLMoreThanHalfATurnAsWritten", kLanguageGPGL, "] 400,400,0,2700000\x03\r", 270},
                      ArcCase{"GPGLTinyClockwiseArcStaysTiny", kLanguageGPGL, "] 400,400,0,-1\x03\r", -0.0001},
                      ArcCase{"MGLRadiansInUnitsOfTheAngleUnit", kLanguageMGL_IC1, "] 400,400,0,15708\x03\r",
                              15708 * 0.0001 * 180 / M_PI}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplayExtent, WithoutALineProcedureEveryPointWidensTheExtentFromTheOrigin)
{
    ReplayPen pen;
    replayPenReset(&pen, kLanguageHPGL, 0.0001);
    for (const char* text : {"PU-50,20;", "PD1000,0;", "PD1000,500;"})
        EXPECT_EQ(kNoErr, replayCommand(text, &pen, nullptr, nullptr));
    EXPECT_EQ(pen.minX, -50);
    EXPECT_EQ(pen.maxX, 1000);
    EXPECT_EQ(pen.minY, 0);
    EXPECT_EQ(pen.maxY, 500);

    replayPenReset(&pen, kLanguageHPGL, 0.0001);
    EXPECT_EQ(kNoErr, replayCommand("PU400,0;", &pen, nullptr, nullptr));
    EXPECT_EQ(kNoErr, replayCommand("PD;AA0,0,180.000000;", &pen, nullptr, nullptr));
    EXPECT_EQ(pen.minX, -400);
    EXPECT_GE(pen.maxY, 399);  // the chords pass within 0.1 step of the top

    replayPenReset(&pen, kLanguageHPGL, 0.0001);
    EXPECT_EQ(kNoErr, replayCommand("PU99999999999,-99999999999;", &pen, nullptr, nullptr));
    EXPECT_EQ(pen.maxX, 2147483647);
    EXPECT_EQ(pen.minY, -2147483647 - 1);

    replayPenReset(&pen, kLanguageHPGL, 0.0001);
    EXPECT_EQ(kNoErr, replayCommand("PU2147483646,-2147483647;", &pen, nullptr, nullptr));
    EXPECT_EQ(pen.maxX, 2147483646) << "just inside the limits: kept";
    EXPECT_EQ(pen.minY, -2147483647);
}

}  // namespace
