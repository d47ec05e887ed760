// The toolkit's share of "ADM Basic Suite": the screen, the palette area,
// the standard file dialogs and the colour picker, all answered by scripts.
// (String lists and alerts live with the host's basic services.)
#include <cstring>
#include <filesystem>

#include "Host.h"
#include "OutputFile.h"
#include "Toolkit/SuiteOps.h"

namespace vt::host::toolkit {
namespace {

ASBoolean fileDialog(const char* kind, const char* message, const SPPlatformFileSpecification* startingDir,
                     const char* startingFile, SPPlatformFileSpecification* result)
{
    std::string what = std::string(kind) + " file dialog \"" + (message ? message : "") + "\"" +
                       (startingFile ? std::string(" (") + startingFile + ")" : std::string());
    if (tk().fileAnswers.empty()) {
        tk().report(what + " was not answered; cancelled");
        return false;
    }
    FileAnswer answer = tk().fileAnswers.front();
    tk().fileAnswers.pop_front();
    if (!answer) {
        tk().report(what + ": cancelled");
        return false;
    }
    std::string role = std::strcmp(kind, "save") == 0 ? ownFileRole(*answer) : std::string();
    if (!role.empty()) {
        // What the plug-in would write there would destroy one of the
        // program's inputs: the user is told, and nothing is written.
        std::string refused = what + ": " + *answer + " is " + role +
                              ", one of the program's own files; cancelled, nothing was written to it";
        if (Host::exists())
            Host::current().reportProblem(refused);
        else
            tk().report(refused);
        return false;
    }
    if (answer->size() >= sizeof result->path) {
        tk().report(what + ": the path is too long");
        return false;
    }
    if (result) {
        std::memset(result->path, 0, sizeof result->path);
        std::memcpy(result->path, answer->data(), answer->size());
    }
    tk().report(what + ": " + *answer);
    return true;
}

struct BasicOps {
    using Suite = ADMBasicSuite;

    static void GetScreenDimensions(ADMRect* dimensions)
    {
        if (dimensions) *dimensions = tk().screen;
    }

    static void GetPaletteLayoutBounds(ADMRect* bounds)
    {
        if (bounds) *bounds = tk().paletteArea;
    }

    static ASBoolean StandardGetFileDialog(const char* message, const char* filter,
                                           const SPPlatformFileSpecification* dir,
                                           const char* file, SPPlatformFileSpecification* result)
    {
        return fileDialog("open", message, dir, file, result);
    }

    static ASBoolean StandardPutFileDialog(const char* message, const char* filter,
                                           const SPPlatformFileSpecification* dir,
                                           const char* file, SPPlatformFileSpecification* result)
    {
        return fileDialog("save", message, dir, file, result);
    }

    static ASBoolean ChooseColor(ADMPoint where, const ADMRGBColor* in, ADMRGBColor* out)
    {
        if (tk().colorAnswers.empty()) {
            tk().report("colour picker was not answered; cancelled");
            if (out && in) *out = *in;
            return false;
        }
        ColorAnswer answer = tk().colorAnswers.front();
        tk().colorAnswers.pop_front();
        if (!answer) {
            if (out && in) *out = *in;
            tk().report("colour picker: cancelled");
            return false;
        }
        if (out) *out = *answer;
        return true;
    }
};

SuiteInstaller installer(installOps<BasicOps>);

}  // namespace
}  // namespace vt::host::toolkit
