// Compares two renders of veltrane_render_reference sample by sample.
// Usage: veltrane_compare_renders <expected> <actual> <tolerance>
// Exits 0 when both hold the same number of samples and none differs by more than the
// tolerance (0 asks for identical bits), 1 when they differ, 2 when a file cannot be read.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

std::optional<std::vector<float>> readSamples(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: cannot read\n", path);
        return std::nullopt;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() % sizeof(float) != 0) {
        std::fprintf(stderr, "%s: %zu bytes is no whole number of samples\n", path, bytes.size());
        return std::nullopt;
    }
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), bytes.size());
    return samples;
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

int main(int argumentCount, char** arguments) {
    char* end = nullptr;
    const double tolerance = argumentCount == 4 ? std::strtod(arguments[3], &end) : -1.0;
    if (argumentCount != 4 || *end != '\0' || !(tolerance >= 0.0)) {
        std::fprintf(stderr, "usage: %s <expected> <actual> <tolerance, 0 or more>\n",
                     arguments[0]);
        return 2;
    }
    const std::optional<std::vector<float>> expected = readSamples(arguments[1]);
    const std::optional<std::vector<float>> actual = readSamples(arguments[2]);
    if (!expected || !actual) {
        return 2;
    }
    if (expected->empty() || expected->size() != actual->size()) {
        std::printf("sample counts differ: %zu expected, %zu rendered\n", expected->size(),
                    actual->size());
        return 1;
    }
    std::size_t differing = 0;
    std::size_t beyond = 0;
    std::size_t worst = 0;
    double largest = 0.0;
    for (std::size_t i = 0; i < expected->size(); ++i) {
        const float a = (*expected)[i];
        const float b = (*actual)[i];
        if (sameBits(a, b)) {
            continue;
        }
        ++differing;
        // A NaN or infinity on one side only is always beyond any tolerance.
        const double difference =
            std::isfinite(a) && std::isfinite(b) ? std::fabs(double(a) - double(b)) : HUGE_VAL;
        if (difference > tolerance) {
            ++beyond;
        }
        if (difference > largest || differing == 1) {
            largest = difference;
            worst = i;
        }
    }
    std::printf("%zu samples, %zu differ, %zu beyond %g", expected->size(), differing, beyond,
                tolerance);
    if (differing > 0) {
        std::printf("; largest difference %g at frame %zu (%s), %.9g against %.9g", largest,
                    worst / 2, worst % 2 == 0 ? "left" : "right", (*expected)[worst],
                    (*actual)[worst]);
    }
    std::printf("\n");
    return beyond == 0 ? 0 : 1;
}
