// make-job: writes a generated cut job (see bench/JobGenerator.h) as SVG, for
// measuring vantorel-host plot by hand.
//
//     make-job CURVES OUT.svg [LAYERS [GROUPS-PER-LAYER]]
#include <cstdio>
#include <cstdlib>

#include "../JobGenerator.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make-job CURVES OUT.svg [LAYERS [GROUPS-PER-LAYER]]\n");
        return 2;
    }
    vt::bench::JobShape shape;
    shape.curves = std::atoi(argv[1]);
    if (argc > 3) shape.layers = std::atoi(argv[3]);
    if (argc > 4) shape.groupsPerLayer = std::atoi(argv[4]);
    if (shape.curves < 1 || shape.layers < 1 || shape.groupsPerLayer < 0) {
        std::fprintf(stderr, "make-job: CURVES and LAYERS must be positive, GROUPS-PER-LAYER not negative\n");
        return 2;
    }
    if (!vt::bench::writeJob(shape, argv[2])) {
        std::fprintf(stderr, "make-job: %s cannot be written\n", argv[2]);
        return 1;
    }
    std::printf("%s: %d curves, %ld points\n", argv[2], shape.curves, vt::bench::jobPoints(shape));
    return 0;
}
