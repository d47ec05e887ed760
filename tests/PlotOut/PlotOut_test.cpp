// The command writer: the exact bytes of every command in the four languages,
// the order of a job (groups, cut order, copies, rings, segments), overcut,
// dot-cut pieces, and the sink (stream, nothing, write failures).
#include "PlotOut/PlotOut.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "Common/PluginGlobals.h"
#include "HostFixture.h"
#include "PlotOut/USB.h"
#include "USB/FakeBus.h"

namespace {

const std::string ETX = "\x03";

// A stream that collects what the writer writes.
class MemoryStream {
public:
    MemoryStream() { file_ = open_memstream(&buffer_, &size_); }
    ~MemoryStream()
    {
        if (file_)
            fclose(file_);
        free(buffer_);
    }
    FILE* file() { return file_; }
    std::string text()
    {
        fflush(file_);
        return std::string(buffer_, size_);
    }

private:
    char* buffer_ = nullptr;
    size_t size_ = 0;
    FILE* file_ = nullptr;
};

// Globals of a cutter with 0.025 mm steps and three pens, and a job of
// volumes built directly as records.
class PlotOutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = g;
        globals_ = (PluginGlobals*)calloc(1, sizeof(PluginGlobals));
        g = globals_;
        g->curPlotter.PlotterStep = 0.025;
        g->arcAngleUnit = 0.1;
        pens_.resize(3);
        memset(pens_.data(), 0, sizeof(Pen) * pens_.size());
        for (int i = 0; i < 3; i++) {
            pens_[i].Velocity = 30;
            pens_[i].Pressure = 80;
            pens_[i].Extra = 0.25;
        }
        g->curEnvironment.PenNumber = 3;
        g->curEnvironment.Pens = pens_.data();
    }
    void TearDown() override
    {
        g->volumes = nullptr;
        g->volumeCount = 0;
        for (Volume& v : volumes_)
            for (int i = 0; i < v.ringCount; i++)
                free(v.rings[i].beziers);
        for (Volume& v : volumes_)
            free(v.rings);
        volumes_.clear();
        free(globals_);
        globals_ = nullptr;
        g = saved_;
    }

    static bezier_stru line(double x1, double y1, double x2, double y2)
    {
        bezier_stru b;
        b.degree = 3;
        double p[4][2] = {{x1, y1}, {x1, y1}, {x2, y2}, {x2, y2}};
        memcpy(b.P, p, sizeof p);
        return b;
    }

    // A visible volume at the origin whose one ring is the given segments,
    // written with straight lines at a precision of 0.01 mm.
    Volume makeVolume(std::vector<bezier_stru> segments, int32_t index = 1)
    {
        Volume v;
        memset(&v, 0, sizeof v);
        v.ringCount = 1;
        v.rings = (Ring*)calloc(1, sizeof(Ring));
        v.rings[0].kind = 1;
        v.rings[0].count = (int32_t)segments.size();
        v.rings[0].beziers = (bezier_stru*)malloc(sizeof(bezier_stru) * segments.size());
        memcpy(v.rings[0].beziers, segments.data(), sizeof(bezier_stru) * segments.size());
        v.layerName = "Layer 1";
        v.scaleX = v.scaleY = 1.0;
        v.copiesX = v.copiesY = 1;
        v.gapX = v.gapY = 3.0;
        v.precision = 0.01;
        v.fitType = 1;
        v.flags = kVolumeSelected | kVolumeVisible;
        v.index = index;
        return v;
    }

    // A volume known by its one segment from (0, 0) to (id mm, 0).
    Volume tagged(int id, int32_t index, uint16_t red = 255, uint32_t kind = 5)
    {
        Volume v = makeVolume({line(0, 0, id, 0)}, index);
        v.colorRGB[0] = red;
        v.colorKind = kind;
        return v;
    }

    void useVolumes(std::vector<Volume> volumes)
    {
        volumes_ = std::move(volumes);
        g->volumes = volumes_.data();
        g->volumeCount = (int32_t)volumes_.size();
    }

    static Color color(uint16_t red, uint32_t kind = 5, int32_t pen = 0)
    {
        Color c;
        memset(&c, 0, sizeof c);
        c.kind = kind;
        c.pen = pen;
        c.rgb[0] = red;
        c.visible = 1;
        return c;
    }

    static Layer layer(const char* name, int32_t pen = 0)
    {
        Layer l;
        memset(&l, 0, sizeof l);
        strcpy(l.name, name);
        l.pen = pen;
        l.visible = 1;
        return l;
    }

    // The ids of the volumes written, from the draws to (id·40, 0).
    static std::vector<int> drawnIds(const std::string& text)
    {
        std::vector<int> ids;
        std::regex draw("PD(\\d+),0;");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), draw); it != std::sregex_iterator(); ++it)
            ids.push_back(std::stoi((*it)[1]) / 40);
        return ids;
    }

    PluginGlobals* saved_ = nullptr;
    PluginGlobals* globals_ = nullptr;
    std::vector<Pen> pens_;
    std::vector<Volume> volumes_;
};

