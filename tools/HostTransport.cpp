#include "tools/HostTransport.h"

namespace {
constexpr double secondsPerMinute = 60.0;
constexpr VstInt32 beatsPerBar = 4;
constexpr VstInt32 beatUnit = 4;
} // namespace

void HostTransport::configure(double sampleRate, double tempo, double startBeat) {
    rate = sampleRate;
    beatsPerMinute = tempo;
    firstBeat = startBeat;
    moveTo(0);
}

void HostTransport::moveTo(std::int64_t samplePosition) {
    info = VstTimeInfo{};
    info.samplePos = static_cast<double>(samplePosition);
    info.sampleRate = rate;
    // Computed from the start every time, so the position does not drift over long renders.
    info.ppqPos = firstBeat + info.samplePos * beatsPerMinute / (secondsPerMinute * rate);
    info.tempo = beatsPerMinute;
    info.timeSigNumerator = beatsPerBar;
    info.timeSigDenominator = beatUnit;
    info.flags = kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying;
}
