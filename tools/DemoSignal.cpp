#include "tools/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double framesPerBeat = DemoSignal::sampleRate * 60.0 / DemoSignal::tempo;

// A fixed-seed generator, so the noise is the same on every run.
class Noise {
public:
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0; // -1..1
    }

private:
    std::uint32_t state = 0x2545F491u;
};

class Mix {
public:
    Mix() : left(DemoSignal::frames), right(DemoSignal::frames) {}

    // pan -1 (left) .. +1 (right), constant power.
    void add(double beat, const std::vector<double>& sound, double pan) {
        const double angle = (pan + 1.0) * pi / 4.0;
        const auto start = static_cast<std::size_t>(std::lround(beat * framesPerBeat));
        for (std::size_t i = 0; i < sound.size() && start + i < left.size(); ++i) {
            left[start + i] += sound[i] * std::cos(angle);
            right[start + i] += sound[i] * std::sin(angle);
        }
    }

    std::vector<float> interleaved() const {
        double loudest = 0.0;
        for (std::size_t i = 0; i < left.size(); ++i) {
            loudest = std::max({loudest, std::fabs(left[i]), std::fabs(right[i])});
        }
        const double gain = loudest > 0.0 ? DemoSignal::peak / loudest : 0.0;
        std::vector<float> result(left.size() * DemoSignal::channels);
        for (std::size_t i = 0; i < left.size(); ++i) {
            result[2 * i] = static_cast<float>(left[i] * gain);
            result[2 * i + 1] = static_cast<float>(right[i] * gain);
        }
        return result;
    }

private:
    std::vector<double> left;
    std::vector<double> right;
};

double noteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

std::size_t framesOf(double seconds) {
    return static_cast<std::size_t>(seconds * DemoSignal::sampleRate);
}

// Ends every sound with a short fade, so nothing clicks where it stops.
void fadeOut(std::vector<double>& sound) {
    const std::size_t fade = std::min(sound.size(), framesOf(0.02));
    for (std::size_t i = 0; i < fade; ++i) {
        sound[sound.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
    }
}

// A plucked string: a noise burst circulating in a loop one period long, averaged each pass.
std::vector<double> pluck(int midiNote, Noise& noise) {
    const auto period = static_cast<std::size_t>(
        std::max(2L, std::lround(DemoSignal::sampleRate / noteFrequency(midiNote))));
    std::vector<double> loop(period);
    for (double& sample : loop) {
        sample = noise.next();
    }
    std::vector<double> sound(framesOf(0.7));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const std::size_t at = i % period;
        sound[i] = loop[at];
        loop[at] = 0.996 * 0.5 * (loop[at] + loop[(at + 1) % period]);
    }
    fadeOut(sound);
    return sound;
}

// A kick drum: a sine falling from 140 Hz towards 45 Hz.
std::vector<double> kick() {
    std::vector<double> sound(framesOf(0.4));
    double phase = 0.0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / DemoSignal::sampleRate;
        phase += 2.0 * pi * (45.0 + 95.0 * std::exp(-t / 0.04)) / DemoSignal::sampleRate;
        sound[i] = 1.2 * std::sin(phase) * std::exp(-t / 0.12);
    }
    fadeOut(sound);
    return sound;
}

// A hi-hat: differentiated noise, which keeps the highs, with a fast decay.
std::vector<double> hat(Noise& noise) {
    std::vector<double> sound(framesOf(0.15));
    double previous = 0.0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / DemoSignal::sampleRate;
        const double white = noise.next();
        sound[i] = 0.35 * (white - previous) * std::exp(-t / 0.035);
        previous = white;
    }
    fadeOut(sound);
    return sound;
}

// One voice of the chord: ten harmonics falling off as 1/k, a soft attack and a long decay.
std::vector<double> chordVoice(int midiNote, double lengthBeats) {
    std::vector<double> sound(static_cast<std::size_t>(lengthBeats * framesPerBeat));
    const double frequency = noteFrequency(midiNote);
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / DemoSignal::sampleRate;
        double value = 0.0;
        for (int harmonic = 1; harmonic <= 10; ++harmonic) {
            value += std::sin(2.0 * pi * frequency * harmonic * t) / harmonic;
        }
        const double envelope = std::min(1.0, t / 0.01) * std::exp(-t / 0.8);
        sound[i] = 0.25 * value * envelope;
    }
    fadeOut(sound);
    return sound;
}

} // namespace

std::vector<float> DemoSignal::generate() {
    Noise noise;
    Mix mix;
    for (const double beat : {0.0, 2.5, 4.0}) {
        mix.add(beat, kick(), 0.0);
    }
    for (const double beat : {1.0, 3.0, 5.0}) {
        mix.add(beat, hat(noise), 0.2);
    }
    struct Note {
        double beat;
        int midiNote;
        double pan;
    };
    for (const Note& note :
         {Note{0.0, 57, -0.6}, Note{0.5, 64, 0.6}, Note{1.5, 67, -0.3}, Note{2.0, 72, 0.3},
          Note{3.0, 69, -0.6}, Note{3.75, 64, 0.6}, Note{6.0, 76, 0.0}}) {
        mix.add(note.beat, pluck(note.midiNote, noise), note.pan);
    }
    // A minor seventh on the first beat of the second bar, spread across the stereo field.
    for (const Note& note :
         {Note{4.0, 57, -0.5}, Note{4.0, 60, -0.15}, Note{4.0, 64, 0.15}, Note{4.0, 67, 0.5}}) {
        mix.add(note.beat, chordVoice(note.midiNote, 1.5), note.pan);
    }
    return mix.interleaved();
}
