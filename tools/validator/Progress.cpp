#include "tools/validator/Progress.h"

#include <cstdio>

namespace {

bool toParent = false;

} // namespace

namespace Progress {

void reportToParent() {
    toParent = true;
}

void step(const std::string& text) {
    if (toParent) {
        std::fprintf(stdout, "@step %s\n", text.c_str());
        std::fflush(stdout);
    }
}

void round(unsigned long long seed) {
    if (toParent) {
        std::fprintf(stdout, "@seed %llu\n", seed);
        std::fflush(stdout);
    }
}

} // namespace Progress
