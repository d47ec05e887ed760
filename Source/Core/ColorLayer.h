// The colour and layer tables of a job: one entry per distinct colour or layer
// of the loaded volumes, in cutting order. The Plot Out dialog owns both tables
// (heap arrays with a count); these functions build, reorder and free them,
// number the volumes of each group from left to right, and show or hide the
// volumes of a group.
#pragma once

#include <stdint.h>

#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "Core/ColorLayerRecords.h"
#include "Core/CutModelRecords.h"

// The layer that holds the registration marks; its volumes are never numbered
// automatically.
#ifndef kMarksLayerName
#define kMarksLayerName "Layer of 4 Marks Printed"
#endif

// Whether a volume belongs to a colour entry: same colour kind and same R, G, B.
// Every reader of the colour groups (numbering, visibility, output) uses this
// one test, so no volume ever belongs to two entries and none is cut twice.
bool volumeMatchesColor(const Volume* volume, const Color* color);

// Whether a volume belongs to a layer entry (the layer title as far as the
// entry can hold it).
bool volumeMatchesLayer(const Volume* volume, const Layer* layer);
bool layerNameMatches(const char* volumeLayerName, const char* layerName);

// The display name of a colour entry of the given kind and R, G, B, e.g.
// "R:FF G: 0 B: 0 RGB" or "R:?? G:?? B:?? NoneColor"; at most size - 1 bytes.
void makeColorName(uint32_t kind, const uint16_t (&rgb)[3], char* name, size_t size);

// Append one entry per distinct colour (layer) of the volumes, in volume order,
// to the table (null and 0 to start with). 0, or '!Mem' when the table could
// not grow (the entries built so far stay valid).
VT_NODISCARD ASErr loadColor(Color** table, int32_t* count);
VT_NODISCARD ASErr loadLayer(Layer** table, int32_t* count);

// Free and null the command texts of every entry; the array stays the caller's.
VT_NODISCARD ASErr freeColor(Color* table, int32_t count);
VT_NODISCARD ASErr freeLayer(Layer* table, int32_t count);

// Exchange entries i and j when both lie inside the table.
VT_NODISCARD ASErr moveColorTable(Color* table, int32_t count, int32_t i, int32_t j);
VT_NODISCARD ASErr moveLayerTable(Layer* table, int32_t count, int32_t i, int32_t j);

// Number the volumes group by group in table order, each group from 1 and left
// to right; volumes of the marks layer keep -1.
VT_NODISCARD ASErr setVolumeIndexColorAuto(const Color* colors, int32_t count);
VT_NODISCARD ASErr setVolumeIndexLayerAuto(const Layer* layers, int32_t count);
VT_NODISCARD ASErr sortVolumeOnColor(const Color* color);
VT_NODISCARD ASErr sortVolumeOnLayer(const Layer* layer);

// Show (visible 1) or hide (0) the volumes of one group; a hidden volume is also
// deselected. The total cut length is recomputed.
VT_NODISCARD ASErr setVolumeColorVisible(const Color* color, uint8_t visible);
VT_NODISCARD ASErr setVolumeLayerVisible(const char* layerName, uint8_t visible);

// Apply every entry's own visible flag to its volumes.
VT_NODISCARD ASErr updateVisibleColor(const Color* colors, int32_t count);
VT_NODISCARD ASErr updateVisibleLayer(const Layer* layers, int32_t count);

// Show only the volumes of the entry at activeEntry (the list's active entry;
// a negative index, meaning no active entry, counts as the first entry; an
// index past the table shows nothing). The entries' flags are not changed.
VT_NODISCARD ASErr showSelectColor(int32_t activeEntry, const Color* colors, int32_t count);
VT_NODISCARD ASErr showSelectLayer(int32_t activeEntry, const Layer* layers, int32_t count);
