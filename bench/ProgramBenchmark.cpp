// The engine's CPU time per stereo frame for each built-in program and for a heavy setting, at
// 48 kHz in blocks of 512 frames with the host's transport moving, beside the plain reference
// path's time in the same run; and the longest single block at 192 kHz in blocks of 64 frames
// through a program change, a panic and a resume.
//
// Usage: veltrane_bench [benchmark options]  the tables: Google Benchmark runs the settings
//                                            in interleaved repetitions and the median counts
//        veltrane_bench --count SETTING [--plain]
//                                            renders one second of SETTING (0..9 a program,
//                                            10 the heavy setting) after two of warm-up, the
//                                            measured second alone inside measuredSecond(), for
//                                            instruction counts under callgrind
//        veltrane_bench --heavy-settings     the heavy setting as veltrane-host --set options
#include "effect/FactoryPresets.h"
#include "engine/FeedbackEngine.h"
#include "engine/LineFilter.h"
#include "engine/ParameterIndex.h"
#include "engine/Transport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

namespace PI = ParameterIndex;
using engine::FeedbackEngine;

constexpr float kSampleRate = 48000.0f;
constexpr int kBlockFrames = 512;
constexpr int kHeavySetting = kNumPrograms;
constexpr int kSettings = kNumPrograms + 1;
constexpr int kRepetitions = 7;        // interleaved; the median counts
constexpr double kRoundSeconds = 0.25; // of CPU time per engine and repetition, at least
constexpr float kWorstCaseRate = 192000.0f;
constexpr int kWorstCaseBlock = 64;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The host's transport at 120 beats per minute, moved on after every block.
struct MovingTransport : engine::TransportSource {
    engine::HostTransport time{0.0, 120.0, kSampleRate};
    bool readTransport(engine::HostTransport& transport) noexcept override {
        transport = time;
        return true;
    }
    void advance(int frames) { time.ppqPos += frames * time.tempo / (60.0 * time.sampleRate); }
};

// An enumerated parameter's value for state n of count.
float state(int n, int count) {
    return static_cast<float>(n) / static_cast<float>(count - 1);
}

// Filt>Delay, the four filter types, both LFOs and the sequencer on the cutoff, softSat.
ParameterValues heavySetting() {
    ParameterValues values = factoryPresetValues(0);
    values[PI::fRouting] = 1.0f;
    values[PI::fCompSense] = 1.0f;
    for (int i = 0; i < PI::kNumLines; ++i) {
        values[PI::line(i, PI::Filt)] = state(i + 1, engine::LineFilter::kNumTypes);
        values[PI::line(i, PI::Freq)] = 0.6f;
        values[PI::line(i, PI::Res)] = 0.5f;
        values[PI::lfoAmount(0, 0, i)] = 0.9f;
        values[PI::lfoAmount(1, 0, i)] = 0.2f;
        values[PI::stepAmount(0, i)] = 0.8f;
    }
    for (int k = 0; k < PI::kNumLfos; ++k) {
        values[PI::lfo(k, PI::LfoWave)] = 0.0f; // sine
        values[PI::lfo(k, PI::LfoDist)] = 0.25f;
    }
    values[PI::lfoDestination(0, 0)] = state(1, 8); // CutOff
    values[PI::lfoDestination(1, 0)] = state(1, 6);
    values[PI::fStepDest0] = state(1, 8);
    values[PI::fBlend] = 0.5f;
    return values;
}

const char* settingName(int setting) {
    return setting == kHeavySetting ? "heavy: Filt>Delay, 4 filters, 3 mods on cutoff, softSat"
                                    : factoryPresetName(setting);
}

ParameterValues settingValues(int setting) {
    return setting == kHeavySetting ? heavySetting() : factoryPresetValues(setting);
}

// One engine with its buffers, fed fresh noise at -20 dB (fixed seed) for every block.
class Player {
public:
    Player(int setting, FeedbackEngine::Path path, float sampleRate, int blockFrames)
        : engine(std::make_unique<FeedbackEngine>(path)), sampleRate(sampleRate),
          blockFrames(blockFrames) {
        transport.time.sampleRate = sampleRate;
        load(setting);
        engine->resume(sampleRate);
        std::mt19937 random(42);
        std::uniform_real_distribution<float> noise(-0.1f, 0.1f);
        source.resize(2 * static_cast<std::size_t>(blockFrames));
        for (float& sample : source) {
            sample = noise(random);
        }
        for (auto& buffer : buffers) {
            buffer.assign(static_cast<std::size_t>(blockFrames), 0.0f);
        }
    }

