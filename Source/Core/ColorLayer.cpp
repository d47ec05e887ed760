// Colour and layer tables of a job, automatic cut order and visibility by group.
#include "Core/ColorLayer.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Core/CutModel.h"
#include "Core/UndoHistory.h"

bool volumeMatchesColor(const Volume* volume, const Color* color)
{
    return volume->colorKind == color->kind && volume->colorRGB[0] == color->rgb[0] &&
           volume->colorRGB[1] == color->rgb[1] && volume->colorRGB[2] == color->rgb[2];
}

// A layer entry holds at most sizeof(Layer::name) - 1 bytes of the title, so
// titles are compared as far as that; a longer title still finds its entry.
bool layerNameMatches(const char* volumeLayerName, const char* layerName)
{
    return strncmp(volumeLayerName, layerName, sizeof(((Layer*)0)->name) - 1) == 0;
}

bool volumeMatchesLayer(const Volume* volume, const Layer* layer)
{
    return layerNameMatches(volumeLayerName(volume), layer->name);
}

static bool onMarksLayer(const Volume* volume)
{
    return strcmp(volumeLayerName(volume), kMarksLayerName) == 0;
}

void makeColorName(uint32_t kind, const uint16_t (&rgb)[3], char* name, size_t size)
{
    static const char* const kinds[] = {"Gray", "CMYK", "Pattern", "Custom", "Gradient", "RGB"};
    if (size == 0)
        return;
    if (kind == kVolumeColorNone) {
        snprintf(name, size, "R:?? G:?? B:?? NoneColor");
        return;
    }
    const char* kindName = kind < sizeof(kinds) / sizeof(kinds[0]) ? kinds[kind] : "Unknown";
    snprintf(name, size, "R:%2X G:%2X B:%2X %s", (unsigned)rgb[0], (unsigned)rgb[1], (unsigned)rgb[2], kindName);
}

// ---- The two tables -----------------------------------------------------------
// A colour table and a layer table are built, freed and reordered alike; only
// what makes a volume belong to an entry and what an entry takes from its
// first volume differ.

static bool belongsToEntry(const Volume* volume, const Color* entry)
{
    return volumeMatchesColor(volume, entry);
}

static bool belongsToEntry(const Volume* volume, const Layer* entry)
{
    return volumeMatchesLayer(volume, entry);
}

static void takeFromVolume(Color* entry, const Volume* volume)
{
    entry->kind = volume->colorKind;
    memcpy(entry->rgb, volume->colorRGB, sizeof(entry->rgb));
    makeColorName(entry->kind, entry->rgb, entry->name, sizeof(entry->name));
}

static void takeFromVolume(Layer* entry, const Volume* volume)
{
    // A title longer than the entry holds is cut; layerNameMatches compares
    // only as far, so its volumes still belong to the entry.
    const char* title = volumeLayerName(volume);
    size_t length = strnlen(title, sizeof(entry->name) - 1);
    memcpy(entry->name, title, length);
    entry->name[length] = '\0';
    memcpy(entry->layerColor, volume->layerColor, sizeof(entry->layerColor));
}

template <typename Entry>
VT_NODISCARD static ASErr loadTable(Entry** table, int32_t* count)
{
    if (*table == NULL)
        *count = 0;
    if (g->volumes == NULL)
        return kNoErr;
    for (int32_t v = 0; v < g->volumeCount; v++) {
        const Volume* volume = &g->volumes[v];
        bool known = false;
        for (int32_t i = 0; i < *count && !known; i++)
            known = belongsToEntry(volume, &(*table)[i]);
        if (known)
            continue;
        Entry* grown = (Entry*)realloc(*table, (*count + 1) * sizeof(Entry));
        if (grown == NULL)
            return kMemoryErr;
        *table = grown;
        Entry* entry = &grown[*count];
        memset(entry, 0, sizeof(Entry));
        takeFromVolume(entry, volume);
        entry->visible = 1;
        (*count)++;
    }
    return kNoErr;
}

