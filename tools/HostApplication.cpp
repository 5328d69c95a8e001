#include "tools/HostApplication.h"

#include "tools/AudioFile.h"
#include "tools/DemoSignal.h"
#include "tools/EditorPicture.h"
#include "tools/EditorWindow.h"
#include "tools/EffectHost.h"
#include "tools/HostBenchmark.h"
#include "tools/HostError.h"
#include "tools/OutputFile.h"
#include "tools/PluginModule.h"
#include "tools/ProgressBar.h"
#include "tools/Renderer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

namespace {

constexpr int maximumSampleRate = 768000; // Hz
constexpr int demoPrograms = 8;           // the factory presets
constexpr std::size_t longestFileNameStem = 40;
// What the plug-in is told while only its texts are read.
constexpr float listingSampleRate = 48000.0f;

class FileSource : public FrameSource {
public:
    explicit FileSource(AudioFile& file) : file(file) {}
    int channels() const override { return file.channels(); }
    std::int64_t frames() const override { return file.frames(); }
    std::int64_t read(float* interleaved, std::int64_t frames) override {
        return file.readFrames(interleaved, frames);
    }

private:
    AudioFile& file;
};

class DiscardingSink : public FrameSink {
public:
    void write(const float*, std::int64_t) override {}
};

class FileSink : public FrameSink {
public:
    explicit FileSink(AudioFile& file) : file(file) {}
    void write(const float* interleaved, std::int64_t frames) override {
        file.writeFrames(interleaved, frames);
    }

private:
    AudioFile& file;
};

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string seconds(std::int64_t frames, double sampleRate) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(frames) / sampleRate);
    return text;
}

RenderSettings renderSettings(const CommandLine& options) {
    RenderSettings settings;
    settings.blockSize = options.blockSize;
    settings.tailSeconds = options.tailSeconds.value_or(-1.0);
    return settings;
}

} // namespace

HostApplication::HostApplication(std::string defaultPlugin, std::ostream& out, std::ostream& err)
    : defaultPlugin(std::move(defaultPlugin)), out(out), err(err) {}

int HostApplication::run(const CommandLine& options) {
    switch (options.command) {
    case CommandLine::Command::Help:
        out << CommandLine::usage();
        break;
    case CommandLine::Command::List:
        list(options);
        break;
    case CommandLine::Command::Render:
        render(options);
        break;
    case CommandLine::Command::Demo:
        demo(options);
        break;
    case CommandLine::Command::EditorPicture:
        editorPicture(options);
        break;
    case CommandLine::Command::Benchmark:
        benchmark(options);
        break;
    case CommandLine::Command::EditorWindow:
        editorWindow(options);
        break;
    }
    return 0;
}

std::string HostApplication::pluginPath(const CommandLine& options) const {
    if (!options.pluginPath.empty()) {
        return options.pluginPath;
    }
    if (defaultPlugin.empty()) {
        throw HostError("this build has no veltrane module; name a plug-in with --plugin PATH");
    }
    return defaultPlugin;
}

void HostApplication::configure(EffectHost& host, const CommandLine& options, int program) {
    if (program >= 0) {
        host.setProgram(program);
    }
    for (const ParameterSetting& setting : options.settings) {
        host.setParameter(host.findParameter(setting.parameter), setting.value);
    }
}

void HostApplication::list(const CommandLine& options) {
    PluginModule module(pluginPath(options));
    EffectHost host(module.entryPoint());
    host.dispatch(effSetSampleRate, 0, 0, nullptr, listingSampleRate);
    host.dispatch(effSetBlockSize, 0, options.blockSize);
    configure(host, options, options.program ? host.findProgram(*options.program) : -1);

    const AEffect& effect = host.effect();
    out << "Plug-in: " << module.path() << "\n";
    out << "Effect: \"" << host.effectName() << "\", " << effect.numInputs << " inputs, "
        << effect.numOutputs << " outputs\n";
    out << "Parameters (" << std::max(host.numParameters(), 0) << "):\n";
    for (int index = 0; index < host.numParameters(); ++index) {
        char line[256];
        std::snprintf(line, sizeof line, "%5d  %-24s %-16s %s\n", index,
                      trimmed(host.parameterName(index)).c_str(),
                      trimmed(host.parameterDisplay(index)).c_str(),
                      trimmed(host.parameterLabel(index)).c_str());
        out << line;
    }
    out << "Programs (" << std::max(host.numPrograms(), 0) << "):\n";
    for (int index = 0; index < host.numPrograms(); ++index) {
        char line[128];
        std::snprintf(line, sizeof line, "%5d  %s\n", index,
                      trimmed(host.programName(index)).c_str());
        out << line;
    }
}

