// What the engine needs from whoever runs it, and nothing else of the engine: the host's
// transport as the engine reads it, and whether a block replaces or adds to the output.
#pragma once

namespace engine {

// What a host reports about its transport, read once per block while the engine follows it.
struct HostTransport {
    double ppqPos = 0.0;     // song position in quarter notes
    double tempo = 0.0;      // beats per minute
    double sampleRate = 0.0; // the host's sample rate
};

class TransportSource {
public:
    virtual ~TransportSource() = default;
    // Called from the audio thread at most once per block; false when the host gives nothing.
    virtual bool readTransport(HostTransport& transport) noexcept = 0;
};

// Replace writes the outputs (processReplacing); Accumulate adds to them (process).
enum class OutputMode { Replace, Accumulate };

} // namespace engine
