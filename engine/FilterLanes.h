// The four line filters as lanes: the state-variable iteration of LineFilter run on all lines at
// once, each lane's output picked by masks set once per block for the lines' types.
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

    // Start of a block: the states kept by the engine and this block's types.
    void begin(const float (&bandStates)[kLines], const float (&lowStates)[kLines],
               const LineFilter::Type (&types)[kLines]) noexcept {
        band = Lanes::loadUnaligned(bandStates);
        low = Lanes::loadUnaligned(lowStates);
        const IntLanes type(types[0], types[1], types[2], types[3]);
        isOff = type == IntLanes(LineFilter::Off);
        isLowPass = type == IntLanes(LineFilter::LowPass);
        isHighPass = type == IntLanes(LineFilter::HighPass);
        isBandPass = type == IntLanes(LineFilter::BandPass);
        isNotch = type == IntLanes(LineFilter::Notch);
    }

    // As LineFilter::sample, on every line.
    Lanes sample(Lanes x, Lanes frequency, Lanes damping) noexcept {
        const Lanes first = iterate(x, frequency, damping);
        const Lanes half = Lanes(0.5f) * first;
        const Lanes second = iterate(half, frequency, damping);
        return half + Lanes(0.5f) * second;
    }

    Lanes band;
    Lanes low;

private:
    Lanes iterate(Lanes x, Lanes frequency, Lanes damping) noexcept {
        const Lanes notch = x - damping * band;
        low = low + frequency * band;
        const Lanes high = notch - low;
        band = band + frequency * high;
        // Exactly one mask is set in each lane.
        return (x & isOff) | (low & isLowPass) | (high & isHighPass) | (band & isBandPass) |
               (notch & isNotch);
    }

    Mask isOff{}, isLowPass{}, isHighPass{}, isBandPass{}, isNotch{};
};

} // namespace engine
