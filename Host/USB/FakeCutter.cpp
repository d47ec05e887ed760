#include "USB/FakeCutter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>

#include "Host.h"

namespace vt {
namespace host {
namespace usb {

namespace {

const char kEsc = 0x1B;
// An ESC command longer than this without its closing ':' is noise, not a
// command still arriving.
const size_t kMaxCommandLength = 64;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        fields.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return fields;
}

bool toInt(const std::string& text, int* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
    *value = static_cast<int>(v);
    return true;
}

// A settings command ("C1,code,value", "C6,which,value"): the setting and its
// value, false when a field is missing or not a number. The code `saveCode`
// stores the settings instead: counted in `saves`, and false too.
bool settingOf(const std::vector<std::string>& f, int& saves, int& code, int& value, int saveCode = 0)
{
    if (f.size() < 2 || !toInt(f[1], &code)) return false;
    if (code == saveCode) {
        ++saves;
        return false;
    }
    return f.size() >= 3 && toInt(f[2], &value);
}

// The fields of CutterState that scripts may name.
struct StateField {
    const char* name;
    int CutterState::*number;
    std::string CutterState::*text;
};

const StateField kStateFields[] = {
    {"heavyLight", &CutterState::heavyLight, nullptr},
    {"pressure", &CutterState::pressure, nullptr},
    {"bladeOffset", &CutterState::bladeOffset, nullptr},
    {"quality", &CutterState::quality, nullptr},
    {"option19", &CutterState::option19, nullptr},
    {"option20", &CutterState::option20, nullptr},
    {"media", &CutterState::media, nullptr},
    {"scaleX", &CutterState::scaleX, nullptr},
    {"scaleY", &CutterState::scaleY, nullptr},
    {"aasX", &CutterState::aasX, nullptr},
    {"aasY", &CutterState::aasY, nullptr},
    {"clipX1", &CutterState::clipX1, nullptr},
    {"clipY1", &CutterState::clipY1, nullptr},
    {"clipX2", &CutterState::clipX2, nullptr},
    {"clipY2", &CutterState::clipY2, nullptr},
    {"model", nullptr, &CutterState::model},
    {"version", nullptr, &CutterState::version},
    {"saves", &CutterState::saves, nullptr},
    {"scaleSaves", &CutterState::scaleSaves, nullptr},
};

const StateField* stateField(const std::string& name) {
    for (const StateField& f : kStateFields)
        if (name == f.name) return &f;
    return nullptr;
}

const struct {
    CutterAnswer answer;
    const char* name;
} kAnswerNames[] = {{CutterAnswer::Normal, "normal"},
                    {CutterAnswer::Silent, "silent"},
                    {CutterAnswer::Garbage, "garbage"},
                    {CutterAnswer::Split, "split"},
                    {CutterAnswer::Overlong, "overlong"}};

// Bytes that begin no reply and scan as nothing: control and high bytes
// around a word, ended like a reply.
const char kGarbage[] = "\x15\xff?#garbage#\x01;\r";

const size_t kOverlongSize = 1024;

std::mutex g_installedMutex;
std::shared_ptr<FakeCutter> g_installed;
std::weak_ptr<FakeBus> g_installedBus;

}  // namespace

const char* cutterAnswerName(CutterAnswer answer) {
    for (const auto& a : kAnswerNames)
        if (a.answer == answer) return a.name;
    return "normal";
}

bool cutterAnswerFromName(const std::string& name, CutterAnswer* answer) {
    for (const auto& a : kAnswerNames)
        if (name == a.name) {
            *answer = a.answer;
            return true;
        }
    return false;
}

const std::vector<std::string>& FakeCutter::fieldNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const StateField& f : kStateFields) all.push_back(f.name);
        return all;
    }();
    return names;
}

bool FakeCutter::setField(const std::string& name, const std::string& value, std::string& error) {
    const StateField* f = stateField(name);
    if (!f) {
        error = "the cutter has no setting \"" + name + "\"";
        return false;
    }
    if (f->text) {
        state_.*(f->text) = value;
        return true;
    }
    int number = 0;
    if (!toInt(value, &number)) {
        error = "\"" + value + "\" is not a whole number";
        return false;
    }
    state_.*(f->number) = number;
    return true;
}

