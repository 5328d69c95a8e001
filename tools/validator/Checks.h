// The named checks of the battery. Each check makes its own effects through the module's entry
// point, takes its random choices from the seed it is given, and throws CheckFailure at the
// first thing a host could not live with.
#pragma once

#include "host/VstInterface.h"
#include "tools/validator/CheckResult.h"

#include <cstdint>
#include <string>
#include <vector>

struct ValidatorOptions;

struct CheckContext {
    VstEntryPointProc entryPoint;
    const ValidatorOptions& options;
    std::string countingNote; // what the call counter cannot see in this module, or empty
};

struct Check {
    const char* name;
    const char* summary; // one line for --list
    bool inDefaultSet;
    CheckResult (*run)(const CheckContext& context);
};

const std::vector<Check>& allChecks();
// The check of that name, or null.
const Check* findCheck(const std::string& name);

// The checks, one file each (their names are in Checks.cpp).
CheckResult checkEffectRecord(const CheckContext& context);
CheckResult checkAudioFormats(const CheckContext& context);
CheckResult checkSilence(const CheckContext& context);
CheckResult checkAutomation(const CheckContext& context);
CheckResult checkBadInput(const CheckContext& context);
CheckResult checkDispatcher(const CheckContext& context);
CheckResult checkRealtime(const CheckContext& context);
CheckResult checkThreads(const CheckContext& context);
CheckResult checkEditor(const CheckContext& context);
CheckResult checkLifecycle(const CheckContext& context);
CheckResult checkSoak(const CheckContext& context);
