// Runs the validator itself as a child process, so that a plug-in that crashes or hangs in one
// check takes only that process down. The child's standard output is collected; its standard
// error passes through.
#pragma once

#include <string>
#include <vector>

struct ChildOutcome {
    std::vector<std::string> lines; // the child's standard output, line by line
    bool exitedNormally = false;    // false: ended by a signal or an exception, or killed
    int exitCode = 0;               // when it exited normally
    // How it ended, for a message: "exit status 1", "signal 11 (Segmentation fault)",
    // "exception 0xc0000005 (access violation)", "no result within 600 s".
    std::string ending;
};

// Called first in a child: a crash ends it at once, with no core file, dialog or debugger.
void prepareChildProcess();

// Runs this program with the arguments; kills it after timeoutSeconds. Throws HostError when
// it cannot be started.
ChildOutcome runSelf(const std::vector<std::string>& arguments, double timeoutSeconds);
