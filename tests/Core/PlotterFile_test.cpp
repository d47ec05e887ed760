#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "Core/FakeHostSuites.h"
#include "Core/PlotterLibrary.h"
#include "HostFixture.h"

namespace {

const char kDefaultPenBlock[] =
    "{\n"
    "PenName=New Pen\n"
    "Pressure=10.00\n"
    "Velocity=10.00\n"
    "Extra=0.010\n"
    "minPressure=5.00\n"
    "minVelocity=3.00\n"
    "minExtra=0.000\n"
    "maxPressure=400.00\n"
    "maxVelocity=60.00\n"
    "maxExtra=1.000\n"
    "defaultPressure=80.00\n"
    "defaultVelocity=30.00\n"
    "defaultExtra=0.250\n"
    "stepPressure=5.00\n"
    "stepVelocity=3.00\n"
    "stepExtra=0.025\n"
    "PenReserved=0\n"
    "}\n";

const char kDefaultPlotterHead[] =
    "{\n"
    "PlotterName=New Plotter\n"
    "PlotterManufactory=New Maker\n"
    "IsSpecialMachine=0\n"
    "PlotterIniString=[]\n"
    "PlotterEndString=[]\n"
    "Language=0\n"
    "PlotterSizeX=10000.000000\n"
    "PlotterSizeY=10000.000000\n"
    "PlotterStep=0.025000\n"
    "PlotterOrigin=1\n"
    "PlotterReserved=0\n";

std::string saved(Plotter* list, int count, int* err = nullptr)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    int result = savePlotter(&list, &count, out);
    if (err) *err = result;
    fclose(out);
    std::string text(buffer, size);
    free(buffer);
    return text;
}

int loaded(const std::string& text, Plotter** list, int* count)
{
    std::string copy = text;
    FILE* in = copy.empty() ? fopen("/dev/null", "r") : fmemopen(&copy[0], copy.size(), "r");
    int err = loadPlotter(list, count, in);
    fclose(in);
    return err;
}

// A default plotter owning one default environment with one default pen.
Plotter defaultPlotterWithPen()
{
    Plotter p;
    EXPECT_EQ(kNoErr, copyPlotter(&p, nullptr));
    p.PlotterEnvNumber = 1;
    p.Environments = (Environment*)malloc(sizeof(Environment));
    EXPECT_EQ(kNoErr, copyEnvironment(&p.Environments[0], nullptr));
    p.Environments[0].PenNumber = 1;
    p.Environments[0].Pens = (Pen*)malloc(sizeof(Pen));
    EXPECT_EQ(kNoErr, copyPen(&p.Environments[0].Pens[0], nullptr));
    return p;
}

// What one of the single-block writers wrote, and what the matching reader reads of it.
template <typename Record, typename Put>
std::string blockOf(const Record& record, Put put, int* wrote)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    *wrote = put(out, record);
    fclose(out);
    std::string text(buffer, size);
    free(buffer);
    return text;
}

template <typename Record, typename Get>
int blockRead(std::string text, Record* record, Get get)
{
    FILE* in = text.empty() ? fopen("/dev/null", "r") : fmemopen(&text[0], text.size(), "r");
    int read = get(in, record);
    fclose(in);
    return read;
}