// ---- Plotter steps ---------------------------------------------------------

struct StepCase {
    const char* name;
    double x, y;
    long wantX, wantY;
};

TEST_F(PlotOutTest, PointsBecomeStepsTruncatedTowardZero)
{
    const StepCase cases[] = {
        {"worked example", 12.345, 5.0, 493, 200},
        {"negative truncates up", -0.03, 0.0, -1, 0},
        {"just below a step", 0.0249, -0.0249, 0, 0},
        {"huge values are held to 32 bits", 1e12, -1e12, 2147483647L, -2147483648L},
        {"an undefined value gives 0", NAN, 1.0, 0, 40},
    };
    for (const StepCase& c : cases) {
        long x = 7, y = 7;
        EXPECT_EQ(convertDimenPointToPlotterLong(point_struct{c.x, c.y}, &x, &y), kNoErr);
        EXPECT_EQ(x, c.wantX) << c.name;
        EXPECT_EQ(y, c.wantY) << c.name;
    }
}

// ---- Single commands ---------------------------------------------------------

TEST_F(PlotOutTest, MoveAndDrawTextsPerLanguage)
{
    const struct {
        int language;
        std::string want;
    } cases[] = {
        {kLanguageHPGL, "PU12,-34;\r\nPD56,78;\r\n"},
        {kLanguageGPGL, "M 12,-34" + ETX + "\r\nD 56,78" + ETX + "\r\n"},
        {kLanguageMGL_IC1, "M 12,-34" + ETX + "\r\nD 56,78" + ETX + "\r\n"},
        {kLanguageDMGL, "PU12,-34;\r\nPD56,78;\r\n"},
        {7, ""},
    };
    for (const auto& c : cases) {
        MemoryStream out;
        EXPECT_EQ(kNoErr, movePen(12, -34, c.language, out.file()));
        EXPECT_EQ(kNoErr, drawPen(56, 78, c.language, out.file()));
        EXPECT_EQ(out.text(), c.want) << "language " << c.language;
    }
}

struct ArcCase {
    const char* name;
    int language;
    bool special;
    arc_struct arc;
    unsigned char penUp;
    std::string want;
};

const double kR = 10.0 * std::sqrt(0.5);
const arc_struct kQuarterCCW = {{10, 0}, {kR, kR}, {0, 10}, {0, 0}, kArcCircle};
const arc_struct kQuarterCW = {{0, 10}, {kR, kR}, {10, 0}, {0, 0}, kArcCircle};
const arc_struct kFullCircle = {{10, 0}, {-10, 0}, {10, 0}, {0, 0}, kArcFull};
const arc_struct kFarCentre = {{0, 0}, {5, 0.00001}, {10, 0}, {5, -1e6}, kArcCircle};
const arc_struct kStraight = {{0, 0}, {1, 0}, {2, 0}, {0, 0}, kArcLine};
const arc_struct kPoint = {{1, 1}, {1, 1}, {1, 1}, {1, 1}, kArcPoint};

TEST_F(PlotOutTest, FittedPiecesInEveryArcForm)
{
    const ArcCase cases[] = {
        {"HPGL counter-clockwise quarter", kLanguageHPGL, false, kQuarterCCW, 0, "PD;AA0,0,90.000000;\r\n"},
        {"DMGL writes as HPGL", kLanguageDMGL, false, kQuarterCCW, 0, "PD;AA0,0,90.000000;\r\n"},
        {"GPGL in tenths of a degree", kLanguageGPGL, false, kQuarterCCW, 0, "] 400,400,0,900" + ETX + "\r\n"},
        {"MGL_IC1 in tenths of a radian", kLanguageMGL_IC1, false, kQuarterCCW, 0, "] 400,400,0,16" + ETX + "\r\n"},
        {"HPGL clockwise quarter", kLanguageHPGL, false, kQuarterCW, 0, "PD;AA0,0,-90.000000;\r\n"},
        {"GPGL clockwise quarter", kLanguageGPGL, false, kQuarterCW, 0, "] 400,400,900,0" + ETX + "\r\n"},
        {"MGL_IC1 clockwise keeps the angles", kLanguageMGL_IC1, false, kQuarterCW, 0,
         "] 400,400,16,0" + ETX + "\r\n"},
        {"special machine", kLanguageHPGL, true, kQuarterCCW, 0, "PD;AA0,0,90.000000,1;\r\n"},
        {"pen up moves to the start first", kLanguageHPGL, false, kQuarterCCW, 1,
         "PU400,0;\r\nPD;AA0,0,90.000000;\r\n"},
        {"full circle is a whole turn (HPGL)", kLanguageHPGL, false, kFullCircle, 0, "PD;AA0,0,360.000000;\r\n"},
        {"full circle is a whole turn (GPGL)", kLanguageGPGL, false, kFullCircle, 0,
         "] 400,400,0,3600" + ETX + "\r\n"},
        {"far centre is a straight run", kLanguageHPGL, false, kFarCentre, 0, "PD400,0;\r\n"},
        {"straight piece", kLanguageGPGL, false, kStraight, 1,
         "M 0,0" + ETX + "\r\nD 80,0" + ETX + "\r\n"},
        {"single point moves only", kLanguageHPGL, false, kPoint, 1, "PU40,40;\r\n"},
        {"unknown language writes no arc", 9, false, kQuarterCCW, 0, ""},
    };
    for (const ArcCase& c : cases) {
        g->curPlotter.IsSpecialMachine = c.special;
        MemoryStream out;
        unsigned char penUp = c.penUp;
        EXPECT_EQ(arcOut(c.arc, c.language, out.file(), &penUp), kNoErr) << c.name;
        EXPECT_EQ(out.text(), c.want) << c.name;
        EXPECT_EQ(penUp, 0) << c.name;
    }
}