void HostApplication::render(const CommandLine& options) {
    AudioFile input = AudioFile::openForReading(options.inputPath);
    const int sampleRate = input.sampleRate();
    if (sampleRate > maximumSampleRate) {
        throw HostError("cannot render " + options.inputPath + ": its sample rate " +
                        std::to_string(sampleRate) + " Hz is above " +
                        std::to_string(maximumSampleRate) + " Hz");
    }
    if (OutputFile::sameFile(options.inputPath, options.outputPath)) {
        throw HostError("refusing to overwrite the input file " + options.inputPath +
                        " with the output");
    }
    AudioFile::formatForPath(options.outputPath);
    OutputFile output(options.outputPath);

    PluginModule module(pluginPath(options));
    EffectHost host(module.entryPoint());
    host.transport().configure(sampleRate, options.tempo, options.startBeat);
    Renderer renderer(host, sampleRate, renderSettings(options));
    configure(host, options, options.program ? host.findProgram(*options.program) : -1);
    const std::string mapping =
        Renderer::describeChannelMapping(input.channels(), host.effect().numInputs);
    if (!mapping.empty()) {
        err << "veltrane-host: note: " << mapping << "\n";
    }

    AudioFile writer = AudioFile::createForWriting(output.descriptor(), options.outputPath,
                                                   sampleRate, renderer.outputChannels());
    FileSource source(input);
    FileSink sink(writer);
    RenderResult result;
    {
        ProgressBar bar = ProgressBar::onStandardError("rendering");
        result = renderer.render(source, sink, [&](const RenderProgress& progress) {
            bar.update(progress.framesDone, progress.framesExpected, sampleRate);
        });
    }
    writer.close();
    output.commit();

    if (result.nonFiniteSamples > 0) {
        err << "veltrane-host: warning: the plug-in produced " << result.nonFiniteSamples
            << " samples that are not finite numbers\n";
    }
    if (result.tailCapped) {
        err << "veltrane-host: note: the output had not rung out after "
            << Renderer::maximumTailSeconds << " s of tail; cut there\n";
    }
    out << "wrote " << options.outputPath << ": " << seconds(result.outputFrames, sampleRate)
        << " (input " << seconds(result.inputFrames, sampleRate) << "), "
        << renderer.outputChannels() << " channels, " << sampleRate << " Hz\n";
}

void HostApplication::demo(const CommandLine& options) {
    PluginModule module(pluginPath(options));
    std::error_code error;
    std::filesystem::create_directories(options.outputPath, error);
    if (error || !std::filesystem::is_directory(options.outputPath)) {
        throw HostError("cannot make the folder " + options.outputPath + ": " +
                        (error ? error.message() : "a file of that name exists"));
    }

    std::vector<int> programs;
    {
        EffectHost probe(module.entryPoint());
        if (options.program) {
            programs.push_back(probe.findProgram(*options.program));
        } else {
            for (int program = 0; program < std::min(probe.numPrograms(), demoPrograms);
                 ++program) {
                programs.push_back(program);
            }
        }
    }
    if (programs.empty()) {
        programs.push_back(-1); // a plug-in without programs: its settings as they are
    }

    const std::vector<float> signal = DemoSignal::generate();
    const std::string folder = options.outputPath.empty() || options.outputPath.back() == '/'
                                   ? options.outputPath
                                   : options.outputPath + "/";
    for (const int program : programs) {
        // A fresh instance per program, so no echo of one program rings into the next.
        EffectHost host(module.entryPoint());
        host.transport().configure(DemoSignal::sampleRate, options.tempo, options.startBeat);
        Renderer renderer(host, DemoSignal::sampleRate, renderSettings(options));
        configure(host, options, program);
        const std::string path =
            folder + demoFileName(std::max(program, 0),
                                  program >= 0 ? host.programName(program) : "default");

        OutputFile output(path);
        AudioFile writer = AudioFile::createForWriting(
            output.descriptor(), path, DemoSignal::sampleRate, renderer.outputChannels());
        MemoryFrames source(DemoSignal::channels, signal);
        FileSink sink(writer);
        RenderResult result;
        {
            ProgressBar bar = ProgressBar::onStandardError(path);
            result = renderer.render(source, sink, [&](const RenderProgress& progress) {
                bar.update(progress.framesDone, progress.framesExpected, DemoSignal::sampleRate);
            });
        }
        writer.close();
        output.commit();
        out << "wrote " << path << " (" << seconds(result.outputFrames, DemoSignal::sampleRate)
            << (result.tailCapped ? ", still ringing where the tail was cut" : "") << ")\n";
    }
}

