// Runs the chosen checks, each in a child process of its own unless told otherwise, and prints
// one line per check and the closing count.
#pragma once

#include "tools/validator/Checks.h"
#include "tools/validator/ValidatorOptions.h"

#include <iosfwd>

class CheckRunner {
public:
    // Exit statuses.
    static constexpr int kAllPassed = 0;
    static constexpr int kSomeFailed = 1;
    static constexpr int kCannotLoad = 3;

    CheckRunner(const ValidatorOptions& options, std::ostream& out, std::ostream& errors);

    // The whole battery; returns the exit status.
    int run();
    // The child's part: one check here, its result printed for the parent.
    int runChild();
    // The child's part: load the module and say whether that worked.
    int probeModule();

private:
    CheckResult runIsolated(const Check& check);
    void print(const Check& check, const CheckResult& result);

    const ValidatorOptions& options;
    std::ostream& out;
    std::ostream& errors;
};

// Runs one check in this process: its failure or any exception becomes a failed result.
CheckResult runCheckHere(const Check& check, const CheckContext& context);
