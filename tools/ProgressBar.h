// A one-line progress bar for long renders, drawn only when the stream is a terminal, so
// logs and pipes stay clean.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

class ProgressBar {
public:
    static constexpr int barWidth = 30; // characters

    ProgressBar(std::ostream& stream, bool enabled, std::string label);
    // Enabled when standard error is a terminal; draws there.
    static ProgressBar onStandardError(std::string label);
    ~ProgressBar(); // clears the line

    // framesExpected negative: the length is not known; shows the time rendered instead.
    void update(std::int64_t framesDone, std::int64_t framesExpected, double sampleRate);
    // The line as it is drawn, without the carriage return.
    std::string line(std::int64_t framesDone, std::int64_t framesExpected, double sampleRate) const;

private:
    std::ostream& stream;
    bool enabled;
    std::string label;
    std::string shown;
};
