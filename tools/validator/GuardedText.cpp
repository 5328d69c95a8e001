#include "tools/validator/GuardedText.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kFill = static_cast<char>(0xA5);
constexpr char kGuard = static_cast<char>(0x5A);

} // namespace

GuardedText::GuardedText(std::size_t size) : usable(size), bytes(size, kFill) {
    bytes.insert(bytes.end(), kGuardBytes, kGuard);
}

GuardedText::GuardedText(std::size_t size, const std::string& text) : GuardedText(size) {
    const std::size_t length = std::min(text.size(), size > 0 ? size - 1 : 0);
    std::memcpy(bytes.data(), text.data(), length);
    if (size > 0) {
        bytes[length] = '\0';
    }
}

void GuardedText::clear() {
    for (std::size_t index = 0; index < usable; ++index) {
        bytes[index] = '\0';
    }
}

std::string GuardedText::damagedGuard() const {
    for (std::size_t offset = 0; offset < kGuardBytes; ++offset) {
        if (bytes[usable + offset] != kGuard) {
            return "wrote past the " + std::to_string(usable) + "-byte buffer (byte " +
                   std::to_string(usable + offset) + ")";
        }
    }
    return {};
}

std::string GuardedText::problem() const {
    if (std::string damage = damagedGuard(); !damage.empty()) {
        return damage;
    }
    const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(usable);
    const bool written = std::any_of(bytes.begin(), end, [](char c) { return c != kFill; });
    if (written && std::find(bytes.begin(), end, '\0') == end) {
        return "left the text in the " + std::to_string(usable) + "-byte buffer without a NUL";
    }
    return {};
}

std::string GuardedText::text() const {
    const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(usable);
    return std::string(bytes.begin(), std::find(bytes.begin(), end, '\0'));
}
