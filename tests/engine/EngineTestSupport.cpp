#include "EngineTestSupport.h"

#include <algorithm>

bool render(engine::FeedbackEngine& engine, const Render& input, Render& output, int blockSize,
            engine::OutputMode mode, float sampleRate, engine::TransportSource* transport,
            float prefill) {
    const std::size_t frames = input.left.size();
    output.left.assign(frames, prefill);
    output.right.assign(frames, prefill);
    bool guardsIntact = true;
    std::vector<float> buffers[4];
    for (std::size_t start = 0; start < frames || (frames == 0 && start == 0);) {
        const std::size_t length = std::min<std::size_t>(blockSize, frames - start);
        const std::vector<float>* sources[4] = {&input.left, &input.right, &output.left,
                                                &output.right};
        float* pointers[4];
        for (int b = 0; b < 4; ++b) {
            buffers[b].assign(length + 2 * kGuard, kGuardValue);
            std::copy_n(sources[b]->begin() + start, length, buffers[b].begin() + kGuard);
            pointers[b] = buffers[b].data() + kGuard;
        }
        float* inputs[2] = {pointers[0], pointers[1]};
        float* outputs[2] = {pointers[2], pointers[3]};
        engine.process(inputs, outputs, static_cast<std::int32_t>(length), mode, sampleRate,
                       transport);
        for (int b = 0; b < 4; ++b) {
            for (int g = 0; g < kGuard; ++g) {
                guardsIntact = guardsIntact && buffers[b][g] == kGuardValue &&
                               buffers[b][kGuard + length + g] == kGuardValue;
            }
        }
        std::copy_n(pointers[2], length, output.left.begin() + start);
        std::copy_n(pointers[3], length, output.right.begin() + start);
        if (length == 0) {
            break;
        }
        start += length;
    }
    return guardsIntact;
}

void isolateLine(engine::FeedbackEngine& engine, int line) {
    engine.resume(kRate);
    setParameter(engine, PI::fDryWetMix, 1.0f);
    setParameter(engine, PI::fCompSense, 0.5f);
    setParameter(engine, PI::fFeedbackLimit, 0.5f);
    for (int i = 0; i < PI::kNumLines; ++i) {
        setParameter(engine, PI::line(i, PI::OutV), i == line ? 0.5f : 0.0f);
        setParameter(engine, PI::line(i, PI::Damp), 1.0f);
        setParameter(engine, PI::line(i, PI::Filt), 0.0f);
        for (int j = 0; j < PI::kNumLines; ++j) {
            setParameter(engine, PI::line(i, PI::Feedback0 + j), 0.5f);
        }
    }
}
