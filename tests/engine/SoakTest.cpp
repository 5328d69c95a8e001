// Random automation of every parameter, in range and far out of it, with random block sizes,
// transport and lifecycle calls: the output stays finite and the buffers' guards intact.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace engine;

namespace {

TEST(Soak, RandomAutomationNeverProducesNonFiniteOutput) {
    std::mt19937 random(20261208);
    const float wild[] = {-1.0f,
                          2.0f,
                          -1e30f,
                          1e30f,
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::denorm_min(),
                          0.0f,
                          1.0f,
                          0.5f};
    const int blockSizes[] = {0, 1, 2, 63, 64, 65, 100, 128, 511, 512, 1000};
    const double hostValues[] = {0.0,
                                 1.0,
                                 -4.0,
                                 1e12,
                                 -1e300,
                                 120.0,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity()};
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> anyParameter(0, PI::kNumParameters - 1);
    std::uniform_int_distribution<int> percent(0, 99);

    FeedbackEngine engine;
    engine.resume(44100.0f);
    ScriptedTransport transport;
    long checked = 0;
    for (int block = 0; block < 20000; ++block) {
        const int changes = percent(random) % 8;
        for (int c = 0; c < changes; ++c) {
            const int index = anyParameter(random);
            const float value = percent(random) < 80 ? unit(random) : wild[random() % 11];
            setParameter(engine, index, value);
        }
        // Keep some feedback and resonance around so that the limiter has work to do.
        if (percent(random) < 5) {
            setParameter(engine, PI::line(random() % 4, PI::Feedback0 + random() % 4), 1.0f);
            setParameter(engine, PI::line(random() % 4, PI::Res), 1.0f);
        }
        const int event = percent(random);
        if (event < 1) {
            engine.resetEngine();
        } else if (event < 2) {
            engine.suspend();
            engine.resume(percent(random) < 50 ? 48000.0f : 22050.0f);
        }
        transport.answer = percent(random) < 90;
        transport.time = {percent(random) < 70 ? block * 0.05 : hostValues[random() % 8],
                          percent(random) < 70 ? 140.0 : hostValues[random() % 8],
                          percent(random) < 70 ? 44100.0 : hostValues[random() % 8]};

        const int frames = blockSizes[random() % 11];
        Render input = silence(frames);
        for (int n = 0; n < frames; ++n) {
            const int kind = percent(random);
            input.left[n] = kind < 2 ? wild[random() % 11] : unit(random) * 2.0f - 1.0f;
            input.right[n] = kind < 50 ? input.left[n] : unit(random) * 4.0f - 2.0f;
        }
        const float rate = percent(random) < 95 ? 44100.0f : float(hostValues[random() % 8]);
        const OutputMode mode = percent(random) < 50 ? OutputMode::Replace : OutputMode::Accumulate;
        Render output;
        ASSERT_TRUE(render(engine, input, output, frames, mode, rate, &transport))
            << "block " << block;
        for (int n = 0; n < frames; ++n) {
            ASSERT_TRUE(std::isfinite(output.left[n]) && std::isfinite(output.right[n]))
                << "block " << block << " sample " << n;
        }
        checked += frames;
        const int step = engine.getCurrentStep();
        ASSERT_GE(step, 0);
        ASSERT_LT(step, 16);
        for (int i = 0; i < EngineState::kLines; ++i) {
            ASSERT_GE(engine.state().iDelaySamples[i].load(), 64);
            ASSERT_LT(engine.state().iDelaySamples[i].load(), engine.state().iBufferSize.load());
            if (frames > 0) { // positions are wrapped when the next sample uses them
                ASSERT_LT(engine.state().iWritePos[i], engine.state().iDelaySamples[i].load());
            }
            ASSERT_TRUE(std::isfinite(engine.state().fEnv[i]));
            ASSERT_TRUE(std::isfinite(engine.state().fSvfLow[i]));
        }
    }
    EXPECT_GT(checked, 3000000);
}

} // namespace