template <typename Entry>
VT_NODISCARD static ASErr freeTable(Entry* table, int32_t count)
{
    if (table == NULL)
        return kNoErr;
    for (int32_t i = 0; i < count; i++) {
        free(table[i].postText);
        table[i].postText = NULL;
        free(table[i].preText);
        table[i].preText = NULL;
    }
    return kNoErr;
}

template <typename Entry>
VT_NODISCARD static ASErr moveTable(Entry* table, int32_t count, int32_t i, int32_t j)
{
    if (table == NULL || i < 0 || j < 0 || i >= count || j >= count)
        return kNoErr;
    Entry temp = table[i];
    table[i] = table[j];
    table[j] = temp;
    return kNoErr;
}

ASErr loadColor(Color** table, int32_t* count)
{
    return loadTable(table, count);
}

ASErr loadLayer(Layer** table, int32_t* count)
{
    return loadTable(table, count);
}

ASErr freeColor(Color* table, int32_t count)
{
    return freeTable(table, count);
}

ASErr freeLayer(Layer* table, int32_t count)
{
    return freeTable(table, count);
}

ASErr moveColorTable(Color* table, int32_t count, int32_t i, int32_t j)
{
    return moveTable(table, count, i, j);
}

ASErr moveLayerTable(Layer* table, int32_t count, int32_t i, int32_t j)
{
    return moveTable(table, count, i, j);
}

// ---- Automatic cut order ----------------------------------------------------

struct OrderKey {
    float left;
    int32_t pos;
};

// Left to right; of two volumes with the same left edge the later one in the
// array is cut first.
static int compareOrderKey(const void* a, const void* b)
{
    const OrderKey* x = (const OrderKey*)a;
    const OrderKey* y = (const OrderKey*)b;
    if (x->left < y->left)
        return -1;
    if (x->left > y->left)
        return 1;
    return (x->pos > y->pos) ? -1 : (x->pos < y->pos) ? 1 : 0;
}

// Numbers from 1, left to right, the volumes not yet numbered that belong to
// the group. One sort of the group instead of a search per number.
VT_NODISCARD static ASErr numberGroup(bool (*belongs)(const Volume*, const void*), const void* entry)
{
    OrderKey* keys = (OrderKey*)malloc((size_t)g->volumeCount * sizeof(OrderKey));
    if (keys == NULL)
        return kMemoryErr;
    int32_t n = 0;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        const Volume* volume = &g->volumes[i];
        if (volume->index == -1 && belongs(volume, entry)) {
            keys[n].left = volume->rect[0];
            keys[n].pos = i;
            n++;
        }
    }
    qsort(keys, (size_t)n, sizeof(OrderKey), compareOrderKey);
    for (int32_t k = 0; k < n; k++)
        g->volumes[keys[k].pos].index = k + 1;
    free(keys);
    return kNoErr;
}

static bool belongsToColor(const Volume* volume, const void* entry)
{
    return !onMarksLayer(volume) && volumeMatchesColor(volume, (const Color*)entry);
}

static bool belongsToLayer(const Volume* volume, const void* entry)
{
    return volumeMatchesLayer(volume, (const Layer*)entry);
}

ASErr sortVolumeOnColor(const Color* color)
{
    if (g->volumes == NULL || g->volumeCount <= 0)
        return kNoErr;
    return numberGroup(belongsToColor, color);
}

ASErr sortVolumeOnLayer(const Layer* layer)
{
    if (g->volumes == NULL || g->volumeCount <= 0)
        return kNoErr;
    return numberGroup(belongsToLayer, layer);
}

static void clearIndexes()
{
    for (int32_t i = 0; i < g->volumeCount; i++)
        g->volumes[i].index = -1;
}

// The marks layer's volumes are never numbered: colour groups leave them out
// volume by volume (belongsToColor), the layer table skips the marks entry.
static bool numbersItsGroup(const Color&)
{
    return true;
}

