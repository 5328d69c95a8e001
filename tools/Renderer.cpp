#include "tools/Renderer.h"

#include "tools/HostError.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Beyond this a plug-in's channel counts are taken for garbage rather than allocated.
constexpr int maximumChannels = 64;

class MainsOffOnExit {
public:
    explicit MainsOffOnExit(EffectHost& host) : host(host) { host.dispatch(effMainsChanged, 0, 1); }
    ~MainsOffOnExit() { host.dispatch(effMainsChanged, 0, 0); }
    MainsOffOnExit(const MainsOffOnExit&) = delete;
    MainsOffOnExit& operator=(const MainsOffOnExit&) = delete;

private:
    EffectHost& host;
};

std::string channelRange(int first, int last) {
    return first == last ? "channel " + std::to_string(first)
                         : "channels " + std::to_string(first) + "-" + std::to_string(last);
}

} // namespace

MemoryFrames::MemoryFrames(int channels, std::vector<float> interleaved)
    : channelCount(channels), data(std::move(interleaved)) {}

std::int64_t MemoryFrames::frames() const {
    return static_cast<std::int64_t>(data.size() / static_cast<std::size_t>(channelCount));
}

std::int64_t MemoryFrames::read(float* interleaved, std::int64_t frames) {
    const std::size_t wanted = static_cast<std::size_t>(frames) * channelCount;
    const std::size_t count = std::min(wanted, data.size() - readPosition);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(readPosition), count, interleaved);
    readPosition += count;
    return static_cast<std::int64_t>(count / static_cast<std::size_t>(channelCount));
}

void MemoryFrames::write(const float* interleaved, std::int64_t frames) {
    data.insert(data.end(), interleaved, interleaved + frames * channelCount);
}

Renderer::Renderer(EffectHost& host, double sampleRate, const RenderSettings& settings)
    : host(host), sampleRate(sampleRate), settings(settings) {
    const AEffect& effect = host.effect();
    if (settings.blockSize < 1 || settings.blockSize > RenderSettings::maximumBlockSize) {
        throw HostError("block size " + std::to_string(settings.blockSize) +
                        " is out of range (1.." + std::to_string(RenderSettings::maximumBlockSize) +
                        ")");
    }
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) {
        throw HostError("the sample rate must be a positive number of Hz");
    }
    if (effect.numInputs < 0 || effect.numInputs > maximumChannels || effect.numOutputs < 1 ||
        effect.numOutputs > maximumChannels) {
        throw HostError("the plug-in reports " + std::to_string(effect.numInputs) + " inputs and " +
                        std::to_string(effect.numOutputs) + " outputs; 0.." +
                        std::to_string(maximumChannels) + " inputs and 1.." +
                        std::to_string(maximumChannels) + " outputs are supported");
    }
    if (effect.processReplacing == nullptr && effect.process == nullptr) {
        throw HostError("the plug-in has no process function");
    }
    const auto blockFrames = static_cast<std::size_t>(settings.blockSize);
    inputs.assign(static_cast<std::size_t>(effect.numInputs), std::vector<float>(blockFrames));
    outputs.assign(static_cast<std::size_t>(effect.numOutputs), std::vector<float>(blockFrames));
    for (auto& channel : inputs) {
        inputPointers.push_back(channel.data());
    }
    for (auto& channel : outputs) {
        outputPointers.push_back(channel.data());
    }
    interleavedOutput.resize(blockFrames * outputs.size());

    HostTransport& transport = host.transport();
    transport.configure(sampleRate, transport.tempo(), transport.startBeat());
    host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    host.dispatch(effSetBlockSize, 0, settings.blockSize);
}

