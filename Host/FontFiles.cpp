#include "FontFiles.h"

#include <initializer_list>
#include <sys/stat.h>

namespace vt::host {
namespace {

// The first of the places Debian and other systems put the file.
std::string firstExisting(std::initializer_list<const char*> files)
{
    struct stat st;
    for (const char* file : files)
        if (::stat(file, &st) == 0 && S_ISREG(st.st_mode)) return file;
    return "";
}

}  // namespace

const std::string& dejaVuSansFile()
{
    static const std::string file =
        firstExisting({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/TTF/DejaVuSans.ttf"});
    return file;
}

const std::string& dejaVuSansCondensedFile()
{
    static const std::string file = firstExisting(
        {"/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf", "/usr/share/fonts/TTF/DejaVuSansCondensed.ttf"});
    return file;
}

const std::string& fallbackFontFile()
{
    static const std::string file = firstExisting(
        {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", "/usr/share/fonts/wenquanyi/wqy-microhei/wqy-microhei.ttc"});
    return file;
}

}  // namespace vt::host
