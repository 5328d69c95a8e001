// Runs audio through an effect block by block: maps the source's channels onto the effect's
// inputs, moves the host transport, and keeps rendering after the input for the tail.
#pragma once

#include "tools/EffectHost.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Interleaved frames coming in.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual int channels() const = 0;
    virtual std::int64_t frames() const = 0; // total, or a negative number when unknown
    // Returns the frames read; 0 at the end.
    virtual std::int64_t read(float* interleaved, std::int64_t frames) = 0;
};

// Interleaved frames going out.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void write(const float* interleaved, std::int64_t frames) = 0;
};

// Frames held in memory, both ways.
class MemoryFrames : public FrameSource, public FrameSink {
public:
    explicit MemoryFrames(int channels, std::vector<float> interleaved = {});
    int channels() const override { return channelCount; }
    std::int64_t frames() const override;
    std::int64_t read(float* interleaved, std::int64_t frames) override;
    void write(const float* interleaved, std::int64_t frames) override;
    const std::vector<float>& samples() const { return data; }

private:
    int channelCount;
    std::vector<float> data;
    std::size_t readPosition = 0;
};

struct RenderSettings {
    static constexpr int defaultBlockSize = 512;
    static constexpr int maximumBlockSize = 1 << 20;

    int blockSize = defaultBlockSize; // frames, 1..maximumBlockSize
    // Seconds rendered after the input ends; negative: until the output has rung out.
    double tailSeconds = -1.0;
};

struct RenderProgress {
    std::int64_t framesDone;
    std::int64_t framesExpected; // negative while the length is not known (a ringing tail)
};

struct RenderResult {
    std::int64_t inputFrames = 0;
    std::int64_t outputFrames = 0; // input plus tail
    std::int64_t nonFiniteSamples = 0;
    bool tailCapped = false; // the output had not rung out when the longest tail was reached
};

class Renderer {
public:
    // A ringing tail ends once the output stays below this level for quietSeconds, and is cut
    // back to the last louder sample; it never runs longer than maximumTailSeconds.
    static constexpr float quietLevel = 3.1622776e-5f; // -90 dBFS
    // Longer than the effect's longest delay line (2 s), so a gap between echoes is not taken
    // for the end.
    static constexpr double quietSeconds = 2.5;
    static constexpr double maximumTailSeconds = 30.0;

    // Gives the effect the sample rate and block size (effSetSampleRate, effSetBlockSize);
    // programs and parameters are best set after this and before render. Throws HostError for
    // an effect without outputs or process function, or settings out of range.
    Renderer(EffectHost& host, double sampleRate, const RenderSettings& settings);

    // Switches the effect on (effMainsChanged 1), renders, and switches it off again
    // (effMainsChanged 0), also when the sink throws.
    RenderResult render(FrameSource& source, FrameSink& sink,
                        const std::function<void(const RenderProgress&)>& progress = {});

    int outputChannels() const { return static_cast<int>(outputs.size()); }

    // What becomes of a source's channels, for telling the user; empty when nothing unusual.
    static std::string describeChannelMapping(int sourceChannels, int effectInputs);

private:
    void processBlock(int frames);
    void feedInputs(const float* interleaved, int sourceChannels, int frames);
    void interleaveOutputs(int frames);

    EffectHost& host;
    double sampleRate;
    RenderSettings settings;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
    std::vector<float> interleavedOutput;
};