TEST_F(PlotOutTest, PreviewFileAnglesInTenThousandths)
{
    g->arcAngleUnit = 0.0001;
    MemoryStream out;
    unsigned char penUp = 0;
    EXPECT_EQ(kNoErr, arcOut(kQuarterCCW, kLanguageGPGL, out.file(), &penUp));
    EXPECT_EQ(out.text(), "] 400,400,0,900000" + ETX + "\r\n");
}

// ---- Start and end of job ------------------------------------------------------

struct JobEndsCase {
    const char* name;
    int language;
    bool backToHome;
    const char* iniText;
    const char* endText;
    std::string wantStart;
    std::string wantEnd;
};

TEST_F(PlotOutTest, StartAndEndOfJob)
{
    const JobEndsCase cases[] = {
        {"HPGL without going home", kLanguageHPGL, false, "", "", "IN;\r\n", ""},
        {"HPGL back to home", kLanguageHPGL, true, "", "", "IN;\r\n", "PU0,0;\r\n"},
        {"HPGL plotter texts", kLanguageHPGL, false, "BP;", "EP;", "BP;\r\nIN;\r\n", "EP;\r\n"},
        {"GPGL", kLanguageGPGL, false, "FN0", "", "FN0\r\n", "O 0,0" + ETX + "\r\n"},
        {"MGL_IC1 ignores back to home", kLanguageMGL_IC1, true, "", "X", "", "O 0,0" + ETX + "\r\nX\r\n"},
        {"DMGL ends with no line end", kLanguageDMGL, false, "", "", "IN;\r\n", "PU;!PG;"},
        {"unknown language keeps the texts", 5, true, "A", "B", "A\r\n", "B\r\n"},
    };
    for (const JobEndsCase& c : cases) {
        g->backToHome = c.backToHome;
        strcpy(g->curPlotter.PlotterIniString, c.iniText);
        strcpy(g->curPlotter.PlotterEndString, c.endText);
        MemoryStream start, end;
        EXPECT_EQ(initialPloter(c.language, start.file()), kNoErr) << c.name;
        EXPECT_EQ(endOfPlotOut(c.language, end.file()), kNoErr) << c.name;
        EXPECT_EQ(start.text(), c.wantStart) << c.name;
        EXPECT_EQ(end.text(), c.wantEnd) << c.name;
    }
}

TEST_F(PlotOutTest, PlotterTextsFillingTheirFieldsAreWrittenWhole)
{
    memset(g->curPlotter.PlotterEndString, 'E', sizeof g->curPlotter.PlotterEndString);  // no terminator
    MemoryStream out;
    EXPECT_EQ(kNoErr, endOfPlotOut(kLanguageGPGL, out.file()));
    EXPECT_EQ(out.text(), "O 0,0" + ETX + "\r\n" + std::string(255, 'E') + "\r\n");
}

TEST_F(PlotOutTest, CutOffMoveWritesYFirst)
{
    MemoryStream out;
    unsigned char penUp = 1;
    EXPECT_EQ(kNoErr, lineOutCutOff(Vexa_Line{0.0, 250.0, 600.0, 250.0}, kLanguageHPGL, out.file(), &penUp));
    EXPECT_EQ(out.text(), "PU10000,0;\r\nZT;\r\n");
    EXPECT_EQ(penUp, 0);
}

// ---- Group tool blocks -------------------------------------------------------------

