// The toolkit's basic services: string lists and alerts.
#include <cstring>

#include "Host.h"
#include "Suites/SuiteTables.h"
#include "Utf8.h"

namespace vt::host {
namespace {

struct BasicOps {
    using Suite = ADMBasicSuite;

    static void GetIndexString(SPPluginRef plugin, ASInt32 listId, ASInt32 index, char* buffer, ASInt32 maxLength)
    {
        if (buffer == nullptr || maxLength <= 0) return;
        buffer[0] = 0;
        const std::string* text = Host::current().strings().find(listId, index);
        if (text == nullptr) return;
        // A text longer than the buffer is cut before the character that does not
        // fit whole: half a character would make the whole text unreadable, and
        // the bytes could end up as a plotter's name.
        size_t n = utf8CutLength(*text, static_cast<size_t>(maxLength - 1));
        std::memcpy(buffer, text->data(), n);
        buffer[n] = 0;
    }

    static void MessageAlert(const char* message) { Host::current().alert("message", message ? message : ""); }

    static void ErrorAlert(const char* message) { Host::current().alert("error", message ? message : ""); }

    static void Beep() {}
};

SuiteInstaller installer(installOps<BasicOps>);

}  // namespace
}  // namespace vt::host
