// The language of every user-visible text, chosen by the first value of
// "Ardo_Config.txt" in the plug-in's folder.
#include <stdio.h>
#include <string.h>

#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/ValueReader.h"
#include "Handlers/Handlers.h"

#define kLanguageFileName "Ardo_Config.txt"

struct LanguageRow {
    const char* name;
    int32_t stringListId;
    int32_t listMenuIdBase;
};

static const LanguageRow kLanguages[] = {
    {"English", 17000, 500},      {"Chinese(PRC)", 18000, 600}, {"Japanese", 19000, 700},
    {"Chinese(ROC)", 15000, 300}, {"Korea", 16000, 400},
};

ASErr GetLanguageIndex()
{
    g->stringListId = 17000;
    g->listMenuIdBase = 500;

    // A folder too long for the path means no language file can be named:
    // English it is, rather than a cut-off path.
    char path[kSPMaxPathLength + 1];
    if (pluginFolderFilePath(kLanguageFileName, path, sizeof(path)) != kNoErr) return kNoErr;

    FILE* stream = fopen(path, "r");
    if (stream == nullptr) return kNoErr;
    char value[1024];
    getString(stream, value, sizeof(value));
    fclose(stream);
    for (const LanguageRow& row : kLanguages) {
        if (strcmp(value, row.name) == 0) {
            g->stringListId = row.stringListId;
            g->listMenuIdBase = row.listMenuIdBase;
            break;
        }
    }
    return kNoErr;
}