bool FakeCutter::field(const std::string& name, std::string* value) const {
    const StateField* f = stateField(name);
    if (!f) return false;
    *value = f->text ? state_.*(f->text) : std::to_string(state_.*(f->number));
    return true;
}

FakeCutter::FakeCutter(uint16_t vendorId, uint16_t productId) : FakeDevice(vendorId, productId) {
    addInterface({bulkOut(kOutEndpoint & 0x0F), bulkIn(kInEndpoint & 0x0F)});
}

FakeCutter::~FakeCutter() { commitLog(); }

bool FakeCutter::logTo(const std::string& path) {
    commitLog();
    logPath_ = path;
    logged_.clear();
    logError_.clear();
    logDirty_ = false;
    // Opened now, so that a record that cannot be written is known before
    // anything is sent.
    log_ = std::make_unique<ReplacingFile>(path);
    if (!log_->open(logError_)) {
        log_.reset();
        logPath_.clear();
        return false;
    }
    return true;
}

void FakeCutter::commitLog() {
    if (!log_) return;
    if (logDirty_ && logError_.empty()) log_->commit(logError_);
    log_.reset();  // a record with nothing new, or a failed one, is dropped
    logDirty_ = false;
}

void FakeCutter::onClosed() { commitLog(); }

uint16_t FakeCutter::vendorId() const {
    int vid = 0, pid = 0;
    if (idSource_ && idSource_(&vid, &pid)) return static_cast<uint16_t>(vid);
    return FakeDevice::vendorId();
}

uint16_t FakeCutter::productId() const {
    int vid = 0, pid = 0;
    if (idSource_ && idSource_(&vid, &pid)) return static_cast<uint16_t>(pid);
    return FakeDevice::productId();
}

bool FakeCutter::onReceived(const std::string& bytes) {
    bool recorded = true;
    if (!logPath_.empty() && logError_.empty()) {
        // After a close the record goes on in a new temporary file that
        // starts with what was recorded before.
        if (!log_) {
            log_ = std::make_unique<ReplacingFile>(logPath_);
            if (!log_->open(logError_) || !log_->write(logged_)) logError_ = log_->error();
        }
        if (logError_.empty() && !log_->write(bytes)) logError_ = log_->error();
        logDirty_ = true;
        recorded = logError_.empty();
        if (!recorded) log_.reset();
    } else if (!logError_.empty()) {
        recorded = false;
    }
    logged_ += bytes;
    pending_ += bytes;
    parse();
    return recorded;
}

void FakeCutter::parse() {
    size_t i = 0;
    const size_t n = pending_.size();
    while (i < n) {
        if (pending_[i] == kEsc) {
            if (i + 1 >= n) break;  // the rest has not arrived yet
            if (pending_[i + 1] != '.') {
                ++i;
                continue;
            }
            size_t colon = pending_.find(':', i + 2);
            if (colon == std::string::npos) {
                if (n - i > kMaxCommandLength) {
                    ++i;
                    continue;
                }
                break;
            }
            command(pending_.substr(i + 2, colon - i - 2));
            i = colon + 1;
            lastSeparator_ = ':';
            continue;
        }
        // "OH;" counts only where an instruction starts.
        bool atStart = lastSeparator_ == ';' || lastSeparator_ == ':' ||
                       std::strchr(" \t\r\n", lastSeparator_) != nullptr;
        if (atStart && pending_[i] == 'O') {
            if (n - i < 3) break;
            if (pending_.compare(i, 3, "OH;") == 0) {
                commands_.push_back("OH;");
                char text[64];
                std::snprintf(text, sizeof text, "%d,%d,%d,%d\r", state_.clipX1, state_.clipY1,
                              state_.clipX2, state_.clipY2);
                reply(text);
                i += 3;
                lastSeparator_ = ';';
                continue;
            }
        }
        lastSeparator_ = pending_[i];
        ++i;
    }
    pending_.erase(0, i);
}

