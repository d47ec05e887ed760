// The per-job tables of colour groups and layer groups. A job is cut group by
// group; the order of the entries is the cutting order. Each entry carries the
// pen its volumes are cut with and two optional command texts sent before and
// after them.
#pragma once

#include <stdint.h>

// One distinct fill colour of the loaded volumes, keyed by colour kind and RGB.
struct Color {
    uint32_t kind;     // host colour tag of the volumes' fill (0 gray .. 6 none)
    int32_t pen;       // index into the current environment's pens
    uint8_t pause;     // pause option of the group; not written to the stream
    char name[255];    // display name
    uint16_t rgb[3];   // R, G, B 0..255
    uint8_t visible;   // 1 = the group's volumes are shown
    char* preText;     // heap command text sent before the group's volumes, or null
    char* postText;    // heap command text sent after them, or null
};

// One distinct layer of the loaded volumes, keyed by the layer title.
struct Layer {
    int32_t pen;
    uint8_t pause;
    char name[255];          // the layer title
    uint16_t layerColor[3];  // the host layer colour of the first volume on it
    uint8_t visible;
    char* preText;
    char* postText;
};