TEST_F(PlotOutTest, ToolBlocksOfColourAndLayerGroups)
{
    pens_[2].Velocity = 100;
    pens_[2].PenReserved = 3 << 4;
    pens_[2].Extra = 0.3;
    const struct {
        const char* name;
        bool byLayer;
        double pressure;
        uint8_t usePlotterSetting;
        int language;
        int32_t pen;
        std::string want;
    } cases[] = {
        {"colour group holds velocity and force", false, 0.5, 0, kLanguageHPGL, 2,
         "SP3;\r\nVS72\nFS1\nAS2.8;\nTO0.3;\nPA;\r\n"},
        {"colour group holds force to 8", false, 250, 0, kLanguageHPGL, 2, "SP3;\r\nVS72\nFS8\nAS2.8;\nTO0.3;\nPA;\r\n"},
        {"colour group ignores plotter setting", false, 250, 1, kLanguageHPGL, 2,
         "SP3;\r\nVS72\nFS8\nAS2.8;\nTO0.3;\nPA;\r\n"},
        {"layer group keeps the force", true, 250, 0, kLanguageHPGL, 2, "SP3;\r\nVS72;\nFS250;\nAS2.8;\nTO0.3;\nPA;\r\n"},
        {"layer group with plotter setting", true, 250, 1, kLanguageHPGL, 2, "SP3;\r\n"},
        {"pen outside the environment", false, 250, 0, kLanguageHPGL, 9, "SP10;\r\nPA;\r\n"},
        {"GPGL pen select only", false, 250, 0, kLanguageGPGL, 2, "J3" + ETX + "\r\n"},
        {"MGL_IC1 pen select only", true, 250, 0, kLanguageMGL_IC1, 0, "SP1;\r\n"},
        {"DMGL pen select only", false, 250, 0, kLanguageDMGL, 1, "SP2;\r\n"},
    };
    for (const auto& c : cases) {
        pens_[2].Pressure = c.pressure;
        g->usePlotterSetting = c.usePlotterSetting;
        MemoryStream out;
        ASErr error = c.byLayer ? plotOutLayer(layer("L", c.pen), c.language, out.file())
                                : plotOutColor(color(1, 5, c.pen), c.language, out.file());
        EXPECT_EQ(error, kNoErr) << c.name;
        EXPECT_EQ(out.text(), c.want) << c.name;
    }
}

TEST_F(PlotOutTest, AccelerationTables)
{
    const struct {
        int group;
        int level;
        const char* colour;
        const char* layer;
    } cases[] = {
        {0x00, 0, "0.2", "0.2"}, {0x00, 1, "0.7", "0.7"}, {0x00, 2, "1.4", "1.4"}, {0x00, 3, "2.8", "2.8"},
        {0x00, 4, "4.2", "4.2"}, {0x00, 9, "4.2", "0.2"}, {0x40, 1, "0.7", "0.2"}, {0x40, 2, "1.4", "0.7"},
        {0x40, 3, "2.8", "1.4"}, {0x40, 4, "4.2", "2.8"}, {0x80, 3, "2.8", "0.2"}, {0x80, 4, "4.2", "0.7"},
        {0xC0, 4, "4.2", "4.2"}, {0x40, 15, "4.2", "0.2"},
    };
    for (const auto& c : cases) {
        g->curPlotter.PlotterReserved = c.group | kPlotterCurrentBit;
        pens_[0].PenReserved = (c.level << 4) | 0x3;
        MemoryStream colourOut, layerOut;
        EXPECT_EQ(kNoErr, plotOutColor(color(1), kLanguageHPGL, colourOut.file()));
        EXPECT_EQ(kNoErr, plotOutLayer(layer("L"), kLanguageHPGL, layerOut.file()));
        EXPECT_NE(colourOut.text().find(std::string("AS") + c.colour + ";\n"), std::string::npos)
            << "group " << c.group << " level " << c.level;
        EXPECT_NE(layerOut.text().find(std::string("AS") + c.layer + ";\n"), std::string::npos)
            << "group " << c.group << " level " << c.level;
    }
}

TEST_F(PlotOutTest, NumbersAreWrittenInTheCLocale)
{
    pens_[0].PenReserved = 3 << 4;
    MemoryStream out;
    {
        vt::test::DecimalCommaLocale german;
        EXPECT_EQ(kNoErr, plotOutColor(color(1), kLanguageHPGL, out.file()));
        unsigned char penUp = 0;
        EXPECT_EQ(kNoErr, arcOut(kQuarterCCW, kLanguageHPGL, out.file(), &penUp));
    }
    EXPECT_EQ(out.text(), "SP1;\r\nVS30\nFS8\nAS2.8;\nTO0.25;\nPA;\r\nPD;AA0,0,90.000000;\r\n");
}

TEST_F(PlotOutTest, GroupTextsOfAnyLengthAreWrittenWhole)
{
    std::string longText(10000, 'x');
    Color c = color(1, 5, 0);
    c.preText = strdup(longText.c_str());
    c.postText = strdup("POST");
    MemoryStream out;
    EXPECT_EQ(kNoErr, plotOutColor(c, kLanguageGPGL, out.file()));
    EXPECT_EQ(out.text(), "J1" + ETX + "\r\n" + longText + "\r\nPOST\r\n");
    free(c.preText);
    free(c.postText);
}

// ---- Order of the job ----------------------------------------------------------------

TEST_F(PlotOutTest, VolumesGoOutInCutOrder)
{
    const struct {
        const char* name;
        std::vector<int32_t> indexes;
        std::vector<int> want;  // volume ids (1-based array position) in written order
    } cases[] = {
        {"lower number first", {2, 1}, {2, 1}},
        {"equal numbers in array order", {1, 1}, {1, 2}},
        {"numbered 0 or less is not cut", {0, 3, -1, 1}, {4, 2}},
        {"all numbered 0 writes no geometry", {0, 0}, {}},
    };
    for (const auto& c : cases) {
        std::vector<Volume> volumes;
        for (size_t i = 0; i < c.indexes.size(); i++)
            volumes.push_back(tagged((int)i + 1, c.indexes[i]));
        useVolumes(volumes);
        MemoryStream out;
        EXPECT_EQ(plotOutColor(color(255), kLanguageHPGL, out.file()), kNoErr);
        EXPECT_EQ(drawnIds(out.text()), c.want) << c.name;
        TearDown();
        SetUp();
    }
}

