// The "AI Action Manager Suite": parameter records, and the host actions the
// plug-in plays by name on the current selection (HostActions.h).
#include <map>
#include <ostream>

#include <polyclipping/clipper.hpp>

#include "Documents/DocumentSuites.h"
#include "Documents/HostActions.h"
#include "Host.h"

namespace vt::host::docsuites {
namespace {

struct ParamValue {
    enum Kind { Boolean, Enumerated, Real } kind = Boolean;
    bool boolean = false;
    std::string name;
    ASInt32 number = 0;
    double real = 0;
};
using ParamRecord = std::map<ActionParamKeyID, ParamValue>;

struct ParamRecords {
    std::map<uintptr_t, ParamRecord> records;
    uintptr_t last = 0;
};

ParamRecords& records() { return Host::current().service<ParamRecords>(); }

ParamRecord* recordOf(AIActionParamValueRef param)
{
    auto& all = records().records;
    auto it = all.find(reinterpret_cast<uintptr_t>(param) >> 4);
    return it == all.end() ? nullptr : &it->second;
}

ASErr setValue(AIActionParamValueRef param, ActionParamKeyID key, const ParamValue& value)
{
    ParamRecord* record = recordOf(param);
    if (!record) return kBadParameterErr;
    (*record)[key] = value;
    return kNoErr;
}

std::string keyText(ActionParamKeyID key)
{
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((key >> (24 - 8 * i)) & 0xFF);
    return s;
}

// A boolean the action needs; false (with the reason reported) when it is
// missing or of another kind.
bool needBoolean(const ParamRecord* record, ActionParamKeyID key, const char* action, bool& value)
{
    const ParamValue* v = nullptr;
    if (record) {
        auto it = record->find(key);
        if (it != record->end()) v = &it->second;
    }
    if (!v || v->kind != ParamValue::Boolean) {
        Host::current().out() << "action \"" << action << "\": needs the boolean '" << keyText(key) << "'\n";
        return false;
    }
    value = v->boolean;
    return true;
}

struct ActionManagerOps {
    using Suite = AIActionManagerSuite;

    static ASErr AINewActionParamValue(AIActionParamValueRef* param)
    {
        if (!param) return kBadParameterErr;
        ParamRecords& r = records();
        r.records[++r.last] = ParamRecord{};
        *param = reinterpret_cast<AIActionParamValueRef>(r.last << 4);
        return kNoErr;
    }

    static ASErr AIDeleteActionParamValue(AIActionParamValueRef param)
    {
        bool erased = records().records.erase(reinterpret_cast<uintptr_t>(param) >> 4) != 0;
        return erased ? ASErr(kNoErr) : ASErr(kBadParameterErr);
    }

    static ASErr AIActionSetBoolean(AIActionParamValueRef param, ActionParamKeyID key, ASBoolean value)
    {
        ParamValue v;
        v.kind = ParamValue::Boolean;
        v.boolean = value != 0;
        return setValue(param, key, v);
    }

    static ASErr AIActionSetEnumerated(AIActionParamValueRef param, ActionParamKeyID key, const char* name,
                                       ASInt32 value)
    {
        if (!name) return kBadParameterErr;
        ParamValue v;
        v.kind = ParamValue::Enumerated;
        v.name = name;
        v.number = value;
        return setValue(param, key, v);
    }

    static ASErr AIActionSetReal(AIActionParamValueRef param, ActionParamKeyID key, AIReal value)
    {
        ParamValue v;
        v.kind = ParamValue::Real;
        v.real = value;
        return setValue(param, key, v);
    }

    static ASErr PlayActionEvent(const char* eventName, ActionDialogStatus dialogStatus,
                                 AIActionParamValueRef parameters)
    {
        if (!eventName) return kBadParameterErr;
        std::string name = eventName;
        const ParamRecord* record = nullptr;
        if (parameters) {
            record = recordOf(parameters);
            if (!record) return kBadParameterErr;
        }
        bool known = name == kExpandActionName || name == kPathfinderActionName || name == kOutlineActionName;
        if (!known) {
            Host::current().out() << "action \"" << name << "\": the host has no such action\n";
            return kUnknownActionErr;
        }
        // Outlining what is already outlined changes nothing.
        if (name == kOutlineActionName) return kNoErr;
        Document* d = doc();
        if (!d) return kNoDocumentErr;
        std::string error;
        try {
            if (name == kExpandActionName) {
                ExpandOptions options;
                bool fills = true, smooth = true;
                if (!needBoolean(record, 'objt', eventName, options.objects) ||
                    !needBoolean(record, 'fill', eventName, fills) || !needBoolean(record, 'strk', eventName, options.strokes) ||
                    !needBoolean(record, 'smth', eventName, smooth))
                    return kActionParamErr;
                ASErr err = expandSelection(*d, options, error);
                if (err) Host::current().reportProblem("action \"" + name + "\": " + error);
                return err;
            }
            const ParamValue* operation = nullptr;
            if (record) {
                auto it = record->find('name');
                if (it != record->end()) operation = &it->second;
            }
            if (!operation || operation->kind != ParamValue::Enumerated) {
                Host::current().out() << "action \"" << name << "\": needs the enumerated 'name'\n";
                return kActionParamErr;
            }
            if (operation->number != kPathfinderMergeValue) {
                Host::current().out() << "action \"" << name << "\": the host merges only (\"merge\", 8), not \""
                                      << operation->name << "\" (" << operation->number << ")\n";
                return kActionParamErr;
            }
            return mergeSelection(*d);
        } catch (const ClipperLib::clipperException& e) {
            // Coordinates beyond what Clipper can hold: nothing was changed yet.
            Host::current().out() << "action \"" << name << "\": " << e.what() << "\n";
            return kCantHappenErr;
        }
    }
};

SuiteInstaller installer(installOps<ActionManagerOps>);

}  // namespace
}  // namespace vt::host::docsuites
