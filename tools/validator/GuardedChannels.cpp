#include "tools/validator/GuardedChannels.h"

#include "tools/validator/Random.h"

#include <cstdint>
#include <cstring>

namespace {

// A NaN with a payload no arithmetic produces: a guard either holds exactly these bits or was
// written.
constexpr std::uint32_t kGuardBits = 0x7FC0BEEFu;

float guardValue() {
    float value;
    std::memcpy(&value, &kGuardBits, sizeof value);
    return value;
}

bool isGuard(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits == kGuardBits;
}

} // namespace

GuardedChannels::GuardedChannels(int channels, int frames)
    : blockFrames(frames > 0 ? frames : 0),
      storage(static_cast<std::size_t>(channels > 0 ? channels : 0),
              std::vector<float>(static_cast<std::size_t>(blockFrames + 2 * kGuardFrames))) {
    for (std::vector<float>& samples : storage) {
        pointerArray.push_back(samples.data() + kGuardFrames);
    }
    restoreGuards();
    fill(0.0f);
}

void GuardedChannels::fill(float value) {
    for (float* samples : pointerArray) {
        for (int frame = 0; frame < blockFrames; ++frame) {
            samples[frame] = value;
        }
    }
}

void GuardedChannels::fillNoise(Random& random, float peak) {
    for (float* samples : pointerArray) {
        for (int frame = 0; frame < blockFrames; ++frame) {
            samples[frame] = peak * random.bipolar();
        }
    }
}

std::string GuardedChannels::damagedGuard() const {
    for (std::size_t index = 0; index < storage.size(); ++index) {
        const std::vector<float>& samples = storage[index];
        const std::string channelName = "channel " + std::to_string(index);
        for (int offset = 1; offset <= kGuardFrames; ++offset) {
            if (!isGuard(samples[static_cast<std::size_t>(kGuardFrames - offset)])) {
                return channelName + ", " + std::to_string(offset) + " frame" +
                       (offset == 1 ? "" : "s") + " before the block";
            }
        }
        for (int offset = 0; offset < kGuardFrames; ++offset) {
            if (!isGuard(samples[static_cast<std::size_t>(kGuardFrames + blockFrames + offset)])) {
                return channelName + ", frame " + std::to_string(blockFrames + offset) +
                       " of a block of " + std::to_string(blockFrames);
            }
        }
    }
    return {};
}

void GuardedChannels::restoreGuards() {
    const float guard = guardValue();
    for (std::vector<float>& samples : storage) {
        for (int offset = 0; offset < kGuardFrames; ++offset) {
            samples[static_cast<std::size_t>(offset)] = guard;
            samples[static_cast<std::size_t>(kGuardFrames + blockFrames + offset)] = guard;
        }
    }
}