TEST_F(PlotOutTest, ColourEntriesOfEqualRgbButOtherKindsEachCutOnlyTheirOwn)
{
    useVolumes({tagged(1, 1, 255, 5), tagged(2, 2, 255, 1), tagged(3, 1, 0, 5)});
    Color colours[] = {color(255, 5), color(255, 1), color(0, 5)};
    MemoryStream out;
    EXPECT_EQ(plotOutGlobalVolumes(nullptr, 0, colours, 3, kLanguageHPGL, out.file(), 0), kNoErr);
    EXPECT_EQ(drawnIds(out.text()), (std::vector<int>{1, 2, 3}));
}

TEST_F(PlotOutTest, LayerGroupsInTableOrder)
{
    Volume a = tagged(1, 1), b = tagged(2, 1), c = tagged(3, 2);
    b.layerName = "Back";
    useVolumes({a, b, c});
    Layer layers[] = {layer("Back", 1), layer("Layer 1", 0), layer("Empty", 2)};
    g->usePlotterSetting = 1;
    MemoryStream out;
    EXPECT_EQ(plotOutGlobalVolumes(layers, 3, nullptr, 0, kLanguageHPGL, out.file(), 1), kNoErr);
    EXPECT_EQ(out.text(),
              "SP2;\r\nPU0,0;\r\nPD80,0;\r\n"
              "SP1;\r\nPU0,0;\r\nPD40,0;\r\nPU0,0;\r\nPD120,0;\r\n"
              "SP3;\r\n");
}

TEST_F(PlotOutTest, CopiesGoColumnByColumn)
{
    Volume v = makeVolume({line(0, 0, 1, 0)});
    v.copiesX = 2;
    v.copiesY = 3;
    v.baseWidth = 10;
    v.baseHeight = 5;
    v.rect[0] = 2;  // left
    v.rect[3] = 1;  // bottom
    MemoryStream out;
    EXPECT_EQ(plotVolume(v, kLanguageHPGL, out.file()), kNoErr);
    // Columns 13 mm apart (10 + gap 3), rows 8 mm apart (5 + gap 3).
    EXPECT_EQ(out.text(),
              "PU80,40;\r\nPD120,40;\r\nPU80,360;\r\nPD120,360;\r\nPU80,680;\r\nPD120,680;\r\n"
              "PU600,40;\r\nPD640,40;\r\nPU600,360;\r\nPD640,360;\r\nPU600,680;\r\nPD640,680;\r\n");
    free(v.rings[0].beziers);
    free(v.rings);
}

TEST_F(PlotOutTest, HiddenAndMarksVolumesWriteNothing)
{
    Volume hidden = tagged(1, 1), marks = tagged(2, 1), shown = tagged(4, 1);
    hidden.flags = kVolumeSelected;
    marks.flags |= kVolumeOnMarksLayer;  // set by the loader from the layer's title
    shown.flags = kVolumeVisible;  // not selected: still cut
    useVolumes({hidden, marks, shown});
    MemoryStream out;
    EXPECT_EQ(kNoErr, plotOutColor(color(255), kLanguageDMGL, out.file()));
    EXPECT_EQ(drawnIds(out.text()), (std::vector<int>{4}));
}

TEST_F(PlotOutTest, RingsFromTheLastToTheFirstAndPlacementApplied)
{
    Volume v = makeVolume({line(0, 0, 4, 0)});
    v.rings = (Ring*)realloc(v.rings, 2 * sizeof(Ring));
    v.ringCount = 2;
    v.rings[1] = v.rings[0];
    v.rings[1].beziers = (bezier_stru*)malloc(sizeof(bezier_stru));
    v.rings[1].beziers[0] = line(0, 1, 0, 3);
    // Loaded 4 x 4 mm; rotated a quarter turn about (2, 2), then back to the
    // corner and doubled.
    v.loadRect[0] = 10;
    v.loadRect[1] = 14;
    v.loadRect[2] = 14;
    v.loadRect[3] = 10;
    v.angle = 90;
    v.scaleX = v.scaleY = 2;
    // Half a step off the grid, so the turn's rounding noise cannot cross a step.
    v.rect[0] = v.rect[3] = 0.0125f;
    MemoryStream out;
    EXPECT_EQ(plotVolume(v, kLanguageHPGL, out.file()), kNoErr);
    // Ring 1 (0,1)-(0,3) turns to (3,0)-(1,0), ring 0 (0,0)-(4,0) to (4,0)-(4,4); doubled.
    EXPECT_EQ(out.text(), "PU240,0;\r\nPD80,0;\r\nPU320,0;\r\nPD320,320;\r\n");
    volumes_.push_back(v);
}

