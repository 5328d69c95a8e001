#include "tools/validator/Checks.h"

const std::vector<Check>& allChecks() {
    static const std::vector<Check> checks = {
        {"effect-record", "the record's counts, flags and entry functions; the texts that name it",
         true, checkEffectRecord},
        {"audio-formats",
         "6 sample rates x blocks of 1 to 4096 frames and past the announced size x process and "
         "processReplacing x in place and apart: finite output, no subnormal, nothing written "
         "past the block",
         true, checkAudioFormats},
        {"silence", "silence in gives silence out once the tail has passed, at every rate", true,
         checkSilence},
        {"automation",
         "random parameters every 32 frames with NaN, infinite, negative and huge values, "
         "program changes and names, display queries and command indices, while audio runs",
         true, checkAutomation},
        {"bad-input",
         "a block of NaN, infinite or 1e30 input: finite output throughout, and the output "
         "returns to what it is without that block within the tail",
         true, checkBadInput},
        {"dispatcher",
         "every opcode from -1 to 80 with random index, value and option, null pointers where "
         "a host may pass them, guarded text and record buffers",
         true, checkDispatcher},
        {"realtime",
         "no heap, lock or system call inside process, processReplacing and setParameter", true,
         checkRealtime},
        {"threads",
         "a second thread sets parameters, changes programs and reads texts while audio runs", true,
         checkThreads},
        {"editor",
         "the editor opened and closed cold, warm, while audio runs, and many times with "
         "memory and GUI objects flat",
         true, checkEditor},
        {"lifecycle",
         "suspend and resume across a rate change, effMainsChanged twice, close without "
         "resume, many instances with memory flat",
         true, checkLifecycle},
        {"soak",
         "random automation, block sizes and program changes for --minutes; samples, peak, "
         "non-finite and subnormal samples",
         false, checkSoak},
    };
    return checks;
}

const Check* findCheck(const std::string& name) {
    for (const Check& check : allChecks()) {
        if (name == check.name) {
            return &check;
        }
    }
    return nullptr;
}
