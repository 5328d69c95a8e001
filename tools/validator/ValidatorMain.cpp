// veltrane-validate: runs a battery of host-side checks against a VST 2.x plug-in module. Exit
// status 0 when every check that ran passed, 1 when one failed, 2 for a mistake on the command
// line, 3 when the module cannot be loaded.
#include "tools/HostError.h"
#include "tools/validator/CheckRunner.h"
#include "tools/validator/Checks.h"
#include "tools/validator/ValidatorOptions.h"

#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kUsageMistake = 2;

void listChecks(std::ostream& out) {
    for (const Check& check : allChecks()) {
        out << std::left << std::setw(14) << check.name << " " << check.summary
            << (check.inDefaultSet ? "" : " (only when asked for)") << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    ValidatorOptions options;
    try {
        options = ValidatorOptions::parse(arguments);
    } catch (const UsageError& error) {
        std::cerr << "veltrane-validate: " << error.what() << "\nTry 'veltrane-validate --help'.\n";
        return kUsageMistake;
    }
    if (options.help) {
        std::cout << ValidatorOptions::usage();
        return 0;
    }
    if (options.listChecks) {
        listChecks(std::cout);
        return 0;
    }
    try {
        CheckRunner runner(options, std::cout, std::cerr);
        if (options.probeModule) {
            return runner.probeModule();
        }
        return options.childCheck.empty() ? runner.run() : runner.runChild();
    } catch (const std::exception& error) {
        std::cerr << "veltrane-validate: " << error.what() << "\n";
        return CheckRunner::kSomeFailed;
    }
}
