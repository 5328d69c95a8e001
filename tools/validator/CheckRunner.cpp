#include "tools/validator/CheckRunner.h"

#include "tools/HostError.h"
#include "tools/PluginModule.h"
#include "tools/validator/CallCounter.h"
#include "tools/validator/ChildProcess.h"
#include "tools/validator/Progress.h"

#include <iomanip>
#include <iostream>
#include <new>

namespace {

constexpr const char* kResultTag = "@result ";
constexpr const char* kStepTag = "@step ";
constexpr const char* kSeedTag = "@seed ";

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr const char* kReportHint = " (the sanitizer's report is above)";
#else
constexpr const char* kReportHint = "";
#endif

const char* wordFor(Verdict verdict) {
    switch (verdict) {
    case Verdict::Passed:
        return "passed";
    case Verdict::Failed:
        return "failed";
    case Verdict::Skipped:
        return "skipped";
    }
    return "failed";
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string withSeed(std::uint64_t seed, const std::string& message) {
    return "seed " + std::to_string(seed) + ": " + message;
}

// One line, whatever the check's message holds.
std::string singleLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

std::vector<const Check*> chosenChecks(const ValidatorOptions& options) {
    std::vector<const Check*> chosen;
    if (options.checks.empty()) {
        for (const Check& check : allChecks()) {
            if (check.inDefaultSet) {
                chosen.push_back(&check);
            }
        }
    } else {
        for (const std::string& name : options.checks) {
            chosen.push_back(findCheck(name));
        }
    }
    return chosen;
}

} // namespace

CheckResult runCheckHere(const Check& check, const CheckContext& context) {
    try {
        return check.run(context);
    } catch (const CheckFailure& failure) {
        return CheckResult::failed(
            withSeed(failure.hasSeed() ? failure.seed() : context.options.seed, failure.what()));
    } catch (const std::bad_alloc&) {
        return CheckResult::failed(withSeed(context.options.seed, "out of memory"));
    } catch (const std::exception& error) {
        return CheckResult::failed(withSeed(context.options.seed, error.what()));
    }
}

CheckRunner::CheckRunner(const ValidatorOptions& options, std::ostream& out, std::ostream& errors)
    : options(options), out(out), errors(errors) {}

int CheckRunner::run() {
    const std::vector<const Check*> checks = chosenChecks(options);
    int passed = 0;
    int failed = 0;
    const auto tally = [&](const Check& check, const CheckResult& result) {
        print(check, result);
        passed += result.verdict == Verdict::Passed ? 1 : 0;
        failed += result.verdict == Verdict::Failed ? 1 : 0;
    };
    if (options.inProcess) {
        try {
            const PluginModule module(options.modulePath);
            const CheckContext context{module.entryPoint(), options, CallCounter::attach(module)};
            for (const Check* check : checks) {
                tally(*check, runCheckHere(*check, context));
            }
        } catch (const HostError& error) {
            errors << "veltrane-validate: " << error.what() << "\n";
            return kCannotLoad;
        }
    } else {
        const ChildOutcome probe = runSelf(options.probeArguments(), options.timeoutSeconds);
        std::string loadError = "the module crashed while loading: " + probe.ending;
        for (const std::string& line : probe.lines) {
            if (startsWith(line, kResultTag)) {
                loadError = line.substr(std::string(kResultTag).size());
            }
        }
        if (loadError != "passed") {
            errors << "veltrane-validate: " << loadError << "\n";
            return kCannotLoad;
        }
        for (const Check* check : checks) {
            tally(*check, runIsolated(*check));
        }
    }
    out << passed << " passed, " << failed << " failed" << std::endl;
    return failed == 0 ? kAllPassed : kSomeFailed;
}

CheckResult CheckRunner::runIsolated(const Check& check) {
    const bool soak = std::string(check.name) == "soak";
    const double timeout = options.timeoutSeconds + (soak ? options.soakMinutes * 60.0 : 0.0);
    const ChildOutcome outcome = runSelf(options.childArguments(check.name), timeout);
    std::uint64_t seed = options.seed;
    std::string step;
    std::string resultLine;
    for (const std::string& line : outcome.lines) {
        if (startsWith(line, kSeedTag)) {
            seed = std::stoull(line.substr(std::string(kSeedTag).size()));
        } else if (startsWith(line, kStepTag)) {
            step = line.substr(std::string(kStepTag).size());
        } else if (startsWith(line, kResultTag)) {
            resultLine = line.substr(std::string(kResultTag).size());
        }
    }
    const std::string during = step.empty() ? "" : " during " + step;
    if (resultLine.empty()) {
        return CheckResult::failed(withSeed(seed, "the check's process ended with " +
                                                      outcome.ending + during + kReportHint));
    }
    const std::size_t space = resultLine.find(' ');
    const std::string word = resultLine.substr(0, space);
    const std::string detail = space == std::string::npos ? "" : resultLine.substr(space + 1);
    if (!outcome.exitedNormally || outcome.exitCode != 0) {
        return CheckResult::failed(withSeed(seed, "the check " + word + " (" + detail +
                                                      ") but its process ended with " +
                                                      outcome.ending + kReportHint));
    }
    if (word == "passed") {
        return CheckResult::passed(detail);
    }
    if (word == "skipped") {
        return CheckResult::skipped(detail);
    }
    return CheckResult::failed(detail);
}

int CheckRunner::runChild() {
    prepareChildProcess();
    Progress::reportToParent();
    const Check& check = *findCheck(options.childCheck);
    CheckResult result;
    try {
        const PluginModule module(options.modulePath);
        const CheckContext context{module.entryPoint(), options, CallCounter::attach(module)};
        result = runCheckHere(check, context);
    } catch (const HostError& error) {
        result = CheckResult::failed(withSeed(options.seed, error.what()));
    }
    out << kResultTag << wordFor(result.verdict) << " " << singleLine(result.detail) << std::endl;
    return 0;
}

int CheckRunner::probeModule() {
    prepareChildProcess();
    try {
        const PluginModule module(options.modulePath);
        out << kResultTag << "passed" << std::endl;
    } catch (const HostError& error) {
        out << kResultTag << singleLine(error.what()) << std::endl;
    }
    return 0;
}

void CheckRunner::print(const Check& check, const CheckResult& result) {
    const char* const word = result.verdict == Verdict::Passed   ? "PASS"
                             : result.verdict == Verdict::Failed ? "FAIL"
                                                                 : "SKIP";
    out << word << "  " << std::left << std::setw(14) << check.name;
    if (!result.detail.empty()) {
        out << " " << result.detail;
    }
    out << std::endl;
}