void HostApplication::editorPicture(const CommandLine& options) {
    EffectHost host(&linkedEffectEntryPoint);
    host.transport().configure(DemoSignal::sampleRate, options.tempo, options.startBeat);
    RenderSettings settings = renderSettings(options);
    settings.tailSeconds = 0.0;
    Renderer renderer(host, DemoSignal::sampleRate, settings);
    configure(host, options, options.program ? host.findProgram(*options.program) : -1);
    if (options.playSeconds > 0.0) {
        // The demo phrase, cut or lengthened with silence to the time asked for.
        std::vector<float> signal = DemoSignal::generate();
        signal.resize(static_cast<std::size_t>(options.playSeconds * DemoSignal::sampleRate) *
                          DemoSignal::channels,
                      0.0f);
        MemoryFrames source(DemoSignal::channels, std::move(signal));
        DiscardingSink sink;
        renderer.render(source, sink);
    }
    const software::Image picture = drawEditor(host, options.gesture);
    const std::filesystem::path folder =
        std::filesystem::path(options.editorPicturePath).parent_path();
    std::error_code ignored; // writing the file then says what is wrong
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    std::string error;
    if (!software::writePng(picture, options.editorPicturePath, error)) {
        throw HostError(error);
    }
    out << "wrote " << options.editorPicturePath << " (" << picture.width << " x " << picture.height
        << ")\n";
}

void HostApplication::benchmark(const CommandLine& options) {
    PluginModule module(pluginPath(options));
    EffectHost host(module.entryPoint());
    host.transport().configure(HostBenchmark::sampleRate, options.tempo, options.startBeat);
    HostBenchmark bench(host);
    configure(host, options, options.program ? host.findProgram(*options.program) : -1);
    const BenchmarkResult result = bench.run(options.benchmarkSeconds);
    char line[160];
    std::snprintf(
        line, sizeof line,
        "%s: %.1f ns of CPU time per stereo frame, real-time factor %.0f (%.2f s of "
        "audio in %.4f s)\n",
        host.effectName().c_str(), 1e9 * result.secondsPerFrame(), result.realTimeFactor(),
        static_cast<double>(result.frames) / HostBenchmark::sampleRate, result.cpuSeconds);
    out << line;
}

void HostApplication::editorWindow(const CommandLine& options) {
    PluginModule module(pluginPath(options));
    EffectHost host(module.entryPoint());
    host.dispatch(effSetSampleRate, 0, 0, nullptr, listingSampleRate);
    host.dispatch(effSetBlockSize, 0, options.blockSize);
    configure(host, options, options.program ? host.findProgram(*options.program) : -1);
    runEditorWindow(host, out);
}

std::string HostApplication::demoFileName(int program, const std::string& programName) {
    std::string stem;
    for (const char character : programName) {
        const auto c = static_cast<unsigned char>(character);
        if (std::isalnum(c) != 0 && c < 128) {
            stem += static_cast<char>(std::tolower(c));
        } else if (!stem.empty() && stem.back() != '-') {
            stem += '-';
        }
    }
    stem = stem.substr(0, longestFileNameStem);
    while (!stem.empty() && stem.back() == '-') {
        stem.pop_back();
    }
    return std::to_string(program) + "-" + (stem.empty() ? "program" : stem) + ".wav";
}
