// Runs the built veltrane-host as a subprocess, as a user would.
#include "tools/AudioFile.h"
#include "tools/DemoSignal.h"
#include "tools/OutputFile.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <dlfcn.h>
#include <fcntl.h>
#include <fstream>
#include <link.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char** environ;

namespace {

const std::string hostExecutable = VELTRANE_HOST_EXECUTABLE;
const std::string fakePlugin = FAKE_PLUGIN;
const std::string badMagicPlugin = FAKE_BAD_MAGIC_PLUGIN;
const std::string veltraneModule = VELTRANE_MODULE; // empty when the build has none
const std::string thirdPartyPlugin = "/usr/lib/vst/ZamDelay-vst.so";

struct HostRun {
    int status = -1; // exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

std::string contentsOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::string libraryPath(const char* soname) {
    void* handle = dlopen(soname, RTLD_NOW | RTLD_NOLOAD);
    link_map* map = nullptr;
    if (handle == nullptr || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) {
        return {};
    }
    std::string path = map->l_name;
    dlclose(handle);
    return path;
}

class HostEndToEnd : public TemporaryFolder {
protected:
    // Runs veltrane-host with the arguments; standard output and error are kept in files.
    HostRun run(const std::vector<std::string>& arguments, bool thirdParty = false) {
        std::vector<std::string> words = {hostExecutable};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);

        // Plug-ins of others may leak at exit; that must not fail a sanitizer build.
        std::vector<std::string> environment;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            environment.emplace_back(*variable);
        }
        if (thirdParty) {
            environment.emplace_back("ASAN_OPTIONS=detect_leaks=0");
        }
        std::vector<char*> envp;
        for (std::string& variable : environment) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);

        const std::string outPath = folder + ".stdout";
        const std::string errPath = folder + ".stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        pid_t child = 0;
        HostRun result;
        const int spawned = posix_spawn(&child, hostExecutable.c_str(), &actions, nullptr,
                                        argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0) << hostExecutable;
        int status = 0;
        if (spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
            result.status = WEXITSTATUS(status);
        }
        result.out = contentsOf(outPath);
        result.err = contentsOf(errPath);
        std::filesystem::remove(outPath);
        std::filesystem::remove(errPath);
        return result;
    }

    // Writes a float WAV whose sample (frame f, channel c) is sampleAt(f, c).
    std::string writeInput(const std::string& name, int channels, int sampleRate, int frames) {
        std::vector<float> samples;
        for (int frame = 0; frame < frames; ++frame) {
            for (int channel = 0; channel < channels; ++channel) {
                samples.push_back(sampleAt(frame, channel));
            }
        }
        const std::string path = folder + name;
        OutputFile output(path);
        AudioFile file =
            AudioFile::createForWriting(output.descriptor(), path, sampleRate, channels);
        file.writeFrames(samples.data(), frames);
        file.close();
        output.commit();
        return path;
    }

    static float sampleAt(int frame, int channel) {
        return 0.5f * std::sin(0.01f * static_cast<float>(frame) * static_cast<float>(channel + 1));
    }

    static std::vector<float> readAll(AudioFile& file) {
        std::vector<float> samples(static_cast<std::size_t>(file.frames() * file.channels()));
        EXPECT_EQ(file.readFrames(samples.data(), file.frames()), file.frames());
        return samples;
    }
};

} // namespace

