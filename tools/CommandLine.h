// The options of veltrane-host, parsed from the command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ParameterSetting {
    std::string parameter; // index or name
    float value;           // normalised, 0..1
};

struct CommandLine {
    enum class Command { Render, List, Demo, Help };

    static constexpr const char* defaultDemoFolder = "out/demo";
    static constexpr double minimumTempo = 1.0;   // beats per minute
    static constexpr double maximumTempo = 999.0; // beats per minute
    static constexpr double maximumBeat = 1.0e6;  // start positions within +-, quarter notes
    static constexpr double maximumTailSeconds = 3600.0;

    Command command = Command::Demo;
    std::string pluginPath; // empty: the module built alongside
    std::string inputPath;
    std::string outputPath; // the output file, or the demo's folder
    std::optional<std::string> program;
    std::vector<ParameterSetting> settings;
    int blockSize = 512;
    double tempo = 120.0;
    double startBeat = 0.0;
    std::optional<double> tailSeconds; // none: until the output has rung out

    // Throws UsageError for an unknown option, a missing or malformed value, a number out of
    // range or surplus arguments.
    static CommandLine parse(const std::vector<std::string>& arguments);
    static std::string usage();
};
