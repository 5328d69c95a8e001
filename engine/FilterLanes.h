// The four line filters as lanes: the state-variable iteration of LineFilter run on all lines at
// once, each lane's output picked by masks set once per block for the lines' types (or taken
// straight when all four lines have the same type).
//
// Thread: audio. Plain arithmetic, no branch.
#pragma once

#include "engine/EngineState.h"
#include "engine/Lanes.h"
#include "engine/LineFilter.h"

namespace engine {

class FilterLanes {
public:
    static constexpr int kLines = EngineState::kLines;
    static constexpr int kMixed = -1;

    // What a block's four types make of the output choice: one type on every line, two types
    // (the first one's lanes chosen by a mask), or any mix (five masks).
    struct Kind {
        int first;  // a type, or kMixed
        int second; // a type after first, or first itself when there is only one
    };
    static constexpr Kind kKinds[] = {
        {LineFilter::Off, LineFilter::Off},           {LineFilter::LowPass, LineFilter::LowPass},
        {LineFilter::HighPass, LineFilter::HighPass}, {LineFilter::BandPass, LineFilter::BandPass},
        {LineFilter::Notch, LineFilter::Notch},       {LineFilter::Off, LineFilter::LowPass},
        {LineFilter::Off, LineFilter::HighPass},      {LineFilter::Off, LineFilter::BandPass},
        {LineFilter::Off, LineFilter::Notch},         {LineFilter::LowPass, LineFilter::HighPass},
        {LineFilter::LowPass, LineFilter::BandPass},  {LineFilter::LowPass, LineFilter::Notch},
        {LineFilter::HighPass, LineFilter::BandPass}, {LineFilter::HighPass, LineFilter::Notch},
        {LineFilter::BandPass, LineFilter::Notch},    {kMixed, kMixed},
    };
    static constexpr int kNumKinds = static_cast<int>(sizeof kKinds / sizeof kKinds[0]);

    // Start of a block: the states kept by the engine and this block's types.
    void begin(const float (&bandStates)[kLines], const float (&lowStates)[kLines],
               const LineFilter::Type (&types)[kLines]) noexcept {
        band = Lanes::loadUnaligned(bandStates);
        low = Lanes::loadUnaligned(lowStates);
        const IntLanes type(types[0], types[1], types[2], types[3]);
        for (int t = 0; t < LineFilter::kNumTypes; ++t) {
            isType[t] = type == IntLanes(t);
        }
        int first = LineFilter::kNumTypes, second = -1, different = 0;
        for (int t = 0; t < LineFilter::kNumTypes; ++t) {
            if (!isType[t].none()) {
                first = t < first ? t : first;
                second = t;
                ++different;
            }
        }
        blockKind = kNumKinds - 1;
        for (int k = 0; k < kNumKinds && different <= 2; ++k) {
            if (kKinds[k].first == first && kKinds[k].second == second) {
                blockKind = k;
            }
        }
    }

    // This block's entry of kKinds.
    int kind() const noexcept { return blockKind; }

    // As LineFilter::sample, on every line; First and Second are those of kind().
    template <int First, int Second>
    Lanes sample(Lanes x, Lanes frequency, Lanes damping) noexcept {
        const Lanes first = iterate<First, Second>(x, frequency, damping);
        const Lanes half = Lanes(0.5f) * first;
        const Lanes second = iterate<First, Second>(half, frequency, damping);
        return half + Lanes(0.5f) * second;
    }

    Lanes band;
    Lanes low;

private:
    template <int First, int Second>
    Lanes iterate(Lanes x, Lanes frequency, Lanes damping) noexcept {
        const Lanes notch = x - damping * band;
        low = low + frequency * band;
        const Lanes high = notch - low;
        band = band + frequency * high;
        const Lanes outputs[LineFilter::kNumTypes] = {x, low, high, band, notch};
        if constexpr (First == kMixed) {
            // Exactly one mask is set in each lane.
            return (x & isType[LineFilter::Off]) | (low & isType[LineFilter::LowPass]) |
                   (high & isType[LineFilter::HighPass]) | (band & isType[LineFilter::BandPass]) |
                   (notch & isType[LineFilter::Notch]);
        } else if constexpr (First == Second) {
            return outputs[First];
        } else {
            return select(isType[First], outputs[First], outputs[Second]);
        }
    }

    Mask isType[LineFilter::kNumTypes] = {};
    int blockKind = kNumKinds - 1;
};

} // namespace engine
