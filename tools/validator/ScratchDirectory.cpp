#include "tools/validator/ScratchDirectory.h"

#include <chrono>
#include <string>
#include <system_error>

ScratchDirectory::ScratchDirectory() : previous(std::filesystem::current_path()) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0;; ++attempt) {
        folder = std::filesystem::temp_directory_path() /
                 ("veltrane-validate-" + std::to_string(stamp) + "-" + std::to_string(attempt));
        if (std::filesystem::create_directory(folder)) {
            break;
        }
    }
    std::filesystem::current_path(folder);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(folder, ignored);
}
