// Colour and layer tables of a job, automatic cut order and visibility by group.
#include "Core/ColorLayer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Core/UndoHistory.h"

static const ASErr kMemoryErr = '!Mem';

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
    return layerNameMatches(volume->layerName, layer->name);
}

static bool onMarksLayer(const Volume* volume)
{
    return strcmp(volume->layerName, kMarksLayerName) == 0;
}

void makeColorName(uint32_t kind, const uint16_t rgb[3], char* name, size_t size)
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

ASErr loadColor(Color** table, int32_t* count)
{
    if (*table == NULL)
        *count = 0;
    if (g->volumes == NULL)
        return kNoErr;
    for (int32_t v = 0; v < g->volumeCount; v++) {
        const Volume* volume = &g->volumes[v];
        bool known = false;
        for (int32_t i = 0; i < *count && !known; i++)
            known = volumeMatchesColor(volume, &(*table)[i]);
        if (known)
            continue;
        Color* grown = (Color*)realloc(*table, (*count + 1) * sizeof(Color));
        if (grown == NULL)
            return kMemoryErr;
        *table = grown;
        Color* entry = &grown[*count];
        memset(entry, 0, sizeof(Color));
        entry->kind = volume->colorKind;
        memcpy(entry->rgb, volume->colorRGB, sizeof(entry->rgb));
        makeColorName(entry->kind, entry->rgb, entry->name, sizeof(entry->name));
        entry->pen = 0;
        entry->pause = 0;
        entry->visible = 1;
        (*count)++;
    }
    return kNoErr;
}

ASErr loadLayer(Layer** table, int32_t* count)
{
    if (*table == NULL)
        *count = 0;
    if (g->volumes == NULL)
        return kNoErr;
    for (int32_t v = 0; v < g->volumeCount; v++) {
        const Volume* volume = &g->volumes[v];
        bool known = false;
        for (int32_t i = 0; i < *count && !known; i++)
            known = volumeMatchesLayer(volume, &(*table)[i]);
        if (known)
            continue;
        Layer* grown = (Layer*)realloc(*table, (*count + 1) * sizeof(Layer));
        if (grown == NULL)
            return kMemoryErr;
        *table = grown;
        Layer* entry = &grown[*count];
        memset(entry, 0, sizeof(Layer));
        // A title longer than the entry holds is cut; layerNameMatches compares
        // only as far, so its volumes still belong to the entry.
        size_t length = strnlen(volume->layerName, sizeof(entry->name) - 1);
        memcpy(entry->name, volume->layerName, length);
        entry->name[length] = '\0';
        memcpy(entry->layerColor, volume->layerColor, sizeof(entry->layerColor));
        entry->pen = 0;
        entry->pause = 0;
        entry->visible = 1;
        (*count)++;
    }
    return kNoErr;
}

ASErr freeColor(Color* table, int32_t count)
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

ASErr freeLayer(Layer* table, int32_t count)
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

ASErr moveColorTable(Color* table, int32_t count, int32_t i, int32_t j)
{
    if (table == NULL || i < 0 || j < 0 || i >= count || j >= count)
        return kNoErr;
    Color temp = table[i];
    table[i] = table[j];
    table[j] = temp;
    return kNoErr;
}

ASErr moveLayerTable(Layer* table, int32_t count, int32_t i, int32_t j)
{
    if (table == NULL || i < 0 || j < 0 || i >= count || j >= count)
        return kNoErr;
    Layer temp = table[i];
    table[i] = table[j];
    table[j] = temp;
    return kNoErr;
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
static ASErr numberGroup(bool (*belongs)(const Volume*, const void*), const void* entry)
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

ASErr setVolumeIndexColorAuto(const Color* colors, int32_t count)
{
    if (g->volumes == NULL || g->volumeCount <= 0)
        return kNoErr;
    clearIndexes();
    ASErr error = kNoErr;
    for (int32_t i = 0; colors != NULL && i < count; i++) {
        ASErr result = sortVolumeOnColor(&colors[i]);
        if (result != kNoErr)
            error = result;
    }
    return error;
}

ASErr setVolumeIndexLayerAuto(const Layer* layers, int32_t count)
{
    if (g->volumes == NULL || g->volumeCount <= 0)
        return kNoErr;
    clearIndexes();
    ASErr error = kNoErr;
    for (int32_t i = 0; layers != NULL && i < count; i++) {
        if (strcmp(layers[i].name, kMarksLayerName) == 0)
            continue;
        ASErr result = sortVolumeOnLayer(&layers[i]);
        if (result != kNoErr)
            error = result;
    }
    return error;
}

// ---- Visibility ---------------------------------------------------------------

static void setVisible(Volume* volume, uint8_t visible)
{
    if (visible)
        volume->flags |= kVolumeVisible;
    else
        volume->flags &= ~(uint32_t)(kVolumeVisible | kVolumeSelected);
}

ASErr setVolumeColorVisible(const Color* color, uint8_t visible)
{
    if (color == NULL || g->volumes == NULL)
        return kNoErr;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        if (volumeMatchesColor(&g->volumes[i], color))
            setVisible(&g->volumes[i], visible);
    }
    getGlobalDistance(&g->totalCutLength);
    return kNoErr;
}

ASErr setVolumeLayerVisible(const char* layerName, uint8_t visible)
{
    if (layerName == NULL || g->volumes == NULL)
        return kNoErr;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        if (layerNameMatches(g->volumes[i].layerName, layerName))
            setVisible(&g->volumes[i], visible);
    }
    getGlobalDistance(&g->totalCutLength);
    return kNoErr;
}

ASErr updateVisibleColor(const Color* colors, int32_t count)
{
    for (int32_t i = 0; colors != NULL && i < count; i++)
        setVolumeColorVisible(&colors[i], colors[i].visible);
    return kNoErr;
}

ASErr updateVisibleLayer(const Layer* layers, int32_t count)
{
    for (int32_t i = 0; layers != NULL && i < count; i++)
        setVolumeLayerVisible(layers[i].name, layers[i].visible);
    return kNoErr;
}

ASErr showSelectColor(int32_t activeEntry, const Color* colors, int32_t count)
{
    if (colors == NULL || count <= 0)
        return kNoErr;
    for (int32_t i = 0; i < count; i++)
        setVolumeColorVisible(&colors[i], 0);
    int32_t shown = activeEntry < 0 ? 0 : activeEntry;
    if (shown < count)
        setVolumeColorVisible(&colors[shown], 1);
    return kNoErr;
}

ASErr showSelectLayer(int32_t activeEntry, const Layer* layers, int32_t count)
{
    if (layers == NULL || count <= 0)
        return kNoErr;
    for (int32_t i = 0; i < count; i++)
        setVolumeLayerVisible(layers[i].name, 0);
    int32_t shown = activeEntry < 0 ? 0 : activeEntry;
    if (shown < count)
        setVolumeLayerVisible(layers[shown].name, 1);
    return kNoErr;
}
