#include "tools/OutputFile.h"

#include "tools/HostError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

mode_t creationMode() {
    constexpr mode_t readWriteForAll = 0666;
    const mode_t mask = umask(0);
    umask(mask);
    return readWriteForAll & ~mask;
}

} // namespace

OutputFile::OutputFile(const std::string& path) : finalPath(path) {
    struct stat status {};
    if (path.empty()) {
        throw HostError("no output file given");
    }
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        throw HostError("cannot write " + path + ": it is a folder");
    }
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string pattern = folder + "." + name + ".XXXXXX";
    std::vector<char> writable(pattern.begin(), pattern.end());
    writable.push_back('\0');
    fileDescriptor = mkstemp(writable.data());
    if (fileDescriptor < 0) {
        throw HostError("cannot write " + path + ": " + std::strerror(errno));
    }
    temporaryPath = writable.data();
    // mkstemp makes the file private; the result gets the permissions of any new file.
    fchmod(fileDescriptor, creationMode());
}

OutputFile::~OutputFile() {
    if (fileDescriptor >= 0) {
        ::close(fileDescriptor);
    }
    if (!temporaryPath.empty()) {
        std::remove(temporaryPath.c_str());
    }
}

void OutputFile::commit() {
    const int closing = fileDescriptor;
    fileDescriptor = -1;
    if (::close(closing) != 0 || std::rename(temporaryPath.c_str(), finalPath.c_str()) != 0) {
        throw HostError("cannot write " + finalPath + ": " + std::strerror(errno));
    }
    temporaryPath.clear();
}

bool OutputFile::sameFile(const std::string& first, const std::string& second) {
    struct stat firstStatus {};
    struct stat secondStatus {};
    return stat(first.c_str(), &firstStatus) == 0 && stat(second.c_str(), &secondStatus) == 0 &&
           firstStatus.st_dev == secondStatus.st_dev && firstStatus.st_ino == secondStatus.st_ino;
}
