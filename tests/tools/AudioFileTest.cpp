#include "tools/AudioFile.h"
#include "tools/HostError.h"
#include "tools/OutputFile.h"

#include "ErrorMessage.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class AudioFileTest : public TemporaryFolder {
protected:
    // Writes frames through OutputFile and AudioFile as the tool does.
    void write(const std::string& path, int sampleRate, int channels,
               const std::vector<float>& samples) {
        OutputFile output(path);
        AudioFile file =
            AudioFile::createForWriting(output.descriptor(), path, sampleRate, channels);
        file.writeFrames(samples.data(), static_cast<std::int64_t>(samples.size()) / channels);
        file.close();
        output.commit();
    }
};

using OutputFileTest = TemporaryFolder;

} // namespace

TEST_F(AudioFileTest, WritesAndReadsBackEachOutputFormat) {
    struct Case {
        const char* name;
        int majorFormat;
        float tolerance; // 0: exact
        float loudest;   // what a sample of 1.5 reads back as
    };
    const Case cases[] = {
        {"float.wav", SF_FORMAT_WAV, 0.0f, 1.5f},
        {"float.aiff", SF_FORMAT_AIFF, 0.0f, 1.5f},
        {"FLOAT.AIF", SF_FORMAT_AIFF, 0.0f, 1.5f},
        {"integer.flac", SF_FORMAT_FLAC, 1.0e-6f, 1.0f}, // 24 bits, clipped, never wrapped
    };
    const std::vector<float> samples = {0.0f, 0.25f, -0.5f, 0.125f, 1.5f, -0.75f, 0.001f, 0.0f};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + c.name;
        write(path, 44100, 2, samples);
        AudioFile file = AudioFile::openForReading(path);
        EXPECT_EQ(file.format() & SF_FORMAT_TYPEMASK, c.majorFormat);
        EXPECT_EQ(file.sampleRate(), 44100);
        EXPECT_EQ(file.channels(), 2);
        ASSERT_EQ(file.frames(), 4);
        std::vector<float> read(samples.size());
        ASSERT_EQ(file.readFrames(read.data(), 10), 4);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const float expected = samples[i] == 1.5f ? c.loudest : samples[i];
            EXPECT_NEAR(read[i], expected, c.tolerance) << "sample " << i;
        }
    }
}

TEST_F(AudioFileTest, KeepsOddSampleRatesAndChannelCounts) {
    const std::vector<float> samples(7 * 5, 0.5f);
    write(folder + "odd.wav", 11025, 7, samples);
    AudioFile file = AudioFile::openForReading(folder + "odd.wav");
    EXPECT_EQ(file.sampleRate(), 11025);
    EXPECT_EQ(file.channels(), 7);
    EXPECT_EQ(file.frames(), 5);
}

TEST_F(AudioFileTest, NamesTheFileItCannotRead) {
    std::ofstream(folder + "text.wav") << "not audio at all\n";
    for (const std::string& path : {folder + "missing.wav", folder + "text.wav", folder}) {
        EXPECT_NE(errorOf([&] { AudioFile::openForReading(path); }).find("cannot read " + path),
                  std::string::npos);
    }
}

TEST_F(AudioFileTest, ChoosesTheFormatByExtensionAndRefusesOthers) {
    EXPECT_EQ(AudioFile::formatForPath("a.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(AudioFile::formatForPath("dir.flac/a.Flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    for (const char* path : {"a.mp3", "a", "wav", "dir.wav/a", "a.wav.txt"}) {
        EXPECT_NE(errorOf([&] { AudioFile::formatForPath(path); }).find("unknown file type"),
                  std::string::npos)
            << path;
    }
}

TEST_F(OutputFileTest, LeavesNothingBehindUnlessCommitted) {
    {
        OutputFile output(folder + "result.wav");
        ASSERT_EQ(::write(output.descriptor(), "half", 4), 4);
        EXPECT_EQ(namesInFolder().size(), 1u); // the temporary file
    }
    EXPECT_TRUE(namesInFolder().empty());
}

TEST_F(OutputFileTest, AppearsUnderItsNameWithUsualPermissionsOnCommit) {
    const mode_t mask = umask(022);
    {
        OutputFile output(folder + "result.wav");
        ASSERT_EQ(::write(output.descriptor(), "done", 4), 4);
        output.commit();
    }
    umask(mask);
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"result.wav"});
    struct stat status {};
    ASSERT_EQ(stat((folder + "result.wav").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
    EXPECT_EQ(status.st_size, 4);
}

TEST_F(OutputFileTest, ReplacesAnOlderFileOnlyOnCommit) {
    std::ofstream(folder + "result.wav") << "old";
    {
        OutputFile output(folder + "result.wav");
        ASSERT_EQ(::write(output.descriptor(), "newer", 5), 5);
    }
    EXPECT_EQ(std::filesystem::file_size(folder + "result.wav"), 3u);
    OutputFile output(folder + "result.wav");
    ASSERT_EQ(::write(output.descriptor(), "newer", 5), 5);
    output.commit();
    EXPECT_EQ(std::filesystem::file_size(folder + "result.wav"), 5u);
}

TEST_F(OutputFileTest, RefusesFoldersAndPlacesItCannotWrite) {
    std::filesystem::create_directory(folder + "sub");
    EXPECT_NE(errorOf([&] { OutputFile output(folder + "sub"); }).find("it is a folder"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  OutputFile output(folder + "missing/result.wav");
              }).find("cannot write " + folder + "missing/result.wav"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { OutputFile output(""); }).find("no output file"), std::string::npos);
}

TEST_F(OutputFileTest, RecognisesOneFileUnderDifferentNames) {
    std::ofstream(folder + "a.wav") << "a";
    std::ofstream(folder + "b.wav") << "b";
    std::filesystem::create_symlink(folder + "a.wav", folder + "link.wav");
    std::filesystem::create_hard_link(folder + "a.wav", folder + "hard.wav");
    struct Case {
        std::string first;
        std::string second;
        bool same;
    };
    const Case cases[] = {
        {folder + "a.wav", folder + "a.wav", true},
        {folder + "a.wav", folder + "./a.wav", true},
        {folder + "a.wav", folder + "link.wav", true},
        {folder + "a.wav", folder + "hard.wav", true},
        {folder + "a.wav", folder + "b.wav", false},
        {folder + "a.wav", folder + "new.wav", false},
        {folder + "none.wav", folder + "none.wav", false}, // nothing to overwrite
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OutputFile::sameFile(c.first, c.second), c.same) << c.second;
    }
}