TEST_F(HostEndToEnd, RendersAFileIntoAFloatWavOfTheInputLengthPlusTail) {
    const std::string input = writeInput("in.wav", 2, 44100, 22050);
    const HostRun result = run({"--plugin", fakePlugin, "--block-size", "100", "--tail", "0.25",
                                input, folder + "out.wav"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("wrote " + folder + "out.wav"), std::string::npos) << result.out;

    AudioFile output = AudioFile::openForReading(folder + "out.wav");
    EXPECT_EQ(output.format(), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(output.sampleRate(), 44100);
    EXPECT_EQ(output.channels(), 2);
    ASSERT_EQ(output.frames(), 22050 + 11025);
    const std::vector<float> samples = readAll(output);
    for (int frame = 0; frame < 22050; frame += 997) {
        for (int channel = 0; channel < 2; ++channel) {
            ASSERT_EQ(samples[frame * 2 + channel], 0.5f * sampleAt(frame, channel));
        }
    }
    EXPECT_EQ(namesInFolder(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

TEST_F(HostEndToEnd, AppliesTheProgramAndParameterSettingsAndFeedsMonoToBothInputs) {
    const std::string input = writeInput("mono.flac", 1, 8000, 800);
    const HostRun result = run({"--plugin", fakePlugin, "--program", "dark room", "--set",
                                "gain=0.25", "--tail", "0", input, folder + "out.aiff"});
    ASSERT_EQ(result.status, 0) << result.err;
    AudioFile output = AudioFile::openForReading(folder + "out.aiff");
    EXPECT_EQ(output.format() & SF_FORMAT_TYPEMASK, SF_FORMAT_AIFF);
    EXPECT_EQ(output.sampleRate(), 8000);
    ASSERT_EQ(output.channels(), 2);
    ASSERT_EQ(output.frames(), 800);
    const std::vector<float> samples = readAll(output);
    for (int frame = 0; frame < 800; frame += 7) {
        EXPECT_NEAR(samples[frame * 2], 0.25f * sampleAt(frame, 0), 1.0e-6f);
        EXPECT_EQ(samples[frame * 2 + 1], samples[frame * 2]);
    }
}

TEST_F(HostEndToEnd, ListsParametersAndPrograms) {
    const HostRun result = run({"list", "--plugin", fakePlugin});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* line : {"Effect: \"Fake Gain\", 2 inputs, 2 outputs", "Parameters (2):",
                             "    0  Gain", "    1  Mix", "Programs (2):", "    1  Dark Room"}) {
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;
    }
}

TEST_F(HostEndToEnd, TimesAPluginAsAHostRunsIt) {
    const HostRun result = run({"--plugin", fakePlugin, "--benchmark", "0.5"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Fake Gain: "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(" ns of CPU time per stereo frame, real-time factor "),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("(0.50 s of audio"), std::string::npos) << result.out;
}

TEST_F(HostEndToEnd, RendersTheDemoThroughEachProgramIntoAFolder) {
    const std::string demoFolder = folder + "demo/nested";
    const HostRun result = run({"--plugin", fakePlugin, "--tail", "0", "-o", demoFolder});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* name : {"0-clean.wav", "1-dark-room.wav"}) {
        const std::string path = demoFolder + "/" + name;
        EXPECT_NE(result.out.find("wrote " + path), std::string::npos) << result.out;
        AudioFile file = AudioFile::openForReading(path);
        EXPECT_EQ(file.sampleRate(), DemoSignal::sampleRate);
        EXPECT_EQ(file.channels(), 2);
        EXPECT_EQ(file.frames(), DemoSignal::frames);
    }
}

TEST_F(HostEndToEnd, FailsWithAMessageAndLeavesNoOutput) {
    const std::string input = writeInput("in.wav", 2, 48000, 480);
    std::ofstream(folder + "notes.txt") << "not a plug-in\n";
    const std::string libc = libraryPath("libc.so.6");
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        std::string message;
    };
    const std::string out = folder + "out.wav";
    const std::vector<Case> cases = {
        {"missing input",
         {"--plugin", fakePlugin, folder + "missing.wav", out},
         1,
         "cannot read " + folder + "missing.wav"},
        {"input that is no audio",
         {"--plugin", fakePlugin, folder + "notes.txt", out},
         1,
         "cannot read"},
        {"text file as plug-in",
         {"--plugin", folder + "notes.txt", input, out},
         1,
         "cannot load plug-in " + folder + "notes.txt"},
        {"missing plug-in", {"--plugin", folder + "none.so", input, out}, 1, "cannot load plug-in"},
        {"library without entry point",
         {"--plugin", libc, input, out},
         1,
         "no VST 2.x entry point"},
        {"record without magic", {"--plugin", badMagicPlugin, input, out}, 1, "magic"},
        {"unknown parameter",
         {"--plugin", fakePlugin, "--set", "Volume=0.5", input, out},
         1,
         "unknown parameter \"Volume\""},
        {"parameter index out of range",
         {"--plugin", fakePlugin, "--set", "2=0.5", input, out},
         1,
         "parameter 2 is out of range"},
        {"unknown program",
         {"--plugin", fakePlugin, "--program", "Bright", input, out},
         1,
         "unknown program \"Bright\""},
        {"program number out of range",
         {"--plugin", fakePlugin, "--program", "2", input, out},
         1,
         "out of range"},
        {"value out of range",
         {"--plugin", fakePlugin, "--set", "Gain=2", input, out},
         2,
         "out of range"},
        {"unknown option",
         {"--plugin", fakePlugin, "--gain", "2", input, out},
         2,
         "unknown option --gain"},
        {"block size 0",
         {"--plugin", fakePlugin, "--block-size", "0", input, out},
         2,
         "out of range"},
        {"output into a missing folder",
         {"--plugin", fakePlugin, input, folder + "no/out.wav"},
         1,
         "cannot write " + folder + "no/out.wav"},
        {"output of unknown type",
         {"--plugin", fakePlugin, input, folder + "out.mp3"},
         1,
         "unknown file type"},
        {"output is the input",
         {"--plugin", fakePlugin, input, input},
         1,
         "refusing to overwrite the input file"},
        {"output is the input by another name",
         {"--plugin", fakePlugin, input,
          folder + "../" + std::filesystem::path(folder).parent_path().filename().string() +
              "/in.wav"},
         1,
         "refusing to overwrite"},
        {"demo into a file", {"--plugin", fakePlugin, "-o", input}, 1, "cannot make the folder"},
    };
    const std::string inputBytes = contentsOf(input);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HostRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.err.rfind("veltrane-host: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(namesInFolder(), (std::vector<std::string>{"in.wav", "notes.txt"}));
        EXPECT_EQ(contentsOf(input), inputBytes);
    }
}

TEST_F(HostEndToEnd, RendersThroughAThirdPartyPlugin) {
    if (!exists(thirdPartyPlugin)) {
        GTEST_SKIP() << thirdPartyPlugin << " is not installed (Debian package zam-plugins)";
    }
    const HostRun list = run({"--list", "--plugin", thirdPartyPlugin}, true);
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("Parameters (8):"), std::string::npos) << list.out;

    const std::string input = writeInput("in.wav", 2, 48000, 24000);
    const HostRun result = run({"--plugin", thirdPartyPlugin, "--set", "Feedback=0.5",
                                "--block-size", "333", "--tail", "1", input, folder + "out.wav"},
                               true);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("using channel 1 of 2 (the plug-in has 1 inputs)"), std::string::npos)
        << result.err;
    AudioFile output = AudioFile::openForReading(folder + "out.wav");
    EXPECT_EQ(output.channels(), 1);
    EXPECT_EQ(output.sampleRate(), 48000);
    EXPECT_EQ(output.frames(), 24000 + 48000);
    const std::vector<float> samples = readAll(output);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(),
                            [](float sample) { return std::isfinite(sample); }));
    EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 0.01f);
}