TEST(PlotterFile, OneBlockAtATimeEachRecordWritesAndReadsBack)
{
    FakeHostSuites host;
    Plotter p = defaultPlotterWithPen();
    Pen& pen = p.Environments[0].Pens[0];
    strcpy(pen.PenName, "Blade 45");
    pen.Pressure = 125.5;
    strcpy(p.Environments[0].EnvironmentName, "Sandblast");
    strcpy(p.PlotterName, "Cutter 60");
    p.PlotterStep = 0.01;
    int wrote = 0;

    std::string penText = blockOf(pen, putPen, &wrote);
    EXPECT_EQ(wrote, 1);
    std::string want = kDefaultPenBlock;
    want.replace(want.find("PenName=New Pen"), 15, "PenName=Blade 45");
    want.replace(want.find("\nPressure=10.00"), 15, "\nPressure=125.50");
    EXPECT_EQ(penText, want);
    Pen penBack{};
    EXPECT_EQ(blockRead(penText, &penBack, getPen), 1);
    EXPECT_STREQ(penBack.PenName, "Blade 45");
    EXPECT_EQ(penBack.Pressure, 125.5);
    EXPECT_EQ(penBack.stepExtra, 0.025);

    std::string environmentText = blockOf(p.Environments[0], putEnvironment, &wrote);
    EXPECT_EQ(wrote, 1);
    Environment environmentBack{};
    EXPECT_EQ(blockRead(environmentText, &environmentBack, getEnvironment), 1);
    EXPECT_STREQ(environmentBack.EnvironmentName, "Sandblast");
    ASSERT_EQ(environmentBack.PenNumber, 1);
    EXPECT_STREQ(environmentBack.Pens[0].PenName, "Blade 45");
    free(environmentBack.Pens);

    std::string plotterText = blockOf(p, putPlotter, &wrote);
    EXPECT_EQ(wrote, 1);
    Plotter plotterBack{};
    EXPECT_EQ(blockRead(plotterText, &plotterBack, getPlotter), 1);
    EXPECT_STREQ(plotterBack.PlotterName, "Cutter 60");
    EXPECT_EQ(plotterBack.PlotterStep, 0.01);
    ASSERT_EQ(plotterBack.PlotterEnvNumber, 1);
    EXPECT_STREQ(plotterBack.Environments[0].Pens[0].PenName, "Blade 45");
    freePlotter(&plotterBack);

    // A name the file cannot hold is not written; a cut block is not read.
    strcpy(pen.PenName, "two\nlines");
    EXPECT_EQ(blockOf(pen, putPen, &wrote), "");
    EXPECT_EQ(wrote, 0);
    EXPECT_EQ(blockOf(p.Environments[0], putEnvironment, &wrote), "");
    EXPECT_EQ(wrote, 0);
    EXPECT_EQ(blockRead(penText.substr(0, penText.size() / 2), &penBack, getPen), 0);
    EXPECT_EQ(blockRead(plotterText.substr(0, plotterText.size() / 2), &plotterBack, getPlotter), 0);
    EXPECT_EQ(getPen(nullptr, &penBack), 0);
    freePlotter(&p);
}

TEST(PlotterFile, DefaultRecordsRoundTripWithTheirExactTexts)
{
    FakeHostSuites host;
    Plotter p = defaultPlotterWithPen();
    std::string expected = std::string("PlotterNumber=1\n") + kDefaultPlotterHead +
                           "PlotterEnvNumber=1\nPlotterPID=0\nPlotterVID=0\n"
                           "{\nEnvironmentName=New Environment\nPenNumber=1\nEnvironmentReserved=0\n" +
                           kDefaultPenBlock + "}\n}\n";
    std::string text = saved(&p, 1);
    EXPECT_EQ(expected, text);

    Plotter* list = nullptr;
    int count = -1;
    ASSERT_EQ(0, loaded(text, &list, &count));
    ASSERT_EQ(1, count);
    EXPECT_STREQ("New Plotter", list[0].PlotterName);
    EXPECT_EQ(0.025, list[0].PlotterStep);
    ASSERT_EQ(1, list[0].PlotterEnvNumber);
    ASSERT_EQ(1, list[0].Environments[0].PenNumber);
    EXPECT_EQ(0, memcmp(&p.Environments[0].Pens[0], &list[0].Environments[0].Pens[0], sizeof(Pen)))
        << "a default pen reads back as the same record";
    EXPECT_EQ(text, saved(list, count));
    freePlotterList(&list, &count);
    freePlotter(&p);
}

TEST(PlotterFile, EmptyLibraryIsOneCountLine)
{
    EXPECT_EQ("PlotterNumber=0\n", saved(nullptr, 0));
    Plotter* list = (Plotter*)1;
    int count = -1;
    EXPECT_EQ(0, loaded("PlotterNumber=0\n", &list, &count));
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(0, count);
}

TEST(PlotterFile, PlotterWithoutEnvironmentsReadsBackWithANullArray)
{
    FakeHostSuites host;
    Plotter p;
    EXPECT_EQ(kNoErr, copyPlotter(&p, nullptr));
    std::string text = saved(&p, 1);
    EXPECT_EQ(std::string("PlotterNumber=1\n") + kDefaultPlotterHead +
                  "PlotterEnvNumber=0\nPlotterPID=0\nPlotterVID=0\n}\n",
              text);
    Plotter* list = nullptr;
    int count = 0;
    ASSERT_EQ(0, loaded(text, &list, &count));
    ASSERT_EQ(1, count);
    EXPECT_EQ(nullptr, list[0].Environments);
    freePlotterList(&list, &count);
}

