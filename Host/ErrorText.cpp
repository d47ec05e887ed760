#include "ErrorText.h"

#include "AIArtSuites.h"
#include "ASTypes.h"
#include "USBHost.h"

namespace vt {
namespace {

struct NamedError {
    int32_t code;
    const char* name;
};

// Every error the host gives out, as the SDK names it.
const NamedError kHostErrors[] = {
    {kSPUnimplementedError, "kSPUnimplementedError"},
    {kSPSuiteNotFoundError, "kSPSuiteNotFoundError"},
    {kSPBadParameterError, "kSPBadParameterError"},
    {kSPOutOfMemoryError, "kSPOutOfMemoryError"},
    {kSPCantAcquirePluginError, "kSPCantAcquirePluginError"},
    {kAIPreferenceKeyNotFoundError, "kAIPreferenceKeyNotFoundError"},
    {kCantHappenErr, "kCantHappenErr"},
    {kBadParameterErr, "kBadParameterErr"},
    {kNoDocumentErr, "kNoDocumentErr"},
    {kUserCanceledErr, "kUserCanceledErr"},
    {kBadArtErr, "kBadArtErr"},
    {kBadLayerErr, "kBadLayerErr"},
    {kWrongArtTypeErr, "kWrongArtTypeErr"},
    {kNoSuchTagErr, "kNoSuchTagErr"},
    {kBadSegmentRangeErr, "kBadSegmentRangeErr"},
    {kBadPaintOrderErr, "kBadPaintOrderErr"},
    {kVTUSBErrNotFound, "kVTUSBErrNotFound"},
    {kVTUSBErrNoDevice, "kVTUSBErrNoDevice"},
    {kVTUSBErrTimeout, "kVTUSBErrTimeout"},
    {kVTUSBErrAccess, "kVTUSBErrAccess"},
    {kVTUSBErrBusy, "kVTUSBErrBusy"},
    {kVTUSBErrStall, "kVTUSBErrStall"},
    {kVTUSBErrOverflow, "kVTUSBErrOverflow"},
    {kVTUSBErrIO, "kVTUSBErrIO"},
    {kVTUSBErrBadParam, "kVTUSBErrBadParam"},
    {kVTUSBErrNotOpen, "kVTUSBErrNotOpen"},
    {kVTUSBErrUnavailable, "kVTUSBErrUnavailable"},
};

}  // namespace

std::string errorText(int32_t code)
{
    for (const NamedError& e : kHostErrors)
        if (e.code == code) return e.name;
    // A four-character code holds its first character in the high byte. A
    // leading blank is no code anyone writes: such a value is a number.
    uint32_t bits = static_cast<uint32_t>(code);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        unsigned char c = static_cast<unsigned char>((bits >> shift) & 0xFF);
        if (c < 0x20 || c > 0x7E || (shift == 24 && c == ' ')) return std::to_string(code);
        text += static_cast<char>(c);
    }
    return text;
}

}  // namespace vt
