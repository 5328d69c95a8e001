#include "tools/AudioFile.h"

#include "tools/HostError.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

std::string lowercaseExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

} // namespace

AudioFile::AudioFile(SNDFILE* opened, const SF_INFO& openedInfo, std::string filePath)
    : file(opened), info(openedInfo), path(std::move(filePath)) {}

AudioFile AudioFile::openForReading(const std::string& path) {
    SF_INFO info{};
    SNDFILE* opened = sf_open(path.c_str(), SFM_READ, &info);
    if (opened == nullptr) {
        throw HostError("cannot read " + path + ": " + sf_strerror(nullptr));
    }
    AudioFile result(opened, info, path);
    if (info.channels < 1 || info.samplerate < 1) {
        throw HostError("cannot read " + path + ": no channels or no sample rate");
    }
    return result;
}

int AudioFile::formatForPath(const std::string& path) {
    const std::string extension = lowercaseExtension(path);
    if (extension == "wav") {
        return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    }
    if (extension == "aif" || extension == "aiff") {
        return SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
    }
    if (extension == "flac") {
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    }
    throw HostError("cannot write " + path +
                    ": unknown file type (use .wav, .aif, .aiff or .flac)");
}

AudioFile AudioFile::createForWriting(int fileDescriptor, const std::string& namedPath,
                                      int sampleRate, int channels) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = formatForPath(namedPath);
    if (sf_format_check(&info) == 0) {
        throw HostError("cannot write " + namedPath + ": the format does not allow " +
                        std::to_string(channels) + " channels at " + std::to_string(sampleRate) +
                        " Hz");
    }
    SNDFILE* opened = sf_open_fd(fileDescriptor, SFM_WRITE, &info, SF_FALSE);
    if (opened == nullptr) {
        throw HostError("cannot write " + namedPath + ": " + sf_strerror(nullptr));
    }
    // Integer formats clip instead of wrapping around.
    sf_command(opened, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return AudioFile(opened, info, namedPath);
}

std::int64_t AudioFile::readFrames(float* interleaved, std::int64_t frames) {
    return sf_readf_float(file.get(), interleaved, frames);
}

void AudioFile::writeFrames(const float* interleaved, std::int64_t frames) {
    if (sf_writef_float(file.get(), interleaved, frames) != frames) {
        throw HostError("cannot write " + path + ": " + sf_strerror(file.get()));
    }
}

void AudioFile::close() {
    SNDFILE* closing = file.release();
    if (closing != nullptr && sf_close(closing) != 0) {
        throw HostError("cannot write " + path + ": " + sf_strerror(nullptr));
    }
}
