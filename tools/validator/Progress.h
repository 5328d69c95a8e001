// What the running check is doing. A check run in a child process reports each step to its
// parent, so that a crash can be reported with the step it happened in. Never called while
// calls are counted: a step writes to a pipe.
#pragma once

#include <string>

namespace Progress {

// In a child: from now on every step goes to standard output as "@step <text>".
void reportToParent();
void step(const std::string& text);
// A round with its own seed begins; a crash from now on is reported with this seed.
void round(unsigned long long seed);

} // namespace Progress