    void load(int setting) {
        const ParameterValues values = settingValues(setting);
        for (int index = 0; index < PI::kNumParameters; ++index) {
            engine->storeParameter(index, values[static_cast<std::size_t>(index)]);
            engine->updateEngine();
        }
    }

    void block() {
        std::copy_n(source.begin(), blockFrames, buffers[0].begin());
        std::copy_n(source.begin() + blockFrames, blockFrames, buffers[1].begin());
        float* inputs[2] = {buffers[0].data(), buffers[1].data()};
        float* outputs[2] = {buffers[2].data(), buffers[3].data()};
        engine->process(inputs, outputs, blockFrames, engine::OutputMode::Replace, sampleRate,
                        &transport);
        transport.advance(blockFrames);
    }

    int blocksPerSecond() const { return static_cast<int>(sampleRate) / blockFrames; }
    FeedbackEngine& effect() { return *engine; }

private:
    std::unique_ptr<FeedbackEngine> engine;
    MovingTransport transport;
    float sampleRate;
    int blockFrames;
    std::vector<float> source;
    std::vector<float> buffers[4];
};

struct WorstBlock {
    double ordinary;     // median block, seconds
    double longest;      // any block
    double afterProgram; // the first block after the program change
    double afterPanic;   // the block that takes the panic
    double afterResume;  // the first block after the resume
};

// Four seconds at 192 kHz: a program change at 1 s, a panic at 2 s, a resume at 3 s. The run is
// repeated and each block keeps its shortest time, which leaves the engine's own costs and
// drops the machine's interruptions.
WorstBlock worstBlock(FeedbackEngine::Path path) {
    constexpr int kRepeats = 5;
    std::vector<double> times;
    int second = 0;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        Player player(0, path, kWorstCaseRate, kWorstCaseBlock);
        second = player.blocksPerSecond();
        times.resize(static_cast<std::size_t>(4 * second), 1.0);
        for (int block = 0; block < 4 * second; ++block) {
            if (block == second) {
                player.load(3);
            } else if (block == 2 * second) {
                player.effect().resetEngine();
            } else if (block == 3 * second) {
                player.effect().suspend();
                player.effect().resume(kWorstCaseRate);
            }
            const double start = cpuSeconds();
            player.block();
            double& shortest = times[static_cast<std::size_t>(block)];
            shortest = std::min(shortest, cpuSeconds() - start);
        }
    }
    const auto at = [&](int block) { return times[static_cast<std::size_t>(block)]; };
    WorstBlock result{0.0, 0.0, at(second), at(2 * second), at(3 * second)};
    result.longest = *std::max_element(times.begin(), times.end());
    std::sort(times.begin(), times.end());
    result.ordinary = times[times.size() / 2];
    return result;
}

const char* pathName(FeedbackEngine::Path path) {
    return path == FeedbackEngine::Path::Vector ? "vector" : "plain";
}

