// The resonant state-variable filter of one delay line, run twice per sample.
//
// Thread: audio. The coefficient targets are computed once per sub-block (the only place with
// transcendental functions); sample() is plain arithmetic.
#pragma once

#include <cstdint>

namespace engine {

class LineFilter {
public:
    // What the filter hands on; the order is the state n = trunc(4 x fFilt_i).
    enum Type : std::int32_t { Off, LowPass, HighPass, BandPass, Notch, kNumTypes };
    static constexpr float kMaxDamping = 2.0f;

    struct Coefficients {
        float frequency; // F, 0 < F <= 0.25
        float damping;   // q, 0 <= q <= 2
    };

    // The type a stored fFilt_i selects; anything outside the table is Off.
    static Type typeFor(float value) noexcept;
    // The ramp targets of F and q for cutoff and resonance in 0..1 at the given sample rate,
    // in three parts that can be kept while their own inputs stay the same.
    static Coefficients targets(float cutoff, float resonance, Type type,
                                float sampleRate) noexcept {
        const float frequency = frequencyTarget(cutoff, sampleRate);
        return {frequency, limitedDamping(frequency, resonanceDamping(resonance, type))};
    }
    static float frequencyTarget(float cutoff, float sampleRate) noexcept;
    // q before the limit that F sets.
    static float resonanceDamping(float resonance, Type type) noexcept;
    static float limitedDamping(float frequency, float damping) noexcept {
        float limit = 2.0f / frequency - frequency / 2.0f;
        if (limit > kMaxDamping) {
            limit = kMaxDamping;
        }
        return damping >= limit ? limit : damping;
    }

    // Start of a block: the states kept by the engine and this block's type.
    void begin(float band, float low, Type filterType) noexcept {
        bandState = band;
        lowState = low;
        type = filterType;
    }
    float band() const noexcept { return bandState; }
    float low() const noexcept { return lowState; }
    Type filterType() const noexcept { return type; }

    // One sample: the second iteration is fed half the first one's output, and the result is
    // the mean of both outputs (0.75 x for Off).
    float sample(float x, float frequency, float damping) noexcept {
        const float first = iterate(x, frequency, damping);
        const float half = 0.5f * first;
        const float second = iterate(half, frequency, damping);
        return half + 0.5f * second;
    }

private:
    float iterate(float x, float frequency, float damping) noexcept {
        const float notch = x - damping * bandState;
        lowState = lowState + frequency * bandState;
        const float high = notch - lowState;
        bandState = bandState + frequency * high;
        // Selected by index rather than by branch: the type is fixed for the block.
        const float outputs[kNumTypes] = {x, lowState, high, bandState, notch};
        return outputs[type];
    }

    float bandState = 0.0f;
    float lowState = 0.0f;
    Type type = Off;
};

} // namespace engine
