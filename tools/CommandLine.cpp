#include "tools/CommandLine.h"

#include "tools/HostError.h"
#include "tools/Renderer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

std::string shortNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

double parseNumber(const std::string& option, const std::string& text, double minimum,
                   double maximum) {
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE ||
        !std::isfinite(value)) {
        throw UsageError(option + " expects a number, not \"" + text + "\"");
    }
    if (value < minimum || value > maximum) {
        throw UsageError(option + " " + text + " is out of range (" + shortNumber(minimum) +
                         " to " + shortNumber(maximum) + ")");
    }
    return value;
}

int parseWholeNumber(const std::string& option, const std::string& text, int minimum, int maximum) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE) {
        throw UsageError(option + " expects a whole number, not \"" + text + "\"");
    }
    if (value < minimum || value > maximum) {
        throw UsageError(option + " " + text + " is out of range (" + std::to_string(minimum) +
                         ".." + std::to_string(maximum) + ")");
    }
    return static_cast<int>(value);
}

ParameterSetting parseSetting(const std::string& text) {
    // Names may contain '=', values never do.
    const auto equals = text.find_last_of('=');
    if (equals == std::string::npos || equals == 0) {
        throw UsageError("--set expects NAME=VALUE, not \"" + text + "\"");
    }
    const double value =
        parseNumber("--set " + text.substr(0, equals), text.substr(equals + 1), 0.0, 1.0);
    return ParameterSetting{text.substr(0, equals), static_cast<float>(value)};
}

// "X,Y,..." with count whole numbers, each point inside the editor.
std::vector<int> parsePoints(const std::string& option, const std::string& text, int count) {
    std::vector<int> numbers;
    std::size_t start = 0;
    for (int index = 0; index < count; ++index) {
        const std::size_t comma = text.find(',', start);
        const bool last = index + 1 == count;
        if (last != (comma == std::string::npos)) {
            throw UsageError(option + " expects " +
                             (count == 2 ? std::string("X,Y") : std::string("X1,Y1,X2,Y2")) +
                             ", not \"" + text + "\"");
        }
        const int limit = index % 2 == 0 ? CommandLine::editorWidth : CommandLine::editorHeight;
        numbers.push_back(
            parseWholeNumber(option, text.substr(start, comma - start), 0, limit - 1));
        start = comma + 1;
    }
    return numbers;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine result;
    std::vector<std::string> positional;
    bool listRequested = false;
    bool benchmarkRequested = false;
    bool editorWindow = false;
    bool outputOption = false;
    bool editorOptions = false; // a gesture, a modifier or --play
    bool optionsEnded = false;

    // Help is given whatever else the command line holds.
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "--help" || argument == "-h") {
            result.command = Command::Help;
            return result;
        }
    }

    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--list") {
            listRequested = true;
            continue;
        }
        if (argument == "--editor-window") {
            editorWindow = true;
            continue;
        }
        if (argument == "--alt" || argument == "--shift") {
            (argument == "--alt" ? result.gesture.alt : result.gesture.shift) = true;
            editorOptions = true;
            continue;
        }
        // Options with a value: "--name VALUE" or "--name=VALUE".
        std::string name = argument;
        std::optional<std::string> value;
        const auto equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        static const char* const valued[] = {"--plugin", "--program",    "--set",   "--block-size",
                                             "--tempo",  "--start-beat", "--tail",  "--output",
                                             "-o",       "--editor-png", "--click", "--drag",
                                             "--play",   "--benchmark"};
        if (std::find(std::begin(valued), std::end(valued), name) == std::end(valued)) {
            throw UsageError("unknown option " + name);
        }
        if (!value) {
            if (at + 1 >= arguments.size()) {
                throw UsageError(name + " expects a value");
            }
            value = arguments[++at];
        }
        if (name == "--plugin") {
            result.pluginPath = *value;
        } else if (name == "--program") {
            result.program = *value;
        } else if (name == "--set") {
            result.settings.push_back(parseSetting(*value));
        } else if (name == "--block-size") {
            result.blockSize = parseWholeNumber(name, *value, 1, RenderSettings::maximumBlockSize);
        } else if (name == "--tempo") {
            result.tempo = parseNumber(name, *value, minimumTempo, maximumTempo);
        } else if (name == "--start-beat") {
            result.startBeat = parseNumber(name, *value, -maximumBeat, maximumBeat);
        } else if (name == "--tail") {
            result.tailSeconds = parseNumber(name, *value, 0.0, maximumTailSeconds);
        } else if (name == "--editor-png") {
            result.editorPicturePath = *value;
        } else if (name == "--click" || name == "--drag") {
            if (result.gesture.kind != EditorGesture::Kind::None) {
                throw UsageError("only one --click or --drag is made before the picture");
            }
            const bool drag = name == "--drag";
            const std::vector<int> points = parsePoints(name, *value, drag ? 4 : 2);
            result.gesture.kind = drag ? EditorGesture::Kind::Drag : EditorGesture::Kind::Click;
            result.gesture.fromX = points[0];
            result.gesture.fromY = points[1];
            result.gesture.toX = drag ? points[2] : points[0];
            result.gesture.toY = drag ? points[3] : points[1];
            editorOptions = true;
        } else if (name == "--play") {
            result.playSeconds = parseNumber(name, *value, 0.0, maximumPlaySeconds);
            editorOptions = true;
        } else if (name == "--benchmark") {
            result.benchmarkSeconds = parseNumber(name, *value, 0.0, maximumBenchmarkSeconds);
            if (!(result.benchmarkSeconds > 0.0)) {
                throw UsageError("--benchmark expects a number of seconds above 0");
            }
            benchmarkRequested = true;
        } else {
            result.outputPath = *value;
            outputOption = true;
        }
        if (value->empty()) {
            throw UsageError(name + " expects a value");
        }
    }

    if (editorWindow) {
        if (listRequested || !positional.empty() || outputOption ||
            !result.editorPicturePath.empty() || editorOptions || benchmarkRequested) {
            throw UsageError("--editor-window takes only --plugin, --program and --set");
        }
        result.command = Command::EditorWindow;
        return result;
    }
    if (!result.editorPicturePath.empty()) {
        if (listRequested || !positional.empty() || outputOption) {
            throw UsageError("--editor-png takes no input or output file and no --list");
        }
        if (!result.pluginPath.empty()) {
            throw UsageError("--editor-png draws the editor built into veltrane-host; "
                             "--plugin does not apply");
        }
        result.command = Command::EditorPicture;
        return result;
    }
    if (editorOptions) {
        throw UsageError("--click, --drag, --alt, --shift and --play need --editor-png");
    }
    if (!positional.empty() && positional.front() == "list") {
        listRequested = true;
        positional.erase(positional.begin());
    }
    if (benchmarkRequested) {
        if (listRequested || !positional.empty()) {
            throw UsageError("--benchmark takes no files and no --list");
        }
        result.command = Command::Benchmark;
        return result;
    }
    if (listRequested) {
        if (!positional.empty()) {
            throw UsageError("unexpected argument \"" + positional.front() + "\" with --list");
        }
        result.command = Command::List;
        return result;
    }
    if (positional.empty()) {
        result.command = Command::Demo;
        if (!outputOption) {
            result.outputPath = defaultDemoFolder;
        }
        return result;
    }
    result.command = Command::Render;
    result.inputPath = positional[0];
    if (positional.size() > 1) {
        if (outputOption) {
            throw UsageError("the output file is given twice");
        }
        result.outputPath = positional[1];
    }
    if (positional.size() > 2) {
        throw UsageError("unexpected argument \"" + positional[2] + "\"");
    }
    if (result.outputPath.empty()) {
        throw UsageError("no output file given for " + result.inputPath);
    }
    return result;
}

