// The options of veltrane-host, parsed from the command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ParameterSetting {
    std::string parameter; // index or name
    float value;           // normalised, 0..1
};

// A user's gesture on the editor before its picture is taken, in editor pixels.
struct EditorGesture {
    enum class Kind { None, Click, Drag };
    Kind kind = Kind::None;
    int fromX = 0;
    int fromY = 0;
    int toX = 0; // a drag's end
    int toY = 0;
    // Keys held with the button.
    bool alt = false;
    bool shift = false;
};

struct CommandLine {
    enum class Command { Render, List, Demo, EditorPicture, EditorWindow, Benchmark, Help };

    static constexpr const char* defaultDemoFolder = "out/demo";
    static constexpr double minimumTempo = 1.0;   // beats per minute
    static constexpr double maximumTempo = 999.0; // beats per minute
    static constexpr double maximumBeat = 1.0e6;  // start positions within +-, quarter notes
    static constexpr double maximumTailSeconds = 3600.0;
    static constexpr double maximumPlaySeconds = 600.0;
    static constexpr int editorWidth = 752; // pixels
    static constexpr int editorHeight = 512;
    static constexpr double maximumBenchmarkSeconds = 3600.0;

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
    std::string editorPicturePath;     // --editor-png
    EditorGesture gesture;
    double playSeconds = 0.0;      // audio run through the effect before its picture
    double benchmarkSeconds = 0.0; // of audio timed by --benchmark

    // Throws UsageError for an unknown option, a missing or malformed value, a number out of
    // range or surplus arguments.
    static CommandLine parse(const std::vector<std::string>& arguments);
    static std::string usage();
};
