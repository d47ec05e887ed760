// The platform's cursor calls: a plug-in's cursor resource is the picture
// "Cursors/<id>.png" in its folder. The stand-in host shows no pointer; it
// remembers which cursor was made current, so that scripts and tests can ask.
#include <filesystem>

#include "Tools/Tools.h"

extern "C" {

CursHandle GetCursor(ASInt16 cursorID)
{
    if (!vt::host::Host::exists()) return nullptr;
    auto& kept = vt::host::tools().cursors;
    auto it = kept.find(cursorID);
    if (it == kept.end()) {
        std::error_code ec;
        std::string file = vt::host::Host::current().pluginFolder() + "/Cursors/" + std::to_string(cursorID) + ".png";
        if (!std::filesystem::is_regular_file(file, ec)) return nullptr;
        auto cursor = std::make_unique<Cursor>();
        cursor->id = cursorID;
        cursor->self = cursor.get();
        it = kept.emplace(cursorID, std::move(cursor)).first;
    }
    return &it->second->self;
}

void SetCursor(const Cursor* cursor)
{
    if (cursor == nullptr || !vt::host::Host::exists()) return;
    vt::host::tools().cursorId = cursor->id;
}

}  // extern "C"
