// The program dump file, as written when a host sets index 1200.
#include "tests/effect/EffectHostTest.h"
#include "tests/effect/ScratchDirectory.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kDumpCommand = 1200;
constexpr const char* kDumpFile = "vtn_dump.txt";

// Text mode, so the platform's line ends read as line feeds.
std::string readText(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> readLines(const char* path) {
    std::istringstream text(readText(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

class EffectProgramDump : public EffectHostTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.entered());
        EffectHostTest::SetUp();
    }

    ScratchDirectory scratch;
};

TEST_F(EffectProgramDump, ListsEveryStoredValueAsAPresetStatement) {
    host.setParameter(kDumpCommand, 0.0f);
    const std::vector<std::string> lines = readLines(kDumpFile);
    ASSERT_EQ(lines.size(), 5u + 111u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "prog++;");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "programs[ prog ].setName( \"init\" );");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "programs[ prog ].setParam( 0, 0.340533 );//  fDryWetMix  ");
    EXPECT_EQ(lines[5 + 6], "programs[ prog ].setParam( 6, 0.250000 );//  fDelay_0  ");
    EXPECT_EQ(lines[5 + 110], "programs[ prog ].setParam( 110, 0.500000 );//  fStepAmt13  ");
    for (int index = 0; index < 111; ++index) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "programs[ prog ].setParam( %d, %f );//%s", index,
                      static_cast<double>(host.getParameter(index)),
                      host.parameterName(index).c_str());
        EXPECT_EQ(lines[5 + index], expected);
    }
}

TEST_F(EffectProgramDump, ShowsStoredStepsAndAlwaysNamesTheProgramInit) {
    host.dispatch(effSetProgram, 0, 4);
    host.setParameter(6, 0.33333f);
    host.setParameter(kDumpCommand, 1.0f);
    const std::vector<std::string> lines = readLines(kDumpFile);
    ASSERT_EQ(lines.size(), 116u);
    EXPECT_EQ(lines[3], "programs[ prog ].setName( \"init\" );");
    EXPECT_EQ(lines[5 + 6], "programs[ prog ].setParam( 6, 0.333000 );//  fDelay_0  ");
}

TEST_F(EffectProgramDump, ReplacesWhatTheFileHeld) {
    {
        std::ofstream old(kDumpFile);
        old << std::string(20000, '~') << "\n";
    }
    host.setParameter(kDumpCommand, 0.0f);
    const std::string first = readText(kDumpFile);
    host.setParameter(0, 0.75f);
    host.setParameter(kDumpCommand, 0.0f);
    const std::string second = readText(kDumpFile);
    EXPECT_EQ(first.rfind("\nprog++;\n\n", 0), 0u);
    EXPECT_EQ(second.rfind("\nprog++;\n\n", 0), 0u);
    EXPECT_EQ(first.size(), second.size());
    EXPECT_EQ(second.find('~'), std::string::npos);
    EXPECT_NE(second.find("setParam( 0, 0.750000 );"), std::string::npos);
    EXPECT_EQ(second.find("setParam( 0, 0.340533 );"), std::string::npos);
}

TEST_F(EffectProgramDump, ChangesNoParameterNorProgram) {
    std::vector<float> before;
    for (int index = 0; index < 111; ++index) {
        before.push_back(host.getParameter(index));
    }
    host.setParameter(kDumpCommand, 0.9f);
    host.dispatch(effSetProgram, 0, 0);
    for (int index = 0; index < 111; ++index) {
        EXPECT_EQ(host.getParameter(index), before[index]) << index;
    }
    EXPECT_EQ(host.programName(), "stereo delay");
}

TEST_F(EffectProgramDump, WithoutAPlaceForTheFileNothingIsWrittenAndTheEffectCarriesOn) {
    // A directory in the file's place: no file can be created, whoever runs the test.
    ASSERT_TRUE(std::filesystem::create_directory(kDumpFile));
    host.setParameter(0, 0.6f);
    host.setParameter(kDumpCommand, 0.0f);
    EXPECT_TRUE(std::filesystem::is_directory(kDumpFile));
    EXPECT_TRUE(std::filesystem::is_empty(kDumpFile));
    EXPECT_EQ(host.getParameter(0), 0.6f);
    EXPECT_EQ(host.programName(), "stereo delay");

    host.start(44100.0f, 256);
    std::vector<float> left(256, 0.25f), right(256, -0.25f), outLeft(256), outRight(256);
    host.processReplacing(left, right, outLeft, outRight);
    for (std::size_t n = 0; n < outLeft.size(); ++n) {
        ASSERT_TRUE(std::isfinite(outLeft[n]) && std::isfinite(outRight[n])) << n;
    }

    std::filesystem::remove(kDumpFile);
    host.setParameter(kDumpCommand, 0.0f);
    EXPECT_EQ(readLines(kDumpFile).size(), 116u);
}

} // namespace