TEST_F(HostEndToEnd, RendersThroughTheVeltraneModule) {
    if (veltraneModule.empty() || !exists(veltraneModule)) {
        GTEST_SKIP() << "the veltrane module is not built";
    }
    const HostRun list = run({"--list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("Parameters (111):"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("Programs (10):"), std::string::npos) << list.out;

    const std::string input = writeInput("in.wav", 2, 48000, 48000);
    const HostRun result = run({"--tail", "0.5", "--program", "1", input, folder + "out.wav"});
    ASSERT_EQ(result.status, 0) << result.err;
    AudioFile output = AudioFile::openForReading(folder + "out.wav");
    EXPECT_EQ(output.channels(), 2);
    EXPECT_EQ(output.sampleRate(), 48000);
    EXPECT_EQ(output.frames(), 72000);
    const std::vector<float> samples = readAll(output);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(),
                            [](float sample) { return std::isfinite(sample); }));

    const HostRun demo = run({"--tail", "0", "-o", folder + "demo"});
    ASSERT_EQ(demo.status, 0) << demo.err;
    for (const char* name :
         {"0-stereo-delay.wav", "1-offbeat-delay.wav", "2-pad-makeup.wav", "3-loop-bubbler.wav",
          "4-stereo-scambler.wav", "5-hexler.wav", "6-hacktrack.wav", "7-dirty-echo.wav"}) {
        EXPECT_TRUE(exists(folder + "demo/" + name)) << name << "\n" << demo.out;
    }
}