TEST_F(PlotOutTest, CurvesAreFlattenedAndFittedWithArcs)
{
    // A quarter circle of radius 10 as one Bezier segment.
    const double k = 0.5522847498 * 10;
    bezier_stru quarter = {3, {{10, 0}, {10, k}, {k, 10}, {0, 10}}};
    Volume v = makeVolume({quarter});
    v.fitType = 2;
    v.precision = 0.05;
    useVolumes({v});
    MemoryStream out;
    EXPECT_EQ(kNoErr, plotVolume(v, kLanguageHPGL, out.file()));
    std::string text = out.text();
    ASSERT_EQ(text.rfind("PU400,0;\r\nPD;AA", 0), 0u) << text;
    // Every arc centre is close to the circle's centre; the sweeps add up to a quarter turn.
    std::regex arc("PD;AA(-?\\d+),(-?\\d+),(-?[0-9.]+);");
    double sweep = 0;
    int arcs = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), arc); it != std::sregex_iterator(); ++it) {
        EXPECT_LE(std::abs(std::stol((*it)[1])), 8);
        EXPECT_LE(std::abs(std::stol((*it)[2])), 8);
        sweep += std::stod((*it)[3]);
        arcs++;
    }
    EXPECT_GE(arcs, 1);
    EXPECT_NEAR(sweep, 90.0, 0.5);
    g->volumes = nullptr;
}

TEST_F(PlotOutTest, PlainFitTypeWritesNoGeometry)
{
    Volume v = makeVolume({line(0, 0, 4, 0)});
    v.fitType = 0;
    MemoryStream out;
    EXPECT_EQ(kNoErr, plotVolume(v, kLanguageHPGL, out.file()));
    EXPECT_EQ(out.text(), "");
    volumes_.push_back(v);
}

// ---- Overcut --------------------------------------------------------------------------

TEST_F(PlotOutTest, OvercutMakesEveryStraightSegmentASeparateLongerCut)
{
    g->overCut = 1;
    g->overCutStart = 1.0;
    g->overCutEnd = 1.0;
    Volume v = makeVolume({line(0, 0, 10, 0), line(10, 0, 10, 10), line(10, 10, 0, 10), line(0, 10, 0, 0)});
    volumes_.push_back(v);
    MemoryStream out;
    EXPECT_EQ(kNoErr, plotVolume(v, kLanguageHPGL, out.file()));
    EXPECT_EQ(out.text(),
              "PU-40,0;\r\nPD0,0;\r\nPD400,0;\r\nPD440,0;\r\n"
              "PU400,-40;\r\nPD400,0;\r\nPD400,400;\r\nPD400,440;\r\n"
              "PU440,400;\r\nPD400,400;\r\nPD0,400;\r\nPD-40,400;\r\n"
              "PU0,440;\r\nPD0,400;\r\nPD0,0;\r\nPD0,-40;\r\n");
}

TEST_F(PlotOutTest, OvercutLeavesCurvesAloneAndZeroLengthSegmentsUndivided)
{
    g->overCut = 1;
    g->overCutStart = 1.0;
    g->overCutEnd = 1.0;
    bezier_stru curve = {3, {{10, 0}, {12, 2}, {12, 4}, {10, 6}}};
    Volume v = makeVolume({line(0, 0, 10, 0), curve, line(10, 6, 10, 6)});
    volumes_.push_back(v);
    MemoryStream out;
    EXPECT_EQ(kNoErr, plotVolume(v, kLanguageGPGL, out.file()));
    std::string text = out.text();
    EXPECT_EQ(text.find("nan"), std::string::npos);
    // After the first segment's overcut end the curve starts with a move to
    // its first point and gets no lead-in.
    EXPECT_NE(text.find("D 440,0" + ETX + "\r\nM 400,0" + ETX + "\r\nD "), std::string::npos) << text;
    // The point-sized segment (no direction) gets no overcut: a draw to itself.
    std::string last = "D 400,240" + ETX + "\r\nD 400,240" + ETX + "\r\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last) << text;
}

// ---- Dot cut ---------------------------------------------------------------------------

TEST_F(PlotOutTest, DotCutPiecesContinueOrStartAfresh)
{
    pens_[1].Pressure = 120.7;
    Volume v = makeVolume({line(0, 0, 1, 0)});
    volumes_.push_back(v);
    Ring first = v.rings[0];
    Ring touching = first;
    bezier_stru b2 = line(1, 0, 2, 0);
    touching.beziers = &b2;
    Ring apart = first;
    bezier_stru b3 = line(3, 0, 4, 0);
    apart.beziers = &b3;
    double offset[2] = {0, 0};

    MemoryStream out;
    resetDotCutEnd();
    EXPECT_EQ(kNoErr, plotRingTagged(first, kLanguageHPGL, out.file(), v, offset, "1"));
    EXPECT_EQ(kNoErr, plotRingTagged(touching, kLanguageHPGL, out.file(), v, offset, "0"));
    EXPECT_EQ(kNoErr, plotRingTagged(apart, kLanguageHPGL, out.file(), v, offset, "7"));  // no such pen: no header
    EXPECT_EQ(out.text(),
              "PU1,0;\nPU0,0;\nFS120;\nPU0,0;\r\nPD40,0;\r\n"
              "PU41,0;\nPU40,0;\nFS80;\nPD80,0;\r\n"
              "PU120,0;\r\nPD160,0;\r\n");
}

