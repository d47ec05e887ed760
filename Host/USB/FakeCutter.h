// A fake cutter on the fake bus: one interface with a bulk OUT and a bulk IN
// pipe. It records every transfer, can copy everything it is sent into a file,
// answers the device-panel queries from its state and applies the settings
// commands it receives to that state. Plot commands are recorded, not cut.
//
// Queries and their replies (ESC is 0x1B; lengths in 0.025 mm units):
//   ESC ".R1:"  "OR1,a,b,c,d,e,f,g;\r"   the tool settings below
//   ESC ".R3:"  "OR3,scaleX,scaleY;\r"
//   ESC ".R4:"  "OR4,0,model,version,0;\r"
//   ESC ".R5:"  "OR5,aasX,aasY;\r"
//   "OH;"       "x1,y1,x2,y2\r"          the hard-clip limits
// Settings:
//   ESC ".C1;code;value:"  a tool setting, code 16 to 22 (see CutterState)
//   ESC ".C1;0;:" / ESC ".C1;0:"  keep the settings (counted in saves)
//   ESC ".C6;1;n:" scale X, ESC ".C6;0;n:" scale Y, ESC ".C6;2;:" keep the scale
//   ESC ".D6;x;y:"  alignment-sensor offsets
// Values are stored as received; the cutter does not range-check them.
//
// A cutter can also answer badly (setAnswer, answerWithWrongPrefix), to try
// the device panel against a cutter that says nothing, says nonsense, hands a
// reply over in two reads, sends 1,024 bytes without an end, or answers
// under another prefix.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "OutputFile.h"
#include "USB/FakeBus.h"

namespace vt {
namespace host {
namespace usb {

struct CutterState {
    // Tool settings, each with the code that sets it.
    int heavyLight = 10;    // a, code 17
    int pressure = 120;     // b, code 22 (grams)
    int bladeOffset = 250;  // c, code 16 (thousandths of a mm)
    int quality = 1;        // d, code 18
    int option19 = 0;       // e, code 19
    int option20 = 1;       // f, code 20
    int media = 3;          // g, code 21
    int scaleX = 10000;
    int scaleY = 10000;
    int aasX = 0;
    int aasY = 0;
    int clipX1 = 0, clipY1 = 0, clipX2 = 24000, clipY2 = 40000;
    std::string model = "FakeCutter";
    std::string version = "1.00";
    int saves = 0;       // ESC ".C1;0;:" received
    int scaleSaves = 0;  // ESC ".C6;2;:" received
};

// How the cutter answers its queries.
enum class CutterAnswer {
    Normal,
    Silent,    // no reply at all: reads time out
    Garbage,   // bytes that match no reply
    Split,     // each reply in two reads, split in its middle
    Overlong   // 1,024 bytes without a terminator: the reply, unended, padded with digits
};

// The names of CutterAnswer for scripts ("normal", "silent", ...).
const char* cutterAnswerName(CutterAnswer answer);
bool cutterAnswerFromName(const std::string& name, CutterAnswer* answer);

class FakeCutter : public FakeDevice {
public:
    static constexpr uint8_t kOutEndpoint = 0x01;
    static constexpr uint8_t kInEndpoint = 0x82;

    FakeCutter(uint16_t vendorId, uint16_t productId);
    ~FakeCutter() override;

    CutterState& state() { return state_; }
    // The fields of CutterState by name ("pressure", "model", ...), for
    // scripts. setField takes a whole number for the numeric ones and says
    // why it refuses in error; field gives the value as text, false for a
    // name CutterState lacks.
    static const std::vector<std::string>& fieldNames();
    bool setField(const std::string& name, const std::string& value, std::string& error);
    bool field(const std::string& name, std::string* value) const;

    void setAnswer(CutterAnswer answer) { answer_ = answer; }
    CutterAnswer answer() const { return answer_; }
    // The next n replies begin with 'X' in place of their first character
    // ("XR1,..."), then the cutter answers as before.
    void answerWithWrongPrefix(int n) { wrongPrefix_ = n < 0 ? 0 : n; }

    // Copy every byte received into this file. The bytes go to a temporary
    // file beside it, which replaces the file each time the cutter is closed
    // with every write done; a failed write fails the transfer, is kept in
    // logError() and leaves the file as it was. Returns false (and sets
    // logError()) when the file cannot be written at all: a folder, a device,
    // a folder that is not there.
    bool logTo(const std::string& path);
    // Why the record could not be written; empty while all is well.
    const std::string& logError() const { return logError_; }
    // Commands that were recognised, in order, without the ESC (for tests).
    const std::vector<std::string>& commands() const { return commands_; }
    // Take the ids from source whenever they are asked for (while it answers
    // true), so the cutter follows a plotter chosen after it was installed.
    void followIds(std::function<bool(int* vid, int* pid)> source) { idSource_ = std::move(source); }

    uint16_t vendorId() const override;
    uint16_t productId() const override;

protected:
    bool onReceived(const std::string& bytes) override;
    void onClosed() override;

private:
    void parse();
    void command(const std::string& body);
    void reply(const std::string& text);

    CutterState state_;
    CutterAnswer answer_ = CutterAnswer::Normal;
    int wrongPrefix_ = 0;
    std::string pending_;  // received bytes not yet understood
    char lastSeparator_ = ';';
    std::vector<std::string> commands_;
    void commitLog();

    std::string logPath_;
    std::unique_ptr<ReplacingFile> log_;  // open while bytes are being recorded
    std::string logged_;                  // every byte recorded in this session
    bool logDirty_ = false;               // bytes since the last commit
    std::string logError_;
    std::function<bool(int*, int*)> idSource_;
};

// Puts a fake cutter with these ids on the bus (making a fake bus current when
// the current one is not fake) and copies everything sent to it into file.
// Throws std::runtime_error when the file cannot be written.
std::shared_ptr<FakeCutter> installFakeCutter(const std::string& file, int vid, int pid);

// The same for the host program's --fake-cutter FILE: the cutter has the ids
// of the current plotter, read from the running host's preferences
// ("Korvel-Ulmaren" "VID" and "PID") each time the bus is searched.
std::shared_ptr<FakeCutter> installFakeCutterForCurrentPlotter(const std::string& file);

// The cutter the last install put on the bus, and that bus, while that bus is
// the current one; null otherwise. Script commands act on it, also while it
// is unplugged.
std::shared_ptr<FakeCutter> installedFakeCutter();
std::shared_ptr<FakeBus> installedFakeCutterBus();

}  // namespace usb
}  // namespace host
}  // namespace vt