// After two seconds of warm-up, blocks as long as the benchmark asks; CPU seconds per frame.
void timeSetting(benchmark::State& benchmark, int setting, FeedbackEngine::Path path) {
    Player player(setting, path, kSampleRate, kBlockFrames);
    for (int block = 0; block < 2 * player.blocksPerSecond(); ++block) {
        player.block();
    }
    for (auto _ : benchmark) {
        player.block();
    }
    benchmark.counters["frame"] = benchmark::Counter(
        kBlockFrames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void timeWorstBlock(benchmark::State& benchmark, FeedbackEngine::Path path) {
    WorstBlock worst{};
    for (auto _ : benchmark) {
        worst = worstBlock(path);
    }
    benchmark.counters["median"] = worst.ordinary;
    benchmark.counters["longest"] = worst.longest;
    benchmark.counters["program"] = worst.afterProgram;
    benchmark.counters["panic"] = worst.afterPanic;
    benchmark.counters["resume"] = worst.afterResume;
}

// Both paths of every setting, then the longest blocks; benchmark names are "SETTING/PATH"
// and "worst/PATH".
void registerBenchmarks() {
    for (int setting = 0; setting < kSettings; ++setting) {
        for (const auto path : {FeedbackEngine::Path::Vector, FeedbackEngine::Path::Plain}) {
            benchmark::RegisterBenchmark(
                (std::to_string(setting) + "/" + pathName(path)).c_str(),
                [setting, path](benchmark::State& state) { timeSetting(state, setting, path); })
                ->MinTime(kRoundSeconds)
                ->Repetitions(kRepetitions)
                ->ReportAggregatesOnly(true);
        }
    }
    for (const auto path : {FeedbackEngine::Path::Vector, FeedbackEngine::Path::Plain}) {
        benchmark::RegisterBenchmark(
            (std::string("worst/") + pathName(path)).c_str(),
            [path](benchmark::State& state) { timeWorstBlock(state, path); })
            ->Iterations(1);
    }
}

// The medians of the runs as two tables, each setting's vector path beside its plain one.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (median || run.run_type == Run::RT_Iteration)) {
                results[run.run_name.function_name] = run.counters;
            }
        }
    }

    void Finalize() override {
        std::printf("CPU time per stereo frame at 48 kHz, blocks of 512, median of %d interleaved "
                    "repetitions\n\n",
                    kRepetitions);
        std::printf("%-58s %10s %10s %7s %8s\n", "setting", "ns/frame", "plain", "ratio", "x RT");
        for (int setting = 0; setting < kSettings; ++setting) {
            const double vector = value(std::to_string(setting) + "/vector", "frame");
            const double plain = value(std::to_string(setting) + "/plain", "frame");
            if (vector > 0.0 && plain > 0.0) {
                std::printf("%-58s %10.1f %10.1f %7.3f %8.0f\n", settingName(setting), vector * 1e9,
                            plain * 1e9, vector / plain, 1.0 / (vector * kSampleRate));
            }
        }
        std::printf("\nBlocks of %d frames at %.0f kHz (deadline %.0f us) through a program "
                    "change, a panic and a resume; microseconds of CPU time, each block's "
                    "shortest of 5 runs\n\n",
                    kWorstCaseBlock, kWorstCaseRate / 1000.0,
                    1e6 * kWorstCaseBlock / kWorstCaseRate);
        std::printf("%-10s %10s %10s %10s %10s %10s\n", "path", "median", "longest", "program",
                    "panic", "resume");
        for (const auto path : {FeedbackEngine::Path::Vector, FeedbackEngine::Path::Plain}) {
            const std::string name = std::string("worst/") + pathName(path);
            if (results.count(name) != 0) {
                std::printf("%-10s", pathName(path));
                for (const char* column : {"median", "longest", "program", "panic", "resume"}) {
                    std::printf(" %10.2f", value(name, column) * 1e6);
                }
                std::printf("\n");
            }
        }
    }

private:
    double value(const std::string& name, const std::string& counter) const {
        const auto run = results.find(name);
        if (run == results.end()) {
            return 0.0;
        }
        const auto found = run->second.find(counter);
        return found == run->second.end() ? 0.0 : found->second.value;
    }

    std::map<std::string, benchmark::UserCounters> results;
};

// Kept out of line, so that callgrind can count this second alone (--toggle-collect).
__attribute__((noinline)) void measuredSecond(Player& player) {
    for (int block = 0; block < player.blocksPerSecond(); ++block) {
        player.block();
    }
}

int countSetting(int setting, FeedbackEngine::Path path) {
    Player player(setting, path, kSampleRate, kBlockFrames);
    for (int block = 0; block < 2 * player.blocksPerSecond(); ++block) {
        player.block();
    }
    measuredSecond(player);
    std::printf("%d frames of %s\n", player.blocksPerSecond() * kBlockFrames, settingName(setting));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--count") == 0) {
        const int setting = std::atoi(argv[2]);
        if (setting < 0 || setting >= kSettings) {
            std::fprintf(stderr, "veltrane_bench: no setting %s\n", argv[2]);
            return 2;
        }
        const bool plain = argc >= 4 && std::strcmp(argv[3], "--plain") == 0;
        return countSetting(setting,
                            plain ? FeedbackEngine::Path::Plain : FeedbackEngine::Path::Vector);
    }
    if (argc == 2 && std::strcmp(argv[1], "--heavy-settings") == 0) {
        const ParameterValues heavy = heavySetting();
        const ParameterValues program = factoryPresetValues(0);
        std::printf("--program 0");
        for (int index = 0; index < PI::kNumParameters; ++index) {
            const auto at = static_cast<std::size_t>(index);
            if (heavy[at] != program[at]) {
                std::printf(" --set %d=%.9g", index, heavy[at]);
            }
        }
        std::printf("\n");
        return 0;
    }
    // Repetitions in random order: every setting and path sees the machine's changing load.
    std::vector<char*> arguments(argv, argv + argc);
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleaving.data());
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        std::fprintf(stderr,
                     "usage: veltrane_bench [benchmark options | --count SETTING [--plain] | "
                     "--heavy-settings]\n");
        return 2;
    }
    registerBenchmarks();
    TableReporter table;
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return 0;
}
