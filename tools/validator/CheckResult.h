// What a check finds: passed, failed with what was wrong, or skipped with why.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

enum class Verdict { Passed, Failed, Skipped };

struct CheckResult {
    Verdict verdict = Verdict::Passed;
    std::string detail; // what was checked, what was wrong, or why it was skipped

    static CheckResult passed(std::string detail = {}) {
        return {Verdict::Passed, std::move(detail)};
    }
    static CheckResult failed(std::string detail) { return {Verdict::Failed, std::move(detail)}; }
    static CheckResult skipped(std::string detail) { return {Verdict::Skipped, std::move(detail)}; }
};

// Thrown inside a check at the first thing that is wrong; the runner reports it as the
// check's failure, with the seed of the round that failed once a round has given it.
class CheckFailure : public std::runtime_error {
public:
    explicit CheckFailure(const std::string& what) : std::runtime_error(what) {}
    CheckFailure(const std::string& what, std::uint64_t seed)
        : std::runtime_error(what), roundSeed(seed), seedKnown(true) {}

    bool hasSeed() const { return seedKnown; }
    std::uint64_t seed() const { return roundSeed; }

private:
    std::uint64_t roundSeed = 0;
    bool seedKnown = false;
};

// Throws CheckFailure with the message when the condition does not hold.
inline void expect(bool condition, const std::string& message) {
    if (!condition) {
        throw CheckFailure(message);
    }
}
