#include "FakeEffect.h"

#include "tools/EffectHost.h"
#include "tools/HostError.h"
#include "tools/Renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numeric>
#include <stdexcept>

namespace {

// A fast rate keeps the multi-second tails small.
constexpr double testRate = 1000.0;

// Frame f of channel c holds (c + 1) + f / 1000, so every sample says where it came from.
std::vector<float> labelledFrames(int channels, int frames) {
    std::vector<float> samples;
    for (int frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < channels; ++channel) {
            samples.push_back(static_cast<float>(channel + 1) +
                              static_cast<float>(frame) / 1000.0f);
        }
    }
    return samples;
}

struct Rendering {
    FakeEffect fake;
    std::unique_ptr<EffectHost> host;
    MemoryFrames output{1};
    RenderResult result;
};

// Renders `frames` labelled frames of `channels` channels through a fresh fake effect, after
// `prepare` has adjusted it.
std::unique_ptr<Rendering> render(int channels, int frames, RenderSettings settings,
                                  const std::function<void(FakeEffect&)>& prepare = {}) {
    auto rendering = std::make_unique<Rendering>();
    if (prepare) {
        prepare(rendering->fake);
    }
    rendering->host = std::make_unique<EffectHost>(&FakeEffect::entryPoint);
    Renderer renderer(*rendering->host, testRate, settings);
    rendering->output = MemoryFrames(renderer.outputChannels());
    MemoryFrames input(channels, labelledFrames(channels, frames));
    rendering->result = renderer.render(input, rendering->output);
    return rendering;
}

RenderSettings withoutTail(int blockSize) {
    RenderSettings settings;
    settings.blockSize = blockSize;
    settings.tailSeconds = 0.0;
    return settings;
}

RenderSettings withAutomaticTail(int blockSize = 256) {
    RenderSettings settings;
    settings.blockSize = blockSize;
    return settings;
}

} // namespace

TEST(Renderer, CutsTheInputIntoBlocksOfTheChosenSizeWithAShorterLastOne) {
    struct Case {
        int frames;
        int blockSize;
        std::vector<int> blocks;
    };
    const Case cases[] = {
        {1000, 512, {512, 488}},
        {1024, 512, {512, 512}},
        {5, 1, {1, 1, 1, 1, 1}},
        {3, 512, {3}},
        {0, 64, {}},
        {700, 333, {333, 333, 34}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.frames) + " frames in blocks of " +
                     std::to_string(c.blockSize));
        const auto rendering = render(2, c.frames, withoutTail(c.blockSize));
        EXPECT_EQ(rendering->fake.blockSizes, c.blocks);
        EXPECT_EQ(rendering->result.outputFrames, c.frames);
        const std::vector<float> input = labelledFrames(2, c.frames);
        ASSERT_EQ(rendering->output.samples().size(), input.size());
        for (std::size_t i = 0; i < input.size(); ++i) {
            ASSERT_EQ(rendering->output.samples()[i], 0.5f * input[i]) << "sample " << i;
        }
    }
}

TEST(Renderer, MapsFileChannelsOntoTheEffectInputs) {
    struct Case {
        int fileChannels;
        int effectInputs;
        std::vector<int> sourceOfInput; // file channel per effect input, -1 for silence
    };
    const Case cases[] = {
        {1, 2, {0, 0}},         {2, 2, {0, 1}}, {3, 2, {0, 1}}, {6, 2, {0, 1}},
        {2, 4, {0, 1, -1, -1}}, {1, 1, {0}},    {2, 1, {0}},
    };
    constexpr int frames = 40;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fileChannels) + " channels into " +
                     std::to_string(c.effectInputs) + " inputs");
        const auto rendering = render(c.fileChannels, frames, withoutTail(16),
                                      [&](FakeEffect& f) { f.record.numInputs = c.effectInputs; });
        ASSERT_EQ(rendering->fake.inputsSeen.size(), c.sourceOfInput.size());
        const std::vector<float> file = labelledFrames(c.fileChannels, frames);
        for (std::size_t input = 0; input < c.sourceOfInput.size(); ++input) {
            const std::vector<float>& seen = rendering->fake.inputsSeen[input];
            ASSERT_EQ(seen.size(), static_cast<std::size_t>(frames));
            for (int frame = 0; frame < frames; ++frame) {
                const int source = c.sourceOfInput[input];
                const float expected = source < 0 ? 0.0f : file[frame * c.fileChannels + source];
                ASSERT_EQ(seen[frame], expected) << "input " << input << " frame " << frame;
            }
        }
    }
}