// The header before a dot-cut piece sets the force of the pen its tag names;
// a tag naming no pen gets none, also one whose low 32 bits name a pen.
TEST_F(PlotOutTest, DotCutHeaderSetsTheForceOfThePenItsTagNames)
{
    pens_[0].Pressure = 11;
    pens_[1].Pressure = 22;
    pens_[2].Pressure = 33;
    Volume v = makeVolume({line(1, 2, 3, 2)});
    volumes_.push_back(v);
    double offset[2] = {0, 0};
    const std::string header = "PU41,80;\nPU40,80;\n", cut = "M 40,80" + ETX + "\r\nD 120,80" + ETX + "\r\n";
    const struct {
        const char* tag;
        const char* force;
    } rows[] = {
        {"2", "FS33;\n"}, {"0", "FS11;\n"}, {"no digits", "FS11;\n"}, {"3", ""},
        {"-1", ""},        {"4294967296", ""}, {"4294967298", ""},          {"99999999999999999999", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tag);
        MemoryStream out;
        resetDotCutEnd();
        EXPECT_EQ(kNoErr, plotRingTagged(v.rings[0], kLanguageGPGL, out.file(), v, offset, row.tag));
        EXPECT_EQ(out.text(), (*row.force ? header + row.force : std::string()) + cut);
    }
}

// ---- Sink -------------------------------------------------------------------------------

TEST_F(PlotOutTest, NoStreamAndNoUsbWritesNothing)
{
    useVolumes({tagged(1, 1)});
    unsigned char penUp = 1;
    EXPECT_EQ(initialPloter(kLanguageHPGL, nullptr), kNoErr);
    Color colours[] = {color(255)};
    EXPECT_EQ(plotOutGlobalVolumes(nullptr, 0, colours, 1, kLanguageHPGL, nullptr, 0), kNoErr);
    EXPECT_EQ(lineOutCutOff(Vexa_Line{0, 1, 2, 1}, kLanguageHPGL, nullptr, &penUp), kNoErr);
    EXPECT_EQ(endOfPlotOut(kLanguageHPGL, nullptr), kNoErr);
    EXPECT_EQ(penUp, 1);
}

// Without a stream the job goes to the cutter, one command per transfer, and
// a cutter that stops taking data stops the job with its error.
TEST_F(PlotOutTest, WithoutAStreamEveryCommandIsOneUsbTransfer)
{
    using namespace vt::host::usb;
    auto bus = useFakeBus();
    auto cutter = std::make_shared<FakeDevice>(0x0ABC, 0x1234);
    cutter->addInterface({bulkOut(1, 64), bulkIn(2, 64)});
    bus->plug(cutter);
    ASSERT_EQ(USB_Open(0x1234, 0x0ABC), kNoErr);
    g->usbOutput = 1;
    useVolumes({tagged(1, 1)});
    Color colours[] = {color(255, 5, 1)};

    EXPECT_EQ(initialPloter(kLanguageGPGL, nullptr), kNoErr);
    EXPECT_EQ(plotOutGlobalVolumes(nullptr, 0, colours, 1, kLanguageGPGL, nullptr, 0), kNoErr);
    EXPECT_EQ(endOfPlotOut(kLanguageGPGL, nullptr), kNoErr);
    std::vector<std::string> commands;
    for (const FakeTransfer& t : cutter->transfers())
        commands.push_back(t.data);
    EXPECT_EQ(commands, (std::vector<std::string>{"J2" + ETX + "\r\n", "M 0,0" + ETX + "\r\n",
                                                  "D 40,0" + ETX + "\r\n", "O 0,0" + ETX + "\r\n"}));

    cutter->setStalled(true);
    EXPECT_NE(plotOutGlobalVolumes(nullptr, 0, colours, 1, kLanguageGPGL, nullptr, 0), kNoErr);
    (void)USB_Close();  // a stalled cutter may refuse the close too; the send is what is tested
    setBus(nullptr);
}

TEST_F(PlotOutTest, AFullDiskIsReported)
{
    FILE* full = fopen("/dev/full", "w");
    if (full == nullptr)
        GTEST_SKIP() << "/dev/full is not available";
    useVolumes({tagged(1, 1)});
    Color colours[] = {color(255)};
    // Buffered: the failure shows when the bytes leave the buffer at the latest.
    ASErr body = plotOutGlobalVolumes(nullptr, 0, colours, 1, kLanguageHPGL, full, 0);
    ASErr end = endOfPlotOut(kLanguageHPGL, full);
    EXPECT_TRUE(body == kWriteErr || end == kWriteErr);
    fclose(full);

    full = fopen("/dev/full", "w");
    setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(plotOutGlobalVolumes(nullptr, 0, colours, 1, kLanguageHPGL, full, 0), kWriteErr);
    fclose(full);
}

}  // namespace

