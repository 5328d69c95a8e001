#include "tools/validator/ValidatorOptions.h"

#include "tools/HostError.h"
#include "tools/validator/Checks.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int kMaximumRepeat = 100000;
constexpr int kMaximumEditorCycles = 1000000;
constexpr double kMaximumSeconds = 3600.0;
constexpr double kMaximumMinutes = 7 * 24 * 60.0;

std::uint64_t parseSeed(const std::string& option, const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 19) {
        throw UsageError(option + " needs a whole number of at most 19 digits, not \"" + text +
                         "\"");
    }
    return std::strtoull(text.c_str(), nullptr, 10);
}

int parseCount(const std::string& option, const std::string& text, int lowest, int highest) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9 || std::atoi(text.c_str()) < lowest || std::atoi(text.c_str()) > highest) {
        throw UsageError(option + " needs a whole number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest) + ", not \"" + text + "\"");
    }
    return std::atoi(text.c_str());
}

double parseNumber(const std::string& option, const std::string& text, double lowest,
                   double highest) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0' || errno != 0 || !std::isfinite(value) ||
        value < lowest || value > highest) {
        std::ostringstream range;
        range << lowest << " to " << highest;
        throw UsageError(option + " needs a number from " + range.str() + ", not \"" + text + "\"");
    }
    return value;
}

std::string formatNumber(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

void addChecks(ValidatorOptions& options, const std::string& list) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = list.find(',', start);
        const std::string name =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (findCheck(name) == nullptr) {
            throw UsageError("unknown check \"" + name + "\" (--list shows the checks)");
        }
        options.checks.push_back(name);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
}

} // namespace

ValidatorOptions ValidatorOptions::parse(const std::vector<std::string>& arguments) {
    ValidatorOptions options;
    std::vector<std::string> paths;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const auto value = [&]() -> const std::string& {
            if (index + 1 >= arguments.size()) {
                throw UsageError(argument + " needs a value");
            }
            return arguments[++index];
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--list") {
            options.listChecks = true;
        } else if (argument == "--check") {
            addChecks(options, value());
        } else if (argument == "--seed") {
            options.seed = parseSeed(argument, value());
        } else if (argument == "--repeat") {
            options.repeat = parseCount(argument, value(), 1, kMaximumRepeat);
        } else if (argument == "--editor-cycles") {
            options.editorCycles = parseCount(argument, value(), 1, kMaximumEditorCycles);
        } else if (argument == "--tail") {
            options.tailSeconds = parseNumber(argument, value(), 0.0, kMaximumSeconds);
        } else if (argument == "--minutes") {
            options.soakMinutes = parseNumber(argument, value(), 0.0, kMaximumMinutes);
        } else if (argument == "--timeout") {
            options.timeoutSeconds = parseNumber(argument, value(), 1.0, kMaximumMinutes * 60.0);
        } else if (argument == "--in-process") {
            options.inProcess = true;
        } else if (argument == "--run-check") {
            const std::string& name = value();
            if (findCheck(name) == nullptr) {
                throw UsageError("unknown check \"" + name + "\"");
            }
            options.childCheck = name;
        } else if (argument == "--probe-module") {
            options.probeModule = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            paths.push_back(argument);
        }
    }
    if (options.help || options.listChecks) {
        return options;
    }
    if (paths.empty()) {
        throw UsageError("no plug-in module given");
    }
    if (paths.size() > 1) {
        throw UsageError("one plug-in module at a time (got " + std::to_string(paths.size()) + ")");
    }
    options.modulePath = paths.front();
    return options;
}

std::string ValidatorOptions::usage() {
    return "Usage: veltrane-validate [options] MODULE\n"
           "Loads a VST 2.x plug-in module (a shared object or a DLL) through its entry point\n"
           "and runs named checks of what hosts rely on, each in a process of its own. Prints a\n"
           "line per check, then \"N passed, N failed\". Exit status 0 when every check that\n"
           "ran passed, 1 when one failed, 2 for a mistake on the command line, 3 when the\n"
           "module cannot be loaded.\n"
           "\n"
           "Options:\n"
           "  --check NAME[,NAME...]  run these checks (default: all but soak); repeatable\n"
           "  --list                  list the checks and what they do\n"
           "  --seed N                seed of the random choices (default 1); a failure prints\n"
           "                          the seed that replays it\n"
           "  --repeat N              rounds of each randomised check, seeds N, N+1, ...\n"
           "                          (default 3)\n"
           "  --editor-cycles N       editor open and close cycles for the memory check\n"
           "                          (default 1000)\n"
           "  --tail SECONDS          how long an input may still be heard (longest delay plus\n"
           "                          decay) when the plug-in reports no tail (default 20)\n"
           "  --minutes N             length of the soak check (default 60)\n"
           "  --timeout SECONDS       longest a check may take before it counts as hung\n"
           "                          (default 600; the soak's length is added)\n"
           "  --in-process            run the checks in this process: a crash ends the\n"
           "                          validator (for a debugger)\n"
           "  --help                  this text\n";
}

std::vector<std::string> ValidatorOptions::childArguments(const std::string& check) const {
    return {"--run-check",     check,
            "--seed",          std::to_string(seed),
            "--repeat",        std::to_string(repeat),
            "--editor-cycles", std::to_string(editorCycles),
            "--tail",          formatNumber(tailSeconds),
            "--minutes",       formatNumber(soakMinutes),
            modulePath};
}

std::vector<std::string> ValidatorOptions::probeArguments() const {
    return {"--probe-module", modulePath};
}
