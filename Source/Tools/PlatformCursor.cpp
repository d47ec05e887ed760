#include "Toolbox.h"
#include "Tools/ToolNames.h"

void SetPlatformCursor(SPPluginRef plugin, int32_t cursorId)
{
    // The plug-in's resources are the ones the platform reads while the
    // plug-in runs; the reference only says whose they are.
    (void)plugin;
    CursHandle cursor = GetCursor(static_cast<ASInt16>(cursorId));
    if (cursor != nullptr && *cursor != nullptr) SetCursor(*cursor);
}

bool toolShiftHeld(const AIToolMessage* message)
{
    return message != nullptr && message->event != nullptr &&
           (message->event->modifiers & aiEventModifiers_shiftKey) != 0;
}