TEST(Renderer, WritesOneChannelPerEffectOutput) {
    for (const int outputs : {1, 2, 3}) {
        const auto rendering =
            render(2, 10, withoutTail(4), [&](FakeEffect& f) { f.record.numOutputs = outputs; });
        EXPECT_EQ(rendering->output.channels(), outputs);
        EXPECT_EQ(rendering->output.samples().size(), static_cast<std::size_t>(10 * outputs));
    }
}

TEST(Renderer, RendersAGivenTailOfSilentInputAfterTheFile) {
    RenderSettings settings = withoutTail(100);
    settings.tailSeconds = 0.25;
    const auto rendering = render(2, 150, settings);
    EXPECT_EQ(rendering->fake.blockSizes, (std::vector<int>{100, 50, 100, 100, 50}));
    EXPECT_EQ(rendering->result.inputFrames, 150);
    EXPECT_EQ(rendering->result.outputFrames, 400);
    EXPECT_EQ(rendering->output.frames(), 400);
    const std::vector<float>& inputSeen = rendering->fake.inputsSeen[0];
    EXPECT_TRUE(std::all_of(inputSeen.begin() + 150, inputSeen.end(),
                            [](float sample) { return sample == 0.0f; }));
}

TEST(Renderer, EndsAnAutomaticTailAtTheLastAudibleSample) {
    struct Case {
        const char* name;
        int delayFrames;
        int inputFrames;
        std::int64_t outputFrames;
    };
    const Case cases[] = {
        {"no delay: the output stops with the input", 0, 100, 100},
        {"an echo 300 frames late", 300, 100, 400},
        // Two seconds of silence before the echo, as the effect's longest delay line gives.
        {"an echo after two silent seconds", 2000, 10, 2010},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rendering = render(2, c.inputFrames, withAutomaticTail(),
                                      [&](FakeEffect& f) { f.delayFrames = c.delayFrames; });
        EXPECT_EQ(rendering->result.outputFrames, c.outputFrames);
        EXPECT_EQ(rendering->output.frames(), c.outputFrames);
        EXPECT_FALSE(rendering->result.tailCapped);
        // The effect ran on until it had been quiet for the whole quiet time.
        const int processed = std::accumulate(rendering->fake.blockSizes.begin(),
                                              rendering->fake.blockSizes.end(), 0);
        EXPECT_GE(processed, c.outputFrames + Renderer::quietSeconds * testRate);
    }
}

TEST(Renderer, StopsATailThatNeverRingsOutAtTheLongestTail) {
    const auto rendering =
        render(2, 100, withAutomaticTail(1000), [](FakeEffect& f) { f.offset = 0.01f; });
    EXPECT_TRUE(rendering->result.tailCapped);
    EXPECT_EQ(rendering->result.outputFrames,
              100 + static_cast<std::int64_t>(Renderer::maximumTailSeconds * testRate));
}

TEST(Renderer, CountsSamplesThatAreNotFiniteNumbers) {
    const auto rendering = render(2, 10, withoutTail(4), [](FakeEffect& f) {
        f.offset = std::numeric_limits<float>::quiet_NaN();
    });
    EXPECT_EQ(rendering->result.nonFiniteSamples, 20);
}

TEST(Renderer, GivesTheEffectTheTransportTimeOfEachBlock) {
    RenderSettings settings = withoutTail(250);
    settings.tailSeconds = 0.25; // the transport runs on through the tail
    FakeEffect fake;
    EffectHost host(&FakeEffect::entryPoint);
    host.transport().configure(48000.0, 90.0, 2.0);
    Renderer renderer(host, testRate, settings);
    MemoryFrames input(2, labelledFrames(2, 1000));
    MemoryFrames output(2);
    renderer.render(input, output);

    const std::vector<VstTimeInfo>& times = fake.times;
    ASSERT_EQ(times.size(), 5u);
    for (std::size_t block = 0; block < times.size(); ++block) {
        SCOPED_TRACE("block " + std::to_string(block));
        const double samplePosition = 250.0 * static_cast<double>(block);
        EXPECT_EQ(times[block].samplePos, samplePosition);
        EXPECT_DOUBLE_EQ(times[block].ppqPos, 2.0 + samplePosition / testRate * 90.0 / 60.0);
        EXPECT_EQ(times[block].tempo, 90.0);
        EXPECT_EQ(times[block].sampleRate, testRate); // the render's rate, not the configured one
        EXPECT_EQ(times[block].flags, kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying);
    }
}