static bool numbersItsGroup(const Layer& layer)
{
    return strcmp(layer.name, kMarksLayerName) != 0;
}

VT_NODISCARD static ASErr sortVolumeOn(const Color* color)
{
    return sortVolumeOnColor(color);
}

VT_NODISCARD static ASErr sortVolumeOn(const Layer* layer)
{
    return sortVolumeOnLayer(layer);
}

template <typename Entry>
VT_NODISCARD static ASErr setVolumeIndexAuto(const Entry* entries, int32_t count)
{
    if (g->volumes == NULL || g->volumeCount <= 0)
        return kNoErr;
    clearIndexes();
    ASErr error = kNoErr;
    for (int32_t i = 0; entries != NULL && i < count; i++) {
        if (!numbersItsGroup(entries[i]))
            continue;
        ASErr result = sortVolumeOn(&entries[i]);
        if (result != kNoErr)
            error = result;
    }
    return error;
}

ASErr setVolumeIndexColorAuto(const Color* colors, int32_t count)
{
    return setVolumeIndexAuto(colors, count);
}

ASErr setVolumeIndexLayerAuto(const Layer* layers, int32_t count)
{
    return setVolumeIndexAuto(layers, count);
}

// ---- Visibility ---------------------------------------------------------------

static void setVisible(Volume* volume, uint8_t visible)
{
    if (visible)
        volume->flags |= kVolumeVisible;
    else
        volume->flags &= ~(uint32_t)(kVolumeVisible | kVolumeSelected);
}

// A colour group is named by its entry, a layer group by the layer's title.
static bool inGroup(const Volume* volume, const Color* color)
{
    return volumeMatchesColor(volume, color);
}

static bool inGroup(const Volume* volume, const char* layerName)
{
    return layerNameMatches(volumeLayerName(volume), layerName);
}

static const Color* groupOf(const Color& color)
{
    return &color;
}

static const char* groupOf(const Layer& layer)
{
    return layer.name;
}

template <typename Group>
VT_NODISCARD static ASErr setGroupVisible(Group group, uint8_t visible)
{
    if (group == NULL || g->volumes == NULL)
        return kNoErr;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        if (inGroup(&g->volumes[i], group))
            setVisible(&g->volumes[i], visible);
    }
    return getGlobalDistance(&g->totalCutLength);
}

template <typename Entry>
VT_NODISCARD static ASErr updateVisible(const Entry* entries, int32_t count)
{
    ASErr error = kNoErr;
    for (int32_t i = 0; error == kNoErr && entries != NULL && i < count; i++)
        error = setGroupVisible(groupOf(entries[i]), entries[i].visible);
    return error;
}

template <typename Entry>
VT_NODISCARD static ASErr showSelect(int32_t activeEntry, const Entry* entries, int32_t count)
{
    if (entries == NULL || count <= 0)
        return kNoErr;
    ASErr error = kNoErr;
    for (int32_t i = 0; error == kNoErr && i < count; i++)
        error = setGroupVisible(groupOf(entries[i]), 0);
    int32_t shown = std::max(activeEntry, 0);
    if (error == kNoErr && shown < count)
        error = setGroupVisible(groupOf(entries[shown]), 1);
    return error;
}

ASErr setVolumeColorVisible(const Color* color, uint8_t visible)
{
    return setGroupVisible(color, visible);
}

ASErr setVolumeLayerVisible(const char* layerName, uint8_t visible)
{
    return setGroupVisible(layerName, visible);
}

ASErr updateVisibleColor(const Color* colors, int32_t count)
{
    return updateVisible(colors, count);
}

ASErr updateVisibleLayer(const Layer* layers, int32_t count)
{
    return updateVisible(layers, count);
}

ASErr showSelectColor(int32_t activeEntry, const Color* colors, int32_t count)
{
    return showSelect(activeEntry, colors, count);
}

ASErr showSelectLayer(int32_t activeEntry, const Layer* layers, int32_t count)
{
    return showSelect(activeEntry, layers, count);
}
