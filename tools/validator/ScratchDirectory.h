// A fresh temporary directory made the current one for as long as it lives, for effects that
// write files into the current directory; removed with what is in it afterwards.
#pragma once

#include <filesystem>

class ScratchDirectory {
public:
    ScratchDirectory(); // throws std::filesystem::filesystem_error when it cannot
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return folder; }

private:
    std::filesystem::path previous;
    std::filesystem::path folder;
};
