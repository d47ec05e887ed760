// make-job: writes a generated cut job (see bench/JobGenerator.h) as SVG, for
// measuring vantorel-host plot by hand.
//
//     make-job CURVES OUT.svg [LAYERS [GROUPS-PER-LAYER]] [--segments N] [--square MM] [--polylines]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../JobGenerator.h"

namespace {

const char kUsage[] = "usage: make-job CURVES OUT.svg [LAYERS [GROUPS-PER-LAYER]] [--segments N] [--square MM] [--polylines]\n";

// A whole number or a length in full, or false.
bool number(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv)
{
    vt::bench::JobShape shape;
    std::vector<const char*> words;
    for (int i = 1; i < argc; ++i) {
        double value = 0;
        if (std::strcmp(argv[i], "--polylines") == 0) {
            shape.polylines = true;
        } else if ((std::strcmp(argv[i], "--segments") == 0 || std::strcmp(argv[i], "--square") == 0) && i + 1 < argc) {
            if (!number(argv[i + 1], value) || !(value > 0 && value < 1e6)) {
                std::fprintf(stderr, "make-job: %s takes a positive number, not \"%s\"\n", argv[i], argv[i + 1]);
                return 2;
            }
            if (argv[i][2] == 's' && argv[i][3] == 'e')
                shape.segments = static_cast<int>(value);
            else
                shape.square = value;
            ++i;
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            std::fprintf(stderr, "make-job: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        } else {
            words.push_back(argv[i]);
        }
    }
    if (words.size() < 2 || words.size() > 4) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    shape.curves = std::atoi(words[0]);
    if (words.size() > 2) shape.layers = std::atoi(words[2]);
    if (words.size() > 3) shape.groupsPerLayer = std::atoi(words[3]);
    if (shape.curves < 1 || shape.layers < 1 || shape.groupsPerLayer < 0) {
        std::fprintf(stderr, "make-job: CURVES and LAYERS must be positive, GROUPS-PER-LAYER not negative\n");
        return 2;
    }
    if (!vt::bench::writeJob(shape, words[1])) {
        std::fprintf(stderr, "make-job: %s cannot be written\n", words[1]);
        return 1;
    }
    std::printf("%s: %d %s, %ld points\n", words[1], shape.curves, shape.polylines ? "polylines" : "curves",
                vt::bench::jobPoints(shape));
    return 0;
}