TEST(Renderer, SetsUpTheEffectBeforeRenderingAndSwitchesItOffAfter) {
    FakeEffect fake;
    {
        EffectHost host(&FakeEffect::entryPoint);
        Renderer renderer(host, 44100.0, withoutTail(64));
        MemoryFrames input(2, labelledFrames(2, 100));
        MemoryFrames output(2);
        renderer.render(input, output);
    }
    const std::vector<DispatchedCall>& calls = fake.calls;
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].opcode, effOpen);
    EXPECT_EQ(calls[1].opcode, effSetSampleRate);
    EXPECT_EQ(calls[1].opt, 44100.0f);
    EXPECT_EQ(calls[2].opcode, effSetBlockSize);
    EXPECT_EQ(calls[2].value, 64);
    EXPECT_EQ(calls[3].opcode, effMainsChanged);
    EXPECT_EQ(calls[3].value, 1);
    EXPECT_EQ(calls[4].opcode, effMainsChanged);
    EXPECT_EQ(calls[4].value, 0);
    EXPECT_EQ(calls[5].opcode, effClose);
    EXPECT_EQ(fake.blockSizes, (std::vector<int>{64, 36}));
}

TEST(Renderer, SwitchesTheEffectOffWhenWritingFails) {
    class FailingSink : public FrameSink {
    public:
        void write(const float*, std::int64_t) override { throw HostError("disk full"); }
    };
    FakeEffect fake;
    EffectHost host(&FakeEffect::entryPoint);
    Renderer renderer(host, testRate, withoutTail(64));
    MemoryFrames input(2, labelledFrames(2, 100));
    FailingSink sink;
    EXPECT_THROW(renderer.render(input, sink), HostError);
    ASSERT_FALSE(fake.calls.empty());
    EXPECT_EQ(fake.calls.back().opcode, effMainsChanged);
    EXPECT_EQ(fake.calls.back().value, 0);
}

TEST(Renderer, UsesTheAccumulatingProcessWithClearedOutputsWhenThereIsNoOther) {
    const auto rendering =
        render(2, 100, withoutTail(30), [](FakeEffect& f) { f.record.processReplacing = nullptr; });
    const std::vector<float> input = labelledFrames(2, 100);
    ASSERT_EQ(rendering->output.samples().size(), input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        ASSERT_EQ(rendering->output.samples()[i], 0.5f * input[i]) << "sample " << i;
    }
}

TEST(Renderer, RefusesSettingsAndEffectsItCannotRender) {
    struct Case {
        const char* name;
        int blockSize;
        double sampleRate;
        std::function<void(FakeEffect&)> prepare;
    };
    const Case cases[] = {
        {"block size 0", 0, testRate, {}},
        {"negative block size", -64, testRate, {}},
        {"block size above the limit", RenderSettings::maximumBlockSize + 1, testRate, {}},
        {"sample rate 0", 64, 0.0, {}},
        {"sample rate NaN", 64, std::numeric_limits<double>::quiet_NaN(), {}},
        {"no outputs", 64, testRate, [](FakeEffect& f) { f.record.numOutputs = 0; }},
        {"negative inputs", 64, testRate, [](FakeEffect& f) { f.record.numInputs = -1; }},
        {"absurd outputs", 64, testRate, [](FakeEffect& f) { f.record.numOutputs = 1 << 30; }},
        {"no process function", 64, testRate,
         [](FakeEffect& f) { f.record.process = f.record.processReplacing = nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEffect fake;
        if (c.prepare) {
            c.prepare(fake);
        }
        EffectHost host(&FakeEffect::entryPoint);
        RenderSettings settings = withoutTail(c.blockSize);
        EXPECT_THROW(Renderer(host, c.sampleRate, settings), HostError);
    }
}
