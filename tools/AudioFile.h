// An audio file read or written as interleaved 32-bit float frames through libsndfile. Reads
// every format libsndfile knows; writes WAV and AIFF as 32-bit float (levels above full scale
// survive) and FLAC as 24-bit integer (clipped at full scale), chosen by the file name's
// extension.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>

class AudioFile {
public:
    // Throws HostError when the file is missing or no audio file libsndfile can read.
    static AudioFile openForReading(const std::string& path);
    // Writes into an open file descriptor (left open); the format follows namedPath's extension.
    // Throws HostError for an extension of no supported format or an unusable sample rate.
    static AudioFile createForWriting(int fileDescriptor, const std::string& namedPath,
                                      int sampleRate, int channels);
    // Throws HostError unless the path ends in .wav, .aif, .aiff or .flac (any case).
    static int formatForPath(const std::string& path);

    int sampleRate() const { return info.samplerate; }
    int channels() const { return info.channels; }
    std::int64_t frames() const { return info.frames; } // as the header says, for reading
    int format() const { return info.format; }

    // Returns the frames read, fewer than asked only at the end of the file.
    std::int64_t readFrames(float* interleaved, std::int64_t frames);
    void writeFrames(const float* interleaved, std::int64_t frames); // throws HostError
    void close(); // completes the header; throws HostError when that fails

private:
    struct Closer {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };
    AudioFile(SNDFILE* file, const SF_INFO& info, std::string path);

    std::unique_ptr<SNDFILE, Closer> file;
    SF_INFO info{};
    std::string path;
};
