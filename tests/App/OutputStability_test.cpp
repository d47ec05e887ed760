// vantorel-host plot writes the same bytes as it always has: the bundled
// samples against the jobs they gave (checked in beside this file), and
// generated jobs in every command language against the SHA-256 of the jobs
// they gave: 2,000 curves along the roll, loose and in groups of 250 rings of
// distinct areas, and the shapes that fill the preview's first view, 1,000
// overlapping curves and 4,200 polylines styled by their group in a 500 mm
// square.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "HostRun.h"
#include "JobGenerator.h"

namespace {

// SHA-256 (FIPS 180-4), hex.
std::string sha256(const std::string& data)
{
    static const uint32_t k[64] = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
        0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
        0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
        0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
        0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
        0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
        0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
    uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    auto rotr = [](uint32_t x, int n) { return (x >> n) | (x << (32 - n)); };
    std::string msg = data;
    uint64_t bits = static_cast<uint64_t>(data.size()) * 8;
    msg += static_cast<char>(0x80);
    while (msg.size() % 64 != 56) msg += '\0';
    for (int i = 7; i >= 0; --i) msg += static_cast<char>((bits >> (8 * i)) & 0xff);
    for (size_t off = 0; off < msg.size(); off += 64) {
        uint32_t w[64];
        for (int i = 0; i < 16; ++i) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(msg.data() + off + 4 * i);
            w[i] = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
        }
        for (int i = 16; i < 64; ++i) {
            uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
        for (int i = 0; i < 64; ++i) {
            uint32_t t1 = hh + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + k[i] + w[i];
            uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            hh = g, g = f, f = e, e = d + t1, d = c, c = b, b = a, a = t1 + t2;
        }
        uint32_t add[8] = {a, b, c, d, e, f, g, hh};
        for (int i = 0; i < 8; ++i) h[i] += add[i];
    }
    char hex[65];
    for (int i = 0; i < 8; ++i) std::snprintf(hex + 8 * i, 9, "%08x", h[i]);
    return hex;
}

TEST(OutputStability, Sha256OfKnownTexts)
{
    EXPECT_EQ(sha256(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

int plot(const vt::test::TempDir& dir, const std::string& job, const std::string& plotter, bool byColour,
         const std::string& output)
{
    return vt::test::hostToLog(dir,
                               "plot '" + job + "' --plotter '" + plotter + "' -o '" + output + "'" +
                                   (byColour ? " --by-colour" : ""),
                               "log.txt");
}

struct Plotter {
    const char* name;
    const char* file;  // as the expected jobs are named
};

const Plotter kPlotters[] = {
    {"Generic 24in Drag Knife", "generic-24in-drag-knife"},           // HPGL
    {"Generic 48in Drag Knife", "generic-48in-drag-knife"},           // HPGL
    {"Generic 15in Desktop Cutter", "generic-15in-desktop-cutter"},   // GPGL
    {"Generic 30in Contour Cutter", "generic-30in-contour-cutter"},   // MGL_IC1
    {"Generic 54in Production Cutter", "generic-54in-production-cutter"},  // DMGL
    {"Generic 12in Hobby Cutter", "generic-12in-hobby-cutter"},       // GPGL
};

TEST(OutputStability, SamplesGiveTheJobsTheyAlwaysGave)
{
    vt::test::TempDir dir;
    const std::string expected = VANTOREL_SOURCE_DIR "/tests/App/OutputStability/";
    for (const char* sample : {"open-sign", "club-logo"}) {
        for (const Plotter& plotter : kPlotters) {
            for (bool byColour : {false, true}) {
                std::string name = std::string(sample) + "." + plotter.file + (byColour ? ".by-colour" : "") + ".out";
                std::string want = vt::test::readFile(expected + name);
                if (want.empty()) continue;  // not every plotter is kept by colour too
                SCOPED_TRACE(name);
                ASSERT_EQ(plot(dir, VANTOREL_SOURCE_DIR "/samples/" + std::string(sample) + ".svg", plotter.name,
                               byColour, dir.file("job.out")),
                          0)
                    << vt::test::readFile(dir.file("log.txt"));
                EXPECT_EQ(vt::test::readFile(dir.file("job.out")), want);
            }
        }
    }
}

TEST(OutputStability, GeneratedJobsGiveTheJobsTheyAlwaysGave)
{
    enum { kLoose, kGroups, kSquareCurves, kSquarePolylines, kJobs };
    struct Row {
        const char* what;
        int job;
        int plotter;  // of kPlotters
        bool byColour;
        const char* sha256;
    } rows[] = {
        {"loose curves, HPGL", kLoose, 0, false, "85fc35a620fbb3677ee3df84fcc236ed9deb98d6abcde4fc1ce528e79d835dd7"},
        {"loose curves, GPGL", kLoose, 2, false, "5331d67e2c36392a026bf3154265bb67b7a5b3b0fc9d8427761b73a8e366fd00"},
        {"loose curves, MGL_IC1", kLoose, 3, false, "ec8e8e70dba51e250e0716a544b31952f241149b428570fb42ef62f6a9fbc55f"},
        {"loose curves, DMGL", kLoose, 4, false, "0d77d7fbbf2d4a52240df3b358c1d77dff6aedecc58810f478b25deae8043d99"},
        {"groups of 250, HPGL", kGroups, 0, false, "066a4efb63edeb7e9b95162e0fd2c15bd782da1ba72e89b908f31e759ea34abe"},
        {"groups of 250, GPGL", kGroups, 2, false, "5b0c2b021a1ac8ef5db92f818780d069a3e4e5d489a5892738f1ac6fe3f99667"},
        {"groups of 250, MGL_IC1", kGroups, 3, false, "57e2c2e0e56f9a6fc17ec831ad8beedf0ff980cea4dc807908ce666946346802"},
        {"groups of 250, DMGL", kGroups, 4, false, "6e9e993056a2cce4648b92bbe0ba719291cd24128bf5f5ede9459fe38fb3126f"},
        {"groups of 250 by colour, HPGL", kGroups, 0, true, "ed29a8830d89e5a3ef3f912570f71c73f6cf0c2b9c0ce81a7089adae4d636d04"},
        {"curves in a square, HPGL", kSquareCurves, 0, false, "b2ea2b8ae627bb141aae34ef6aeadeb8e6075303ab69fddfecca1c5ffcfe8477"},
        {"curves in a square, GPGL", kSquareCurves, 2, false, "6f6bcf9f2ce47b10705d5bd823ab60cb08c666de6be13743e42832a39112d0e9"},
        {"curves in a square, MGL_IC1", kSquareCurves, 3, false, "3770a43000c0eeb2e216949680d0a4c1ab47ed47db19dd26de00ac2455f84c13"},
        {"curves in a square, DMGL", kSquareCurves, 4, false, "35b38de389c830e5fa767b4f313a8b9bdd0d314ed9d73c14c311402be95d70dd"},
        {"polylines in a square, HPGL", kSquarePolylines, 0, false, "255c6024f98d9bd9e1da73ceb32247c8adc126cb165c88664c1e10494b6d275d"},
        {"polylines in a square, GPGL", kSquarePolylines, 2, false, "ac8c9ced32986b793ffa5fd9fbf9850716e8290f18d2c4e0e2503dc345729a01"},
        {"polylines in a square, MGL_IC1", kSquarePolylines, 3, false, "23bf436cac465a299b8222170062ce21ab0e4bd6a4065191ed1c1cffbfe8425e"},
        {"polylines in a square, DMGL", kSquarePolylines, 4, false, "648f4ea7f89fe7bce5c132d96a2cc35b7c10c31fa4b2f2638794e3f3fddd652e"},
    };
    vt::test::TempDir dir;
    vt::bench::JobShape shapes[kJobs];
    shapes[kLoose].curves = shapes[kGroups].curves = 2000;
    shapes[kGroups].groupsPerLayer = 2;
    shapes[kSquareCurves].curves = 1000;
    shapes[kSquareCurves].segments = 8;
    shapes[kSquareCurves].square = 500;
    shapes[kSquarePolylines].curves = 4200;
    shapes[kSquarePolylines].layers = 1;
    shapes[kSquarePolylines].segments = 10;
    shapes[kSquarePolylines].square = 500;
    shapes[kSquarePolylines].polylines = true;
    for (int job = 0; job < kJobs; ++job)
        ASSERT_TRUE(vt::bench::writeJob(shapes[job], dir.file("job" + std::to_string(job) + ".svg")));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_EQ(plot(dir, dir.file("job" + std::to_string(row.job) + ".svg"), kPlotters[row.plotter].name,
                       row.byColour, dir.file("job.out")),
                  0)
            << vt::test::readFile(dir.file("log.txt"));
        std::string job = vt::test::readFile(dir.file("job.out"));
        EXPECT_EQ(sha256(job), row.sha256) << job.size() << " bytes";
    }
}

}  // namespace
