// The language of every user-visible text, chosen by the first value of
// "Ardo_Config.txt" in the plug-in's folder.
#include <stdio.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/ValueReader.h"
#include "Handlers/Handlers.h"
#include "IAIFilePath.h"

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

    char path[300];
    memset(path, 0, sizeof(path));
    try {
        SPPlatformFileSpecification file;
        if (sSPPlugins->GetPluginFileSpecification(g->pluginRef, &file) != kNoErr) return kNoErr;
        std::string folder = ai::FilePath(file).GetParent().GetFullPath().as_Platform();
        // A folder too long for the path buffer means no language file can be
        // named: English it is, rather than a cut-off path.
        if (folder.size() + strlen("/Ardo_Config.txt") >= sizeof(path)) return kNoErr;
        snprintf(path, sizeof(path), "%s/%s", folder.c_str(), "Ardo_Config.txt");
    } catch (const ai::Error&) {
        return kNoErr;
    }

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