TEST(PlotterFile, MultiLineStartStringRoundTrips)
{
    FakeHostSuites host;
    Plotter p;
    EXPECT_EQ(kNoErr, copyPlotter(&p, nullptr));
    strcpy(p.PlotterIniString, "IN;\nVS20;\r\nPA;");
    strcpy(p.PlotterEndString, "PU0,0;%\t");
    std::string text = saved(&p, 1);
    EXPECT_NE(std::string::npos, text.find("PlotterIniString=[IN;\nVS20;\r\nPA;]\n"));
    Plotter* list = nullptr;
    int count = 0;
    ASSERT_EQ(0, loaded(text, &list, &count));
    EXPECT_STREQ("IN;\nVS20;\r\nPA;", list[0].PlotterIniString);
    EXPECT_STREQ("PU0,0;%\t", list[0].PlotterEndString);
    EXPECT_EQ(1, list[0].PlotterOrigin) << "values after the strings stay in step";
    freePlotterList(&list, &count);
}

TEST(PlotterFile, NameWithPercentOrTabIsCutOnReading)
{
    FakeHostSuites host;
    Plotter p;
    EXPECT_EQ(kNoErr, copyPlotter(&p, nullptr));
    strcpy(p.PlotterName, "Cutter 100%");
    strcpy(p.PlotterManufactory, "Maker\tInc");
    Plotter* list = nullptr;
    int count = 0;
    ASSERT_EQ(0, loaded(saved(&p, 1), &list, &count));
    EXPECT_STREQ("Cutter 100", list[0].PlotterName);
    EXPECT_STREQ("Maker", list[0].PlotterManufactory);
    freePlotterList(&list, &count);
}

TEST(PlotterFile, TextsThatWouldBreakTheFormatAreRefusedBeforeWriting)
{
    FakeHostSuites host;
    Plotter p[2];
    EXPECT_EQ(kNoErr, copyPlotter(&p[0], nullptr));
    EXPECT_EQ(kNoErr, copyPlotter(&p[1], nullptr));
    strcpy(p[1].PlotterEndString, "PU;]");
    int err = 0;
    EXPECT_EQ("", saved(p, 2, &err)) << "no half-written library";
    EXPECT_EQ(kUnwritableTextErr, err);
    EXPECT_EQ(kUnwritableTextErr, writePlotter(p[1], stdout));
    EXPECT_EQ(0, putPlotter(stdout, p[1]));
    strcpy(p[1].PlotterEndString, "");
    strcpy(p[1].PlotterName, "two\nlines");
    saved(p, 2, &err);
    EXPECT_EQ(kUnwritableTextErr, err);
}

TEST(PlotterFile, NumbersAreWrittenInTheCLocaleWhateverTheUserLocale)
{
    FakeHostSuites host;
    Plotter p = defaultPlotterWithPen();
    std::string text;
    Plotter* list = nullptr;
    int count = 0;
    int err = 0;
    {
        vt::test::DecimalCommaLocale german;
        text = saved(&p, 1);
        err = loaded(text, &list, &count);
    }
    EXPECT_NE(std::string::npos, text.find("PlotterStep=0.025000\n"));
    EXPECT_NE(std::string::npos, text.find("stepExtra=0.025\n"));
    ASSERT_EQ(0, err);
    EXPECT_EQ(0.025, list[0].PlotterStep);
    freePlotterList(&list, &count);
    freePlotter(&p);
}

// ---- Damaged and hostile files ---------------------------------------------------

