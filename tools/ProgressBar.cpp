#include "tools/ProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <unistd.h>
#include <utility>

ProgressBar::ProgressBar(std::ostream& stream, bool enabled, std::string label)
    : stream(stream), enabled(enabled), label(std::move(label)) {}

ProgressBar ProgressBar::onStandardError(std::string label) {
    return ProgressBar(std::cerr, isatty(STDERR_FILENO) == 1, std::move(label));
}

ProgressBar::~ProgressBar() {
    if (enabled && !shown.empty()) {
        stream << "\r\033[K" << std::flush; // carriage return, erase to the end of the line
    }
}

std::string ProgressBar::line(std::int64_t framesDone, std::int64_t framesExpected,
                              double sampleRate) const {
    char text[64];
    if (framesExpected <= 0) {
        std::snprintf(text, sizeof text, " tail, %.1f s rendered",
                      static_cast<double>(framesDone) / sampleRate);
        return label + text;
    }
    const double fraction =
        std::clamp(static_cast<double>(framesDone) / static_cast<double>(framesExpected), 0.0, 1.0);
    const int filled = static_cast<int>(fraction * barWidth);
    std::snprintf(text, sizeof text, "] %3d%%", static_cast<int>(fraction * 100.0));
    return label + " [" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(barWidth - filled), '.') + text;
}

void ProgressBar::update(std::int64_t framesDone, std::int64_t framesExpected, double sampleRate) {
    if (!enabled) {
        return;
    }
    // Redrawn only when the text changes: a few hundred writes for any length of render.
    std::string next = line(framesDone, framesExpected, sampleRate);
    if (next != shown) {
        shown = std::move(next);
        stream << '\r' << shown << "\033[K" << std::flush;
    }
}