RenderResult Renderer::render(FrameSource& source, FrameSink& sink,
                              const std::function<void(const RenderProgress&)>& progress) {
    RenderResult result;
    const int sourceChannels = source.channels();
    const int blockSize = settings.blockSize;
    const std::size_t outputCount = outputs.size();
    std::vector<float> interleavedInput(static_cast<std::size_t>(blockSize) *
                                        static_cast<std::size_t>(std::max(sourceChannels, 1)));
    std::int64_t position = 0;

    const std::int64_t fixedTail =
        settings.tailSeconds >= 0.0 ? std::llround(settings.tailSeconds * sampleRate) : -1;
    const std::int64_t sourceFrames = source.frames();
    const std::int64_t expected =
        sourceFrames < 0 ? -1 : sourceFrames + std::max<std::int64_t>(fixedTail, 0);

    auto runBlock = [&](int frames) {
        host.transport().moveTo(position);
        processBlock(frames);
        position += frames;
        const auto samples = static_cast<std::size_t>(frames) * outputCount;
        result.nonFiniteSamples +=
            std::count_if(interleavedOutput.begin(), interleavedOutput.begin() + samples,
                          [](float sample) { return !std::isfinite(sample); });
    };
    auto emit = [&](const float* interleaved, std::int64_t frames) {
        if (frames > 0) {
            sink.write(interleaved, frames);
            result.outputFrames += frames;
        }
    };
    auto report = [&](std::int64_t framesExpected) {
        if (progress) {
            progress(RenderProgress{position, framesExpected});
        }
    };

    MainsOffOnExit mains(host);
    for (;;) {
        const std::int64_t frames = source.read(interleavedInput.data(), blockSize);
        if (frames <= 0) {
            break;
        }
        feedInputs(interleavedInput.data(), sourceChannels, static_cast<int>(frames));
        runBlock(static_cast<int>(frames));
        emit(interleavedOutput.data(), frames);
        result.inputFrames += frames;
        report(expected);
    }

    for (auto& channel : inputs) {
        std::fill(channel.begin(), channel.end(), 0.0f);
    }
    if (fixedTail >= 0) {
        for (std::int64_t remaining = fixedTail; remaining > 0;) {
            const int frames = static_cast<int>(std::min<std::int64_t>(blockSize, remaining));
            runBlock(frames);
            emit(interleavedOutput.data(), frames);
            remaining -= frames;
            report(expected);
        }
        return result;
    }

    // A ringing tail: quiet frames are held back until a louder one shows they belong to it.
    const std::int64_t quietFrames = std::llround(quietSeconds * sampleRate);
    const std::int64_t longestTail = std::llround(maximumTailSeconds * sampleRate);
    std::vector<float> heldBack;
    for (std::int64_t tail = 0;;) {
        if (tail >= longestTail) {
            result.tailCapped = true;
            break;
        }
        const int frames = static_cast<int>(std::min<std::int64_t>(blockSize, longestTail - tail));
        runBlock(frames);
        tail += frames;
        int lastLoud = -1;
        for (int frame = 0; frame < frames; ++frame) {
            const float* samples = interleavedOutput.data() + frame * outputCount;
            if (std::any_of(samples, samples + outputCount,
                            [](float sample) { return !(std::fabs(sample) < quietLevel); })) {
                lastLoud = frame;
            }
        }
        if (lastLoud >= 0) {
            emit(heldBack.data(), static_cast<std::int64_t>(heldBack.size() / outputCount));
            heldBack.clear();
            emit(interleavedOutput.data(), lastLoud + 1);
        }
        heldBack.insert(heldBack.end(), interleavedOutput.begin() + (lastLoud + 1) * outputCount,
                        interleavedOutput.begin() + frames * outputCount);
        report(-1);
        if (static_cast<std::int64_t>(heldBack.size() / outputCount) >= quietFrames) {
            break;
        }
    }
    return result;
}

void Renderer::feedInputs(const float* interleaved, int sourceChannels, int frames) {
    for (std::size_t input = 0; input < inputs.size(); ++input) {
        float* channel = inputs[input].data();
        // Mono feeds every input; otherwise input n takes channel n, silence when there is none.
        const int sourceChannel = sourceChannels == 1 ? 0 : static_cast<int>(input);
        if (sourceChannel >= sourceChannels) {
            std::fill(channel, channel + frames, 0.0f);
            continue;
        }
        for (int frame = 0; frame < frames; ++frame) {
            channel[frame] = interleaved[frame * sourceChannels + sourceChannel];
        }
    }
}

void Renderer::processBlock(int frames) {
    AEffect& effect = host.effect();
    if (effect.processReplacing != nullptr) {
        effect.processReplacing(&effect, inputPointers.data(), outputPointers.data(), frames);
    } else {
        // The accumulating call adds to what is in the outputs.
        for (auto& channel : outputs) {
            std::fill(channel.begin(), channel.begin() + frames, 0.0f);
        }
        effect.process(&effect, inputPointers.data(), outputPointers.data(), frames);
    }
    interleaveOutputs(frames);
}

void Renderer::interleaveOutputs(int frames) {
    const std::size_t outputCount = outputs.size();
    for (std::size_t output = 0; output < outputCount; ++output) {
        const float* channel = outputs[output].data();
        for (int frame = 0; frame < frames; ++frame) {
            interleavedOutput[frame * outputCount + output] = channel[frame];
        }
    }
}

std::string Renderer::describeChannelMapping(int sourceChannels, int effectInputs) {
    if (effectInputs == 0) {
        return "the plug-in takes no input; the input file only sets the length";
    }
    if (sourceChannels == 1 || sourceChannels == effectInputs) {
        return {};
    }
    if (sourceChannels > effectInputs) {
        return "using " + channelRange(1, effectInputs) + " of " + std::to_string(sourceChannels) +
               " (the plug-in has " + std::to_string(effectInputs) + " inputs)";
    }
    return "plug-in inputs " + std::to_string(sourceChannels + 1) + "-" +
           std::to_string(effectInputs) + " get silence (the input has " +
           std::to_string(sourceChannels) + " channels)";
}