std::string twoPlotterLibrary()
{
    Plotter p[2] = {defaultPlotterWithPen(), defaultPlotterWithPen()};
    strcpy(p[1].PlotterName, "Second");
    std::string text = saved(p, 2);
    freePlotter(&p[0]);
    freePlotter(&p[1]);
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    size_t at = text.rfind(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct DamageCase {
    const char* name;
    std::string (*make)(const std::string& good);
    int error;
    int plottersKept;
};

const DamageCase kDamageCases[] = {
    {"truncated_in_the_second_plotter", [](const std::string& s) { return s.substr(0, s.size() - 200); },
     kFormatErr, 1},
    {"negative_plotter_count",
     [](const std::string& s) { return replaced(s, "PlotterNumber=2", "PlotterNumber=-5"); }, kFormatErr, 0},
    {"a_word_for_the_plotter_count",
     [](const std::string& s) { return replaced(s, "PlotterNumber=2", "PlotterNumber=two"); }, kFormatErr, 0},
    {"negative_environment_count",
     [](const std::string& s) { return replaced(s, "PlotterEnvNumber=1", "PlotterEnvNumber=-1"); }, kFormatErr, 1},
    {"huge_pen_count",
     [](const std::string& s) { return replaced(s, "PenNumber=1", "PenNumber=999999999"); }, kFormatErr, 1},
    {"missing_line", [](const std::string& s) { return replaced(s, "maxExtra=1.000\n", ""); }, kFormatErr, 1},
    {"start_string_never_closed",
     [](const std::string& s) { return replaced(s, "PlotterEndString=[]", "PlotterEndString=[PU;"); }, kFormatErr, 1},
    {"line_without_separator",
     [](const std::string& s) { return replaced(s, "PlotterOrigin=1", "PlotterOrigin 1"); }, kFormatErr, 1},
    // Not damage at all: values are read in their order, each after its '=',
    // and the brace lines only frame the blocks, so a library that lost both
    // its names and its brace lines reads whole.
    {"names_and_brace_lines_lost",
     [](const std::string& s) {
         std::string kept;
         for (size_t at = 0; at < s.size();) {
             size_t end = std::min(s.find('\n', at), s.size() - 1) + 1;
             std::string line = s.substr(at, end - at);
             size_t equals = line.find('=');
             if (line != "{\n" && line != "}\n") kept += equals == std::string::npos ? line : line.substr(equals);
             at = end;
         }
         return kept;
     },
     0, 2},
    {"binary_junk",
     [](const std::string& s) {
         std::string junk("PlotterNumber=3\n");
         for (int i = 0; i < 3000; i++) junk += (char)((i * 37 + 11) & 0xFF);
         return junk;
     },
     kFormatErr, 0},
};

class DamagedLibrary : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedLibrary, StopsWithAnErrorAndKeepsWhatWasRead)
{
    FakeHostSuites host;
    std::string text = GetParam().make(twoPlotterLibrary());
    Plotter* list = nullptr;
    int count = -1;
    EXPECT_EQ(GetParam().error, loaded(text, &list, &count));
    ASSERT_EQ(GetParam().plottersKept, count);
    if (count > 0) {
        EXPECT_STREQ("New Plotter", list[0].PlotterName);
        ASSERT_EQ(1, list[0].PlotterEnvNumber);
        EXPECT_EQ(1, list[0].Environments[0].PenNumber);
        EXPECT_EQ(0.025, list[0].Environments[0].Pens[0].stepExtra);
    } else {
        EXPECT_EQ(nullptr, list);
    }
    freePlotterList(&list, &count);
}

INSTANTIATE_TEST_SUITE_P(PlotterFile, DamagedLibrary, ::testing::ValuesIn(kDamageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The count line says how many plotters follow, but a library is what its
// plotters are: every plotter block is read whatever the count says, the
// disagreement is said, and the library saved from what was read holds them
// all under the right count.
TEST(PlotterFile, ThePlottersWinOverTheCountLine)
{
    FakeHostSuites host;
    auto crlf = [](std::string text) {
        for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, "\r");
        return text;
    };
    struct Row {
        const char* shows;
        std::string text;
        int plotters;
        const char* says;
    } rows[] = {
        {"a count lower than the plotters", replaced(twoPlotterLibrary(), "PlotterNumber=2", "PlotterNumber=1"), 2,
         "its count line says 1 plotter, but it holds 2; all 2 are kept"},
        {"a count of none", replaced(twoPlotterLibrary(), "PlotterNumber=2", "PlotterNumber=0"), 2,
         "its count line says 0 plotters, but it holds 2; all 2 are kept"},
        {"a count beyond the plotters", replaced(twoPlotterLibrary(), "PlotterNumber=2", "PlotterNumber=2147483647"),
         2, "its count line says 2147483647 plotters, but it holds 2; all 2 are kept"},
        {"a count line and no plotters", "PlotterNumber=2\n", 0,
         "its count line says 2 plotters, but it holds 0; all 0 are kept"},
        {"line ends of CR LF", crlf(twoPlotterLibrary()), 2, ""},
        {"line ends of CR LF and a lower count", crlf(replaced(twoPlotterLibrary(), "PlotterNumber=2", "PlotterNumber=1")),
         2, "its count line says 1 plotter, but it holds 2; all 2 are kept"},
        {"the count agreeing", twoPlotterLibrary(), 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        std::string text = row.text;
        FILE* in = fmemopen(&text[0], text.size(), "r");
        Plotter* list = nullptr;
        int count = -1;
        char note[256] = "junk";
        EXPECT_EQ(0, loadPlotterReporting(&list, &count, in, note, sizeof note));
        fclose(in);
        EXPECT_STREQ(row.says, note);
        ASSERT_EQ(row.plotters, count);
        if (count == 2) {
            EXPECT_STREQ("Second", list[1].PlotterName);
        }
        std::string again = saved(list, count);
        EXPECT_EQ(again.rfind("PlotterNumber=" + std::to_string(row.plotters) + "\n", 0), 0u) << again;
        Plotter* back = nullptr;
        int backCount = -1;
        EXPECT_EQ(0, loaded(again, &back, &backCount));
        EXPECT_EQ(row.plotters, backCount) << "nothing is lost on the way";
        freePlotterList(&back, &backCount);
        freePlotterList(&list, &count);
    }
}

// Values no job can be cut with, and values the file cannot mean as they
// stand, are refused where the library is read, naming the plotter (its
// environment and pen where the value is theirs) and the field; the plotters
// before it stay usable.
TEST(PlotterFile, UnusableValuesAreRefusedNamingThePlotterAndField)
{
    FakeHostSuites host;
    // The environments of the second plotter as the library holds them.
    const std::string kSecondEnvironments = std::string("PlotterEnvNumber=1\nPlotterPID=0\nPlotterVID=0\n"
                                                        "{\nEnvironmentName=New Environment\nPenNumber=1\n"
                                                        "EnvironmentReserved=0\n") +
                                            kDefaultPenBlock + "}\n";
    struct Row {
        const char* shows;
        std::string from;
        std::string to;
        std::string says;
    } rows[] = {
        {"a language past DMGL", "Language=0", "Language=7",
         "plotter \"Second\": Language is 7, not one of 0 (HPGL) to 3 (DMGL)"},
        {"a negative language", "Language=0", "Language=-1",
         "plotter \"Second\": Language is -1, not one of 0 (HPGL) to 3 (DMGL)"},
        {"a language named in a word", "Language=0", "Language=GPGL", "plotter \"Second\": Language is not a number"},
        {"a language with a fraction", "Language=0", "Language=1.5", "plotter \"Second\": Language is not a number"},
        {"no language at all", "Language=0", "Language=", "plotter \"Second\": Language is not a number"},
        {"a negative step", "PlotterStep=0.025000", "PlotterStep=-0.025",
         "plotter \"Second\": PlotterStep is -0.025, not above 0"},
        {"a zero step", "PlotterStep=0.025000", "PlotterStep=0", "plotter \"Second\": PlotterStep is 0, not above 0"},
        {"a step of nan", "PlotterStep=0.025000", "PlotterStep=nan",
         "plotter \"Second\": PlotterStep is not a finite number"},
        {"an infinite step", "PlotterStep=0.025000", "PlotterStep=1e999",
         "plotter \"Second\": PlotterStep is not a finite number"},
        {"a step of 1e308", "PlotterStep=0.025000", "PlotterStep=1e308",
         "plotter \"Second\": PlotterStep is 1e+308, more than the 10 mm a step can be"},
        {"a step just past 10 mm", "PlotterStep=0.025000", "PlotterStep=10.001",
         "plotter \"Second\": PlotterStep is 10.001, more than the 10 mm a step can be"},
        {"a step in words", "PlotterStep=0.025000", "PlotterStep=fine", "plotter \"Second\": PlotterStep is not a number"},
        {"a step the file cannot hold", "PlotterStep=0.025000", "PlotterStep=1e-9",
         "plotter \"Second\": PlotterStep is 1e-09, below the 1e-06 mm the library file can hold"},
        {"no media width", "PlotterSizeX=10000.000000", "PlotterSizeX=0",
         "plotter \"Second\": PlotterSizeX is 0, not above 0"},
        {"a negative media length", "PlotterSizeY=10000.000000", "PlotterSizeY=-610",
         "plotter \"Second\": PlotterSizeY is -610, not above 0"},
        {"a media longer than a cutter has", "PlotterSizeY=10000.000000", "PlotterSizeY=1e9",
         "plotter \"Second\": PlotterSizeY is 1e+09, more than the 65535 mm a media length can be"},
        {"a name of 100,000 characters", "PlotterName=Second", "PlotterName=" + std::string(100000, 'N'),
         "plotter \"" + std::string(63, 'N') + "\": PlotterName is longer than the 63 characters it can hold"},
        {"a start string of 900 characters", "PlotterIniString=[]", "PlotterIniString=[" + std::string(900, 'I') + "]",
         "plotter \"Second\": PlotterIniString is longer than the 254 characters it can hold"},
        {"a pen name of 500 characters", "PenName=New Pen", "PenName=" + std::string(500, 'P'),
         "plotter \"Second\", environment \"New Environment\", pen \"" + std::string(63, 'P') +
             "\": PenName is longer than the 63 characters it can hold"},
        {"a pen count in words", "PenNumber=1", "PenNumber=one",
         "plotter \"Second\", environment \"New Environment\": PenNumber is not a number"},
        {"a value of an environment after one with pens", kSecondEnvironments,
         replaced(kSecondEnvironments, "PlotterEnvNumber=1", "PlotterEnvNumber=2") +
             "{\nEnvironmentName=Rough\nPenNumber=0\nEnvironmentReserved=some\n}\n",
         "plotter \"Second\", environment \"Rough\": EnvironmentReserved is not a number"},
        {"a negative pen pressure", "Pressure=10.00", "Pressure=-80",
         "plotter \"Second\", environment \"New Environment\", pen \"New Pen\": Pressure is -80, below 0"},
        {"a pen velocity of nan", "Velocity=10.00", "Velocity=nan",
         "plotter \"Second\", environment \"New Environment\", pen \"New Pen\": Velocity is not a finite number"},
        {"a negative knife offset", "Extra=0.010", "Extra=-0.25",
         "plotter \"Second\", environment \"New Environment\", pen \"New Pen\": Extra is -0.25, below 0"},
        {"a pen limit in words", "maxPressure=400.00", "maxPressure=heavy",
         "plotter \"Second\", environment \"New Environment\", pen \"New Pen\": maxPressure is not a number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        std::string text = replaced(twoPlotterLibrary(), row.from, row.to);
        ASSERT_NE(text, twoPlotterLibrary());
        FILE* in = fmemopen(&text[0], text.size(), "r");
        Plotter* list = nullptr;
        int count = -1;
        char problem[512];
        EXPECT_EQ(kPlotterValueErr, loadPlotterReporting(&list, &count, in, problem, sizeof problem));
        fclose(in);
        EXPECT_EQ(row.says, problem);
        ASSERT_EQ(1, count) << "the first plotter stays usable";
        EXPECT_STREQ("New Plotter", list[0].PlotterName);
        freePlotterList(&list, &count);

        // The same plotter alone, as a single-plotter file, is read in step to
        // its end and keeps its name and values to say why.
        std::string one = text.substr(text.find("{\nPlotterName=", text.find("}\n}\n")));
        in = fmemopen(&one[0], one.size(), "r");
        Plotter plotter;
        memset(&plotter, 0, sizeof plotter);
        EXPECT_EQ(kPlotterValueErr, readPlotterReporting(&plotter, in, problem, sizeof problem));
        // A count that is no number leaves the blocks it counts unread.
        if (row.from != "PenNumber=1") {
            EXPECT_EQ(EOF, fgetc(in)) << "the whole block was read";
        }
        fclose(in);
        EXPECT_EQ(nullptr, plotter.Environments);
        EXPECT_EQ(row.says, problem);
        EXPECT_EQ(1, plotter.PlotterOrigin);
    }
}

// The single blocks read on their own, as the library's reader reads them.
TEST(PlotterFile, EachBlockIsReadOnItsOwn)
{
    FakeHostSuites host;
    std::string pen = kDefaultPenBlock;
    FILE* in = fmemopen(&pen[0], pen.size(), "r");
    Pen p;
    memset(&p, 0, sizeof p);
    EXPECT_EQ(1, getPen(in, &p));
    fclose(in);
    EXPECT_STREQ("New Pen", p.PenName);
    EXPECT_EQ(400.0, p.maxPressure);
    EXPECT_EQ(0, getPen(nullptr, &p));

    std::string environment = "{\nEnvironmentName=Vinyl\nPenNumber=1\nEnvironmentReserved=1\n" + pen + "}\n";
    in = fmemopen(&environment[0], environment.size(), "r");
    Environment e;
    memset(&e, 0, sizeof e);
    EXPECT_EQ(1, getEnvironment(in, &e));
    fclose(in);
    EXPECT_STREQ("Vinyl", e.EnvironmentName);
    ASSERT_EQ(1, e.PenNumber);
    EXPECT_STREQ("New Pen", e.Pens[0].PenName);
    freeEnvironment(&e);
    EXPECT_EQ(nullptr, e.Pens);
    EXPECT_EQ(0, e.PenNumber);
    freeEnvironment(&e);  // released once: a second release finds nothing to free

    std::string plotter = twoPlotterLibrary();
    plotter = plotter.substr(plotter.find('\n') + 1);
    in = fmemopen(&plotter[0], plotter.size(), "r");
    Plotter one;
    memset(&one, 0, sizeof one);
    EXPECT_EQ(1, getPlotter(in, &one));
    fclose(in);
    EXPECT_STREQ("New Plotter", one.PlotterName);
    freePlotter(&one);
    EXPECT_EQ(nullptr, one.Environments);
    freePlotter(&one);  // released once: a second release finds nothing to free
}

// A caller that asks for no text (no buffer, or one of size 0) gets none
// written.
TEST(PlotterFile, NoTextIsWrittenWhereNoneIsAskedFor)
{
    FakeHostSuites host;
    std::string text = replaced(twoPlotterLibrary(), "Language=0", "Language=7");
    std::string one = text.substr(text.find("{\nPlotterName=", text.find("}\n}\n")));
    FILE* in = fmemopen(&one[0], one.size(), "r");
    Plotter plotter;
    memset(&plotter, 0, sizeof plotter);
    EXPECT_EQ(kPlotterValueErr, readPlotterReporting(&plotter, in, nullptr, 64));
    fclose(in);

    vt::test::TempDir dir;
    vt::test::writeFile(dir.file("PlotterSetup.txt"), text);
    char untouched[4] = "abc";
    Plotter* list = nullptr;
    int count = 0;
    EXPECT_EQ(kPlotterValueErr, loadPlotterFileReporting(dir.file("PlotterSetup.txt").c_str(), &list, &count, untouched, 0));
    EXPECT_STREQ("abc", untouched);
    freePlotterList(&list, &count);
}

TEST(PlotterFile, ALibraryThatCannotBeReadIsNotAnEmptyOne)
{
    Plotter* list = nullptr;
    int count = -1;
    char problem[256];
    // Through a file as if it were a folder: there, but not readable.
    std::string path = std::string(VANTOREL_SOURCE_DIR) + "/Resources/PlotterSetup.txt/PlotterSetup.txt";
    EXPECT_EQ(kNoFileErr, loadPlotterFileReporting(path.c_str(), &list, &count, problem, sizeof problem));
    EXPECT_STREQ("Not a directory", problem);
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(0, count);
}

TEST(PlotterFile, SinglePlotterFileHasNoCountLine)
{
    FakeHostSuites host;
    vt::test::TempDir temp;
    std::string dir = temp.path();
    std::string path = dir + "/single.INI";
    Plotter p = defaultPlotterWithPen();
    strcpy(p.PlotterName, "Single");
    ASSERT_EQ(0, writePlotterFile(path.c_str(), &p));
    std::string text = vt::test::readFile(path);
    EXPECT_EQ(0u, text.find("{\nPlotterName=Single\n"));
    Plotter back;
    ASSERT_EQ(0, readPlotterFile(path.c_str(), &back));
    EXPECT_STREQ("Single", back.PlotterName);
    EXPECT_EQ(1, back.Environments[0].PenNumber);
    Plotter missing;
    EXPECT_EQ(kNoFileErr, readPlotterFile((dir + "/missing.INI").c_str(), &missing));
    vt::test::writeFile(path, text.substr(0, text.size() / 2));
    Plotter damaged;
    EXPECT_EQ(kFormatErr, readPlotterFile(path.c_str(), &damaged));
    EXPECT_EQ(nullptr, damaged.Environments);
    EXPECT_EQ(0, damaged.PlotterEnvNumber);
    freePlotter(&back);
    freePlotter(&p);
}

TEST(PlotterFile, AFailedSaveLeavesTheOldLibraryAsItWas)
{
    FakeHostSuites host;
    vt::test::TempDir temp;
    std::string dir = temp.path();
    std::string path = dir + "/PlotterSetup.txt";
    vt::test::writeFile(path, "PlotterNumber=0\n");

    Plotter bad;
    EXPECT_EQ(kNoErr, copyPlotter(&bad, nullptr));
    strcpy(bad.PlotterIniString, "]");
    Plotter* list = &bad;
    int count = 1;
    EXPECT_EQ(kUnwritableTextErr, savePlotterFile(path.c_str(), &list, &count));
    EXPECT_EQ("PlotterNumber=0\n", vt::test::readFile(path));
    EXPECT_EQ(vt::test::filesIn(dir), std::vector<std::string>{"PlotterSetup.txt"}) << "the temporary file is removed";

    // A folder where the file should be is refused before anything is written.
    std::string blocked = dir + "/blocked";
    mkdir(blocked.c_str(), 0700);
    strcpy(bad.PlotterIniString, "");
    EXPECT_EQ(kNoFileErr, savePlotterFile(blocked.c_str(), &list, &count));
    struct stat st;
    EXPECT_EQ(0, stat(blocked.c_str(), &st));
    EXPECT_TRUE(S_ISDIR(st.st_mode));

    EXPECT_EQ(kNoFileErr, savePlotterFile((dir + "/no/such/folder/x.txt").c_str(), &list, &count));

    ASSERT_EQ(0, savePlotterFile(path.c_str(), &list, &count));
    EXPECT_EQ(saved(&bad, 1), vt::test::readFile(path));
    EXPECT_EQ(vt::test::filesIn(dir), (std::vector<std::string>{"PlotterSetup.txt", "blocked"}));
}

TEST(PlotterFile, MissingLibraryFileIsAnEmptyLibrary)
{
    Plotter* list = (Plotter*)1;
    int count = 7;
    EXPECT_EQ(0, loadPlotterFile("/nonexistent/PlotterSetup.txt", &list, &count));
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(0, count);
    EXPECT_EQ(0, loadPlotter(&list, &count, nullptr));
    EXPECT_EQ(0, savePlotter(&list, &count, nullptr));
}

TEST(PlotterFile, BundledLibraryLoadsAndSavesByteForByte)
{
    std::string path = std::string(VANTOREL_SOURCE_DIR) + "/Resources/PlotterSetup.txt";
    std::string original = vt::test::readFile(path);
    ASSERT_FALSE(original.empty());
    Plotter* list = nullptr;
    int count = 0;
    ASSERT_EQ(0, loadPlotterFile(path.c_str(), &list, &count));
    ASSERT_GE(count, 4);
    bool languages[4] = {false, false, false, false};
    for (int i = 0; i < count; i++) {
        ASSERT_GE(list[i].Language, 0);
        ASSERT_LE(list[i].Language, 3);
        languages[list[i].Language] = true;
        EXPECT_GT(list[i].PlotterEnvNumber, 0) << list[i].PlotterName;
        EXPECT_NE(0, list[i].PlotterVID) << list[i].PlotterName;
    }
    for (bool seen : languages) EXPECT_TRUE(seen) << "every command language is covered";
    EXPECT_EQ(original, saved(list, count));
    freePlotterList(&list, &count);
}

struct FileNameCase {
    const char* name;
    const char* plotterName;
    const char* fileName;
};

const FileNameCase kFileNameCases[] = {
    {"plain", "Generic 24in Drag Knife", "Generic 24in Drag Knife.INI"},
    {"slashes", "../../etc/passwd", "_._.._etc_passwd.INI"},
    {"backslash_and_colon", "a\\b:c", "a_b_c.INI"},
    {"dots_only", "..", "_..INI"},
    {"hidden", ".cutter", "_cutter.INI"},
    {"control_characters", "a\nb\tc", "a_b_c.INI"},
    {"empty", "", "Plotter.INI"},
};

class SafeFileName : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(SafeFileName, StaysInTheChosenFolder)
{
    char fileName[80];
    EXPECT_EQ(0, makePlotterFileName(GetParam().plotterName, fileName, sizeof(fileName)));
    EXPECT_STREQ(GetParam().fileName, fileName);
    EXPECT_EQ(nullptr, strchr(fileName, '/'));
}

INSTANTIATE_TEST_SUITE_P(PlotterFile, SafeFileName, ::testing::ValuesIn(kFileNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlotterFile, SafeFileNameIsCutToItsBuffer)
{
    char fileName[16];
    memset(fileName, 'Z', sizeof fileName);
    EXPECT_EQ(0, makePlotterFileName("A very long cutter name", fileName, 12));
    EXPECT_STREQ("A very .INI", fileName);
    EXPECT_EQ(std::string(fileName + 12, 4), "ZZZZ") << "nothing past the size given";
    char tiny[4];
    EXPECT_EQ(kMemoryErr, makePlotterFileName("x", tiny, sizeof(tiny)));
    EXPECT_STREQ("", tiny);
}

}  // namespace
