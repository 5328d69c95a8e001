// The options of veltrane-validate, parsed from the command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ValidatorOptions {
    std::string modulePath;
    std::vector<std::string> checks; // empty: every check of the default set
    std::uint64_t seed = 1;
    int repeat = 3;            // rounds of each randomised check
    int editorCycles = 1000;   // open and close cycles of the memory check
    double tailSeconds = 20.0; // an input's longest effect when the plug-in reports no tail
    double soakMinutes = 60.0;
    double timeoutSeconds = 600.0; // per check, the soak's own length added
    bool inProcess = false;
    bool listChecks = false;
    bool help = false;
    // Internal: run one check in this process and print its result for the parent.
    std::string childCheck;
    // Internal: only load the module and report whether that worked.
    bool probeModule = false;

    // Throws UsageError for an unknown option or check, a missing or malformed value, a number
    // out of range, or a missing or surplus module path.
    static ValidatorOptions parse(const std::vector<std::string>& arguments);
    static std::string usage();
    // The arguments that make a child run one check with these options.
    std::vector<std::string> childArguments(const std::string& check) const;
    std::vector<std::string> probeArguments() const;
};
