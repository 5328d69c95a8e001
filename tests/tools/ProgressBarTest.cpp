#include "tools/ProgressBar.h"
#include "tools/HostApplication.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(ProgressBar, ShowsTheShareDoneOrTheTailRendered) {
    std::ostringstream stream;
    const ProgressBar bar(stream, true, "rendering");
    struct Case {
        std::int64_t done;
        std::int64_t expected;
        const char* line;
    };
    const Case cases[] = {
        {0, 100, "rendering [..............................]   0%"},
        {50, 100, "rendering [###############...............]  50%"},
        {100, 100, "rendering [##############################] 100%"},
        {150, 100, "rendering [##############################] 100%"}, // a tail beyond the estimate
        {72000, -1, "rendering tail, 1.5 s rendered"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bar.line(c.done, c.expected, 48000.0), c.line);
    }
}

TEST(ProgressBar, DrawsOnlyWhenEnabledAndOnlyChanges) {
    std::ostringstream quiet;
    {
        ProgressBar bar(quiet, false, "x");
        bar.update(1, 2, 48000.0);
    }
    EXPECT_TRUE(quiet.str().empty()); // not a terminal: logs stay clean

    std::ostringstream shown;
    {
        ProgressBar bar(shown, true, "x");
        bar.update(1, 1000, 48000.0);
        const std::string once = shown.str();
        bar.update(2, 1000, 48000.0); // same percentage, same line
        EXPECT_EQ(shown.str(), once);
    }
    EXPECT_NE(shown.str().find("\r\033[K"), std::string::npos); // cleared at the end
}

TEST(HostApplication, NamesDemoFilesAfterTheirPrograms) {
    struct Case {
        int program;
        std::string name;
        const char* file;
    };
    const Case cases[] = {
        {0, "stereo delay", "0-stereo-delay.wav"},
        {4, "stereo scambler", "4-stereo-scambler.wav"},
        {7, "  Dirty Echo!  ", "7-dirty-echo.wav"},
        {2, "a/b\\c..d", "2-a-b-c-d.wav"}, // no folder separators or dot runs
        {3, "", "3-program.wav"},
        {5, "\xe4\xf6\xfc", "5-program.wav"},
        {6, std::string(100, 'x'), nullptr},
    };
    for (const Case& c : cases) {
        const std::string file = HostApplication::demoFileName(c.program, c.name);
        if (c.file != nullptr) {
            EXPECT_EQ(file, c.file);
        } else {
            EXPECT_EQ(file, "6-" + std::string(40, 'x') + ".wav");
        }
    }
}