void FakeCutter::command(const std::string& body) {
    commands_.push_back("." + body + ":");
    std::vector<std::string> f = split(body, ';');
    const std::string& name = f[0];
    char text[256];
    CutterState& s = state_;
    if (name == "R1") {
        std::snprintf(text, sizeof text, "OR1,%d,%d,%d,%d,%d,%d,%d;\r", s.heavyLight, s.pressure,
                      s.bladeOffset, s.quality, s.option19, s.option20, s.media);
        reply(text);
    } else if (name == "R3") {
        std::snprintf(text, sizeof text, "OR3,%d,%d;\r", s.scaleX, s.scaleY);
        reply(text);
    } else if (name == "R4") {
        std::snprintf(text, sizeof text, "OR4,0,%s,%s,0;\r", s.model.c_str(), s.version.c_str());
        reply(text);
    } else if (name == "R5") {
        std::snprintf(text, sizeof text, "OR5,%d,%d;\r", s.aasX, s.aasY);
        reply(text);
    } else if (name == "C1") {
        int code = 0, value = 0;
        if (!settingOf(f, s.saves, code, value)) return;
        switch (code) {
            case 16: s.bladeOffset = value; break;
            case 17: s.heavyLight = value; break;
            case 18: s.quality = value; break;
            case 19: s.option19 = value; break;
            case 20: s.option20 = value; break;
            case 21: s.media = value; break;
            case 22: s.pressure = value; break;
            default: break;
        }
    } else if (name == "C6") {
        int which = 0, value = 0;
        if (!settingOf(f, s.scaleSaves, which, value, 2)) return;
        if (which == 1) s.scaleX = value;
        if (which == 0) s.scaleY = value;
    } else if (name == "D6") {
        int x = 0, y = 0;
        if (f.size() < 3 || !toInt(f[1], &x) || !toInt(f[2], &y)) return;
        s.aasX = x;
        s.aasY = y;
    }
}

void FakeCutter::reply(const std::string& text) {
    std::string answer = text;
    if (wrongPrefix_ > 0) {
        --wrongPrefix_;
        if (!answer.empty()) answer[0] = 'X';
    }
    switch (answer_) {
        case CutterAnswer::Normal: queueReply(answer); break;
        case CutterAnswer::Silent: break;
        case CutterAnswer::Garbage: queueReply(std::string(kGarbage, sizeof kGarbage - 1)); break;
        case CutterAnswer::Split: {
            size_t half = answer.size() / 2;
            queueReply(answer.substr(0, half));
            queueReply(answer.substr(half));
            break;
        }
        case CutterAnswer::Overlong: {
            // The reply without its end, run on with digits: its last number
            // never ends, and nothing in it says where the reply stops.
            while (!answer.empty() && (answer.back() == '\r' || answer.back() == ';')) answer.pop_back();
            answer.resize(kOverlongSize, '9');
            queueReply(answer);
            break;
        }
    }
}

std::shared_ptr<FakeCutter> installFakeCutter(const std::string& file, int vid, int pid) {
    auto cutter = std::make_shared<FakeCutter>(static_cast<uint16_t>(vid), static_cast<uint16_t>(pid));
    if (!cutter->logTo(file)) throw std::runtime_error("the fake cutter's file: " + cutter->logError());
    auto bus = std::dynamic_pointer_cast<FakeBus>(busIfChosen());
    if (!bus) bus = useFakeBus();
    bus->plug(cutter);
    std::lock_guard<std::mutex> lock(g_installedMutex);
    g_installed = cutter;
    g_installedBus = bus;
    return cutter;
}

std::shared_ptr<FakeCutter> installedFakeCutter() {
    std::lock_guard<std::mutex> lock(g_installedMutex);
    // A cutter whose bus was replaced by another one is out of reach.
    auto bus = g_installedBus.lock();
    if (!bus || bus != busIfChosen()) return nullptr;
    return g_installed;
}

std::shared_ptr<FakeBus> installedFakeCutterBus() {
    std::lock_guard<std::mutex> lock(g_installedMutex);
    auto bus = g_installedBus.lock();
    if (!bus || bus != busIfChosen()) return nullptr;
    return bus;
}

std::shared_ptr<FakeCutter> installFakeCutterForCurrentPlotter(const std::string& file) {
    auto cutter = installFakeCutter(file, 0, 0);
    cutter->followIds([](int* vid, int* pid) {
        if (!Host::exists()) return false;
        int32_t v = 0, p = 0;
        const Preferences& prefs = Host::current().prefs();
        if (!prefs.getInteger("Korvel-Ulmaren", "VID", &v) ||
            !prefs.getInteger("Korvel-Ulmaren", "PID", &p))
            return false;
        *vid = v;
        *pid = p;
        return true;
    });
    return cutter;
}

}  // namespace usb
}  // namespace host
}  // namespace vt