// ---- An independent reader -----------------------------------------------------------

namespace {

std::string readAll(const std::string& path)
{
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    return text;
}

// The quarter circles of a whole circle as four Bezier segments.
std::vector<bezier_stru> circle(double cx, double cy, double r)
{
    const double k = 0.5522847498 * r;
    return {
        {3, {{cx + r, cy}, {cx + r, cy + k}, {cx + k, cy + r}, {cx, cy + r}}},
        {3, {{cx, cy + r}, {cx - k, cy + r}, {cx - r, cy + k}, {cx - r, cy}}},
        {3, {{cx - r, cy}, {cx - r, cy - k}, {cx - k, cy - r}, {cx, cy - r}}},
        {3, {{cx, cy - r}, {cx + k, cy - r}, {cx + r, cy - k}, {cx + r, cy}}},
    };
}

}  // namespace

// hp2xx reads our HPGL (arcs included) and must find the drawing where the
// job's geometry puts it, in plotter steps.
TEST_F(PlotOutTest, HpglJobReadBackByHp2xx)
{
    if (std::system("command -v hp2xx >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "hp2xx is not installed";
    char folder[] = "/tmp/vantorel-hp2xx-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string job = std::string(folder) + "/job.plt";
    std::string normal = std::string(folder) + "/normal.hpgl";
    std::string log = std::string(folder) + "/log.txt";

    // A 40 x 20 mm rectangle at (5, 5) and a circle of radius 10 around (60, 15).
    Volume box = makeVolume({line(0, 0, 40, 0), line(40, 0, 40, 20), line(40, 20, 0, 20), line(0, 20, 0, 0)}, 1);
    box.rect[0] = box.rect[3] = 5;
    Volume ring = makeVolume(circle(10, 10, 10), 2);
    ring.rect[0] = 50;
    ring.rect[3] = 5;
    ring.fitType = 2;
    ring.precision = 0.05;
    useVolumes({box, ring});
    strcpy(g->curPlotter.PlotterIniString, "");
    Color colours[] = {color(0, 0)};

    FILE* file = fopen(job.c_str(), "w");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(initialPloter(kLanguageHPGL, file), kNoErr);
    ASSERT_EQ(plotOutGlobalVolumes(nullptr, 0, colours, 1, kLanguageHPGL, file, 0), kNoErr);
    ASSERT_EQ(endOfPlotOut(kLanguageHPGL, file), kNoErr);
    fclose(file);
    ASSERT_NE(readAll(job).find("PD;AA"), std::string::npos) << "the circle goes out as arcs";

    std::string command = "hp2xx -t -m hpgl -f " + normal + " " + job + " >" + log + " 2>&1 </dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << readAll(log);

    std::smatch m;
    std::string report = readAll(log);
    std::regex range("Coordinate range: \\(([-0-9.e+]+), ([-0-9.e+]+)\\) \\.\\.\\. \\(([-0-9.e+]+), ([-0-9.e+]+)\\)");
    ASSERT_TRUE(std::regex_search(report, m, range)) << report;
    double x0 = std::stod(m[1]), y0 = std::stod(m[2]), x1 = std::stod(m[3]), y1 = std::stod(m[4]);
    EXPECT_NEAR(x0, 200, 2);   // box left, 5 mm
    EXPECT_NEAR(y0, 200, 2);   // bottoms, 5 mm
    EXPECT_NEAR(x1, 2800, 2);  // circle right, 70 mm
    EXPECT_NEAR(y1, 1000, 2);  // tops, 25 mm

    // The normalised HPGL lies shifted to the range's lower-left corner: its
    // first move is the box's first corner, its last draw the circle's end.
    std::string drawn = readAll(normal);
    std::regex point("P([UD])(-?[0-9.]+),(-?[0-9.]+);");
    std::vector<std::tuple<char, double, double>> points;
    for (auto it = std::sregex_iterator(drawn.begin(), drawn.end(), point); it != std::sregex_iterator(); ++it)
        points.emplace_back((*it)[1].str()[0], std::stod((*it)[2]) + x0, std::stod((*it)[3]) + y0);
    ASSERT_GE(points.size(), 6u) << drawn;
    auto firstMove = points.front();
    EXPECT_EQ(std::get<0>(firstMove), 'U');
    EXPECT_NEAR(std::get<1>(firstMove), 200, 2);
    EXPECT_NEAR(std::get<2>(firstMove), 200, 2);
    auto lastDraw = points.back();
    EXPECT_EQ(std::get<0>(lastDraw), 'D');
    // Arc centres are truncated to whole steps and each arc starts where the
    // last one ended, so the circle may close up to about a step per arc off.
    EXPECT_NEAR(std::get<1>(lastDraw), 2800, 5);
    EXPECT_NEAR(std::get<2>(lastDraw), 600, 5);

    std::system(("rm -rf " + std::string(folder)).c_str());
}
