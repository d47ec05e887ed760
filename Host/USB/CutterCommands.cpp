// Script commands of the fake cutter that `vantorel-host --fake-cutter FILE`
// puts on the bus: its settings, how it answers, stalls and unplugging, and
// checks of what it holds and what it was sent.
#include <algorithm>
#include <ostream>

#include "Script/Script.h"
#include "Script/ScriptArgs.h"
#include "USB/FakeCutter.h"

namespace vt::host {
namespace {

using usb::CutterAnswer;
using usb::FakeCutter;

std::shared_ptr<FakeCutter> cutterOrError(std::string& error)
{
    auto cutter = usb::installedFakeCutter();
    if (!cutter) error = "there is no fake cutter: start vantorel-host with --fake-cutter FILE";
    return cutter;
}

std::string fieldList()
{
    std::string all;
    for (const auto& name : FakeCutter::fieldNames()) all += (all.empty() ? "" : ", ") + name;
    return all;
}

bool knownField(const std::string& name, std::string& error)
{
    const auto& names = FakeCutter::fieldNames();
    if (std::find(names.begin(), names.end(), name) != names.end()) return true;
    error = "the cutter has no setting \"" + name + "\" (it has " + fieldList() + ")";
    return false;
}

bool setCommand(ScriptContext& c, FakeCutter& cutter, const ScriptArgs& args, std::string& error)
{
    if (args.size() != 3) {
        error = "expects cutter set KEY VALUE";
        return false;
    }
    if (!knownField(args[1], error) || !cutter.setField(args[1], args[2], error)) return false;
    c.out << "cutter: " << args[1] << " = " << args[2] << "\n";
    return true;
}

bool answerCommand(ScriptContext& c, FakeCutter& cutter, const ScriptArgs& args, std::string& error)
{
    if (args.size() == 3 && args[1] == "wrong-prefix") {
        long n = 0;
        if (!parseInt(args[2], n, error)) return false;
        if (n < 0 || n > 1000000) {
            error = "wrong-prefix takes a count from 0 to 1000000, not " + args[2];
            return false;
        }
        cutter.setAnswer(CutterAnswer::Normal);
        cutter.answerWithWrongPrefix(static_cast<int>(n));
        c.out << "cutter: the next " << n << " replies under another prefix\n";
        return true;
    }
    CutterAnswer answer;
    if (args.size() != 2 || !usb::cutterAnswerFromName(args[1], &answer)) {
        error = "expects cutter answer normal|silent|garbage|split|overlong|wrong-prefix N";
        return false;
    }
    cutter.setAnswer(answer);
    cutter.answerWithWrongPrefix(0);
    c.out << "cutter: answers " << usb::cutterAnswerName(answer) << "\n";
    return true;
}

bool stallCommand(ScriptContext& c, FakeCutter& cutter, const ScriptArgs& args, std::string& error)
{
    std::optional<bool> on = args.size() == 2 ? parseSwitch(args[1], "on", "off") : std::nullopt;
    if (!on) {
        error = "expects cutter stall on|off";
        return false;
    }
    cutter.setStalled(*on);
    c.out << "cutter: " << (*on ? "stalled" : "no longer stalled") << "\n";
    return true;
}

bool unplugCommand(ScriptContext& c, const std::shared_ptr<FakeCutter>& cutter, const ScriptArgs& args,
                   std::string& error)
{
    if (args.size() == 1) {
        auto bus = usb::installedFakeCutterBus();
        if (bus) bus->unplug(cutter);
        cutter->setPlugged(false);
        cutter->unplugAfter(-1);
        c.out << "cutter: unplugged\n";
        return true;
    }
    long n = 0;
    if (args.size() != 3 || args[1] != "after") {
        error = "expects cutter unplug [after N]";
        return false;
    }
    if (!parseInt(args[2], n, error)) return false;
    if (n < 0 || n > 1000000) {
        error = "unplug after takes a count from 0 to 1000000 transfers, not " + args[2];
        return false;
    }
    cutter->unplugAfter(static_cast<int>(n));
    c.out << "cutter: unplugged after " << n << " more transfers\n";
    return true;
}

bool plugCommand(ScriptContext& c, const std::shared_ptr<FakeCutter>& cutter, const ScriptArgs& args,
                 std::string& error)
{
    if (args.size() != 1) {
        error = "expects cutter plug";
        return false;
    }
    auto bus = usb::installedFakeCutterBus();
    if (!bus) {
        error = "the fake cutter's bus is no longer in use";
        return false;
    }
    cutter->unplugAfter(-1);
    bus->plug(cutter);
    c.out << "cutter: plugged in\n";
    return true;
}

ScriptCommandRegistrar cutterCommand(
    "cutter",
    "cutter set KEY VALUE | answer normal|silent|garbage|split|overlong|wrong-prefix N | stall on|off | "
    "unplug [after N] | plug  change the fake cutter (--fake-cutter)",
    [](ScriptContext& c, const ScriptArgs& args, std::string& error) {
        if (!expectArgs(args, 1, 3, error)) return false;
        auto cutter = cutterOrError(error);
        if (!cutter) return false;
        const std::string& what = args[0];
        if (what == "set") return setCommand(c, *cutter, args, error);
        if (what == "answer") return answerCommand(c, *cutter, args, error);
        if (what == "stall") return stallCommand(c, *cutter, args, error);
        if (what == "unplug") return unplugCommand(c, cutter, args, error);
        if (what == "plug") return plugCommand(c, cutter, args, error);
        error = "unknown cutter command \"" + what + "\" (set, answer, stall, unplug, plug)";
        return false;
    });

ScriptCommandRegistrar expectCutterCommand(
    "expect-cutter", "expect-cutter KEY VALUE  fail unless the fake cutter's setting KEY is VALUE",
    [](ScriptContext&, const ScriptArgs& args, std::string& error) {
        if (!expectArgs(args, 2, 2, error)) return false;
        auto cutter = cutterOrError(error);
        if (!cutter || !knownField(args[0], error)) return false;
        std::string value;
        cutter->field(args[0], &value);
        if (value != args[1]) {
            error = "the cutter's " + args[0] + " is " + value + ", not " + args[1];
            return false;
        }
        return true;
    });

ScriptCommandRegistrar expectCutterReceivedCommand(
    "expect-cutter-received",
    "expect-cutter-received PREFIX [COUNT]  fail unless the fake cutter understood commands starting with "
    "PREFIX (e.g. .C1;22; or OH;), COUNT times when given (0: never)",
    [](ScriptContext&, const ScriptArgs& args, std::string& error) {
        if (!expectArgs(args, 1, 2, error)) return false;
        long expected = -1;
        if (args.size() == 2) {
            if (!parseInt(args[1], expected, error)) return false;
            if (expected < 0) {
                error = "a count is 0 or more, not " + args[1];
                return false;
            }
        }
        auto cutter = cutterOrError(error);
        if (!cutter) return false;
        long count = 0;
        for (const auto& command : cutter->commands())
            if (command.compare(0, args[0].size(), args[0]) == 0) ++count;
        if (expected < 0 ? count > 0 : count == expected) return true;
        error = "the cutter received " + args[0] + " " + std::to_string(count) + " time(s)" +
                (expected < 0 ? std::string(", expected at least once") : ", expected " + std::to_string(expected));
        return false;
    });

}  // namespace
}  // namespace vt::host
