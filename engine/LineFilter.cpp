#include "engine/LineFilter.h"

#include "engine/SafeConversion.h"

#include <cmath>

namespace engine {

namespace {

constexpr float kLowestCutoffHz = 1760.0f; // times 2^((127 c - 69) / 12)
constexpr float kSemitone = 1.0f / 12.0f;
constexpr float kPi = 3.14159265358979f;
constexpr float kMaxFrequency = 0.25f; // caps the cutoff near 0.08 of the sample rate
constexpr float kResonanceFactors[LineFilter::kNumTypes] = {0.499f, 1.0f, 0.499f, 0.499f, 1.0f};

} // namespace

LineFilter::Type LineFilter::typeFor(float value) noexcept {
    return static_cast<Type>(SafeConversion::enumerationState(value, kNumTypes));
}

float LineFilter::frequencyTarget(float cutoff, float sampleRate) noexcept {
    const float fc = kLowestCutoffHz * std::pow(2.0, (127.0f * cutoff - 69.0f) * kSemitone);
    const float frequency = 2.0 * std::sin(static_cast<double>(kPi * fc / (2.0f * sampleRate)));
    // A cutoff beyond the sample rate would fold the sine back to 0 or below; the cap is what
    // such a cutoff means.
    return frequency > kMaxFrequency || !(frequency > 0.0f) ? kMaxFrequency : frequency;
}

float LineFilter::resonanceDamping(float resonance, Type type) noexcept {
    return 2.0 * (1.0 - std::pow(resonance * kResonanceFactors[type], 0.25));
}

} // namespace engine
