// An output written beside its final name and renamed into place on commit, so a failed or
// interrupted write never leaves a half file under the final name. Removes the temporary file
// unless committed.
#pragma once

#include <string>

class OutputFile {
public:
    // Creates the temporary file in path's folder. Throws HostError when the folder is not
    // writable or path names a folder.
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    int descriptor() const { return fileDescriptor; }
    const std::string& path() const { return finalPath; }
    void commit(); // throws HostError when the file cannot be completed or renamed

    // True when both paths name one existing file (through links or different spellings).
    static bool sameFile(const std::string& first, const std::string& second);

private:
    std::string finalPath;
    std::string temporaryPath;
    int fileDescriptor = -1;
};
