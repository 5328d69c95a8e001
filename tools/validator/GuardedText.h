// Text and record buffers handed to the effect, with guard bytes past the size the interface
// allows, so that a longer answer or an unterminated one shows.
#pragma once

#include "host/VstInterface.h"

#include <cstddef>
#include <string>
#include <vector>

// The buffer sizes, in bytes with the terminating NUL, that the validator passes, as hosts do.
// Parameter names, labels and displays are nominally 8 characters, but hosts pass 64 and
// effects rely on it, so 64 is what is guarded.
namespace HostBufferSize {
constexpr std::size_t kParameterText = 64;               // effGetParamName, Label, Display
constexpr std::size_t kProgramName = kVstMaxProgNameLen; // effGetProgramName(Indexed)
constexpr std::size_t kEffectName = 32;                  // effGetEffectName
constexpr std::size_t kVendorText = kVstMaxVendorStrLen; // vendor, product, shell plug-in name
constexpr std::size_t kErrorText = 256;                  // effGetErrorText
constexpr std::size_t kPinProperties = 128;              // effGet{Input,Output}Properties
constexpr std::size_t kParameterProperties = 152;        // effGetParameterProperties
constexpr std::size_t kRecord = 1024; // any other record an opcode may read or fill
} // namespace HostBufferSize

class GuardedText {
public:
    static constexpr std::size_t kGuardBytes = 64;

    // `size` usable bytes, filled with a pattern that is not a NUL, then the guard.
    explicit GuardedText(std::size_t size);
    // `size` usable bytes holding `text` (cut to fit) and its NUL, then the guard.
    GuardedText(std::size_t size, const std::string& text);

    char* data() { return bytes.data(); }
    std::size_t size() const { return usable; }
    // Zeroes the usable bytes (a record the effect reads).
    void clear();
    // What the effect did wrong with a text buffer, or empty: a write past its size, or bytes
    // written without a NUL within it.
    std::string problem() const;
    // What the effect did wrong with a record buffer, or empty: a write past its size.
    std::string damagedGuard() const;
    // The text up to its NUL (or the whole usable part).
    std::string text() const;

private:
    std::size_t usable;
    std::vector<char> bytes;
};
