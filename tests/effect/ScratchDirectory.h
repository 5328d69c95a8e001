// A fresh empty directory that is the process's working directory while the object lives; the
// previous working directory comes back and the directory is removed afterwards. Header only,
// so every test host that builds a test using it needs nothing more.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::error_code error;
        previous = std::filesystem::current_path(error);
        const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
        if (error) {
            return;
        }
        std::random_device random;
        for (int attempt = 0; attempt < 16 && directory.empty(); ++attempt) {
            const std::filesystem::path candidate =
                temporary / ("veltrane-effect-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate, error)) {
                directory = candidate;
            }
        }
        if (!directory.empty()) {
            std::filesystem::current_path(directory, error);
            isEntered = !error;
        }
    }

    ~ScratchDirectory() {
        std::error_code error;
        if (isEntered) {
            std::filesystem::current_path(previous, error);
        }
        if (!directory.empty()) {
            std::filesystem::remove_all(directory, error);
        }
    }

    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // False when no directory could be made or entered.
    bool entered() const { return isEntered; }

private:
    std::filesystem::path previous;
    std::filesystem::path directory;
    bool isEntered = false;
};