std::string CommandLine::usage() {
    return R"(Usage:
  veltrane-host [OPTIONS] INPUT OUTPUT   render INPUT through the plug-in into OUTPUT
  veltrane-host [OPTIONS] --list         list the plug-in's parameters and programs
  veltrane-host list [OPTIONS]           the same
  veltrane-host [OPTIONS]                render the built-in demo phrase through the first
                                         eight programs into a folder of WAV files
  veltrane-host [OPTIONS] --editor-png FILE
                                         draw veltrane's editor as a PNG picture
  veltrane-host [OPTIONS] --benchmark S  time S seconds of noise through the plug-in as a
                                         host runs it (48 kHz, blocks of 512, transport
                                         moving, after 1 s of warm-up); prints the CPU time
                                         per stereo frame and the real-time factor
  veltrane-host [OPTIONS] --editor-window
                                         open the plug-in's editor in a window of its own

Options:
  --plugin PATH        the VST 2.x plug-in module (default: the veltrane module built
                       alongside this tool)
  --program P          program by number (0 is the first) or by name
  --set NAME=VALUE     set a parameter, by index or name, to a normalised VALUE in 0..1;
                       repeatable, applied in order after the program
  --block-size N       frames per process call, 1..1048576 (default 512)
  --tempo BPM          tempo of the host transport, 1..999 (default 120)
  --start-beat POS     song position where the transport starts, in quarter notes (default 0)
  --tail SECONDS       render this long after the input ends (default: until the output
                       stays below -90 dBFS for 2.5 s, at most 30 s)
  -o, --output PATH    the output file; for the demo, its folder (default out/demo)
  -h, --help           show this text

The sample rate is the input file's. A mono input feeds every plug-in input; otherwise
plug-in input n takes channel n, and further channels are left out. The output has one
channel per plug-in output. OUTPUT's extension picks the format: .wav or .aif/.aiff
(32-bit float) or .flac (24-bit). INPUT is never overwritten, and OUTPUT appears only
once it is complete.

Editor pictures (with --editor-png; --program, --set, --tempo, --start-beat and
--block-size apply as for renders):
  --editor-png FILE    write the 752 x 512 editor, as veltrane's own editor draws it, to the
                       PNG file FILE (the editor is built into this tool; --plugin does not
                       apply)
  --play SECONDS       first run SECONDS of the demo phrase (then silence) through the
                       effect, so the step light and the displays show a running state
  --click X,Y          then click the editor at X,Y (pixels from its top left corner)
  --drag X1,Y1,X2,Y2   or press at X1,Y1, move to X2,Y2 and release there
  --alt, --shift       hold Alt or Shift with the button (Alt-click sets a knob to its middle)

The editor window (with --editor-window; --plugin, --program and --set apply): a window on
the X display in DISPLAY in which the plug-in opens its editor, as a Linux host opens it, until
the window is closed. Each automation the editor sends is printed as "automate INDEX VALUE".
)";
}
